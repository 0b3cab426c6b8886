#pragma once
// Window messaging (user32).
#include "types.h"

#define HWND_BROADCAST ((HWND)0xffff)
#define WM_WININICHANGE 0x001A
#define MB_OK 0x00000000L
#define IDOK 1
#define PM_NOREMOVE 0x0000

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
