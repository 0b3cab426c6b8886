#include "machine_fixture.h"

#include <unistd.h>

#include <fstream>

void MachineTest::OpenFreshMachine(bool registryInMemory)
{
    if (root_.empty()) {
        char pattern[] = "/tmp/winshim-test-XXXXXX";
        root_ = ::mkdtemp(pattern);
    }
    // A machine laid out with its registry in memory has no registry file yet; without one
    // the stand-in would take it for a damaged machine.
    if (!registryInMemory && !std::filesystem::exists(root_ / "registry.reg")) {
        std::ofstream(root_ / "registry.reg", std::ios::binary) << winshim::kDefaultRegistryText;
    }
    winshim::MachineOptions options;
    options.root = root_;
    options.registryInMemory = registryInMemory;
    winshim::OpenMachine(options);
}

void MachineTest::TearDown()
{
    winshim::CloseMachine();
    std::filesystem::remove_all(root_);
}

std::filesystem::path MachineTest::MakeFile(const std::string& windowsPath, const std::string& content)
{
    std::filesystem::path host = winshim::HostPathOf(windowsPath);
    if (host.empty()) {
        // the folders do not exist yet: make them below drive_c as written
        std::string relative = windowsPath.substr(3);
        for (char& c : relative) {
            if (c == '\\') {
                c = '/';
            }
        }
        host = root_ / "drive_c" / relative;
    }
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << content;
    return host;
}

bool MachineTest::Exists(const std::string& windowsPath) const
{
    std::filesystem::path host = winshim::HostPathOf(windowsPath);
    return !host.empty() && std::filesystem::exists(host);
}

void MachineTest::AddPrinter(const std::string& name)
{
    std::string text = winshim::RegistryText();
    text += "[" + std::string(winshim::kPrintersKeyPath) + "\\" + name + "]\r\n\"Port\"=\"LPT1:\"\r\n\r\n";
    winshim::SetRegistryText(text);
}

bool MachineTest::HasPrinter(const std::string& name) const
{
    std::string header = "[" + std::string(winshim::kPrintersKeyPath) + "\\" + name + "]";
    return winshim::RegistryText().find(header) != std::string::npos;
}

void ExpectNothingLive()
{
    winshim::LiveCounts live = winshim::Live();
    EXPECT_EQ(live.allocations, 0) << "shell allocator blocks not freed";
    EXPECT_EQ(live.handles, 0) << "handles not closed";
    EXPECT_EQ(live.references, 0) << "COM references not released";
    EXPECT_EQ(live.faults, 0) << "misuses caught: a handle not open, a block or reference not held";
}
