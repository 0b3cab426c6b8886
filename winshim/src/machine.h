#pragma once
// The state of the stand-in machine that every call acts on, and the test control's hooks.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <windows.h>
#include <winshim/control.h>

#include "codepage.h"
#include "registry_store.h"

namespace winshim {

struct OpenKeyHandle {
    std::string path;  // canonical path of the key
    REGSAM access = KEY_ALL_ACCESS;  // as granted when the key was opened
};

struct OpenPrinterHandle {
    std::string name;  // the printer's key name as stored
};

using HandleObject = std::variant<OpenKeyHandle, OpenPrinterHandle>;

class Machine {
public:
    explicit Machine(const MachineOptions& options);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // Every call starts here: it is logged, counted, and told whether a scripted failure
    // applies to it (the result to report).
    std::optional<long> Enter(const char* name, std::string detail = {});

    // Handles of keys and printers; Find returns null for a handle that was never given
    // out or has been closed.
    HANDLE AddHandle(HandleObject object);
    template <typename T>
    T* FindHandle(HANDLE handle)
    {
        auto it = handles_.find(handle);
        return it == handles_.end() ? nullptr : std::get_if<T>(&it->second);
    }
    bool CloseHandle(HANDLE handle) { return handles_.erase(handle) == 1; }
    long OpenHandles() const { return long(handles_.size()); }

    DWORD TickCount();

    MachineOptions options;
    RegistryStore registry;
    std::unique_ptr<CodePage> codePage;
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string currentDirectory = "C:\\";
    DWORD lastError = 0;
    long allocations = 0;
    long references = 0;
    // Misuses caught: a free of a block not handed out, a release with no reference left.
    long faults = 0;
    std::set<void*> shellBlocks;  // live blocks of the shell allocator
    long shellMallocReferences = 0;
    int comInitializations = 0;   // CoInitialize calls not yet undone

    struct Failure {
        std::string name;
        int occurrence;  // of the calls counted from when it was set
        long result;
        bool fromThenOn;
        int seen = 0;
    };
    std::vector<Failure> failures;
    struct Hook {
        std::string name;
        int occurrence;
        std::function<void()> action;
        int seen = 0;
    };
    std::vector<Hook> hooks;
    std::vector<Call> log;
    std::optional<DWORD> scriptedTick;
    DWORD tickStep = 0;
    UINT displayNameForm = 0;  // STRRET_WSTR
    std::vector<std::string> deniedKeys;  // canonical paths of keys that refuse access

private:
    std::map<HANDLE, HandleObject> handles_;
    ULONG_PTR nextHandle_ = 0x1000;
};

// The open machine; opened from the environment on first use.
Machine& TheMachine();
// Convenience for the calls: the scripted failure, if any, of this call.
// Reports a misuse the stand-in caught (on standard error, in the call log, in Live().faults):
// a handle that is not open, a block or reference that is not held.
void ReportFault(const std::string& what);

inline std::optional<long> EnterCall(const char* name, std::string detail = {})
{
    return TheMachine().Enter(name, std::move(detail));
}

}  // namespace winshim
