// The fault sweep of doctypereg: every call of a run on a fresh registry, failed one at a time.
#include <string>

#include "fault_sweep.h"
#include "register_document_type.h"

namespace {

using fault_sweep::FaultSweepTest;
using fault_sweep::Rule;
using fault_sweep::Unfailable;

// doctypereg shows no message; only the extension key (the first RegCreateKeyExA) decides the
// exit code.
const std::vector<Rule> kOracle = {
    {"RegCreateKeyExA", 1, ERROR_ACCESS_DENIED, 0, std::vector<std::string>{}},
    {"RegCreateKeyExA", 0, ERROR_ACCESS_DENIED, 1, std::vector<std::string>{}},
    {"RegSetValueExA", 0, ERROR_ACCESS_DENIED, 1, std::vector<std::string>{}},
    {"RegCloseKey", 0, ERROR_INVALID_HANDLE, 1, std::vector<std::string>{}},
};

const std::vector<Unfailable> kUnfailable = {
    {"lstrlenA", "has no failure result: it only counts bytes"},
};

TEST_F(FaultSweepTest, DoctyperegHandlesEveryFailingCall)
{
    auto setUp = [] {};
    auto run = [] {
        std::string tail = "C:\\APP\\VIEWER.EXE \"%1\"";
        return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
    };

    fault_sweep::Tally tally = Sweep("doctypereg", setUp, run, kOracle, kUnfailable);
    EXPECT_EQ(tally.calls, 20);  // 6 creations, 4 values with their 4 lengths, 6 closes
    EXPECT_GT(tally.injected, 0);
}

}  // namespace
