// The fault sweep of prnlink: every call of a run that writes both shortcuts, failed one at a time.
#include <string>

#include "fault_sweep.h"
#include "prnlink.h"

namespace {

using fault_sweep::FaultSweepTest;
using fault_sweep::Rule;
using fault_sweep::Unfailable;
using Messages = std::vector<std::string>;

const Messages kNone = {};
const Messages kSetPath = {"Error: SetPath failed!"};
const Messages kSetDescription = {"Error: SetDescription failed!"};
const Messages kSetIconLocation = {"Error: SetIconLocation failed!"};
const Messages kSave = {"Error: Save failed!"};

// What each failure shows. The clean run shows no message and ends with 1.
const std::vector<Rule> kOracle = {
    // CoInitialize is not tested; without the apartment the link object cannot be made, which
    // CoCreateInstance's failure handling covers: no shortcut, no message.
    {"CoInitialize", 0, E_FAIL, 1, kNone},
    // The run's allocator: exit code 0, no message, no search.
    {"SHGetMalloc", 1, E_OUTOFMEMORY, 0, kNone},
    // ShellAllocZeroed's own allocator: IdListConcat gives no list; the printer counts as found
    // but has no shortcuts; no message.
    {"SHGetMalloc", 0, E_OUTOFMEMORY, 1, kNone},
    {"IMalloc::Alloc", 0, E_OUTOFMEMORY, 1, kNone},
    // Set-up of the search: no search, nothing written, silent.
    {"SHGetSpecialFolderLocation", 0, E_FAIL, 1, kNone},
    {"SHGetDesktopFolder", 0, E_FAIL, 1, kNone},
    {"IShellFolder::BindToObject", 0, E_FAIL, 1, kNone},
    // A pass that lists nothing, or a printer that counts as no match: the next pass finds it.
    {"IShellFolder::EnumObjects", 0, E_FAIL, 1, std::nullopt},
    {"IEnumIDList::Next", 0, E_FAIL, 1, std::nullopt},
    {"IShellFolder::GetDisplayNameOf", 0, E_FAIL, 1, std::nullopt},
    {"WideCharToMultiByte", 0, ERROR_NO_UNICODE_TRANSLATION, 1, std::nullopt},
    // No system directory: no shortcut path can be made; each of the two is reported as a failed
    // save.
    {"GetSystemDirectoryA", 0, ERROR_ACCESS_DENIED, 1, Messages{"Error: Save failed!", "Error: Save failed!"}},
    // The shortcut at hand is not written, silently.
    {"CoCreateInstance", 0, REGDB_E_CLASSNOTREG, 1, kNone},
    {"IShellLinkA::QueryInterface", 0, E_NOINTERFACE, 1, kNone},
    // Each failed step is reported, and the steps after it still run.
    {"IShellLinkA::SetIDList", 0, E_FAIL, 1, kSetPath},
    {"IShellLinkA::SetDescription", 0, E_FAIL, 1, kSetDescription},
    {"IShellLinkA::SetIconLocation", 0, E_FAIL, 1, kSetIconLocation},
    // Without the wide path there is nothing to save to: reported as the failed save.
    {"MultiByteToWideChar", 0, ERROR_NO_UNICODE_TRANSLATION, 1, kSave},
    {"IPersistFile::Save", 0, E_ACCESSDENIED, 1, kSave},
};

const std::vector<Unfailable> kUnfailable = {
    {"SendMessageA", "the stand-in has no windows: a broadcast reaches nobody and has no failure"},
    {"lstrlenA", "has no failure result: it only counts bytes"},
    {"lstrcatA", "has no failure result the stand-in models (Windows answers NULL only for a bad pointer)"},
    {"GetTickCount", "cannot fail; the sweep scripts its answers instead"},
    {"PeekMessageA", "FALSE is its ordinary answer on an empty queue, and the result is not used"},
    {"IMalloc::Free", "returns nothing"},
    {"IMalloc::Release", "returns a count, not a result"},
    {"IShellFolder::Release", "returns a count, not a result"},
    {"IEnumIDList::Release", "returns a count, not a result"},
    {"IShellLinkA::Release", "returns a count, not a result"},
    {"IPersistFile::Release", "returns a count, not a result"},
    {"CoUninitialize", "returns nothing"},
};

const char* const kTail = "C:\\ICONS\\LASER.ICO \"LaserJet\" \"Office Laser\"";

int RunPrnlink(std::string tail)
{
    return WinMain(NULL, NULL, tail.data(), SW_SHOWDEFAULT);
}

class PrnlinkFaultSweepTest : public FaultSweepTest {
protected:
    // A matching printer, and 1 s per tick query: a search that never finds the printer ends
    // after 40 passes.
    void MatchingPrinter()
    {
        AddPrinter("HP LaserJet 4 on LPT1:");
        winshim::SetTickCount(0, 1000);
    }
};

TEST_F(PrnlinkFaultSweepTest, HandlesEveryFailingCall)
{
    auto setUp = [this] { MatchingPrinter(); };
    auto run = [] { return RunPrnlink(kTail); };

    // The machine the sweep starts from: both shortcuts written, no message.
    FreshMachine();
    setUp();
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(Exists("C:\\WINDOWS\\Desktop\\Office Laser.LNK"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\SendTo\\Office Laser.LNK"));
    EXPECT_EQ(fault_sweep::Messages(winshim::CallLog()), kNone);

    fault_sweep::Tally tally = Sweep("prnlink", setUp, run, kOracle, kUnfailable);
    EXPECT_GT(tally.injected, 0);
}

// A clean run shows no message box, so the sweep never fails one. Here every run that reports
// something is made once with working boxes and once with boxes that cannot be shown: the run
// must go the same way, call for call.
TEST_F(PrnlinkFaultSweepTest, GoesOnWhenNoMessageBoxCanBeShown)
{
    struct Case {
        const char* tail;
        const char* failing;  // fails from its first call on; nullptr: nothing fails
        size_t messages;
    };
    const Case cases[] = {
        {"C:\\ICONS\\LASER.ICO", nullptr, 1},
        {kTail, "GetSystemDirectoryA", 2},
        {kTail, "IShellLinkA::SetIDList", 2},
        {kTail, "IShellLinkA::SetDescription", 2},
        {kTail, "IShellLinkA::SetIconLocation", 2},
        {kTail, "MultiByteToWideChar", 2},
        {kTail, "IPersistFile::Save", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failing ? c.failing : "the command line") + " fails");
        std::vector<std::string> calls[2];
        int exitCodes[2];
        for (int boxesFail = 0; boxesFail < 2; ++boxesFail) {
            FreshMachine();
            MatchingPrinter();
            if (c.failing) {
                winshim::FailCall(c.failing, 1, E_FAIL, /*fromThenOn=*/true);
            }
            if (boxesFail) {
                winshim::FailCall("MessageBoxA", 1, ERROR_NOT_ENOUGH_MEMORY, /*fromThenOn=*/true);
            }
            winshim::ClearCallLog();
            exitCodes[boxesFail] = RunPrnlink(c.tail);
            calls[boxesFail] = winshim::CallNames();
            ExpectNothingLive();
        }
        EXPECT_EQ(fault_sweep::Count(winshim::CallLog(), "MessageBoxA"), int(c.messages));
        EXPECT_EQ(exitCodes[1], exitCodes[0]);
        EXPECT_EQ(calls[1], calls[0]);
    }
}

}  // namespace
