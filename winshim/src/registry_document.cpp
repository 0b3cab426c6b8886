#include "registry_document.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace winshim {

namespace {

const char* const kRoots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT", "HKEY_USERS",
                              "HKEY_CURRENT_CONFIG"};

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + 0x20) : c;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// Is `path` the key `base` itself (self) or a key beneath it?
bool IsWithin(std::string_view path, std::string_view base, bool includeSelf)
{
    if (SameName(path, base)) {
        return includeSelf;
    }
    return path.size() > base.size() && path[base.size()] == '\\' && StartsWithNoCase(path, base);
}

bool IsRootName(std::string_view name)
{
    return std::any_of(std::begin(kRoots), std::end(kRoots), [&](const char* root) { return SameName(name, root); });
}

// A quoted REGEDIT4 string at s[pos] == '"'; on success pos is past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view s, size_t& pos)
{
    std::string out;
    for (size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            pos = i + 1;
            return out;
        }
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            ++i;
        }
        out += s[i];
    }
    return std::nullopt;
}

std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = LowerAscii(c);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

std::optional<std::vector<BYTE>> ReadHexBytes(std::string_view s)
{
    std::vector<BYTE> out;
    s = TrimLeft(TrimRight(s));
    while (!s.empty()) {
        if (s.size() < 2 || HexDigit(s[0]) < 0 || HexDigit(s[1]) < 0) {
            return std::nullopt;
        }
        out.push_back(BYTE(HexDigit(s[0]) * 16 + HexDigit(s[1])));
        s = TrimLeft(s.substr(2));
        if (!s.empty()) {
            if (s.front() != ',') {
                return std::nullopt;
            }
            s = TrimLeft(s.substr(1));
        }
    }
    return out;
}

// The data part of a value line ("string", dword:, hex:, hex(N):).
std::optional<RegistryValue> ReadData(std::string_view data)
{
    RegistryValue value;
    data = TrimRight(data);
    if (!data.empty() && data.front() == '"') {
        size_t pos = 0;
        auto text = ReadQuoted(data, pos);
        if (!text || pos != data.size()) {
            return std::nullopt;
        }
        value.type = REG_SZ;
        value.data.assign(text->begin(), text->end());
        value.data.push_back(0);
        return value;
    }
    if (StartsWithNoCase(data, "dword:")) {
        std::string_view digits = data.substr(6);
        if (digits.size() != 8) {
            return std::nullopt;
        }
        DWORD number = 0;
        for (char c : digits) {
            if (HexDigit(c) < 0) {
                return std::nullopt;
            }
            number = number * 16 + DWORD(HexDigit(c));
        }
        value.type = REG_DWORD;
        for (int i = 0; i < 4; ++i) {
            value.data.push_back(BYTE(number >> (8 * i)));
        }
        return value;
    }
    if (StartsWithNoCase(data, "hex:")) {
        value.type = REG_BINARY;
        data.remove_prefix(4);
    } else if (StartsWithNoCase(data, "hex(")) {
        size_t close = data.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12) {
            return std::nullopt;
        }
        DWORD type = 0;
        for (char c : data.substr(4, close - 4)) {
            if (HexDigit(c) < 0) {
                return std::nullopt;
            }
            type = type * 16 + DWORD(HexDigit(c));
        }
        value.type = type;
        data.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = ReadHexBytes(data);
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

bool IsPlainString(const RegistryValue& value)
{
    if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    return std::none_of(value.data.begin(), value.data.end() - 1, [](BYTE b) { return b == 0 || b == '\r' || b == '\n'; });
}

std::string ValueText(const RegistryValue& value)
{
    std::string line = value.isDefault ? "@" : Quote(value.name);
    line += "=";
    char buffer[16];
    if (IsPlainString(value)) {
        line += Quote(std::string(value.data.begin(), value.data.end() - 1));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 | DWORD(value.data[3]) << 24;
        std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(number));
        line += buffer;
    } else {
        if (value.type == REG_BINARY) {
            line += "hex:";
        } else {
            std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(value.type));
            line += buffer;
        }
        for (size_t i = 0; i < value.data.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", unsigned(value.data[i]));
            line += buffer;
        }
    }
    return line + "\r\n";
}

std::string SectionText(const RegistryKey& key)
{
    std::string text = "[" + key.path + "]\r\n";
    if (key.keyClass) {
        text += ";class=" + Quote(*key.keyClass) + "\r\n";
    }
    for (const auto& value : key.values) {
        text += ValueText(value);
    }
    return text + "\r\n";
}

void EndLine(std::string& text)
{
    if (!text.empty() && text.back() != '\n') {
        text += "\r\n";
    }
}

}  // namespace

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string CanonicalKeyPath(std::string_view path)
{
    std::string_view root = path.substr(0, path.find('\\'));
    if (SameName(root, "HKEY_CLASSES_ROOT")) {
        return "HKEY_LOCAL_MACHINE\\Software\\Classes" + std::string(path.substr(root.size()));
    }
    return std::string(path);
}

