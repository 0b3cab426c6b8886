// RegisterDocumentType: the tree it writes, the order of its calls, and what a failed key leaves out.
#include <set>

#include "machine_fixture.h"
#include "register_document_type.h"
#include "registry_document.h"

namespace {

using winshim::RegistryDocument;
using winshim::RegistryKey;

const std::string kClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";
const char* const kTail = "C:\\APP\\VIEWER.EXE \"%1\"";

// The six keys, in the order the tool creates them (steps 1, 3, 7, 9, 11, 13).
const char* const kKeys[] = {".qzv", ".qzv\\ShellNew", "qzvfile", "qzvfile\\Shell", "qzvfile\\Shell\\Open",
                             "qzvfile\\Shell\\Open\\Command"};

// One stored value as "key|name|type|data" (name "@" for the default value).
std::string ValueLine(const std::string& key, const winshim::RegistryValue& value)
{
    return key + "|" + (value.isDefault ? "@" : value.name) + "|" + std::to_string(value.type) + "|" +
           std::string(value.data.begin(), value.data.end());
}

class RegisterDocumentTypeTest : public MachineTest {
protected:
    static RegistryDocument Registry()
    {
        auto document = RegistryDocument::Parse(winshim::RegistryText());
        EXPECT_TRUE(document) << "the registry file can no longer be read";
        return document ? *document : *RegistryDocument::Parse("REGEDIT4\r\n");
    }
    // The keys of the tool's two trees that exist now, and all their values.
    static std::set<std::string> ExistingKeys()
    {
        std::set<std::string> keys;
        RegistryDocument registry = Registry();
        for (const char* key : kKeys) {
            if (registry.Exists(kClasses + "\\" + key)) {
                keys.insert(key);
            }
        }
        return keys;
    }
    static std::set<std::string> Values()
    {
        std::set<std::string> values;
        RegistryDocument registry = Registry();
        for (const char* key : kKeys) {
            if (const RegistryKey* stored = registry.Find(kClasses + "\\" + key)) {
                for (const auto& value : stored->values) {
                    values.insert(ValueLine(key, value));
                }
            }
        }
        return values;
    }
    static std::set<std::string> FullValues(const std::string& tail)
    {
        std::string command = tail + std::string(1, '\0');
        return {ValueLine(".qzv", {"", true, REG_SZ, Bytes(std::string("qzvfile\0", 8))}),
                ValueLine(".qzv\\ShellNew", {"Command", false, REG_SZ, Bytes(command)}),
                ValueLine("qzvfile", {"", true, REG_SZ, Bytes(std::string("Brannic Document\0", 17))}),
                ValueLine("qzvfile\\Shell\\Open\\Command", {"", true, REG_SZ, Bytes(command)})};
    }
    static std::vector<BYTE> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
    // The registry calls of the run, each with the key it acted on (HKCR for the classes branch).
    static std::vector<std::string> RegistryCalls()
    {
        std::vector<std::string> calls;
        for (const auto& call : winshim::CallLog()) {
            if (call.name.rfind("Reg", 0) != 0) {
                continue;
            }
            std::string detail = call.detail;
            if (detail.rfind(kClasses, 0) == 0) {
                detail = "HKCR" + detail.substr(kClasses.size());
            }
            calls.push_back(call.name + " " + detail);
        }
        return calls;
    }
};

// The registry calls of a complete run, steps 1 to 16.
const std::vector<std::string> kSteps = {
    "RegCreateKeyExA HKCR\\.qzv",
    "RegSetValueExA HKCR\\.qzv @",
    "RegCreateKeyExA HKCR\\.qzv\\ShellNew",
    "RegSetValueExA HKCR\\.qzv\\ShellNew \"Command\"",
    "RegCloseKey HKCR\\.qzv\\ShellNew",
    "RegCloseKey HKCR\\.qzv",
    "RegCreateKeyExA HKCR\\qzvfile",
    "RegSetValueExA HKCR\\qzvfile @",
    "RegCreateKeyExA HKCR\\qzvfile\\Shell",
    "RegCloseKey HKCR\\qzvfile",
    "RegCreateKeyExA HKCR\\qzvfile\\Shell\\Open",
    "RegCloseKey HKCR\\qzvfile\\Shell",
    "RegCreateKeyExA HKCR\\qzvfile\\Shell\\Open\\Command",
    "RegCloseKey HKCR\\qzvfile\\Shell\\Open",
    "RegSetValueExA HKCR\\qzvfile\\Shell\\Open\\Command @",
    "RegCloseKey HKCR\\qzvfile\\Shell\\Open\\Command",
};

TEST_F(RegisterDocumentTypeTest, WritesTheWholeTreeInOrder)
{
    EXPECT_EQ(RegisterDocumentType(kTail), 1);
    EXPECT_EQ(RegistryCalls(), kSteps);
    EXPECT_EQ(Values(), FullValues(kTail));
    RegistryDocument registry = Registry();
    for (const char* key : kKeys) {
        const RegistryKey* stored = registry.Find(kClasses + "\\" + key);
        ASSERT_NE(stored, nullptr) << key;
        EXPECT_EQ(stored->keyClass, "Nothing") << key;
    }
    // Each text is measured right before the value that holds it.
    std::vector<std::string> measured;
    for (const auto& call : winshim::CallLog()) {
        if (call.name == "lstrlenA") {
            measured.push_back(call.detail);
        }
    }
    EXPECT_EQ(measured, (std::vector<std::string>{"qzvfile", kTail, "Brannic Document", kTail}));
    ExpectNothingLive();
}

TEST_F(RegisterDocumentTypeTest, ExistingKeysKeepTheirClassValuesAndSubkeys)
{
    winshim::SetRegistryText(std::string(winshim::kDefaultRegistryText) +
                             "[HKEY_CLASSES_ROOT\\.qzv]\r\n"
                             ";class=\"Old\"\r\n"
                             "@=\"oldfile\"\r\n"
                             "\"Content Type\"=\"application/x-qzv\"\r\n"
                             "\r\n"
                             "[HKEY_CLASSES_ROOT\\.qzv\\OpenWithList\\other.exe]\r\n"
                             "\r\n"
                             "[HKEY_CLASSES_ROOT\\qzvfile\\Shell\\Print\\Command]\r\n"
                             "@=\"print.exe %1\"\r\n"
                             "\r\n");
    EXPECT_EQ(RegisterDocumentType(kTail), 1);
    std::string once = winshim::RegistryText();
    EXPECT_EQ(RegisterDocumentType(kTail), 1);
    EXPECT_EQ(winshim::RegistryText(), once) << "a second run changed the tree";

    RegistryDocument registry = Registry();
    EXPECT_EQ(registry.Find(kClasses + "\\.qzv")->keyClass, "Old");
    // "qzvfile" and "Shell" were there before as parents of a key: opened, not created.
    EXPECT_EQ(registry.Find(kClasses + "\\qzvfile")->keyClass, std::nullopt);
    EXPECT_EQ(registry.Find(kClasses + "\\qzvfile\\Shell"), nullptr);
    EXPECT_EQ(registry.Find(kClasses + "\\qzvfile\\Shell\\Open")->keyClass, "Nothing");
    EXPECT_TRUE(registry.Exists(kClasses + "\\.qzv\\OpenWithList\\other.exe"));
    std::set<std::string> expected = FullValues(kTail);
    expected.insert(".qzv|Content Type|1|" + std::string("application/x-qzv\0", 18));
    EXPECT_EQ(Values(), expected);
    const RegistryKey* print = registry.Find(kClasses + "\\qzvfile\\Shell\\Print\\Command");
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(ValueLine("", print->values.at(0)), "|@|1|" + std::string("print.exe %1\0", 13));
    ExpectNothingLive();
}

class TailTest : public RegisterDocumentTypeTest, public ::testing::WithParamInterface<std::string> {};

// Both command values hold the tail's bytes and its NUL, through the registry file and back.
TEST_P(TailTest, StoresTheTailByteForByteInBothCommands)
{
    OpenFreshMachine(/*registryInMemory=*/false);
    const std::string& tail = GetParam();
    EXPECT_EQ(RegisterDocumentType(tail.c_str()), 1);
    OpenFreshMachine(false);
    EXPECT_EQ(Values(), FullValues(tail));
    EXPECT_EQ(ExistingKeys().size(), std::size(kKeys));
}

INSTANTIATE_TEST_SUITE_P(Tails, TailTest,
                         ::testing::Values("", "\"C:\\Program Files\\App\\Viewer.exe\" \"%1\"", "C:\\APP\\VIEWER.EXE %1",
                                           "C:\\APP\\VIEWER.EXE  /open   %1  ", "C:\\\xC4PP\\V\xDC.EXE \xA0\xFF\x81%1",
                                           "\\\\server\\share\\v.exe \"\\\"%1\\\"\""));

struct CreationFailure {
    int occurrence;  // which RegCreateKeyExA fails
    int exitCode;
    std::set<std::string> keys;
    std::set<int> stepsLeftOut;  // 1-based, of kSteps
};

class CreationFailureTest : public RegisterDocumentTypeTest, public ::testing::WithParamInterface<CreationFailure> {};

// A key that cannot be made takes with it its value, the keys beneath it and its close; nothing else.
TEST_P(CreationFailureTest, LeavesOutOnlyTheStepsThatNeedTheKey)
{
    const CreationFailure& c = GetParam();
    std::string before = winshim::RegistryText();
    winshim::FailCall("RegCreateKeyExA", c.occurrence, ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegisterDocumentType(kTail), c.exitCode);

    std::vector<std::string> expectedCalls;
    for (size_t step = 1; step <= kSteps.size(); ++step) {
        if (!c.stepsLeftOut.count(int(step))) {
            expectedCalls.push_back(kSteps[step - 1]);
        }
    }
    EXPECT_EQ(RegistryCalls(), expectedCalls);
    EXPECT_EQ(ExistingKeys(), c.keys);
    std::set<std::string> expectedValues;
    for (const auto& value : FullValues(kTail)) {
        if (c.keys.count(value.substr(0, value.find('|')))) {
            expectedValues.insert(value);
        }
    }
    EXPECT_EQ(Values(), expectedValues);
    if (c.exitCode == 0) {
        EXPECT_EQ(winshim::RegistryText(), before);
    }
    ExpectNothingLive();
}

INSTANTIATE_TEST_SUITE_P(
    EachCreation, CreationFailureTest,
    ::testing::Values(
        CreationFailure{1, 0, {}, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        CreationFailure{2, 1, {".qzv", "qzvfile", "qzvfile\\Shell", "qzvfile\\Shell\\Open", "qzvfile\\Shell\\Open\\Command"}, {4, 5}},
        CreationFailure{3, 1, {".qzv", ".qzv\\ShellNew"}, {8, 9, 10, 11, 12, 13, 14, 15, 16}},
        CreationFailure{4, 1, {".qzv", ".qzv\\ShellNew", "qzvfile"}, {11, 12, 13, 14, 15, 16}},
        CreationFailure{5, 1, {".qzv", ".qzv\\ShellNew", "qzvfile", "qzvfile\\Shell"}, {13, 14, 15, 16}},
        CreationFailure{6, 1, {".qzv", ".qzv\\ShellNew", "qzvfile", "qzvfile\\Shell", "qzvfile\\Shell\\Open"}, {15, 16}}),
    [](const auto& info) { return "Creation" + std::to_string(info.param.occurrence); });

TEST_F(RegisterDocumentTypeTest, ExtensionKeyRefusedOrRegistryDamagedReturnsZeroAndTouchesNothing)
{
    // The caller may not create keys beneath HKEY_CLASSES_ROOT.
    winshim::DenyKeyAccess("HKEY_CLASSES_ROOT");
    std::string before = winshim::RegistryText();
    EXPECT_EQ(RegisterDocumentType(kTail), 0);
    EXPECT_EQ(winshim::RegistryText(), before);

    // An existing ".qzv" that refuses access: "qzvfile" is not touched either.
    OpenFreshMachine(true);
    winshim::SetRegistryText(before + "[HKEY_CLASSES_ROOT\\.qzv]\r\n\r\n");
    winshim::DenyKeyAccess("HKEY_CLASSES_ROOT\\.qzv");
    EXPECT_EQ(RegisterDocumentType(kTail), 0);
    EXPECT_EQ(ExistingKeys(), std::set<std::string>{".qzv"});

    OpenFreshMachine(/*registryInMemory=*/false);
    const std::string damaged = "REGEDIT4\r\n[HKEY_USERS\\x]\r\nnot a value\r\n";
    winshim::SetRegistryText(damaged);
    EXPECT_EQ(RegisterDocumentType(kTail), 0);
    EXPECT_EQ(winshim::RegistryText(), damaged);
    ExpectNothingLive();
}

// Values that cannot be written change nothing else: every key is made and the run returns 1.
TEST_F(RegisterDocumentTypeTest, FailedValuesAndClosesDoNotStopTheRun)
{
    winshim::FailCall("RegSetValueExA", 1, ERROR_ACCESS_DENIED, /*fromThenOn=*/true);
    winshim::FailCall("RegCloseKey", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegisterDocumentType(kTail), 1);
    EXPECT_EQ(RegistryCalls(), kSteps);
    EXPECT_EQ(ExistingKeys().size(), std::size(kKeys));
    EXPECT_TRUE(Values().empty());
    ExpectNothingLive();  // the key whose close failed is closed all the same
}

}  // namespace
