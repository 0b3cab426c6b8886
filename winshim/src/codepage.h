#pragma once
// The machine's ANSI code page, converted through glibc's iconv.
#include <array>
#include <string>
#include <string_view>

#include <windows.h>

namespace winshim {

class CodePage {
public:
    // An unknown code page falls back to 1252.
    explicit CodePage(UINT number);

    UINT Number() const { return number_; }
    bool IsLeadByte(BYTE byte) const { return leadBytes_[byte]; }
    // ANSI text to UTF-16; a byte the code page does not define becomes the code point of
    // the same value, as Windows does for 1252's gaps.
    std::u16string ToWide(std::string_view ansi) const;
    // UTF-16 to ANSI, the inverse of ToWide (a gap byte's code point gives the byte back); a
    // character that has no ANSI form becomes '?' and sets usedDefault.
    std::string ToAnsi(std::u16string_view wide, bool* usedDefault) const;
    std::string ToUtf8(std::string_view ansi) const;
    std::string FromUtf8(std::string_view utf8) const;

private:
    std::string name_;
    UINT number_;
    std::array<bool, 256> leadBytes_{};
    std::array<bool, 256> gapBytes_{};  // bytes the code page does not define
};

}  // namespace winshim
