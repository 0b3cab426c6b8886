// The fault sweep of prndel: every call of a run that deletes an existing printer, failed one at
// a time.
#include <string>

#include "fault_sweep.h"
#include "remove_printer.h"

namespace {

using fault_sweep::FaultSweepTest;
using fault_sweep::Rule;
using fault_sweep::Unfailable;

// No message, exit code 1 whatever fails.
const std::vector<Rule> kOracle = {
    {"OpenPrinterA", 0, ERROR_INVALID_PRINTER_NAME, 1, std::vector<std::string>{}},
    {"DeletePrinter", 0, ERROR_ACCESS_DENIED, 1, std::vector<std::string>{}},
    {"ClosePrinter", 0, ERROR_INVALID_HANDLE, 1, std::vector<std::string>{}},
};

TEST_F(FaultSweepTest, PrndelHandlesEveryFailingCall)
{
    auto setUp = [this] { AddPrinter("Office Laser"); };
    auto run = [] {
        std::string tail = "Office Laser";
        return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
    };

    fault_sweep::Tally tally = Sweep("prndel", setUp, run, kOracle, {});
    EXPECT_EQ(tally.injected, 3);
}

}  // namespace
