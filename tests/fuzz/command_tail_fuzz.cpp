// The start-up's cut of the command line, on any bytes, in code pages 1252 and 932: the tail
// lies within the line, starts after the program name and the blanks that follow it, and
// never starts with a blank.
#include <cstring>

#include <windows.h>
#include <winshim/control.h>

#include "command_tail.h"
#include "fuzz_support.h"

namespace {

bool IsBlank(unsigned char byte)
{
    return byte >= 0x01 && byte <= 0x20;
}

// Where the program name ends: after the closing quote of a quoted name (a quote that begins
// a character of its own), otherwise at the first byte of 0x20 or lower.
size_t NameEnd(const std::vector<char>& line)
{
    const size_t length = std::strlen(line.data());
    if (line[0] != '"') {
        size_t end = 0;
        while (end < length && static_cast<unsigned char>(line[end]) > 0x20) {
            ++end;
        }
        return end;
    }
    std::vector<bool> beginsCharacter(length, false);
    for (size_t i = 1; i < length; ++i) {
        beginsCharacter[i] = true;
        if (IsDBCSLeadByte(static_cast<BYTE>(line[i])) && i + 1 < length) {
            ++i;
        }
    }
    for (size_t i = 1; i < length; ++i) {
        if (beginsCharacter[i] && line[i] == '"') {
            return i + 1;
        }
    }
    return length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::OpenScratchMachine(/*logCalls=*/false);
    winshim::SetCodePage((data[0] & 1) ? 932 : 1252);
    std::vector<char> line = fuzz::CString(input.substr(1));

    const char* tail = CommandTailOf(line.data());

    const size_t length = std::strlen(line.data());
    fuzz::Require(tail >= line.data() && tail <= line.data() + length, "the tail lies within the line", input);
    size_t expected = NameEnd(line);
    while (expected < length && IsBlank(static_cast<unsigned char>(line[expected]))) {
        ++expected;
    }
    fuzz::Require(static_cast<size_t>(tail - line.data()) == expected,
                  "the tail starts after the name and its blanks", input);
    return 0;
}
