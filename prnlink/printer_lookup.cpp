// The printer lookup: pass after pass over the Printers folder until a printer's display name
// holds the wanted text, or the time is up.
#include <string.h>

#include "prnlink.h"

#define SEARCH_LIMIT_MS 40000

// Whether the item's display name, as ANSI text, contains the wanted text. A name the folder
// refuses, gives in a form not understood, or that does not fit MAX_PATH bytes is no match.
static BOOL DisplayNameContains(IShellFolder* folder, LPCITEMIDLIST item, LPCSTR wanted, IMalloc* malloc)
{
    STRRET name;
    if (FAILED(folder->GetDisplayNameOf(item, SHGDN_NORMAL, &name))) {
        return FALSE;
    }
    char converted[MAX_PATH];
    LPCSTR text = NULL;
    switch (name.uType) {
    case STRRET_CSTR:
        if (memchr(name.cStr, 0, sizeof(name.cStr)) != NULL) {
            text = name.cStr;
        }
        break;
    case STRRET_OFFSET:
        // The text lies inside the item's own record; one that would run past it is not read.
        if (item != NULL && name.uOffset < item->mkid.cb &&
            memchr((const char*)item + name.uOffset, 0, item->mkid.cb - name.uOffset) != NULL) {
            text = (const char*)item + name.uOffset;
        }
        break;
    case STRRET_WSTR:
        if (WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, converted, sizeof(converted), NULL, NULL) != 0) {
            text = converted;
        }
        malloc->Free(name.pOleStr);
        break;
    }
    return text != NULL && strstr(text, wanted) != NULL;
}

void PollPrintersFolder(const ShortcutRequest& request, IMalloc* malloc)
{
    LPITEMIDLIST printersList = NULL;
    if (FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_PRINTERS, &printersList))) {
        return;
    }
    IShellFolder* desktop = NULL;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        malloc->Free(printersList);
        return;
    }
    IShellFolder* printers = NULL;
    HRESULT bound = desktop->BindToObject(printersList, NULL, IID_IShellFolder, (void**)&printers);
    desktop->Release();
    if (FAILED(bound)) {
        malloc->Free(printersList);
        return;
    }

    BOOL found = FALSE;
    DWORD startTick = GetTickCount();
    // Unsigned difference: a tick count that wraps during the search changes nothing.
    while (GetTickCount() - startTick < SEARCH_LIMIT_MS) {
        IEnumIDList* enumerator = NULL;
        HRESULT listed = printers->EnumObjects(NULL, SHCONTF_NONFOLDERS, &enumerator);
        // A success that hands out no enumerator lists nothing, as a failure does.
        if (SUCCEEDED(listed) && enumerator != NULL) {
            LPITEMIDLIST item = NULL;
            while (enumerator->Next(1, &item, NULL) == S_OK) {
                if (DisplayNameContains(printers, item, request.printerName, malloc)) {
                    found = TRUE;
                    LPITEMIDLIST joined = IdListConcat(printersList, item);
                    if (joined != NULL) {
                        PlaceShortcuts(joined, request);
                        malloc->Free(joined);
                    }
                }
                malloc->Free(item);
            }
            enumerator->Release();
        }
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);
        if (found) {
            break;
        }
    }

    printers->Release();
    malloc->Free(printersList);
}
