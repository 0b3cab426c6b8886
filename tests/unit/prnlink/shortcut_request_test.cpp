// The command fields: which tails parse, into what, and which fail.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "machine_fixture.h"
#include "prnlink.h"

namespace {

struct TailCase {
    const char* what;
    std::string tail;
    bool parses;
    std::string iconLocation;
    std::string printerName;
    std::string shortcutName;
};

const std::string kIcon259 = "C:\\" + std::string(256, 'i');
const std::string kName49(49, 'n');

const TailCase kTails[] = {
    {"plain", "C:\\icon.ico \"Laser\" \"Office Laser\"", true, "C:\\icon.ico", "Laser", "Office Laser"},
    {"ignored text everywhere outside the quotes",
     "C:\\icon.ico more words x\"Laser\"y between \"Office Laser\"z \"quoted\" after", true, "C:\\icon.ico", "Laser",
     "Office Laser"},
    {"names with blanks and tabs", "C:\\i.ico \"HP  Laser\tJet\" \" Office \"", true, "C:\\i.ico", "HP  Laser\tJet",
     " Office "},
    {"tab inside the icon path", "C:\\a\tb.ico \"P\" \"S\"", true, "C:\\a\tb.ico", "P", "S"},
    {"quoted icon path without a space", "\"C:\\i.ico\" \"P\" \"S\"", true, "\"C:\\i.ico\"", "P", "S"},
    {"quoted icon path with a space", "\"C:\\My Icons\\i.ico\" \"P\" \"S\"", true, "\"C:\\My", " ", " "},
    {"unquoted icon path with a space", "C:\\My Icons\\i.ico \"P\" \"S\"", true, "C:\\My", "P", "S"},
    {"bytes from 0x80 kept", "C:\\\xe9.ico \"Dr\xfc\x63ker\" \"B\xfcro\"", true, "C:\\\xe9.ico", "Dr\xfc\x63ker",
     "B\xfcro"},
    {"longest fields", kIcon259 + " \"" + kName49 + "\" \"" + kName49 + "\"", true, kIcon259, kName49, kName49},

    {"empty tail", "", false},
    {"one word", "C:\\icon.ico", false},
    {"tail starting with a space", " \"P\" \"S\"", false},
    {"no quotes after the space", "C:\\icon.ico P S", false},
    {"three quotes", "C:\\icon.ico \"P\" \"S", false},
    {"quotes only before the space", "\"C:\\i\"\"P\"\"S\" x", false},
    {"fields separated by tabs", "C:\\icon.ico\t\"Laser\"\t\"Office Laser\"", false},
    {"tabs and no space at all", "C:\\icon.ico\t\"Laser\"\t\"Office\"", false},
    {"empty printer name", "C:\\icon.ico \"\" \"S\"", false},
    {"empty shortcut name", "C:\\icon.ico \"P\" \"\"", false},
    {"icon path of 260 bytes", kIcon259 + "x \"P\" \"S\"", false},
    {"printer name of 50 bytes", "C:\\i.ico \"" + kName49 + "x\" \"S\"", false},
    {"shortcut name of 50 bytes", "C:\\i.ico \"P\" \"" + kName49 + "x\"", false},
    {"icon path of 1000 bytes", std::string(1000, 'i') + " \"P\" \"S\"", false},
};

class ParseShortcutRequestTest : public MachineTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(ParseShortcutRequestTest, GivesTheFieldsOrFails)
{
    const TailCase& c = GetParam();
    // Guards on both sides show any write past the record.
    struct {
        char before[16];
        ShortcutRequest request;
        char after[16];
    } guarded;
    std::memset(&guarded, 0x5A, sizeof guarded);

    BOOL parsed = ParseShortcutRequest(c.tail.c_str(), &guarded.request);

    EXPECT_EQ(std::string(16, 0x5A), std::string(guarded.before, 16));
    EXPECT_EQ(std::string(16, 0x5A), std::string(guarded.after, 16));
    ASSERT_EQ(c.parses, bool(parsed));
    if (c.parses) {
        const ShortcutRequest& r = guarded.request;
        EXPECT_EQ(c.iconLocation, r.iconLocation);
        EXPECT_EQ(c.printerName, r.printerName);
        EXPECT_EQ(c.shortcutName, r.shortcutName);
        // the zero fill: every byte after each text is zero
        EXPECT_EQ(std::string(sizeof r.iconLocation - c.iconLocation.size(), '\0'),
                  std::string(r.iconLocation + c.iconLocation.size(), sizeof r.iconLocation - c.iconLocation.size()));
        EXPECT_EQ(std::string(sizeof r.shortcutName - c.shortcutName.size(), '\0'),
                  std::string(r.shortcutName + c.shortcutName.size(), sizeof r.shortcutName - c.shortcutName.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Tails, ParseShortcutRequestTest, ::testing::ValuesIn(kTails),
                         [](const auto& info) {
                             std::string name;
                             for (char c : std::string(info.param.what)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
