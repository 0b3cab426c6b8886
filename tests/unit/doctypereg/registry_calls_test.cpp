// RegCreateKeyExA, RegSetValueExA and RegCloseKey on the stand-in's registry file.
#include <fstream>
#include <functional>
#include <sstream>

#include "machine_fixture.h"
#include "registry_document.h"

namespace {

using winshim::RegistryDocument;
using winshim::RegistryKey;
using winshim::RegistryValue;

const std::string kClasses = "HKEY_LOCAL_MACHINE\\Software\\Classes";

class RegistryCallsTest : public MachineTest {
public:
    LONG Create(HKEY parent, const char* name, HKEY* key, DWORD* disposition = nullptr, const char* keyClass = "K",
                REGSAM access = KEY_ALL_ACCESS)
    {
        std::string classText = keyClass ? keyClass : "";
        return RegCreateKeyExA(parent, name, 0, keyClass ? classText.data() : nullptr, REG_OPTION_NON_VOLATILE,
                               access, nullptr, key, disposition);
    }
    static LONG SetString(HKEY key, const char* name, const std::string& text)
    {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
    }
    // The key as the registry file holds it now.
    static std::optional<RegistryKey> KeyAt(const std::string& path)
    {
        auto document = RegistryDocument::Parse(winshim::RegistryText());
        EXPECT_TRUE(document) << "the registry file can no longer be read";
        const RegistryKey* key = document ? document->Find(path) : nullptr;
        return key ? std::optional<RegistryKey>(*key) : std::nullopt;
    }
    static const RegistryValue* ValueOf(const RegistryKey& key, const std::string& name)
    {
        for (const auto& value : key.values) {
            if (value.isDefault == name.empty() && value.name == name) {
                return &value;
            }
        }
        return nullptr;
    }
};

TEST_F(RegistryCallsTest, CreatesOneOrSeveralLevelsAndOpensWhatExists)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, "a\\b\\c", &key, &disposition, "First"), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    // HKEY_CLASSES_ROOT is the classes branch of HKEY_LOCAL_MACHINE; only the key asked for gets the class.
    ASSERT_TRUE(KeyAt(kClasses + "\\a\\b\\c"));
    EXPECT_EQ(KeyAt(kClasses + "\\a\\b\\c")->keyClass, "First");
    ASSERT_TRUE(KeyAt(kClasses + "\\a"));
    EXPECT_EQ(KeyAt(kClasses + "\\a")->keyClass, std::nullopt);

    // Opening an existing key, by another case and through a handle, keeps its class and adds no section.
    std::string before = winshim::RegistryText();
    HKEY a = nullptr;
    ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\CLASSES\\A", &a, &disposition, "Second"), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    ASSERT_EQ(Create(a, "B\\c", &key, &disposition, "Second"), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(winshim::RegistryText(), before);

    // A new key beneath an opened one keeps the stored spelling of its parents.
    HKEY d = nullptr;
    ASSERT_EQ(Create(key, "d", &d, &disposition, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));
    EXPECT_NE(winshim::RegistryText().find("[" + kClasses + "\\a\\b\\c\\d]\r\n\r\n"), std::string::npos);

    for (HKEY open : {d, key, a}) {
        EXPECT_EQ(RegCloseKey(open), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);  // a root is never really closed
    ExpectNothingLive();
}

struct StoredCase {
    const char* what;
    const char* name;  // null: the default value
    std::string data;  // stored with exactly these bytes
    const char* line;  // the value's line in the file, when it is a plain string
};

// Each value goes through the file and is read back from it, byte for byte.
TEST_F(RegistryCallsTest, StoresDataByteForByteAndTheFileKeepsIt)
{
    OpenFreshMachine(/*registryInMemory=*/false);
    const StoredCase cases[] = {
        {"default value", nullptr, std::string("qzvfile\0", 8), "@=\"qzvfile\""},
        {"empty name is the default", "", std::string("x\0", 2), "@=\"x\""},
        {"empty string, size 1", "Empty", std::string("\0", 1), "\"Empty\"=\"\""},
        {"backslashes and quotes", "Command", std::string("C:\\APP\\V.EXE \"%1\"\0", 18),
         "\"Command\"=\"C:\\\\APP\\\\V.EXE \\\"%1\\\"\""},
        {"bytes above 0x7F", "\xFCname", std::string("\xFC\xE9\xA0\xFF\0", 5), "\"\xFCname\"=\"\xFC\xE9\xA0\xFF\""},
        {"size 0", "Zero", std::string(), nullptr},
        {"no terminating NUL", "Open", std::string("ab"), nullptr},
        {"inner NUL and line break", "Odd", std::string("a\0b\r\n\0", 6), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HKEY key = nullptr;
        ASSERT_EQ(Create(HKEY_CLASSES_ROOT, "k", &key), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data.data()), DWORD(c.data.size())),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        OpenFreshMachine(false);  // a new process reads the same file
        auto stored = KeyAt(kClasses + "\\k");
        ASSERT_TRUE(stored);
        const RegistryValue* value = ValueOf(*stored, c.name ? c.name : "");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, DWORD(REG_SZ));
        EXPECT_EQ(std::string(value->data.begin(), value->data.end()), c.data);
        if (c.line) {
            EXPECT_NE(winshim::RegistryText().find(std::string(c.line) + "\r\n"), std::string::npos);
        }
    }
    EXPECT_EQ(KeyAt(kClasses + "\\k")->values.size(), std::size(cases) - 1);  // two cases share the default value
    // The class is a comment line, which an importer skips.
    EXPECT_NE(winshim::RegistryText().find("[" + kClasses + "\\k]\r\n;class=\"K\"\r\n"), std::string::npos);
}

