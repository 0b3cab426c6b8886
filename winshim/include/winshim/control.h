#pragma once
// Test control of the stand-in machine: where it lives, scripted failures, the clock, the call
// log and the counts of live resources. Tool code never includes this header.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "types.h"

namespace winshim {

// The registry file that a new machine starts with.
extern const char* const kDefaultRegistryText;
// Where printers are kept, one key per printer.
extern const char* const kPrintersKeyPath;

struct MachineOptions {
    std::filesystem::path root;     // holds drive_c/ and, unless in memory, registry.reg
    bool registryInMemory = false;  // keep the registry in memory instead of registry.reg
    bool logCalls = true;
};

// Opens the machine that every call acts on from now on. A new machine (no drive_c yet) gets
// its registry, then the Windows 95 layout (C:\WINDOWS, C:\WINDOWS\SYSTEM, Desktop, SendTo);
// a machine with drive_c but no registry.reg is damaged and stays so.
void OpenMachine(const MachineOptions& options);
// Forgets the open machine and all scripted behaviour; the next call opens the machine that
// the environment names (WINSHIM_ROOT, or ~/.winshim).
void CloseMachine();

std::filesystem::path MachineRoot();
// The host path that a Windows path names on this machine (names matched without regard to
// case); empty when the path cannot be mapped.
std::filesystem::path HostPathOf(const std::string& windowsPath);
std::string RegistryText();
void SetRegistryText(const std::string& text);
void SetSystemDirectory(const std::string& directory);
void SetCurrentDirectory(const std::string& windowsDirectory);
void SetCodePage(UINT codePage);

// Makes the occurrence-th call (counted from 1, from now on) of the named call fail with
// result: a BOOL call returns FALSE and sets the last error to result, a registry call returns
// result, a COM call returns it as its HRESULT; MessageBoxA, GetSystemDirectoryA and the code
// page conversions answer 0 and set the last error. A close that fails (RegCloseKey,
// ClosePrinter) has still closed its handle. With fromThenOn every later call fails too.
// Calls without a failure result (lstrlenA, lstrcatA, GetTickCount, SendMessageA, PeekMessageA,
// CoUninitialize, IMalloc::Free and every Release and AddRef) are logged but never fail.
void FailCall(const std::string& name, int occurrence, long result, bool fromThenOn = false);
void ClearFailures();
// Runs action when the occurrence-th call (counted from 1, from now on) of the named call
// begins, before that call does its work: a test's way to change the machine mid-run.
void OnCall(const std::string& name, int occurrence, std::function<void()> action);

// A scripted tick count: GetTickCount answers start, then start + step, start + 2*step, ...
void SetTickCount(DWORD start, DWORD step);
void UseRealTickCount();

// The form in which the Printers folder gives display names: STRRET_WSTR (0, the default),
// STRRET_OFFSET (1) or STRRET_CSTR (2). Any other value is handed out as the form with nothing
// else filled in, as by a shell that answers in a form its caller does not know.
void SetDisplayNameForm(UINT form);

// Makes a registry key refuse access from now on, as one whose security denies the caller:
// it cannot be opened, and no key can be created directly beneath it.
void DenyKeyAccess(const std::string& path);

struct Call {
    std::string name;
    std::string detail;
};
std::vector<Call> CallLog();
std::vector<std::string> CallNames();
void ClearCallLog();

// Resources a run must give back: shell allocator blocks, open handles (keys, printers) and
// references to COM objects.
struct LiveCounts {
    long allocations = 0;
    long handles = 0;
    long references = 0;
    long faults = 0;  // misuses caught: a handle not open, a block or reference not held
};
LiveCounts Live();

}  // namespace winshim
