#pragma once
// A fault sweep: one clean run of a tool's WinMain gives the call log; then, for every entry of
// that log (the k-th call of name N), a fresh machine with the same state runs WinMain again with
// exactly that occurrence failing, and the outcome is checked against a small oracle table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "machine_fixture.h"

namespace fault_sweep {

// What a run shows: its exit code and its failure messages ("Error: SetPath failed!"), in order.
struct Outcome {
    int exitCode = 0;
    std::vector<std::string> messages;
};

// One row of the oracle: the failure to inject for a call, and what the run then shows.
// occurrence 0 applies to every occurrence without a row of its own. messages unset: the clean
// run's messages (the failure changes nothing that shows).
struct Rule {
    const char* call;
    int occurrence;
    long result;
    int exitCode;
    std::optional<std::vector<std::string>> messages;
};

// A call that the stand-in cannot make fail, and why.
struct Unfailable {
    const char* call;
    const char* reason;
};

inline std::vector<std::string> Messages(const std::vector<winshim::Call>& log)
{
    std::vector<std::string> messages;
    for (const auto& call : log) {
        if (call.name == "MessageBoxA") {
            messages.push_back(call.detail);
        }
    }
    return messages;
}

inline int Count(const std::vector<winshim::Call>& log, const std::string& name)
{
    return int(std::count_if(log.begin(), log.end(), [&](const winshim::Call& c) { return c.name == name; }));
}

struct Tally {
    int calls = 0;     // entries of the clean run's log
    int injected = 0;  // faults injected, one run each
    int unfailable = 0;
};

class FaultSweepTest : public MachineTest {
protected:
    // A machine as new as the first: drive C: and the registry made anew.
    void FreshMachine()
    {
        winshim::CloseMachine();
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        OpenFreshMachine(/*registryInMemory=*/true);
    }

    // setUp gives a fresh machine its state (printers, files, clock); run calls WinMain.
    Tally Sweep(const char* tool, const std::function<void()>& setUp, const std::function<int()>& run,
                const std::vector<Rule>& oracle, const std::vector<Unfailable>& unfailable)
    {
        Tally tally;

        FreshMachine();
        setUp();
        winshim::ClearCallLog();
        Outcome clean;
        clean.exitCode = run();
        const std::vector<winshim::Call> cleanLog = winshim::CallLog();
        clean.messages = Messages(cleanLog);
        {
            SCOPED_TRACE(std::string(tool) + ": the clean run");
            EXPECT_EQ(Count(cleanLog, "winshim fault"), 0);
            ExpectNothingLive();
        }
        if (::testing::Test::HasFailure()) {
            return tally;
        }

        std::map<std::string, int> seen;
        for (const auto& call : cleanLog) {
            ++tally.calls;
            const int occurrence = ++seen[call.name];
            const std::string fault = call.name + " #" + std::to_string(occurrence);
            SCOPED_TRACE(std::string(tool) + ": " + fault + " fails");

            auto cannot = std::find_if(unfailable.begin(), unfailable.end(),
                                       [&](const Unfailable& u) { return call.name == u.call; });
            if (cannot != unfailable.end()) {
                ++tally.unfailable;
                continue;
            }
            const Rule* rule = nullptr;
            for (const auto& row : oracle) {
                if (call.name == row.call && (row.occurrence == occurrence || (row.occurrence == 0 && !rule))) {
                    rule = &row;
                }
            }
            if (!rule) {
                ADD_FAILURE() << "no oracle row and no reason it cannot fail";
                continue;
            }

            FreshMachine();
            setUp();
            winshim::ClearCallLog();
            winshim::FailCall(call.name, occurrence, rule->result);
            const int exitCode = run();
            const std::vector<winshim::Call> log = winshim::CallLog();
            ++tally.injected;

            EXPECT_GE(Count(log, call.name), occurrence) << "the failing call never came: nothing was injected";
            EXPECT_EQ(exitCode, rule->exitCode);
            EXPECT_EQ(Messages(log), rule->messages.value_or(clean.messages));
            ExpectNothingLive();
        }

        std::cout << "[  SWEEP   ] " << tool << ": " << tally.calls << " calls in the clean run, " << tally.injected
                  << " faults injected, " << tally.unfailable << " calls the stand-in cannot fail\n";
        ::testing::Test::RecordProperty("injected", tally.injected);
        return tally;
    }
};

}  // namespace fault_sweep
