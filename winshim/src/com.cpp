// COM (ole32) on the stand-in machine: the interface and class identifiers, the apartment and
// the one class the tools create.
#include <cstdio>

#include "com_object.h"
#include "machine.h"
#include "shell_link.h"

using winshim::EnterCall;
using winshim::TheMachine;

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace winshim {

ReferenceCount::ReferenceCount() : count_(1)
{
    ++TheMachine().references;
}

ULONG ReferenceCount::Add()
{
    ++TheMachine().references;
    return ++count_;
}

ULONG ReferenceCount::Drop(const char* object)
{
    if (count_ == 0) {
        ReportFault(std::string("release of a ") + object + " that holds no reference");
        return 0;
    }
    --TheMachine().references;
    return --count_;
}

}  // namespace winshim

// The apartment is counted so that CoCreateInstance can refuse to run outside one, as
// Windows does; a nested CoInitialize answers S_FALSE.
HRESULT WINAPI CoInitialize(LPVOID)
{
    if (auto failure = EnterCall("CoInitialize")) {
        return HRESULT(*failure);
    }
    return TheMachine().comInitializations++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void)
{
    EnterCall("CoUninitialize");
    if (TheMachine().comInitializations > 0) {
        --TheMachine().comInitializations;
    }
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object)
{
    bool shellLink = clsid == CLSID_ShellLink;
    if (auto failure = EnterCall("CoCreateInstance", shellLink ? "CLSID_ShellLink" : "unknown class")) {
        if (object) {
            *object = nullptr;
        }
        return HRESULT(*failure);
    }
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (TheMachine().comInitializations == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (!shellLink || (context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    return winshim::CreateShellLink(riid, object);
}
