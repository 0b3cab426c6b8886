// The run of WinMain as the call log shows it: what is called, in which order, and the exit code.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "prnlink.h"

namespace {

// The run's own steps from the call log (the search's inner calls left out).
std::vector<std::string> RunSteps()
{
    static const std::set<std::string> steps = {"SendMessageA", "MessageBoxA",       "CoInitialize",
                                                "SHGetMalloc",  "SHGetSpecialFolderLocation", "IMalloc::Release",
                                                "CoUninitialize"};
    std::vector<std::string> seen;
    for (const auto& call : winshim::CallLog()) {
        if (steps.count(call.name)) {
            seen.push_back(call.detail.empty() ? call.name : call.name + "(" + call.detail + ")");
        }
    }
    return seen;
}

int RunPrnlink(std::string tail)
{
    return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
}

using RunTest = MachineTest;

TEST_F(RunTest, BroadcastsThenReportsATailThatDoesNotParseWithoutCom)
{
    EXPECT_EQ(1, RunPrnlink("C:\\icon.ico"));
    EXPECT_EQ((std::vector<std::string>{"SendMessageA(devices)", "MessageBoxA(Error: Can't parse command line)"}),
              RunSteps());
    ExpectNothingLive();
}

TEST_F(RunTest, RunsTheStepsInOrderAndGivesEverythingBack)
{
    // The search ends at once when it cannot have the Printers folder.
    winshim::FailCall("SHGetSpecialFolderLocation", 1, E_FAIL);

    EXPECT_EQ(1, RunPrnlink("C:\\icon.ico \"Laser\" \"Office Laser\""));

    EXPECT_EQ((std::vector<std::string>{"SendMessageA(devices)", "CoInitialize", "SHGetMalloc",
                                        "SHGetSpecialFolderLocation(CSIDL_PRINTERS)", "IMalloc::Release",
                                        "CoUninitialize"}),
              RunSteps());
    ExpectNothingLive();
}

TEST_F(RunTest, EndsWithZeroAndNoMessageWithoutTheAllocator)
{
    winshim::FailCall("SHGetMalloc", 1, E_OUTOFMEMORY);

    EXPECT_EQ(0, RunPrnlink("C:\\icon.ico \"Laser\" \"Office Laser\""));

    EXPECT_EQ((std::vector<std::string>{"SendMessageA(devices)", "CoInitialize", "SHGetMalloc"}), RunSteps());
    ExpectNothingLive();
}

TEST_F(RunTest, WritesBothShortcutsOfAMatchingPrinter)
{
    AddPrinter("Office LaserJet");

    EXPECT_EQ(1, RunPrnlink("C:\\WINDOWS\\laser.ico \"LaserJet\" \"Office Laser\""));

    EXPECT_TRUE(Exists("C:\\WINDOWS\\Desktop\\Office Laser.LNK"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\SendTo\\Office Laser.LNK"));
    ExpectNothingLive();
}

}  // namespace
