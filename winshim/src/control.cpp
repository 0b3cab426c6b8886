// The test control's calls (winshim/control.h).
#include "machine.h"
#include "paths.h"

namespace winshim {

std::filesystem::path MachineRoot()
{
    return TheMachine().options.root;
}

std::filesystem::path HostPathOf(const std::string& windowsPath)
{
    ResolvedPath resolved = ResolveWindowsPath(windowsPath);
    return resolved.error == ERROR_SUCCESS ? resolved.host : std::filesystem::path();
}

std::string RegistryText()
{
    return TheMachine().registry.Text();
}

void SetRegistryText(const std::string& text)
{
    TheMachine().registry.SetText(text);
}

void SetSystemDirectory(const std::string& directory)
{
    TheMachine().systemDirectory = directory;
}

void SetCurrentDirectory(const std::string& windowsDirectory)
{
    TheMachine().currentDirectory = windowsDirectory;
}

void SetCodePage(UINT codePage)
{
    TheMachine().codePage = std::make_unique<CodePage>(codePage);
}

void FailCall(const std::string& name, int occurrence, long result, bool fromThenOn)
{
    TheMachine().failures.push_back({name, occurrence, result, fromThenOn});
}

void ClearFailures()
{
    TheMachine().failures.clear();
}

void OnCall(const std::string& name, int occurrence, std::function<void()> action)
{
    TheMachine().hooks.push_back({name, occurrence, std::move(action)});
}

void SetTickCount(DWORD start, DWORD step)
{
    TheMachine().scriptedTick = start;
    TheMachine().tickStep = step;
}

void UseRealTickCount()
{
    TheMachine().scriptedTick.reset();
}

void SetDisplayNameForm(UINT form)
{
    TheMachine().displayNameForm = form;
}

void DenyKeyAccess(const std::string& path)
{
    TheMachine().deniedKeys.push_back(CanonicalKeyPath(path));
}

std::vector<Call> CallLog()
{
    return TheMachine().log;
}

std::vector<std::string> CallNames()
{
    std::vector<std::string> names;
    for (const auto& call : TheMachine().log) {
        names.push_back(call.name);
    }
    return names;
}

void ClearCallLog()
{
    TheMachine().log.clear();
}

LiveCounts Live()
{
    const Machine& machine = TheMachine();
    return {machine.allocations, machine.OpenHandles(), machine.references, machine.faults};
}

}  // namespace winshim
