// Window messaging (user32) on the stand-in machine: there are no windows, so a broadcast
// reaches nobody, the queue is always empty and a message box is a line on standard error.
#include <cstdio>

#include "machine.h"

using winshim::EnterCall;

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    std::string detail;
    if (window == HWND_BROADCAST && message == WM_WININICHANGE && lParam != 0) {
        detail = reinterpret_cast<const char*>(lParam);
    }
    EnterCall("SendMessageA", detail);
    return 0;
}

BOOL WINAPI PeekMessageA(LPMSG, HWND, UINT, UINT, UINT removeFlags)
{
    EnterCall("PeekMessageA", removeFlags == PM_NOREMOVE ? "PM_NOREMOVE" : "PM_REMOVE");
    return FALSE;
}

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    std::string line = std::string(caption ? caption : "") + ": " + (text ? text : "");
    if (auto failure = EnterCall("MessageBoxA", line)) {
        return int(*failure);
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    return IDOK;
}
