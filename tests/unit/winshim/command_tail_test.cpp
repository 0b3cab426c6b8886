// The command tail: what start-up cuts off before WinMain sees the command line.
#include <string>

#include "command_tail.h"
#include "machine_fixture.h"

namespace {

struct TailCase {
    const char* line;
    const char* tail;
};

void PrintTo(const TailCase& c, std::ostream* os)
{
    *os << '"' << c.line << '"';
}

class CommandTailTest : public MachineTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(CommandTailTest, CutsProgramNameAndBlanks)
{
    std::string line = GetParam().line;
    EXPECT_EQ(std::string(CommandTailOf(line.data())), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandTailTest,
    ::testing::Values(TailCase{"filedel C:\\x.txt", "C:\\x.txt"},
                      TailCase{"filedel", ""},
                      TailCase{"filedel ", ""},
                      TailCase{"\"C:\\Program Files\\filedel.exe\" \"C:\\my file.txt\"", "\"C:\\my file.txt\""},
                      TailCase{"\"C:\\filedel.exe\"abc def", "abc def"},  // glued text starts the tail
                      TailCase{"\"C:\\unclosed name", ""},
                      TailCase{"filedel \t\x01\x1f x  ", "x  "},  // only leading blanks go
                      TailCase{"C:\\pr\xe9gram.exe rest", "rest"},      // 0xE9 is no blank
                      TailCase{"C:\\a\x7f\x80\xff.exe\ttail", "tail"},
                      TailCase{"filedel\x1fx", "x"},
                      TailCase{"\"C:\\pr\x81\"x.exe\" rest", "x.exe\" rest"}));  // 1252: 0x81 is one byte

TEST_F(CommandTailTest, TrailByteIsNeverTheClosingQuote)
{
    winshim::SetCodePage(932);
    std::string line = "\"C:\\pr\x81\"x.exe\" rest";
    EXPECT_STREQ(CommandTailOf(line.data()), "rest");
    std::string lastByte = "\"C:\\pr\x81";  // a lead byte just before the end
    EXPECT_STREQ(CommandTailOf(lastByte.data()), "");
}

}  // namespace
