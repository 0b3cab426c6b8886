// Kernel services (kernel32) on the stand-in machine.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
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

// What both conversions do with their result: with no room given, the size it needs;
// otherwise the copy, or ERROR_INSUFFICIENT_BUFFER when it does not fit.
template <typename Text, typename Char>
int HandOut(const Text& converted, Char* out, int count)
{
    if (count == 0) {
        return int(converted.size());
    }
    if (converted.size() > size_t(count)) {
        TheMachine().lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::copy(converted.begin(), converted.end(), out);
    return int(converted.size());
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

// Only the machine's ANSI code page is known; CP_ACP and its own number both name it.
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                               int wideCount)
{
    std::string text = (multiByte && multiByteCount != 0)
                           ? std::string(multiByte, multiByteCount < 0 ? std::strlen(multiByte) + 1 : size_t(multiByteCount))
                           : std::string();
    if (auto failure = EnterCall("MultiByteToWideChar", text.c_str())) {
        TheMachine().lastError = DWORD(*failure);
        return 0;
    }
    const winshim::CodePage& ansi = *TheMachine().codePage;
    if ((codePage != CP_ACP && codePage != ansi.Number()) || flags != 0 || !multiByte || multiByteCount == 0 ||
        wideCount < 0 || (wideCount > 0 && !wide)) {
        TheMachine().lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    return HandOut(ansi.ToWide(text), wide, wideCount);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    std::u16string text;
    if (wide && wideCount != 0) {
        size_t length = 0;
        if (wideCount < 0) {
            while (wide[length] != 0) {
                ++length;
            }
            ++length;
        } else {
            length = size_t(wideCount);
        }
        text.assign(wide, length);
    }
    if (auto failure = EnterCall("WideCharToMultiByte")) {
        TheMachine().lastError = DWORD(*failure);
        return 0;
    }
    const winshim::CodePage& ansi = *TheMachine().codePage;
    if ((codePage != CP_ACP && codePage != ansi.Number()) || flags != 0 || !wide || wideCount == 0 ||
        multiByteCount < 0 || (multiByteCount > 0 && !multiByte) || defaultChar) {
        TheMachine().lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    bool usedDefault = false;
    std::string converted = ansi.ToAnsi(text, &usedDefault);
    if (usedDefaultChar) {
        *usedDefaultChar = usedDefault ? TRUE : FALSE;
    }
    return HandOut(converted, multiByte, multiByteCount);
}
