// prnlink's printer lookup: passes over the Printers folder until a display name holds the
// printer name field or 40000 ms have passed, shortcuts placed for every match of that pass.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include <shlobj.h>

#include "machine_fixture.h"
#include "prnlink.h"

namespace {

const char* const kLaser = "HP LaserJet 4 on LPT1:";
const char* const kDesktopShortcut = "C:\\WINDOWS\\Desktop\\Office Laser.LNK";
const char* const kSendToShortcut = "C:\\WINDOWS\\SendTo\\Office Laser.LNK";

class LookupTest : public MachineTest {
protected:
    void TearDown() override
    {
        ExpectNothingLive();
        MachineTest::TearDown();
    }

    // One search as the run makes it, inside COM and with the run's allocator; keeps the calls
    // that the search made.
    void Search(const char* printerName)
    {
        ShortcutRequest request = {};
        std::strcpy(request.iconLocation, "C:\\ICONS\\LASER.ICO");
        std::strcpy(request.printerName, printerName);
        std::strcpy(request.shortcutName, "Office Laser");
        CoInitialize(nullptr);
        IMalloc* malloc = nullptr;
        ASSERT_EQ(SHGetMalloc(&malloc), S_OK);
        winshim::ClearCallLog();
        PollPrintersFolder(request, malloc);
        calls_ = winshim::CallLog();
        malloc->Release();
        CoUninitialize();
    }

    int Count(const std::string& name) const
    {
        return int(std::count_if(calls_.begin(), calls_.end(), [&](const winshim::Call& c) { return c.name == name; }));
    }
    int Passes() const { return Count("IShellFolder::EnumObjects"); }

    // The printer a shortcut file targets (its item holds the name); "" when there is no file.
    std::string TargetOf(const char* shortcut) const
    {
        if (!Exists(shortcut)) {
            return "";
        }
        std::ifstream in(winshim::HostPathOf(shortcut), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const char* printer : printers_) {
            if (bytes.find(std::string("P", 2) + printer + std::string(1, '\0')) != std::string::npos) {
                return printer;
            }
        }
        return "unknown printer";
    }
    void ExpectShortcutsOf(const std::string& printer) const
    {
        EXPECT_EQ(TargetOf(kDesktopShortcut), printer);
        EXPECT_EQ(TargetOf(kSendToShortcut), printer);
    }

    void AddPrinters(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            AddPrinter(name);
            printers_.push_back(name);
        }
    }

    std::vector<winshim::Call> calls_;
    std::vector<const char*> printers_;
};

TEST_F(LookupTest, PrinterPresentAtTheStartIsFoundInTheFirstPass)
{
    AddPrinters({kLaser});
    winshim::SetTickCount(5000, 1);
    Search("LaserJet");
    ExpectShortcutsOf(kLaser);
    // Set-up, the desktop folder released right after the binding, one pass, one queue look.
    const std::set<std::string> shown = {"SHGetSpecialFolderLocation", "SHGetDesktopFolder", "IShellFolder::BindToObject",
                                         "IShellFolder::Release", "GetTickCount", "IShellFolder::EnumObjects",
                                         "IEnumIDList::Next", "IEnumIDList::Release", "PeekMessageA"};
    std::vector<std::string> sequence;
    for (const auto& call : calls_) {
        if (shown.count(call.name)) {
            sequence.push_back(call.name + (call.name.ends_with("Release") ? " " + call.detail : ""));
        }
    }
    std::vector<std::string> expected = {
        "SHGetSpecialFolderLocation", "SHGetDesktopFolder",    "IShellFolder::BindToObject",
        "IShellFolder::Release Desktop", "GetTickCount",        "GetTickCount",
        "IShellFolder::EnumObjects",  "IEnumIDList::Next",     "IEnumIDList::Next",
        "IEnumIDList::Release Printers", "PeekMessageA",       "IShellFolder::Release Printers"};
    EXPECT_EQ(sequence, expected);
    EXPECT_EQ(Count("MessageBoxA"), 0);
}

TEST_F(LookupTest, PrinterListedAfterSeveralPassesIsFoundInTheNextPass)
{
    AddPrinters({"Canon on LPT2:"});
    winshim::SetTickCount(0, 1);
    winshim::OnCall("PeekMessageA", 3, [&] { AddPrinters({kLaser}); });
    Search("LaserJet");
    EXPECT_EQ(Passes(), 4);
    EXPECT_EQ(Count("PeekMessageA"), 4);
    ExpectShortcutsOf(kLaser);
}

