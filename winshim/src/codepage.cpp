#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

namespace winshim {

namespace {

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (Ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return cd_ != (iconv_t)-1; }

    // Converts as much as it can; returns the bytes not converted (at the first bad or
    // incomplete sequence), with errno saying why.
    size_t Convert(const char* in, size_t inSize, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* input = const_cast<char*>(in);
        while (inSize > 0) {
            char buffer[256];
            char* output = buffer;
            size_t space = sizeof buffer;
            size_t result = iconv(cd_, &input, &inSize, &output, &space);
            out.append(buffer, size_t(output - buffer));
            if (result == (size_t)-1 && errno != E2BIG) {
                return inSize;
            }
        }
        return 0;
    }

private:
    iconv_t cd_;
};

std::string IconvName(UINT number)
{
    return "CP" + std::to_string(number);
}

}  // namespace

CodePage::CodePage(UINT number) : number_(number)
{
    if (!Converter("UTF-16LE", IconvName(number)).Ok()) {
        std::fprintf(stderr, "winshim: code page %u is not known here; using 1252\n", number);
        number_ = 1252;
    }
    name_ = IconvName(number_);
    // A lead byte is one that the code page can only convert together with a following byte;
    // a gap byte is one that it cannot convert at all.
    Converter probe("UTF-16LE", name_);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char single = char(byte);
        std::string out;
        errno = 0;
        bool unconverted = probe.Convert(&single, 1, out) == 1;
        leadBytes_[byte] = unconverted && errno == EINVAL;
        gapBytes_[byte] = unconverted && errno == EILSEQ;
    }
}

std::u16string CodePage::ToWide(std::string_view ansi) const
{
    Converter converter("UTF-16LE", name_);
    std::u16string wide;
    size_t pos = 0;
    while (pos < ansi.size()) {
        std::string out;
        size_t left = converter.Convert(ansi.data() + pos, ansi.size() - pos, out);
        for (size_t i = 0; i + 1 < out.size(); i += 2) {
            wide += char16_t(BYTE(out[i]) | BYTE(out[i + 1]) << 8);
        }
        pos = ansi.size() - left;
        if (left > 0) {
            wide += char16_t(BYTE(ansi[pos]));
            ++pos;
        }
    }
    return wide;
}

std::string CodePage::ToAnsi(std::u16string_view wide, bool* usedDefault) const
{
    Converter converter(name_, "UTF-16LE");
    std::string bytes;
    for (char16_t unit : wide) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    std::string ansi;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t left = converter.Convert(bytes.data() + pos, bytes.size() - pos, ansi);
        pos = bytes.size() - left;
        if (left > 0) {
            char16_t unit = char16_t(BYTE(bytes[pos]) | BYTE(bytes[pos + 1]) << 8);
            if (unit <= 0xFF && gapBytes_[unit]) {
                ansi += char(unit);
            } else {
                ansi += '?';
                if (usedDefault) {
                    *usedDefault = true;
                }
            }
            pos += 2;
        }
    }
    return ansi;
}

std::string CodePage::ToUtf8(std::string_view ansi) const
{
    std::u16string wide = ToWide(ansi);
    Converter converter("UTF-8", "UTF-16LE");
    std::string out;
    converter.Convert(reinterpret_cast<const char*>(wide.data()), wide.size() * 2, out);
    return out;
}

std::string CodePage::FromUtf8(std::string_view utf8) const
{
    Converter converter("UTF-16LE", "UTF-8");
    std::string out;
    converter.Convert(utf8.data(), utf8.size(), out);
    std::u16string wide;
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
        wide += char16_t(BYTE(out[i]) | BYTE(out[i + 1]) << 8);
    }
    return ToAnsi(wide, nullptr);
}

}  // namespace winshim
