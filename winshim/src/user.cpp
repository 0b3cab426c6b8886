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
    // A box that cannot be shown answers 0, with the reason as the last error.
    if (auto failure = EnterCall("MessageBoxA", line)) {
        winshim::TheMachine().lastError = DWORD(*failure);
        return 0;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    return IDOK;
}
