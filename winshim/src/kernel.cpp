// Kernel services (kernel32) on the stand-in machine.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "machine.h"
#include "paths.h"

using winshim::EnterCall;
using winshim::TheMachine;

namespace {

BOOL Fail(DWORD error)
{
    TheMachine().lastError = error;
    return FALSE;
}

}  // namespace

DWORD WINAPI GetLastError(void)
{
    return TheMachine().lastError;
}

void WINAPI SetLastError(DWORD error)
{
    TheMachine().lastError = error;
}

BOOL WINAPI DeleteFileA(LPCSTR fileName)
{
    std::string path = fileName ? fileName : "";
    if (auto failure = EnterCall("DeleteFileA", path)) {
        return Fail(DWORD(*failure));
    }
    if (!fileName) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    winshim::ResolvedPath resolved = winshim::ResolveWindowsPath(path);
    if (resolved.error != ERROR_SUCCESS) {
        return Fail(resolved.error);
    }
    struct stat info;
    if (::lstat(resolved.host.c_str(), &info) != 0) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    // Directories are not files to DeleteFile, and a file without write permission is
    // the stand-in's read-only file; both are refused even when the host would allow it.
    if (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (::unlink(resolved.host.c_str()) != 0) {
        return Fail(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
    }
    return TRUE;
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    if (auto failure = EnterCall("GetSystemDirectoryA")) {
        TheMachine().lastError = DWORD(*failure);
        return 0;
    }
    const std::string& directory = TheMachine().systemDirectory;
    if (directory.size() + 1 > size) {
        return UINT(directory.size() + 1);  // the size needed, buffer untouched
    }
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return UINT(directory.size());
}

DWORD WINAPI GetTickCount(void)
{
    EnterCall("GetTickCount");
    return TheMachine().TickCount();
}

int WINAPI lstrlenA(LPCSTR text)
{
    EnterCall("lstrlenA", text ? text : "");
    return text ? int(std::strlen(text)) : 0;
}

LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source)
{
    EnterCall("lstrcatA", source ? source : "");
    if (!destination || !source) {
        return nullptr;
    }
    return std::strcat(destination, source);
}

BOOL WINAPI IsDBCSLeadByte(BYTE testChar)
{
    return TheMachine().codePage->IsLeadByte(testChar);
}

UINT WINAPI GetACP(void)
{
    return TheMachine().codePage->Number();
}
