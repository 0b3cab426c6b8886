// Shortcut placement: the paths made from the system directory, the steps of one shortcut and
// their failure messages, and the files written, read back by two readers.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "lnk_reader.h"
#include "machine_fixture.h"
#include "prnlink.h"

namespace {

// The Printers folder's list as the shell gives it, and one printer item after it.
const std::string kMyComputerItem("\x14\x00\x1F\x00\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 20);
const std::string kPrintersItem("\x14\x00\x70\x00\x80\xA2\x27\x22\xEA\x3A\x69\x10\xA2\xDE\x08\x00\x2B\x30\x30\x9D", 20);
const std::string kPrinterItem("\x0E\x00\x00Laser\x00\x00\x00\x00\x00", 14);
const std::string kPrinterList = kMyComputerItem + kPrintersItem + kPrinterItem + std::string(2, '\0');

std::vector<std::string> Details(const std::string& name)
{
    std::vector<std::string> details;
    for (const auto& call : winshim::CallLog()) {
        if (call.name == name) {
            details.push_back(call.detail);
        }
    }
    return details;
}

std::vector<std::string> Messages()
{
    return Details("MessageBoxA");
}

ShortcutRequest Request(const std::string& iconLocation, const std::string& shortcutName)
{
    ShortcutRequest request = {};
    std::strcpy(request.iconLocation, iconLocation.c_str());
    std::strcpy(request.printerName, "Laser");
    std::strcpy(request.shortcutName, shortcutName.c_str());
    return request;
}

class PlacementTest : public MachineTest {
protected:
    void SetUp() override
    {
        MachineTest::SetUp();
        CoInitialize(nullptr);
        winshim::ClearCallLog();
    }
    void TearDown() override
    {
        CoUninitialize();
        MachineTest::TearDown();
    }

    LPCITEMIDLIST List() const { return reinterpret_cast<LPCITEMIDLIST>(kPrinterList.data()); }
};

struct SystemDirectoryCase {
    const char* what;
    std::string systemDirectory;
    std::vector<std::string> saved;  // the paths handed to Save, in order
    int refused;                     // shortcuts for which no path could be made
};

const std::string kPrefix236 = "D:\\" + std::string(232, 'W') + "\\";

const SystemDirectoryCase kSystemDirectories[] = {
    {"Windows 95 layout", "D:\\WINDOWS\\SYSTEM",
     {"D:\\WINDOWS\\Desktop\\Office Laser.LNK", "D:\\WINDOWS\\SendTo\\Office Laser.LNK"}, 0},
    {"small letters", "D:\\WINNT\\system32",
     {"D:\\WINNT\\Desktop\\Office Laser.LNK", "D:\\WINNT\\SendTo\\Office Laser.LNK"}, 0},
    {"first SYSTEM wins", "D:\\SYSTEMS\\WIN\\SYSTEM",
     {"D:\\Desktop\\Office Laser.LNK", "D:\\SendTo\\Office Laser.LNK"}, 0},
    {"bytes from 0x80 unchanged", "D:\\Fen\xeatres 9\xe9\\System",
     {"D:\\FEN\xeaTRES 9\xe9\\Desktop\\Office Laser.LNK", "D:\\FEN\xeaTRES 9\xe9\\SendTo\\Office Laser.LNK"}, 0},
    {"no SYSTEM", "D:\\WINDOWS\\SYS", {}, 2},
    {"Desktop path one byte too long", kPrefix236 + "SYSTEM", {kPrefix236 + "SendTo\\Office Laser.LNK"}, 1},
    {"system directory too long for the buffer", "D:\\" + std::string(250, 'W') + "\\SYSTEM", {}, 2},
};

class SystemDirectoryTest : public PlacementTest, public ::testing::WithParamInterface<SystemDirectoryCase> {};

TEST_P(SystemDirectoryTest, GivesTheShortcutPaths)
{
    const SystemDirectoryCase& c = GetParam();
    winshim::SetSystemDirectory(c.systemDirectory);

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    EXPECT_EQ(c.saved, Details("IPersistFile::Save"));
    int saveFailures = 0;
    for (const auto& message : Messages()) {
        saveFailures += message == "Error: Save failed!";
    }
    // Drive D: does not exist on this machine, so every Save fails too.
    EXPECT_EQ(c.refused + int(c.saved.size()), saveFailures);
    EXPECT_EQ(size_t(saveFailures), Messages().size());
    ExpectNothingLive();
}

INSTANTIATE_TEST_SUITE_P(Paths, SystemDirectoryTest, ::testing::ValuesIn(kSystemDirectories));

TEST_F(PlacementTest, WithoutTheSystemDirectoryNeitherShortcutIsWritten)
{
    winshim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    EXPECT_EQ(std::vector<std::string>{}, Details("IPersistFile::Save"));
    EXPECT_EQ((std::vector<std::string>{"Error: Save failed!", "Error: Save failed!"}), Messages());
}

TEST_F(PlacementTest, WritesDesktopThenSendToShortcutsThatBothReadersRead)
{
    PlaceShortcuts(List(), Request("C:\\WINDOWS\\laser.ico", "Office Laser"));

    EXPECT_EQ((std::vector<std::string>{"C:\\WINDOWS\\Desktop\\Office Laser.LNK",
                                        "C:\\WINDOWS\\SendTo\\Office Laser.LNK"}),
              Details("IPersistFile::Save"));
    EXPECT_EQ(std::vector<std::string>{}, Messages());
    for (const char* folder : {"Desktop", "SendTo"}) {
        SCOPED_TRACE(folder);
        std::filesystem::path file = winshim::HostPathOf(std::string("C:\\WINDOWS\\") + folder + "\\Office Laser.LNK");
        LnkFile link;
        std::string error;
        ASSERT_TRUE(ReadLnkFile(file, link, error)) << error;
        EXPECT_EQ(0x45u, link.flags);
        EXPECT_EQ(kPrinterList, link.idList);
        EXPECT_EQ("Office Laser", link.description);
        EXPECT_EQ("C:\\WINDOWS\\laser.ico", link.iconLocation);
        EXPECT_EQ(0, link.iconIndex);
        EXPECT_EQ(1u, link.showCommand);

        LnkinfoReport report = RunLnkinfo(file);
        ASSERT_EQ(0, report.exitCode) << report.text;
        EXPECT_EQ("Office Laser", report.Value("Description"));
        EXPECT_EQ("C:\\WINDOWS\\laser.ico", report.Value("Icon location"));
        EXPECT_EQ("0", report.Value("Icon index"));
        EXPECT_EQ("3", report.Value("Number of items"));
        EXPECT_EQ("My Computer", report.Value("Shell folder name"));
    }
    ExpectNothingLive();
}

TEST_F(PlacementTest, ReplacesAnExistingShortcutAndCreatesNoFolder)
{
    MakeFile("C:\\WINDOWS\\Desktop\\Office Laser.LNK", std::string(4000, 'x'));
    std::filesystem::remove(winshim::HostPathOf("C:\\WINDOWS\\SendTo"));

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    LnkFile link;
    std::string error;
    EXPECT_TRUE(ReadLnkFile(winshim::HostPathOf("C:\\WINDOWS\\Desktop\\Office Laser.LNK"), link, error)) << error;
    EXPECT_FALSE(Exists("C:\\WINDOWS\\SendTo"));
    EXPECT_EQ((std::vector<std::string>{"Error: Save failed!"}), Messages());
    ExpectNothingLive();
}

TEST_F(PlacementTest, AFailedDesktopSaveStillLeavesTheSendToShortcut)
{
    winshim::FailCall("IPersistFile::Save", 1, E_ACCESSDENIED);

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    EXPECT_EQ((std::vector<std::string>{"Error: Save failed!"}), Messages());
    EXPECT_FALSE(Exists("C:\\WINDOWS\\Desktop\\Office Laser.LNK"));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\SendTo\\Office Laser.LNK"));
    ExpectNothingLive();
}

TEST_F(PlacementTest, AFolderInPlaceOfTheShortcutIsRefusedAndLeftAlone)
{
    std::filesystem::path inside = MakeFile("C:\\WINDOWS\\Desktop\\Office Laser.LNK\\inside.txt", "kept");

    EXPECT_EQ(E_ACCESSDENIED, WriteShortcut(List(), "C:\\WINDOWS\\Desktop\\Office Laser.LNK", "Office Laser", "C:\\icon.ico"));
    winshim::ClearCallLog();
    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    EXPECT_EQ((std::vector<std::string>{"Error: Save failed!"}), Messages());
    auto entries = std::filesystem::directory_iterator(inside.parent_path());
    EXPECT_EQ(1, std::distance(begin(entries), end(entries)));
    std::ifstream in(inside);
    EXPECT_EQ("kept", std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\SendTo\\Office Laser.LNK"));
    ExpectNothingLive();
}

TEST_F(PlacementTest, ShowsAtMostEightMessages)
{
    for (const char* call : {"IShellLinkA::SetIDList", "IShellLinkA::SetDescription", "IShellLinkA::SetIconLocation",
                             "IPersistFile::Save"}) {
        winshim::FailCall(call, 1, E_FAIL, /*fromThenOn=*/true);
    }

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    std::vector<std::string> four = {"Error: SetPath failed!", "Error: SetDescription failed!",
                                     "Error: SetIconLocation failed!", "Error: Save failed!"};
    std::vector<std::string> eight = four;
    eight.insert(eight.end(), four.begin(), four.end());
    EXPECT_EQ(eight, Messages());
    ExpectNothingLive();
}

TEST_F(PlacementTest, WithoutALinkObjectNothingIsWrittenAndNothingShown)
{
    winshim::FailCall("CoCreateInstance", 1, REGDB_E_CLASSNOTREG, /*fromThenOn=*/true);

    PlaceShortcuts(List(), Request("C:\\icon.ico", "Office Laser"));

    EXPECT_EQ(std::vector<std::string>{}, Messages());
    EXPECT_EQ(2u, Details("CoCreateInstance").size());
    EXPECT_FALSE(Exists("C:\\WINDOWS\\Desktop\\Office Laser.LNK"));
    ExpectNothingLive();
}

struct StepCase {
    const char* failing;
    HRESULT result;                      // of WriteShortcut
    std::vector<std::string> messages;
    std::vector<std::string> callsAfter;  // the link object's calls that still follow
    bool written;
};

const StepCase kSteps[] = {
    {"CoCreateInstance", E_OUTOFMEMORY, {}, {}, false},
    {"IShellLinkA::QueryInterface", E_NOINTERFACE, {}, {"IShellLinkA::Release"}, false},
    {"IShellLinkA::SetIDList", S_OK, {"Error: SetPath failed!"},
     {"IShellLinkA::SetDescription", "IShellLinkA::SetIconLocation", "IPersistFile::Save", "IPersistFile::Release",
      "IShellLinkA::Release"},
     true},
    {"IShellLinkA::SetDescription", S_OK, {"Error: SetDescription failed!"},
     {"IShellLinkA::SetIconLocation", "IPersistFile::Save", "IPersistFile::Release", "IShellLinkA::Release"}, true},
    {"IShellLinkA::SetIconLocation", S_OK, {"Error: SetIconLocation failed!"},
     {"IPersistFile::Save", "IPersistFile::Release", "IShellLinkA::Release"}, true},
    {"MultiByteToWideChar", E_INVALIDARG, {"Error: Save failed!"},
     {"IPersistFile::Release", "IShellLinkA::Release"}, false},
    {"IPersistFile::Save", E_ACCESSDENIED, {"Error: Save failed!"},
     {"IPersistFile::Release", "IShellLinkA::Release"}, false},
};

class WriteShortcutStepTest : public PlacementTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(WriteShortcutStepTest, ReportsTheFailedStepAndGoesOn)
{
    const StepCase& c = GetParam();
    winshim::FailCall(c.failing, 1, c.result == S_OK ? E_FAIL : c.result);
    const std::string path = "C:\\WINDOWS\\Desktop\\Office Laser.LNK";

    EXPECT_EQ(c.result, WriteShortcut(List(), path.c_str(), "Office Laser", "C:\\icon.ico"));

    EXPECT_EQ(c.messages, Messages());
    std::vector<std::string> after;
    bool failed = false;
    for (const auto& call : winshim::CallNames()) {
        if (failed && call.find("::") != std::string::npos) {
            after.push_back(call);
        }
        failed = failed || call == c.failing;
    }
    EXPECT_EQ(c.callsAfter, after);
    EXPECT_EQ(c.written, Exists(path));
    ExpectNothingLive();
}

INSTANTIATE_TEST_SUITE_P(Steps, WriteShortcutStepTest, ::testing::ValuesIn(kSteps), [](const auto& info) {
    std::string name;
    for (char ch : std::string(info.param.failing)) {
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name;
});

}  // namespace
