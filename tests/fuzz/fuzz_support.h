#pragma once
// What the fuzz targets share: a scratch machine, a way to stop on a broken property, and
// inputs cut into texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Opens a new machine for one input, in a scratch folder that is removed when the process
// ends. The registry is kept in memory.
void OpenScratchMachine(bool logCalls);

// Reports the property that did not hold, with the input's texts, and aborts: libFuzzer and
// the replay both count it as a crash.
[[noreturn]] void Fail(const std::string& what, std::string_view input);
inline void Require(bool holds, const char* what, std::string_view input)
{
    if (!holds) {
        Fail(what, input);
    }
}

// The input as a C string: its bytes up to the first NUL, in a block of exactly that length
// plus the NUL, so that a read past the end is caught.
std::vector<char> CString(std::string_view bytes);

// The resources a run must give back: none left.
bool NothingLive();

}  // namespace fuzz
