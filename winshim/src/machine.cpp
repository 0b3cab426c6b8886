#include "machine.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "diagnostics.h"

namespace winshim {

const char* const kPrintersKeyPath = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers";
const char* const kDefaultRegistryText =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers]\r\n"
    "\r\n";

namespace {

std::unique_ptr<Machine>& Current()
{
    static std::unique_ptr<Machine> machine;
    return machine;
}

// A machine is made with its registry, the registry first: a drive C: without a registry file
// is a damaged machine (its registry calls fail), never a new one to be made over it.
void MakeNewMachine(const MachineOptions& options, RegistryStore& registry)
{
    std::error_code error;
    std::filesystem::path drive = options.root / "drive_c";
    bool laidOut = std::filesystem::exists(drive, error);
    if (error) {
        Diagnose("cannot look at " + drive.string() + ": " + error.message());
        return;
    }
    if (laidOut || (!options.registryInMemory && registry.CreateIfMissing(kDefaultRegistryText) != ERROR_SUCCESS)) {
        return;
    }
    for (const char* folder : {"SYSTEM", "Desktop", "SendTo"}) {
        if (!std::filesystem::create_directories(drive / "WINDOWS" / folder, error) && error) {
            Diagnose("cannot make " + (drive / "WINDOWS" / folder).string() + ": " + error.message());
            return;
        }
    }
}

void MakeRoot(const std::filesystem::path& root)
{
    std::error_code error;
    if (!std::filesystem::create_directories(root, error) && error) {
        Diagnose("cannot make the machine folder " + root.string() + ": " + error.message());
    }
}

UINT CodePageFromEnvironment()
{
    const char* text = std::getenv("WINSHIM_CODEPAGE");
    return text && *text ? UINT(std::strtoul(text, nullptr, 10)) : 1252;
}

// C:\ path of the host's working directory when it lies on drive C:.
std::string CurrentDirectoryOf(const std::filesystem::path& root, const CodePage& codePage)
{
    std::error_code error;
    auto drive = std::filesystem::weakly_canonical(root / "drive_c", error);
    auto here = std::filesystem::current_path(error);
    auto relative = here.lexically_relative(drive);
    if (error || relative.empty() || *relative.begin() == "..") {
        return "C:\\";
    }
    std::string path = "C:";
    for (const auto& part : relative) {
        if (part != ".") {
            path += "\\" + codePage.FromUtf8(part.string());
        }
    }
    return path.size() == 2 ? "C:\\" : path;
}

}  // namespace

Machine::Machine(const MachineOptions& machineOptions)
    : options(machineOptions),
      registry(machineOptions.registryInMemory ? RegistryStore::InMemory(kDefaultRegistryText)
                                               : RegistryStore::InFile(machineOptions.root / "registry.reg")),
      codePage(std::make_unique<CodePage>(CodePageFromEnvironment()))
{
    MakeNewMachine(options, registry);
    currentDirectory = CurrentDirectoryOf(options.root, *codePage);
}

// Shell blocks a run never freed go with the machine (the tests count them before then).
Machine::~Machine()
{
    for (void* block : shellBlocks) {
        std::free(block);
    }
}

std::optional<long> Machine::Enter(const char* name, std::string detail)
{
    if (options.logCalls) {
        log.push_back({name, std::move(detail)});
    }
    std::optional<long> result;
    for (auto& failure : failures) {
        if (failure.name != name) {
            continue;
        }
        ++failure.seen;
        if (failure.seen == failure.occurrence || (failure.fromThenOn && failure.seen > failure.occurrence)) {
            result = failure.result;
        }
    }
    // An action may make calls of its own, which enter here again: take it out first.
    std::vector<std::function<void()>> due;
    for (auto& hook : hooks) {
        if (hook.name == name && ++hook.seen == hook.occurrence) {
            due.push_back(std::move(hook.action));
        }
    }
    for (auto& action : due) {
        action();
    }
    return result;
}

HANDLE Machine::AddHandle(HandleObject object)
{
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_);
    nextHandle_ += 4;
    handles_.emplace(handle, std::move(object));
    return handle;
}

DWORD Machine::TickCount()
{
    if (scriptedTick) {
        DWORD now = *scriptedTick;
        *scriptedTick += tickStep;
        return now;
    }
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void ReportFault(const std::string& what)
{
    ++TheMachine().faults;
    EnterCall("winshim fault", what);
    std::fprintf(stderr, "winshim: %s\n", what.c_str());
}

Machine& TheMachine()
{
    auto& machine = Current();
    if (!machine) {
        MachineOptions options;
        const char* root = std::getenv("WINSHIM_ROOT");
        const char* home = std::getenv("HOME");
        options.root = (root && *root) ? std::filesystem::path(root)
                                       : std::filesystem::path(home ? home : ".") / ".winshim";
        options.logCalls = false;
        MakeRoot(options.root);
        machine = std::make_unique<Machine>(options);
    }
    return *machine;
}

void OpenMachine(const MachineOptions& options)
{
    MakeRoot(options.root);
    Current() = std::make_unique<Machine>(options);
}

void CloseMachine()
{
    Current().reset();
}

}  // namespace winshim