struct ErrorCase {
    const char* what;
    std::function<LONG(RegistryCallsTest&)> call;
    LONG expected;
    long invalidHandles = 0;
};

TEST_F(RegistryCallsTest, ReportsErrorsAsWindowsDoes)
{
    const ErrorCase cases[] = {
        {"value on a handle never opened",
         [](RegistryCallsTest&) { return SetString(reinterpret_cast<HKEY>(0x1234), nullptr, "x"); }, ERROR_INVALID_HANDLE, 1},
        {"close of a null handle", [](RegistryCallsTest&) { return RegCloseKey(nullptr); }, ERROR_INVALID_HANDLE, 1},
        {"key beneath a closed handle",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key);
             RegCloseKey(key);
             HKEY child = nullptr;
             return t.Create(key, "c", &child);
         },
         ERROR_INVALID_HANDLE, 1},
        {"second close",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key);
             RegCloseKey(key);
             return RegCloseKey(key);
         },
         ERROR_INVALID_HANDLE, 1},
        {"new key beneath a key that refuses it",
         [](RegistryCallsTest& t) {
             winshim::DenyKeyAccess("HKEY_CLASSES_ROOT");
             HKEY key = nullptr;
             return t.Create(HKEY_CLASSES_ROOT, ".qzv", &key);
         },
         ERROR_ACCESS_DENIED},
        {"existing key that refuses access, and keys beneath it",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key);
             RegCloseKey(key);
             winshim::DenyKeyAccess("HKEY_CLASSES_ROOT\\K");
             LONG deep = t.Create(HKEY_CLASSES_ROOT, "k\\c", &key);
             return deep == t.Create(HKEY_CLASSES_ROOT, "k", &key) ? deep : -1;
         },
         ERROR_ACCESS_DENIED},
        {"value through a read-only handle",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key, nullptr, "K", KEY_READ);
             LONG result = SetString(key, nullptr, "x");
             RegCloseKey(key);
             return result;
         },
         ERROR_ACCESS_DENIED},
        {"new key through a handle without KEY_CREATE_SUB_KEY",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key, nullptr, "K", KEY_READ);
             HKEY child = nullptr;
             LONG result = t.Create(key, "c", &child);
             RegCloseKey(key);
             return result;
         },
         ERROR_ACCESS_DENIED},
        {"reserved not zero",
         [](RegistryCallsTest&) {
             HKEY key = nullptr;
             return RegCreateKeyExA(HKEY_CLASSES_ROOT, "k", 1, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
         },
         ERROR_INVALID_PARAMETER},
        {"no handle variable",
         [](RegistryCallsTest& t) { return t.Create(HKEY_CLASSES_ROOT, "k", nullptr); }, ERROR_INVALID_PARAMETER},
        {"leading backslash",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             return t.Create(HKEY_CLASSES_ROOT, "\\k", &key);
         },
         ERROR_BAD_PATHNAME},
        {"empty level",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             return t.Create(HKEY_CLASSES_ROOT, "a\\\\b", &key);
         },
         ERROR_BAD_PATHNAME},
        {"data missing",
         [](RegistryCallsTest&) { return RegSetValueExA(HKEY_CLASSES_ROOT, "v", 0, REG_SZ, nullptr, 4); }, ERROR_NOACCESS},
        {"key deleted by another process while open",
         [](RegistryCallsTest& t) {
             HKEY key = nullptr;
             t.Create(HKEY_CLASSES_ROOT, "k", &key);
             winshim::SetRegistryText(winshim::kDefaultRegistryText);
             HKEY child = nullptr;
             LONG onValue = SetString(key, nullptr, "x");
             LONG onChild = t.Create(key, "c", &child);
             RegCloseKey(key);
             return onValue == onChild ? onValue : -1;
         },
         ERROR_KEY_DELETED},
        {"damaged registry",
         [](RegistryCallsTest& t) {
             winshim::SetRegistryText("REGEDIT4\r\n[HKEY_USERS\\x]\r\nnot a value\r\n");
             HKEY key = nullptr;
             return t.Create(HKEY_CLASSES_ROOT, "k", &key);
         },
         ERROR_BADDB},
        {"scripted failure of a creation",
         [](RegistryCallsTest& t) {
             winshim::FailCall("RegCreateKeyExA", 1, ERROR_FILE_NOT_FOUND);
             HKEY key = nullptr;
             return t.Create(HKEY_CLASSES_ROOT, "k", &key);
         },
         ERROR_FILE_NOT_FOUND},
        {"scripted failure of a value",
         [](RegistryCallsTest&) {
             winshim::FailCall("RegSetValueExA", 1, ERROR_ACCESS_DENIED);
             return SetString(HKEY_CLASSES_ROOT, "v", "x");
         },
         ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenFreshMachine(/*registryInMemory=*/true);
        LONG result = c.call(*this);
        EXPECT_EQ(result, c.expected);
        // the stand-in reports each use of a handle that is not open as a fault
        EXPECT_EQ(winshim::Live().faults, c.invalidHandles);
        if (std::string(c.what) != "damaged registry") {
            // A failed call leaves no key or value behind.
            EXPECT_FALSE(KeyAt(kClasses + "\\.qzv"));
            EXPECT_FALSE(KeyAt(kClasses + "\\k\\c"));
            EXPECT_TRUE(KeyAt(kClasses)->values.empty());
        }
        EXPECT_EQ(winshim::Live().handles, 0);
    }
}

}  // namespace
