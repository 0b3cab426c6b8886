// The Shell Link binary format as an ANSI link saves it: header, target ID list, the
// description and icon location as ANSI strings, and the terminal block.
#include <cstdint>

#include "shell_link.h"

namespace winshim {

namespace {

constexpr std::uint32_t kHasLinkTargetIdList = 0x01;
constexpr std::uint32_t kHasName = 0x04;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void Put16(std::string& out, std::uint32_t value)
{
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::optional<std::string> ShellLinkFileBytes(const ShellLinkContent& content)
{
    if (content.idList.size() > 0xFFFF || content.description.size() > 0xFFFF ||
        content.iconLocation.size() > 0xFFFF) {
        return std::nullopt;
    }
    std::uint32_t flags = 0;
    flags |= content.idList.empty() ? 0 : kHasLinkTargetIdList;
    flags |= content.description.empty() ? 0 : kHasName;
    flags |= content.iconLocation.empty() ? 0 : kHasIconLocation;

    std::string out;
    Put32(out, 0x4C);
    out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
    Put32(out, flags);
    out.append(4 + 3 * 8 + 4, '\0');  // attributes, three times, file size: not set
    Put32(out, std::uint32_t(content.iconIndex));
    Put32(out, SW_SHOWNORMAL);
    out.append(2 + 2 + 4 + 4, '\0');  // hot key, reserved
    if (flags & kHasLinkTargetIdList) {
        Put16(out, std::uint32_t(content.idList.size()));
        out += content.idList;
    }
    for (const std::string* text : {&content.description, &content.iconLocation}) {
        if (!text->empty()) {
            Put16(out, std::uint32_t(text->size()));
            out += *text;
        }
    }
    Put32(out, 0);  // terminal block
    return out;
}

}  // namespace winshim
