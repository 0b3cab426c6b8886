// Print spooler (winspool) on the stand-in machine: a printer is a key under the Printers key.
#include "machine.h"

using winshim::EnterCall;
using winshim::OpenPrinterHandle;
using winshim::RegistryDocument;
using winshim::TheMachine;

namespace {

BOOL Fail(LONG error)
{
    TheMachine().lastError = DWORD(error);
    return FALSE;
}

std::string PrinterKeyPath(const std::string& name)
{
    return std::string(winshim::kPrintersKeyPath) + "\\" + name;
}

}  // namespace

BOOL WINAPI OpenPrinterA(LPSTR printerName, HANDLE* printer, LPPRINTER_DEFAULTSA)
{
    std::string wanted = printerName ? printerName : "";
    if (auto failure = EnterCall("OpenPrinterA", wanted)) {
        return Fail(*failure);
    }
    if (!printer) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // Printer names cannot hold a backslash; an empty name names no printer.
    if (wanted.empty() || wanted.find('\\') != std::string::npos) {
        return Fail(ERROR_INVALID_PRINTER_NAME);
    }
    std::string found;
    LONG result = TheMachine().registry.Read([&](const RegistryDocument& registry) {
        for (const auto& name : registry.SubkeyNames(winshim::kPrintersKeyPath)) {
            if (winshim::SameName(name, wanted)) {
                found = name;
                return ERROR_SUCCESS;
            }
        }
        return ERROR_INVALID_PRINTER_NAME;
    });
    if (result != ERROR_SUCCESS) {
        return Fail(result);
    }
    *printer = TheMachine().AddHandle(OpenPrinterHandle{found});
    return TRUE;
}

BOOL WINAPI DeletePrinter(HANDLE printer)
{
    if (auto failure = EnterCall("DeletePrinter")) {
        return Fail(*failure);
    }
    auto* open = TheMachine().FindHandle<OpenPrinterHandle>(printer);
    if (!open) {
        winshim::ReportFault("DeletePrinter with a printer handle that is not open");
        return Fail(ERROR_INVALID_HANDLE);
    }
    std::string path = PrinterKeyPath(open->name);
    LONG result = TheMachine().registry.Update([&](RegistryDocument& registry, bool& changed) {
        changed = registry.RemoveTree(path);
        return changed ? ERROR_SUCCESS : ERROR_INVALID_PRINTER_NAME;
    });
    return result == ERROR_SUCCESS ? TRUE : Fail(result);
}

// A scripted failure still closes the handle: a handle is gone once it has been closed, whatever
// the call answers, and no caller can close it again.
BOOL WINAPI ClosePrinter(HANDLE printer)
{
    auto failure = EnterCall("ClosePrinter");
    if (!TheMachine().FindHandle<OpenPrinterHandle>(printer)) {
        winshim::ReportFault("ClosePrinter with a printer handle that is not open");
        return Fail(failure.value_or(ERROR_INVALID_HANDLE));
    }
    TheMachine().CloseHandle(printer);
    return failure ? Fail(*failure) : TRUE;
}
