// The registry's REGEDIT4 text: what is read, what is written back, what is refused.
#include "machine_fixture.h"
#include "registry_document.h"

namespace {

using winshim::RegistryDocument;
using winshim::RegistryValue;

const char* const kSample =
    "REGEDIT4\n"
    "; kept as it is\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.abc]\n"
    ";class=\"Some \\\"class\\\"\"\n"
    "@=\"abcfile\"\n"
    "\"Path\"=\"C:\\\\x\\\\y \\\"q\\\"\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"Blob\"=hex:01,02,\\\n"
    "  03\n"
    "\n"
    "[HKEY_CLASSES_ROOT\\abcfile\\Shell]\n"
    "\"Odd\"=hex(1):61,00,62,00\n";

RegistryDocument ParseSample()
{
    auto doc = RegistryDocument::Parse(kSample);
    EXPECT_TRUE(doc.has_value());
    return doc.value_or(*RegistryDocument::Parse("REGEDIT4\r\n"));
}

TEST(RegistryDocumentTest, ReadsKeysClassesAndValues)
{
    RegistryDocument doc = ParseSample();
    const auto* key = doc.Find("hkey_local_machine\\SOFTWARE\\classes\\.ABC");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->keyClass, "Some \"class\"");
    ASSERT_EQ(key->values.size(), 4u);
    EXPECT_TRUE(key->values[0].isDefault);
    EXPECT_EQ(key->values[0].data, std::vector<BYTE>({'a', 'b', 'c', 'f', 'i', 'l', 'e', 0}));
    std::string path(key->values[1].data.begin(), key->values[1].data.end());
    EXPECT_EQ(path, std::string("C:\\x\\y \"q\"") + '\0');
    EXPECT_EQ(key->values[2].type, DWORD(REG_DWORD));
    EXPECT_EQ(key->values[2].data, std::vector<BYTE>({42, 0, 0, 0}));
    EXPECT_EQ(key->values[3].data, std::vector<BYTE>({1, 2, 3}));

    // HKEY_CLASSES_ROOT is the HKLM classes branch, whichever way it is written
    ASSERT_NE(doc.Find("HKEY_LOCAL_MACHINE\\Software\\Classes\\abcfile\\shell"), nullptr);
    EXPECT_FALSE(doc.Find("HKEY_CLASSES_ROOT\\abcfile\\Shell")->keyClass.has_value());
    EXPECT_TRUE(doc.Exists("HKEY_CLASSES_ROOT\\abcfile"));  // implied by its subkey
    EXPECT_FALSE(doc.Exists("HKEY_CLASSES_ROOT\\abcfil"));
    EXPECT_EQ(doc.SubkeyNames("HKEY_CLASSES_ROOT"), std::vector<std::string>({".abc", "abcfile"}));
}

TEST(RegistryDocumentTest, UnchangedSectionsAreWrittenBackByteForByte)
{
    RegistryDocument doc = ParseSample();
    EXPECT_EQ(doc.Serialize(), kSample);

    RegistryValue value;
    value.name = "New";
    value.type = REG_SZ;
    value.data = {0xfc, 0};
    doc.SetValue(*doc.Find("HKEY_CLASSES_ROOT\\abcfile\\Shell"), value);
    doc.Add("HKEY_CLASSES_ROOT\\.qzv", std::string("Nothing"));
    std::string text = doc.Serialize();
    std::string untouched(kSample, std::string(kSample).find("[HKEY_CLASSES_ROOT\\abcfile"));
    EXPECT_EQ(text.substr(0, untouched.size()), untouched);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\abcfile\\Shell]\r\n"
                        "\"Odd\"=hex(1):61,00,62,00\r\n\"New\"=\"\xfc\"\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\.qzv]\r\n;class=\"Nothing\"\r\n\r\n"),
              std::string::npos);
    auto again = RegistryDocument::Parse(text);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->Serialize(), text);
}

TEST(RegistryDocumentTest, StringsThatQuotesCannotHoldAreWrittenAsHex)
{
    auto doc = RegistryDocument::Parse("REGEDIT4\r\n");
    auto& key = doc->Add("HKEY_CURRENT_USER\\k", std::nullopt);
    for (auto data : {std::vector<BYTE>{'a'}, std::vector<BYTE>{'a', 0, 'b', 0}, std::vector<BYTE>{'\r', '\n', 0}}) {
        RegistryValue value;
        value.name = "v" + std::to_string(data.size());
        value.type = REG_SZ;
        value.data = data;
        doc->SetValue(key, value);
    }
    auto again = RegistryDocument::Parse(doc->Serialize());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->Find("HKEY_CURRENT_USER\\k")->values, doc->Find("HKEY_CURRENT_USER\\k")->values);
}

TEST(RegistryDocumentTest, RemovesTreesAndMergesRepeatedSections)
{
    auto doc = RegistryDocument::Parse(
        "REGEDIT4\r\n\r\n[HKEY_USERS\\P]\r\n\"a\"=\"1\"\r\n\r\n[HKEY_USERS\\P\\Sub]\r\n\r\n"
        "[HKEY_USERS\\PX]\r\n\r\n[HKEY_USERS\\p]\r\n\"b\"=\"2\"\r\n");
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->Find("HKEY_USERS\\P")->values.size(), 2u);
    EXPECT_TRUE(doc->RemoveTree("hkey_users\\p"));
    EXPECT_FALSE(doc->Exists("HKEY_USERS\\P\\Sub"));
    EXPECT_TRUE(doc->Exists("HKEY_USERS\\PX"));
    EXPECT_FALSE(doc->RemoveTree("HKEY_USERS\\P"));
    EXPECT_EQ(doc->Serialize(), "REGEDIT4\r\n\r\n[HKEY_USERS\\PX]\r\n\r\n");
}

TEST(RegistryDocumentTest, RefusesWhatItCannotKeep)
{
    for (const char* text : {"", "REGEDIT5\r\n", "Windows Registry Editor Version 5.00\r\n",
                             "REGEDIT4\r\n\"a\"=\"no key\"\r\n", "REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n",
                             "REGEDIT4\r\n[-HKEY_USERS\\x]\r\n", "REGEDIT4\r\n[HKEY_USERS\\x\r\n",
                             "REGEDIT4\r\n[HKEY_USERS\\a\\\\b]\r\n", "REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=\"open\r\n",
                             "REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=-\r\n", "REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=dword:12\r\n",
                             "REGEDIT4\r\n[HKEY_USERS\\x]\r\n\"a\"=hex:0g\r\n", "REGEDIT4\r\n[HKEY_USERS\\x]\r\ngarbage\r\n",
                             "REGEDIT4\r\n[HKEY_USERS\\x]\r\n;class=Nothing\r\n"}) {
        EXPECT_FALSE(RegistryDocument::Parse(text).has_value()) << text;
    }
}

}  // namespace
