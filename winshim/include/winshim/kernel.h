#pragma once
// Kernel services (kernel32).
#include "types.h"

#define CP_ACP 0

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);
BOOL WINAPI DeleteFileA(LPCSTR fileName);
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
DWORD WINAPI GetTickCount(void);
int WINAPI lstrlenA(LPCSTR text);
LPSTR WINAPI lstrcatA(LPSTR destination, LPCSTR source);
BOOL WINAPI IsDBCSLeadByte(BYTE testChar);
UINT WINAPI GetACP(void);
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                               LPWSTR wide, int wideCount);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);
