// Writes the command tail that our start-up hands WinMain to C:\tail.out, byte for byte.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int)
{
    HANDLE file = CreateFileA("C:\\tail.out", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return 2;
    }
    DWORD written = 0;
    WriteFile(file, commandTail, lstrlenA(commandTail), &written, NULL);
    CloseHandle(file);
    return 1;
}
