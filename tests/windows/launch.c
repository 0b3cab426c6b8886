/* Starts a program with exactly the command line given (in hex, so that any byte can be
   passed through the shell and Wine), waits for it and returns its exit code.
   Usage: launch PROGRAM HEXCOMMANDLINE */
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv)
{
    static char line[32768];
    size_t length;
    size_t i;
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    DWORD code;

    if (argc != 3 || strlen(argv[2]) % 2 != 0 || strlen(argv[2]) / 2 >= sizeof line) {
        fprintf(stderr, "usage: launch PROGRAM HEXCOMMANDLINE\n");
        return 255;
    }
    length = strlen(argv[2]) / 2;
    for (i = 0; i < length; i++) {
        unsigned value;
        sscanf(argv[2] + 2 * i, "%2x", &value);
        line[i] = (char)value;
    }
    line[length] = '\0';
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    if (!CreateProcessA(argv[1], line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "launch: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 255;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return (int)code;
}
