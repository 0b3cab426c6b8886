#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <winshim/control.h>

namespace fuzz {
namespace {

struct ScratchFolder {
    ScratchFolder()
    {
        // Touches the stand-in's machine first, so that at exit it still exists when the
        // folder closes it.
        winshim::CloseMachine();
        char pattern[] = "/tmp/winshim-fuzz-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = pattern;
    }
    ~ScratchFolder()
    {
        winshim::CloseMachine();
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

}  // namespace

void OpenScratchMachine(bool logCalls)
{
    static ScratchFolder folder;
    winshim::CloseMachine();
    winshim::MachineOptions options;
    options.root = folder.path;
    options.registryInMemory = true;
    options.logCalls = logCalls;
    winshim::OpenMachine(options);
}

void Fail(const std::string& what, std::string_view input)
{
    std::fprintf(stderr, "property broken: %s\ninput (%zu bytes):", what.c_str(), input.size());
    for (unsigned char byte : input) {
        std::fprintf(stderr, " %02x", byte);
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

std::vector<char> CString(std::string_view bytes)
{
    std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::vector<char> block(text.begin(), text.end());
    block.push_back('\0');
    block.shrink_to_fit();
    return block;
}

bool NothingLive()
{
    winshim::LiveCounts live = winshim::Live();
    return live.allocations == 0 && live.handles == 0 && live.references == 0 && live.faults == 0;
}

}  // namespace fuzz
