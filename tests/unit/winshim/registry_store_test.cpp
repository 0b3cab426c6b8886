// The registry file: seen afresh when changed by hand, safe when damaged or shared.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "machine_fixture.h"
#include "registry_store.h"

namespace {

using winshim::RegistryDocument;
using winshim::RegistryStore;

class RegistryStoreTest : public MachineTest {
protected:
    std::filesystem::path File() const { return root_ / "registry.reg"; }
    std::string FileText() const { return TextOf(File()); }
    static std::string TextOf(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static LONG AddKey(RegistryStore& store, const std::string& path)
    {
        return store.Update([&](RegistryDocument& doc, bool& changed) {
            doc.Add(path, std::nullopt);
            changed = true;
            return ERROR_SUCCESS;
        });
    }
    static bool HasKey(RegistryStore& store, const std::string& path)
    {
        return store.Read([&](const RegistryDocument& doc) { return doc.Exists(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND; }) ==
               ERROR_SUCCESS;
    }
};

TEST_F(RegistryStoreTest, SeesSectionsAppendedByHand)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    RegistryStore store = RegistryStore::InFile(File());
    EXPECT_FALSE(HasKey(store, "HKEY_USERS\\Added"));
    std::ofstream(File(), std::ios::binary | std::ios::app) << "[HKEY_USERS\\Added]\n";
    EXPECT_TRUE(HasKey(store, "HKEY_USERS\\Added"));
}

TEST_F(RegistryStoreTest, DamagedFileFailsEveryCallAndIsNeverWrittenOver)
{
    const std::string damaged = "REGEDIT4\r\n[HKEY_USERS\\x]\r\nnot a value\r\n";
    std::ofstream(File(), std::ios::binary) << damaged;
    RegistryStore store = RegistryStore::InFile(File());
    EXPECT_EQ(store.Read([](const RegistryDocument&) { return ERROR_SUCCESS; }), ERROR_BADDB);
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    EXPECT_EQ(FileText(), damaged);

    std::filesystem::remove(File());
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

// A registry file as damage leaves it: every call fails with ERROR_BADDB, the file stays as it
// was, and the stand-in says once what is wrong.
struct DamagedCase {
    const char* name;
    std::string text;  // what registry.reg holds
    const char* problem;  // the stand-in's word for it
};

const std::string kPrinters = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\Laser]\r\n";
const std::string kGood = std::string(winshim::kDefaultRegistryText) + kPrinters + "\"Port\"=\"LPT1:\"\r\n";

const DamagedCase kDamaged[] = {
    {"Empty", "", "is empty"},
    {"CutInTheHeader", "REGED", "(line 1)"},
    {"NoHeader", kPrinters + "\"Port\"=\"LPT1:\"\r\n", "(line 1)"},
    {"UnicodeHeader", "Windows Registry Editor Version 5.00\r\n\r\n" + kPrinters, "(line 1)"},
    {"HeaderWithByteOrderMark", "\xEF\xBB\xBFREGEDIT4\r\n", "(line 1)"},
    {"CutInASectionName", std::string(winshim::kDefaultRegistryText) + kPrinters.substr(0, 40), "(line 7)"},
    {"CutInAValueName", std::string(winshim::kDefaultRegistryText) + kPrinters + "\"Po", "(line 8)"},
    {"CutInAString", std::string(winshim::kDefaultRegistryText) + kPrinters + "\"Port\"=\"LP", "(line 8)"},
    {"CutAfterTheEqualsSign", std::string(winshim::kDefaultRegistryText) + kPrinters + "\"Port\"=", "(line 8)"},
    {"CutInADword", kGood + "\"Copies\"=dword:0000", "(line 9)"},
    {"CutInAClass", std::string(winshim::kDefaultRegistryText) + kPrinters + ";class=\"Noth", "(line 8)"},
    {"CutBeforeAHexContinuation", kGood + "\"Data\"=hex:01,02,\\\r\n", "(line 9)"},
    {"CutInAHexContinuation", kGood + "\"Data\"=hex:01,02,\\\r\n  03,0", "(line 10)"},
    {"ZerosAfterACrash", kGood + std::string(512, '\0'), "(line 9)"},
};

void PrintTo(const DamagedCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedRegistryTest : public RegistryStoreTest, public ::testing::WithParamInterface<DamagedCase> {
protected:
    // Everything in the machine folder but drive_c, the registry and its lock.
    std::vector<std::string> StrayFiles() const
    {
        std::vector<std::string> stray;
        for (const auto& entry : std::filesystem::directory_iterator(root_)) {
            std::string name = entry.path().filename().string();
            if (name != "drive_c" && name != "registry.reg" && name != "registry.reg.lock") {
                stray.push_back(name);
            }
        }
        return stray;
    }
};

TEST_P(DamagedRegistryTest, EveryCallFailsTheFileStaysAndTheMachineSaysWhyOnce)
{
    std::ofstream(File(), std::ios::binary) << GetParam().text;
    RegistryStore store = RegistryStore::InFile(File());

    testing::internal::CaptureStderr();
    EXPECT_EQ(store.Read([](const RegistryDocument&) { return ERROR_SUCCESS; }), ERROR_BADDB);
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    std::string said = testing::internal::GetCapturedStderr();

    EXPECT_EQ(FileText(), GetParam().text);
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{});
    EXPECT_EQ(said.rfind("winshim: " + File().string() + " ", 0), 0u) << said;
    EXPECT_NE(said.find(GetParam().problem), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "said more than once: " << said;

    // Mended by hand, it is read again at once.
    std::ofstream(File(), std::ios::binary) << kGood;
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(Texts, DamagedRegistryTest, ::testing::ValuesIn(kDamaged),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DamagedRegistryTest, AFolderInPlaceOfTheFileIsLeftAlone)
{
    std::filesystem::create_directory(File());
    std::ofstream(File() / "inside.txt") << "x";
    RegistryStore store = RegistryStore::InFile(File());

    testing::internal::CaptureStderr();
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    std::string said = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(std::filesystem::is_directory(File()));
    EXPECT_TRUE(std::filesystem::exists(File() / "inside.txt"));
    EXPECT_EQ(StrayFiles(), std::vector<std::string>{});
    EXPECT_NE(said.find("cannot be read: Is a directory"), std::string::npos) << said;
}

// A machine is made with its registry; one that has lost it is damaged, not made anew over
// keys that may only be missing for a moment.
TEST_F(RegistryStoreTest, ANewMachineGetsItsRegistryAMachineThatLostItStaysWithout)
{
    winshim::MachineOptions options;
    options.root = root_ / "new";
    const std::filesystem::path file = options.root / "registry.reg";
    winshim::OpenMachine(options);
    EXPECT_EQ(TextOf(file), winshim::kDefaultRegistryText);
    EXPECT_TRUE(std::filesystem::is_directory(options.root / "drive_c" / "WINDOWS" / "SendTo"));

    std::filesystem::remove(file);
    winshim::OpenMachine(options);  // the next process on this machine
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".qzv", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_BADDB);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_NE(said.find(file.string() + " is missing"), std::string::npos) << said;
    ExpectNothingLive();
}

TEST_F(RegistryStoreTest, ChangesReplaceTheFileWholeAndLeaveNoTemporaryFile)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    RegistryStore store = RegistryStore::InFile(File());
    ASSERT_EQ(AddKey(store, "HKEY_USERS\\k"), ERROR_SUCCESS);
    EXPECT_EQ(FileText(), std::string(winshim::kDefaultRegistryText) + "[HKEY_USERS\\k]\r\n\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        EXPECT_EQ(entry.path().filename().string().find(".new"), std::string::npos) << entry.path();
    }
}

TEST_F(RegistryStoreTest, ProcessesWritingAtOnceLoseNothing)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    const int processes = 4;
    const int keysEach = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        pid_t child = ::fork();
        if (child == 0) {
            RegistryStore store = RegistryStore::InFile(File());
            int failures = 0;
            for (int k = 0; k < keysEach; ++k) {
                failures += AddKey(store, "HKEY_USERS\\p" + std::to_string(p) + "k" + std::to_string(k)) != ERROR_SUCCESS;
            }
            ::_exit(failures);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStore store = RegistryStore::InFile(File());
    int found = 0;
    for (int p = 0; p < processes; ++p) {
        for (int k = 0; k < keysEach; ++k) {
            found += HasKey(store, "HKEY_USERS\\p" + std::to_string(p) + "k" + std::to_string(k));
        }
    }
    EXPECT_EQ(found, processes * keysEach);
}

}  // namespace
