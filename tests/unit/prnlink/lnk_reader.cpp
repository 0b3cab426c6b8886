#include "lnk_reader.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

class Cursor {
public:
    explicit Cursor(const std::string& bytes) : bytes_(bytes) {}

    bool Take(size_t count, std::string& out)
    {
        if (bytes_.size() - at_ < count) {
            return false;
        }
        out = bytes_.substr(at_, count);
        at_ += count;
        return true;
    }
    bool Take16(std::uint32_t& value) { return TakeInt(2, value); }
    bool Take32(std::uint32_t& value) { return TakeInt(4, value); }
    size_t Left() const { return bytes_.size() - at_; }

private:
    bool TakeInt(size_t size, std::uint32_t& value)
    {
        std::string raw;
        if (!Take(size, raw)) {
            return false;
        }
        value = 0;
        for (size_t i = size; i-- > 0;) {
            value = (value << 8) | std::uint8_t(raw[i]);
        }
        return true;
    }

    const std::string& bytes_;
    size_t at_ = 0;
};

const char kLinkClsid[] = "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46";

bool Fail(std::string& error, const std::string& what)
{
    error = what;
    return false;
}

}  // namespace

bool ReadLnk(const std::string& bytes, LnkFile& link, std::string& error)
{
    Cursor in(bytes);
    std::uint32_t headerSize = 0;
    std::string clsid, skipped;
    std::uint32_t value = 0;
    if (!in.Take32(headerSize) || headerSize != 0x4C) {
        return Fail(error, "header size");
    }
    if (!in.Take(16, clsid) || clsid != std::string(kLinkClsid, 16)) {
        return Fail(error, "link CLSID");
    }
    if (!in.Take32(link.flags) || !in.Take(4 + 24 + 4, skipped)) {
        return Fail(error, "short header");
    }
    if (!in.Take32(value)) {
        return Fail(error, "short header");
    }
    link.iconIndex = std::int32_t(value);
    if (!in.Take32(link.showCommand) || !in.Take(12, skipped)) {
        return Fail(error, "short header");
    }
    if (skipped != std::string(12, '\0')) {
        return Fail(error, "hot key or reserved fields not zero");
    }
    if (link.flags & 0x01) {
        std::uint32_t listSize = 0;
        if (!in.Take16(listSize) || !in.Take(listSize, link.idList)) {
            return Fail(error, "ID list runs past the end");
        }
        size_t at = 0;
        while (true) {
            if (at + 2 > link.idList.size()) {
                return Fail(error, "ID list without terminator");
            }
            size_t cb = std::uint8_t(link.idList[at]) | (std::uint8_t(link.idList[at + 1]) << 8);
            if (cb == 0) {
                break;
            }
            if (cb < 2 || at + cb > link.idList.size()) {
                return Fail(error, "ID list item size");
            }
            link.items.push_back(link.idList.substr(at, cb));
            at += cb;
        }
        if (at + 2 != link.idList.size()) {
            return Fail(error, "bytes after the ID list terminator");
        }
    }
    if (link.flags & 0x02) {
        return Fail(error, "LinkInfo not expected");
    }
    if (link.flags & 0x80) {
        return Fail(error, "Unicode strings not expected");
    }
    const std::pair<std::uint32_t, std::string*> strings[] = {
        {0x04, &link.description}, {0x08, &skipped}, {0x10, &skipped}, {0x20, &skipped}, {0x40, &link.iconLocation}};
    for (const auto& [flag, target] : strings) {
        std::uint32_t count = 0;
        if ((link.flags & flag) && (!in.Take16(count) || !in.Take(count, *target))) {
            return Fail(error, "string runs past the end");
        }
    }
    std::uint32_t terminal = 0;
    if (!in.Take32(terminal)) {
        return Fail(error, "no terminal block");
    }
    if (terminal != 0) {
        return Fail(error, "extra data blocks not expected");
    }
    if (in.Left() != 0) {
        return Fail(error, "bytes after the terminal block");
    }
    return true;
}

bool ReadLnkFile(const std::filesystem::path& path, LnkFile& link, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Fail(error, "cannot open " + path.string());
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return ReadLnk(bytes, link, error);
}

std::string LnkinfoReport::Value(const std::string& name) const
{
    for (const auto& [key, value] : lines) {
        if (key == name) {
            return value;
        }
    }
    return "(missing)";
}

std::vector<std::string> LnkinfoReport::Values(const std::string& name) const
{
    std::vector<std::string> values;
    for (const auto& [key, value] : lines) {
        if (key == name) {
            values.push_back(value);
        }
    }
    return values;
}

LnkinfoReport RunLnkinfo(const std::filesystem::path& path, const std::string& codePage)
{
    LnkinfoReport report;
    std::string command = "lnkinfo ";
    if (!codePage.empty()) {
        command += "-c " + codePage + " ";
    }
    command += "'" + path.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return report;
    }
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        report.text.append(buffer, got);
    }
    int status = ::pclose(pipe);
    report.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

    size_t start = 0;
    while (start < report.text.size()) {
        size_t end = report.text.find('\n', start);
        end = end == std::string::npos ? report.text.size() : end;
        std::string line = report.text.substr(start, end - start);
        start = end + 1;
        size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            continue;
        }
        auto trim = [](std::string text) {
            size_t first = text.find_first_not_of(" \t");
            size_t last = text.find_last_not_of(" \t");
            return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
        };
        report.lines.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 2)));
    }
    return report;
}