TEST_F(LookupTest, PassBegunAt39999RunsToItsEnd)
{
    AddPrinters({kLaser});
    winshim::SetTickCount(0, 39999);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 1);
    EXPECT_EQ(Count("GetTickCount"), 2) << "the time is looked at only at the start of a pass";
    ExpectShortcutsOf(kLaser);
}

// Without a match, passes follow each other until one would begin 40000 ms or more after the
// start tick; the difference is unsigned, so a tick count that wraps changes nothing.
struct ClockCase {
    const char* name;
    DWORD start;
    DWORD step;
    int passes;
};

void PrintTo(const ClockCase& c, std::ostream* os)
{
    *os << c.name;
}

class LookupClockTest : public LookupTest, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(LookupClockTest, PassesUntilTheLimit)
{
    AddPrinters({"Canon on LPT2:"});
    winshim::SetTickCount(GetParam().start, GetParam().step);
    Search("LaserJet");
    EXPECT_EQ(Passes(), GetParam().passes);
    EXPECT_EQ(Count("PeekMessageA"), GetParam().passes);
    for (const auto& call : calls_) {
        if (call.name == "PeekMessageA") {
            EXPECT_EQ(call.detail, "PM_NOREMOVE");
        }
    }
    EXPECT_FALSE(Exists(kDesktopShortcut));
    EXPECT_FALSE(Exists(kSendToShortcut));
    EXPECT_EQ(Count("MessageBoxA"), 0);
}

