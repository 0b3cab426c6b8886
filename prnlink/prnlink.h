#pragma once
// The printer shortcut tool's record and operations.
#include <windows.h>
#include <shlobj.h>

#define NAME_FIELD_SIZE 50

// The three command fields, each NUL-terminated.
struct ShortcutRequest {
    char iconLocation[MAX_PATH];
    char printerName[NAME_FIELD_SIZE];
    char shortcutName[NAME_FIELD_SIZE];
};

// Command fields
BOOL ParseShortcutRequest(LPCSTR commandTail, ShortcutRequest* request);

// Item identifier lists
LPITEMIDLIST IdListNext(LPCITEMIDLIST list);
UINT IdListSize(LPCITEMIDLIST list);
void* ShellAllocZeroed(UINT size);
LPITEMIDLIST IdListConcat(LPCITEMIDLIST first, LPCITEMIDLIST second);

// Shortcut placement
void PlaceShortcuts(LPCITEMIDLIST absoluteIdList, const ShortcutRequest& request);
HRESULT WriteShortcut(LPCITEMIDLIST absoluteIdList, LPCSTR linkPath, LPCSTR description, LPCSTR iconPath);

// Printer lookup
void PollPrintersFolder(const ShortcutRequest& request, IMalloc* malloc);
