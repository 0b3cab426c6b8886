// The run of the printer shortcut tool, from the command tail to the exit code.
#include "prnlink.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int)
{
    ShortcutRequest request;
    IMalloc* shellMalloc;

    SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, (LPARAM) "devices");

    if (!ParseShortcutRequest(commandTail, &request)) {
        MessageBoxA(NULL, "Can't parse command line", "Error", MB_OK);
        return 1;
    }

    CoInitialize(NULL);

    shellMalloc = NULL;
    if (FAILED(SHGetMalloc(&shellMalloc))) {
        return 0;
    }

    PollPrintersFolder(request, shellMalloc);

    if (shellMalloc != NULL) {
        shellMalloc->Release();
    }
    CoUninitialize();
    return 1;
}
