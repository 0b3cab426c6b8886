// prnlink's printer lookup: the cost of one search pass over many printers, and how soon a
// printer's shortcuts exist after its key lands in registry.reg.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <windows.h>
#include <shlobj.h>
#include <winshim/control.h>

#include "prnlink.h"

extern char** environ;

namespace {

std::string PrintersText(int count)
{
    std::string text = winshim::kDefaultRegistryText;
    for (int i = 0; i < count; ++i) {
        text += "[" + std::string(winshim::kPrintersKeyPath) + "\\Printer " + std::to_string(i) +
                " on LPT1:]\r\n\"Port\"=\"LPT1:\"\r\n\r\n";
    }
    return text;
}

std::filesystem::path NewRoot()
{
    char pattern[] = "/tmp/prnlink-bench-XXXXXX";
    return ::mkdtemp(pattern);
}

ShortcutRequest Request(const char* printerName)
{
    ShortcutRequest request = {};
    std::strcpy(request.iconLocation, "C:\\ICONS\\LASER.ICO");
    std::strcpy(request.printerName, printerName);
    std::strcpy(request.shortcutName, "Office Laser");
    return request;
}

// One search of exactly one pass (the clock says 20000 ms at its start and 40000 ms at the
// next) over printers of which none matches, as a tool that is still waiting makes it.
void OnePass(benchmark::State& state, bool registryInMemory)
{
    std::filesystem::path root = NewRoot();
    winshim::MachineOptions options;
    options.root = root;
    options.registryInMemory = registryInMemory;
    options.logCalls = false;
    winshim::OpenMachine(options);
    winshim::SetRegistryText(PrintersText(int(state.range(0))));
    CoInitialize(nullptr);
    IMalloc* malloc = nullptr;
    SHGetMalloc(&malloc);
    ShortcutRequest request = Request("LaserJet");
    winshim::SetTickCount(0, 20000);
    PollPrintersFolder(request, malloc);  // reads registry.reg once; later passes find it unchanged
    for (auto _ : state) {
        winshim::SetTickCount(0, 20000);
        PollPrintersFolder(request, malloc);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    malloc->Release();
    CoUninitialize();
    winshim::CloseMachine();
    std::filesystem::remove_all(root);
}

void BM_PassInMemory(benchmark::State& state)
{
    OnePass(state, true);
}
BENCHMARK(BM_PassInMemory)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_PassFileUnchanged(benchmark::State& state)
{
    OnePass(state, false);
}
BENCHMARK(BM_PassFileUnchanged)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The tool runs as a process on a new machine with no printer; once it is searching, a new
// registry.reg holding the printer is renamed into place. Measured: from that rename to the
// moment the SendTo shortcut, the second of the two, has been written.
void BM_DetectionAfterKeyLands(benchmark::State& state)
{
    for (auto _ : state) {
        std::filesystem::path root = NewRoot();
        winshim::MachineOptions options;
        options.root = root;
        winshim::OpenMachine(options);  // lays out the machine and its registry.reg
        winshim::CloseMachine();

        int watch = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(watch, (root / "drive_c/WINDOWS/SendTo").c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
        std::string variable = "WINSHIM_ROOT=" + root.string();
        char* environment[] = {variable.data(), nullptr};
        char* arguments[] = {const_cast<char*>(PRNLINK_EXE), const_cast<char*>("C:\\ICONS\\LASER.ICO"),
                             const_cast<char*>("\"LaserJet\""), const_cast<char*>("\"Office Laser\""), nullptr};
        pid_t child = 0;
        if (::posix_spawn(&child, PRNLINK_EXE, nullptr, nullptr, arguments, environment) != 0) {
            state.SkipWithError("cannot start prnlink");
            break;
        }
        ::usleep(300 * 1000);

        std::filesystem::path next = root / "registry.reg.next";
        std::ofstream(next, std::ios::binary) << PrintersText(0) << "[" << winshim::kPrintersKeyPath
                                              << "\\HP LaserJet 4 on LPT1:]\r\n\"Port\"=\"LPT1:\"\r\n\r\n";
        auto landed = std::chrono::steady_clock::now();
        std::filesystem::rename(next, root / "registry.reg");
        alignas(inotify_event) char events[4096];
        ssize_t got = ::read(watch, events, sizeof(events));
        auto written = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(written - landed).count());

        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(watch);
        std::filesystem::remove_all(root);
        if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 1) {
            state.SkipWithError("prnlink did not write the shortcut and end with exit code 1");
            break;
        }
    }
}
BENCHMARK(BM_DetectionAfterKeyLands)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