INSTANTIATE_TEST_SUITE_P(Clocks, LookupClockTest,
                         ::testing::Values(ClockCase{"EveryMillisecond", 100, 1, 39999},
                                           ClockCase{"LastPassAt39999", 0, 13333, 3},
                                           ClockCase{"NoPassAt40000", 0, 40000, 0},
                                           ClockCase{"NoPassAt40000AfterOne", 0, 20000, 1},
                                           ClockCase{"WrapsDuringTheSearch", 0xFFFFFFFFu - 15000, 10000, 3},
                                           ClockCase{"WrapsAtTheLimit", 0xFFFFFFFFu - 39999, 13333, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// The printer name field against the display name "HP LaserJet 4 on LPT1:", in each of the three
// forms the folder may give it.
struct MatchCase {
    const char* name;
    const char* printerName;
    bool matches;
};

std::string MatchCaseName(const ::testing::TestParamInfo<std::tuple<MatchCase, UINT>>& info)
{
    static const char* const forms[] = {"Wide", "Offset", "Narrow"};
    return std::string(std::get<0>(info.param).name) + forms[std::get<1>(info.param)];
}

class LookupMatchTest : public LookupTest, public ::testing::WithParamInterface<std::tuple<MatchCase, UINT>> {};

TEST_P(LookupMatchTest, MatchesASubstringByteForByte)
{
    const auto& [match, form] = GetParam();
    AddPrinters({kLaser});
    winshim::SetDisplayNameForm(form);
    winshim::SetTickCount(0, 20000);
    Search(match.printerName);
    ExpectShortcutsOf(match.matches ? kLaser : "");
    EXPECT_EQ(Passes(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LookupMatchTest,
    ::testing::Combine(::testing::Values(MatchCase{"Start", "HP Laser", true}, MatchCase{"Middle", "LaserJet", true},
                                         MatchCase{"End", "on LPT1:", true}, MatchCase{"Whole", kLaser, true},
                                         MatchCase{"OtherCase", "Laserjet", false},
                                         MatchCase{"OneCharacterTooMany", "HP LaserJet 4 on LPT1: ", false},
                                         MatchCase{"Elsewhere", "LPT2:", false}),
                       ::testing::Values(UINT(STRRET_WSTR), UINT(STRRET_CSTR), UINT(STRRET_OFFSET))),
    MatchCaseName);

TEST_F(LookupTest, EveryMatchOfThePassIsPlacedAndTheLastRemains)
{
    AddPrinters({kLaser, "Canon on LPT2:", "HP LaserJet 5 on FILE:"});
    winshim::SetTickCount(0, 1);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 1);
    EXPECT_EQ(Count("CoCreateInstance"), 4) << "two printers, two shortcuts each";
    ExpectShortcutsOf("HP LaserJet 5 on FILE:");
}

TEST_F(LookupTest, RefusedDisplayNameIsSkippedAndTheNextComparedInstead)
{
    AddPrinters({kLaser, "HP LaserJet 5 on FILE:"});
    winshim::SetTickCount(0, 1);
    winshim::FailCall("IShellFolder::GetDisplayNameOf", 1, E_FAIL);
    Search("LaserJet");
    EXPECT_EQ(Count("IShellFolder::GetDisplayNameOf"), 2);
    EXPECT_EQ(Count("CoCreateInstance"), 2);
    ExpectShortcutsOf("HP LaserJet 5 on FILE:");
}

TEST_F(LookupTest, DisplayNameInAnUnknownFormMatchesNothing)
{
    AddPrinters({kLaser});
    winshim::SetDisplayNameForm(3);
    winshim::SetTickCount(0, 10000);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 3);
    ExpectShortcutsOf("");
}

// A wide display name is compared only when its ANSI form fits 260 bytes with its NUL.
TEST_F(LookupTest, WideNameMustFitTheBuffer)
{
    std::string fits = std::string(259 - 8, 'x') + "LaserJet";
    std::string tooLong = std::string(260 - 8, 'y') + "LaserJet";
    AddPrinters({fits.c_str(), tooLong.c_str()});
    winshim::SetTickCount(0, 1);
    Search("LaserJet");
    EXPECT_EQ(Count("CoCreateInstance"), 2) << "only the name of 259 bytes matched";
    ExpectShortcutsOf(fits);
}

TEST_F(LookupTest, NameThatDoesNotConvertMatchesNothing)
{
    AddPrinters({kLaser, "HP LaserJet 5 on FILE:"});
    winshim::SetTickCount(0, 1);
    winshim::FailCall("WideCharToMultiByte", 2, ERROR_NO_UNICODE_TRANSLATION);
    Search("LaserJet");
    EXPECT_EQ(Count("CoCreateInstance"), 2);
    ExpectShortcutsOf(kLaser);
}

TEST_F(LookupTest, EnumerationEndsAtAFailedStepAndTheNextPassStartsAfresh)
{
    AddPrinters({"Canon on LPT2:", kLaser});
    winshim::SetTickCount(0, 1);
    winshim::FailCall("IEnumIDList::Next", 2, E_FAIL);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 2);
    ExpectShortcutsOf(kLaser);
}

TEST_F(LookupTest, MatchWithoutAJoinedListIsFoundButPlacesNothing)
{
    AddPrinters({kLaser});
    winshim::SetTickCount(0, 1);
    winshim::FailCall("IMalloc::Alloc", 1, E_OUTOFMEMORY, true);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 1) << "the printer counts as found";
    EXPECT_EQ(Count("CoCreateInstance"), 0);
    ExpectShortcutsOf("");
}

// EnumObjects refused in every pass, also by a success that hands out no enumerator.
class LookupEnumFailureTest : public LookupTest, public ::testing::WithParamInterface<HRESULT> {};

TEST_P(LookupEnumFailureTest, PassesGoOnUntilTheLimit)
{
    AddPrinters({kLaser});
    winshim::SetTickCount(0, 10000);
    winshim::FailCall("IShellFolder::EnumObjects", 1, GetParam(), true);
    Search("LaserJet");
    EXPECT_EQ(Passes(), 3);
    EXPECT_EQ(Count("PeekMessageA"), 3);
    EXPECT_EQ(Count("IEnumIDList::Next"), 0);
    ExpectShortcutsOf("");
}

INSTANTIATE_TEST_SUITE_P(Results, LookupEnumFailureTest, ::testing::Values(E_NOTIMPL, S_FALSE, S_OK));

// Without the folder list, the desktop folder or the binding there is no pass at all.
class LookupSetUpFailureTest : public LookupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LookupSetUpFailureTest, NoPassNothingWrittenNoMessage)
{
    AddPrinters({kLaser});
    winshim::FailCall(GetParam(), 1, E_FAIL);
    Search("LaserJet");
    EXPECT_EQ(Count("GetTickCount"), 0);
    EXPECT_EQ(Passes(), 0);
    EXPECT_EQ(Count("PeekMessageA"), 0);
    EXPECT_EQ(Count("MessageBoxA"), 0);
    ExpectShortcutsOf("");
}

INSTANTIATE_TEST_SUITE_P(Calls, LookupSetUpFailureTest,
                         ::testing::Values("SHGetSpecialFolderLocation", "SHGetDesktopFolder",
                                           "IShellFolder::BindToObject"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(name.rfind(':') + 1);
                         });

}  // namespace
