#pragma once
// Windows paths on the stand-in machine: drive C: is <root>/drive_c, names are matched
// without regard to case, and a path that Windows would refuse is refused the same way.
#include <filesystem>
#include <string>

#include <windows.h>

namespace winshim {

struct ResolvedPath {
    DWORD error = ERROR_SUCCESS;  // ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ...
    std::filesystem::path host;   // the existing entry, or the name the last part would have
};

ResolvedPath ResolveWindowsPath(const std::string& windowsPath);

}  // namespace winshim
