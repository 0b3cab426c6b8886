// The machine's ANSI code page: conversions and lead bytes.
#include "codepage.h"
#include "machine_fixture.h"

namespace {

using winshim::CodePage;

TEST(CodePageTest, Windows1252)
{
    CodePage ansi(1252);
    EXPECT_FALSE(ansi.IsLeadByte(0x81));
    EXPECT_EQ(ansi.ToWide("a\xfc\x80"), u"a\u00fc\u20ac");
    // The bytes 1252 leaves undefined are kept as their own code points, both ways.
    EXPECT_EQ(ansi.ToWide("\x81\x8d\x8f\x90\x9d"), u"\u0081\u008d\u008f\u0090\u009d");
    bool usedDefault = false;
    EXPECT_EQ(ansi.ToAnsi(u"\u0081\u008d\u008f\u0090\u009d", &usedDefault), "\x81\x8d\x8f\x90\x9d");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(ansi.ToAnsi(u"\u00fc\u20ac", &usedDefault), "\xfc\x80");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(ansi.ToAnsi(u"\u3042x", &usedDefault), "?x");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(ansi.ToUtf8("\xe9"), "\xc3\xa9");
    EXPECT_EQ(ansi.FromUtf8("\xc3\xa9"), "\xe9");
}

TEST(CodePageTest, Windows932)
{
    CodePage ansi(932);
    EXPECT_EQ(ansi.Number(), 932u);
    for (int byte : {0x81, 0x9f, 0xe0, 0xfc}) {
        EXPECT_TRUE(ansi.IsLeadByte(BYTE(byte))) << byte;
    }
    for (int byte : {0x41, 0x80, 0xa0, 0xb1, 0xfd}) {
        EXPECT_FALSE(ansi.IsLeadByte(BYTE(byte))) << byte;
    }
    EXPECT_EQ(ansi.ToWide("\x82\xa0"), u"\u3042");
    EXPECT_EQ(ansi.ToAnsi(u"\u3042", nullptr), "\x82\xa0");
}

TEST(CodePageTest, UnknownCodePageFallsBackTo1252)
{
    EXPECT_EQ(CodePage(4242).Number(), 1252u);
}

class ConversionCallTest : public MachineTest {};

TEST_F(ConversionCallTest, SizesAndShortBuffers)
{
    WCHAR wide[8];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "ab\xfc", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "ab\xfc", -1, wide, 8), 4);
    EXPECT_EQ(std::u16string(wide), u"ab\u00fc");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    char narrow[4];
    BOOL usedDefault = TRUE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00fc!", -1, narrow, 4, nullptr, &usedDefault), 3);
    EXPECT_STREQ(narrow, "\xfc!");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abcd", -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
}

}  // namespace
