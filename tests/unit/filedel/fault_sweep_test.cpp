// The fault sweep of filedel: the one call of a run that deletes an existing file, failed.
#include <string>

#include "fault_sweep.h"
#include "remove_file.h"

namespace {

using fault_sweep::FaultSweepTest;
using fault_sweep::Rule;

// No message, exit code 1.
const std::vector<Rule> kOracle = {
    {"DeleteFileA", 0, ERROR_SHARING_VIOLATION, 1, std::vector<std::string>{}},
};

TEST_F(FaultSweepTest, FiledelHandlesEveryFailingCall)
{
    auto setUp = [this] { MakeFile("C:\\DATA\\report.txt"); };
    auto run = [] {
        std::string tail = "C:\\DATA\\report.txt";
        return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
    };

    fault_sweep::Tally tally = Sweep("filedel", setUp, run, kOracle, {});
    EXPECT_EQ(tally.injected, 1);
}

}  // namespace
