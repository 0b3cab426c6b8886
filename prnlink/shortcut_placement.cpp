// The Desktop and SendTo shortcuts of one printer, in the folders beside the system directory.
#include <string.h>

#include "prnlink.h"

// Upper-cases the letters a to z only: no locale takes part, other bytes stay as they are.
static void UpperCaseLetters(char* text)
{
    for (; *text != '\0'; ++text) {
        if (*text >= 'a' && *text <= 'z') {
            *text -= 0x20;
        }
    }
}

// Puts folder, "\", the shortcut name and ".LNK" behind the folder prefix that ends at the cut
// point. FALSE, and nothing appended, without a cut point or when the path would not fit.
static BOOL MakeLinkPath(char* linkPath, char* cutPoint, LPCSTR folder, LPCSTR shortcutName)
{
    if (cutPoint == NULL) {
        return FALSE;
    }
    *cutPoint = '\0';
    if (strlen(linkPath) + strlen(folder) + strlen("\\") + strlen(shortcutName) + strlen(".LNK") >= MAX_PATH) {
        return FALSE;
    }
    lstrcatA(linkPath, folder);
    lstrcatA(linkPath, "\\");
    lstrcatA(linkPath, shortcutName);
    lstrcatA(linkPath, ".LNK");
    return TRUE;
}

void PlaceShortcuts(LPCITEMIDLIST absoluteIdList, const ShortcutRequest& request)
{
    char linkPath[MAX_PATH];
    char* cutPoint = NULL;

    // A failed call answers 0, a directory too long for the buffer the size it needs: either
    // way the buffer holds no directory and no path can be made.
    UINT length = GetSystemDirectoryA(linkPath, MAX_PATH);
    if (length != 0 && length < MAX_PATH) {
        UpperCaseLetters(linkPath);
        cutPoint = strstr(linkPath, "SYSTEM");
    }

    if (MakeLinkPath(linkPath, cutPoint, "Desktop", request.shortcutName)) {
        WriteShortcut(absoluteIdList, linkPath, request.shortcutName, request.iconLocation);
    } else {
        MessageBoxA(NULL, "Save failed!", "Error", MB_OK);
    }

    if (MakeLinkPath(linkPath, cutPoint, "SendTo", request.shortcutName)) {
        WriteShortcut(absoluteIdList, linkPath, request.shortcutName, request.iconLocation);
    } else {
        MessageBoxA(NULL, "Save failed!", "Error", MB_OK);
    }
}

HRESULT WriteShortcut(LPCITEMIDLIST absoluteIdList, LPCSTR linkPath, LPCSTR description, LPCSTR iconPath)
{
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    WCHAR widePath[MAX_PATH];
    HRESULT result;

    result = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link);
    if (FAILED(result)) {
        return result;
    }

    result = link->QueryInterface(IID_IPersistFile, (void**)&file);
    if (FAILED(result)) {
        link->Release();
        return result;
    }

    if (FAILED(link->SetIDList(absoluteIdList))) {
        MessageBoxA(NULL, "SetPath failed!", "Error", MB_OK);
    }
    if (FAILED(link->SetDescription(description))) {
        MessageBoxA(NULL, "SetDescription failed!", "Error", MB_OK);
    }
    if (FAILED(link->SetIconLocation(iconPath, 0))) {
        MessageBoxA(NULL, "SetIconLocation failed!", "Error", MB_OK);
    }

    // Without a converted path there is nothing to save to: Save is not handed a buffer that
    // the conversion left unfilled.
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0) {
        result = E_INVALIDARG;
    } else {
        result = file->Save(widePath, TRUE);
    }
    if (FAILED(result)) {
        MessageBoxA(NULL, "Save failed!", "Error", MB_OK);
    }

    file->Release();
    link->Release();
    return result;
}
