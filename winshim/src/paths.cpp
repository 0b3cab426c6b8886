#include "paths.h"

#include <vector>

#include "machine.h"
#include "registry_document.h"

namespace winshim {

namespace {

bool IsValidName(const std::string& name)
{
    for (unsigned char c : name) {
        if (c < 0x20 || std::string_view("<>:\"/|?*").find(char(c)) != std::string_view::npos) {
            return false;
        }
    }
    return true;
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

// Splits the path, relative to the current directory when it is not absolute, into the
// parts below C:\.
DWORD PartsBelowDriveC(std::string path, std::vector<std::string>& parts)
{
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (path.empty()) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (path.rfind("\\\\", 0) == 0) {
        return ERROR_BAD_NETPATH;
    }
    std::string full;
    if (path.size() >= 2 && path[1] == ':') {
        if (path[0] != 'C' && path[0] != 'c') {
            return ERROR_PATH_NOT_FOUND;
        }
        full = (path.size() > 2 && path[2] == '\\') ? path.substr(2)
                                                     : TheMachine().currentDirectory.substr(2) + "\\" + path.substr(2);
    } else if (path[0] == '\\') {
        full = path;
    } else {
        full = TheMachine().currentDirectory.substr(2) + "\\" + path;
    }
    size_t pos = 0;
    while (pos <= full.size()) {
        size_t end = full.find('\\', pos);
        end = end == std::string::npos ? full.size() : end;
        std::string part = TrimPart(full.substr(pos, end - pos));
        pos = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        if (!IsValidName(part)) {
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
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (SameName(entry.path().filename().string(), name)) {
            return entry.path();
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
    result.host = TheMachine().options.root / "drive_c";
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string name = codePage.ToUtf8(parts[i]);
        std::filesystem::path found = FindEntry(result.host, name);
        bool last = i + 1 == parts.size();
        if (last) {
            result.host = found.empty() ? result.host / name : found;
        } else if (found.empty() || !std::filesystem::is_directory(found)) {
            result.error = ERROR_PATH_NOT_FOUND;
            return result;
        } else {
            result.host = found;
        }
    }
    return result;
}

}  // namespace winshim
