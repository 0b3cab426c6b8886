// RemoveFile and RemovePrinter with any tail, in code pages 1252 and 932: the run ends with 1,
// removes at most the one file or printer the tail names, never reaches outside drive C:,
// and leaves nothing open.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <winshim/control.h>

#include "fuzz_support.h"
#include "registry_document.h"
#include "remove_file.h"
#include "remove_printer.h"

namespace {

namespace fs = std::filesystem;

const char* const kPrinters[] = {"Laser", "Office Jet", "Ink \x82\xa0"};

// Every file and folder on the machine's root, drive C: and beyond it.
std::set<fs::path> Entries()
{
    std::set<fs::path> entries;
    for (const auto& entry : fs::recursive_directory_iterator(winshim::MachineRoot())) {
        entries.insert(entry.path());
    }
    return entries;
}

void Write(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        fuzz::Fail("cannot make " + path.string(), {});
    }
    std::fclose(file);
}

void SetUpMachine(UINT codePage)
{
    fuzz::OpenScratchMachine(/*logCalls=*/false);
    winshim::SetCodePage(codePage);
    const fs::path root = winshim::MachineRoot();
    Write(root / "outside.txt");
    Write(root / "drive_c" / "KEEP.TXT");
    Write(root / "drive_c" / "A B.TXT");
    Write(root / "drive_c" / "WINDOWS" / "WIN.INI");
    fs::create_directories(root / "drive_c" / "FOLDER.TXT");
    std::string registry = winshim::RegistryText();
    for (const char* printer : kPrinters) {
        registry += "[" + std::string(winshim::kPrintersKeyPath) + "\\" + printer + "]\r\n\"Port\"=\"LPT1:\"\r\n\r\n";
    }
    winshim::SetRegistryText(registry);
}

std::set<std::string> Printers()
{
    std::set<std::string> printers;
    auto registry = winshim::RegistryDocument::Parse(winshim::RegistryText());
    for (const char* printer : kPrinters) {
        if (registry && registry->Exists(std::string(winshim::kPrintersKeyPath) + "\\" + printer)) {
            printers.insert(printer);
        }
    }
    return printers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<char> tail = fuzz::CString(input.substr(1));
    SetUpMachine((data[0] & 1) ? 932 : 1252);
    const std::set<fs::path> before = Entries();
    const std::set<std::string> printersBefore = Printers();

    if (data[0] & 2) {
        fuzz::Require(RemovePrinter(tail.data()) == 1, "prndel ends with 1", input);
        fuzz::Require(Entries() == before, "no file changes", input);
        std::set<std::string> printers = Printers();
        fuzz::Require(printers.size() + 1 >= printersBefore.size(), "at most one printer removed", input);
        for (const std::string& printer : printersBefore) {
            fuzz::Require(printers.count(printer) || winshim::SameName(printer, tail.data()),
                          "only the printer the tail names is removed", input);
        }
    } else {
        fuzz::Require(RemoveFile(tail.data()) == 1, "filedel ends with 1", input);
        std::set<fs::path> after = Entries();
        std::set<fs::path> removed;
        for (const fs::path& entry : before) {
            if (!after.count(entry)) {
                removed.insert(entry);
            }
        }
        const fs::path driveC = winshim::MachineRoot() / "drive_c";
        const std::set<fs::path> files = {driveC / "KEEP.TXT", driveC / "A B.TXT", driveC / "WINDOWS" / "WIN.INI"};
        fuzz::Require(after.size() + removed.size() == before.size(), "nothing is made", input);
        fuzz::Require(removed.size() <= 1, "at most one entry removed", input);
        fuzz::Require(removed.empty() || files.count(*removed.begin()),
                      "only a file on drive C: goes: no folder, nothing beyond the drive", input);
        fuzz::Require(Printers() == printersBefore, "no printer changes", input);
    }
    fuzz::Require(fuzz::NothingLive(), "nothing left open", input);
    return 0;
}
