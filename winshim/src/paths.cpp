#include "paths.h"

#include <vector>

#include "machine.h"
#include "registry_document.h"

namespace winshim {

namespace {

// Names are looked at a character at a time: the second byte of a double-byte character is
// never a separator or a forbidden character.
bool IsValidName(const std::string& name, const CodePage& codePage)
{
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = name[i];
        if (codePage.IsLeadByte(c) && i + 1 < name.size()) {
            ++i;
        } else if (c < 0x20 || std::string_view("<>:\"/|?*").find(char(c)) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SplitAtSeparators(const std::string& path, const CodePage& codePage)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (codePage.IsLeadByte(BYTE(c)) && i + 1 < path.size()) {
            parts.back() += c;
            parts.back() += path[++i];
        } else if (c == '\\' || c == '/') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// Win32 drops trailing dots and blanks from every part of a path ("x.txt " is "x.txt").
std::string TrimPart(std::string part)
{
    if (part == "." || part == "..") {
        return part;
    }
    while (!part.empty() && (part.back() == ' ' || part.back() == '.')) {
        part.pop_back();
    }
    return part;
}

// The parts below C:\ that the path names, taken from the current directory when the path
// is not absolute.
DWORD PartsBelowDriveC(const std::string& path, std::vector<std::string>& parts)
{
    const CodePage& codePage = *TheMachine().codePage;
    if (path.empty()) {
        return ERROR_PATH_NOT_FOUND;
    }
    std::vector<std::string> given = SplitAtSeparators(path, codePage);
    if (given.size() > 2 && given[0].empty() && given[1].empty()) {
        return ERROR_BAD_NETPATH;
    }
    std::vector<std::string> full;
    bool fromRoot = given.size() > 1 && given[0].empty();
    if (given[0].size() >= 2 && given[0][1] == ':') {
        if (given[0][0] != 'C' && given[0][0] != 'c') {
            return ERROR_PATH_NOT_FOUND;
        }
        fromRoot = given[0].size() == 2 && given.size() > 1;
        given[0].erase(0, 2);
    }
    if (!fromRoot) {
        full = SplitAtSeparators(TheMachine().currentDirectory.substr(2), codePage);
    }
    full.insert(full.end(), given.begin(), given.end());
    for (std::string part : full) {
        part = TrimPart(part);
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        if (!IsValidName(part, codePage)) {
            return ERROR_INVALID_NAME;
        }
        parts.push_back(part);
    }
    return ERROR_SUCCESS;
}

// The entry of `directory` named `name` without regard to case; an exact match wins.
std::filesystem::path FindEntry(const std::filesystem::path& directory, const std::string& name)
{
    std::error_code error;
    if (std::filesystem::exists(directory / name, error)) {
        return directory / name;
    }
    // A folder that cannot be listed holds nothing that can be found.
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        if (SameName(it->path().filename().string(), name)) {
            return it->path();
        }
    }
    return {};
}

}  // namespace

ResolvedPath ResolveWindowsPath(const std::string& windowsPath)
{
    ResolvedPath result;
    std::vector<std::string> parts;
    result.error = PartsBelowDriveC(windowsPath, parts);
    if (result.error != ERROR_SUCCESS) {
        return result;
    }
    const CodePage& codePage = *TheMachine().codePage;
    std::error_code error;
    result.host = TheMachine().options.root / "drive_c";
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string name = codePage.ToUtf8(parts[i]);
        std::filesystem::path found = FindEntry(result.host, name);
        bool last = i + 1 == parts.size();
        if (last) {
            result.host = found.empty() ? result.host / name : found;
        } else if (found.empty() || !std::filesystem::is_directory(found, error)) {
            result.error = ERROR_PATH_NOT_FOUND;
            return result;
        } else {
            result.host = found;
        }
    }
    return result;
}

}  // namespace winshim