std::optional<RegistryDocument> RegistryDocument::Parse(std::string_view text, size_t* badLine)
{
    size_t lineNumber = 0;  // of the last line read
    auto refuse = [&] {
        if (badLine) {
            *badLine = lineNumber;
        }
        return std::nullopt;
    };
    RegistryDocument doc;
    doc.preamble_.clear();
    RegistryKey* current = nullptr;
    bool duplicate = false;  // inside a second section of a key seen before
    bool sawSignature = false;
    std::string comments;  // comment lines just read: they belong to the section they precede
    // Lines go to the section they stand in (a repeated section is written back anew).
    auto keep = [&](std::string_view piece) {
        std::string kept = comments + std::string(piece);
        comments.clear();
        if (!current) {
            doc.preamble_ += kept;
        } else if (!duplicate) {
            current->rawText += kept;
        }
    };
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = (end == std::string_view::npos) ? text.size() : end + 1;
        std::string_view raw = text.substr(pos, end - pos);
        pos = end;
        ++lineNumber;
        std::string_view line = TrimLeft(TrimRight(raw));
        if (!sawSignature) {
            if (line != "REGEDIT4") {
                return refuse();
            }
            sawSignature = true;
            doc.preamble_ += raw;
            continue;
        }
        if (line.empty()) {
            keep(raw);
        } else if (line.front() == ';') {
            if (current && line.substr(0, 7) == ";class=") {
                size_t quote = 7;
                auto keyClass = (line.size() > 7 && line[7] == '"') ? ReadQuoted(line, quote) : std::nullopt;
                if (!keyClass || quote != line.size()) {
                    return refuse();
                }
                current->keyClass = *keyClass;
                keep(raw);
            } else {
                comments += raw;
            }
        } else if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3 || line[1] == '-') {
                return refuse();
            }
            std::string path = CanonicalKeyPath(line.substr(1, line.size() - 2));
            if (!IsRootName(path.substr(0, path.find('\\'))) || path.back() == '\\' ||
                path.find("\\\\") != std::string::npos) {
                return refuse();
            }
            current = doc.Find(path);
            duplicate = current != nullptr;
            if (duplicate) {
                current->rawText.clear();  // merged sections are written back as one
            } else {
                current = &doc.Add(path, std::nullopt);
                current->rawText = comments + std::string(raw);
            }
            comments.clear();
        } else if (line.front() == '@' || line.front() == '"') {
            if (!current) {
                return refuse();
            }
            RegistryValue value;
            size_t at = 0;
            if (line.front() == '"') {
                auto name = ReadQuoted(line, at);
                if (!name) {
                    return refuse();
                }
                value.name = *name;
            } else {
                value.isDefault = true;
                at = 1;
            }
            std::string_view rest = TrimLeft(line.substr(at));
            if (rest.empty() || rest.front() != '=') {
                return refuse();
            }
            std::string data(TrimLeft(rest.substr(1)));
            std::string rawLines(raw);
            // hex data may go on over lines that end in a backslash
            while (!data.empty() && data.back() == '\\' && pos < text.size()) {
                data.pop_back();
                size_t next = text.find('\n', pos);
                next = (next == std::string_view::npos) ? text.size() : next + 1;
                std::string_view more = text.substr(pos, next - pos);
                rawLines += more;
                data += TrimLeft(TrimRight(more));
                pos = next;
                ++lineNumber;
            }
            auto parsed = ReadData(data);
            if (!parsed) {
                return refuse();
            }
            parsed->name = value.name;
            parsed->isDefault = value.isDefault;
            std::string keptRaw = current->rawText;
            doc.SetValue(*current, std::move(*parsed));
            current->rawText = duplicate ? std::string() : keptRaw;
            keep(rawLines);
        } else {
            return refuse();
        }
    }
    if (!sawSignature) {
        return refuse();
    }
    keep("");
    return doc;
}

std::string RegistryDocument::Serialize() const
{
    std::string text = preamble_;
    for (const auto& key : keys_) {
        EndLine(text);
        text += key.rawText.empty() ? SectionText(key) : key.rawText;
    }
    return text;
}

const RegistryKey* RegistryDocument::Find(std::string_view path) const
{
    std::string canonical = CanonicalKeyPath(path);
    for (const auto& key : keys_) {
        if (SameName(key.path, canonical)) {
            return &key;
        }
    }
    return nullptr;
}

RegistryKey* RegistryDocument::Find(std::string_view path)
{
    return const_cast<RegistryKey*>(static_cast<const RegistryDocument*>(this)->Find(path));
}

bool RegistryDocument::Exists(std::string_view path) const
{
    std::string canonical = CanonicalKeyPath(path);
    if (canonical.find('\\') == std::string::npos && IsRootName(canonical)) {
        return true;
    }
    return std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKey& key) { return IsWithin(key.path, canonical, true); });
}

RegistryKey& RegistryDocument::Add(std::string_view path, std::optional<std::string> keyClass)
{
    RegistryKey key;
    key.path = CanonicalKeyPath(path);
    key.keyClass = std::move(keyClass);
    keys_.push_back(std::move(key));
    return keys_.back();
}

bool RegistryDocument::RemoveTree(std::string_view path)
{
    std::string canonical = CanonicalKeyPath(path);
    size_t before = keys_.size();
    std::erase_if(keys_, [&](const RegistryKey& key) { return IsWithin(key.path, canonical, true); });
    return keys_.size() != before;
}

std::vector<std::string> RegistryDocument::SubkeyNames(std::string_view path) const
{
    std::string canonical = CanonicalKeyPath(path);
    std::vector<std::string> names;
    std::set<std::string> seen;  // lower-cased
    for (const auto& key : keys_) {
        if (!IsWithin(key.path, canonical, false)) {
            continue;
        }
        std::string_view rest = std::string_view(key.path).substr(canonical.size() + 1);
        std::string_view name = rest.substr(0, rest.find('\\'));
        std::string lowered(name);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
        if (seen.insert(lowered).second) {
            names.emplace_back(name);
        }
    }
    return names;
}

void RegistryDocument::SetValue(RegistryKey& key, RegistryValue value)
{
    key.rawText.clear();
    for (auto& existing : key.values) {
        if (existing.isDefault == value.isDefault && SameName(existing.name, value.name)) {
            existing = std::move(value);
            return;
        }
    }
    key.values.push_back(std::move(value));
}

}  // namespace winshim
