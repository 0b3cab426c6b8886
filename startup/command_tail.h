#pragma once
#include <windows.h>

// The command tail that WinMain receives: the command line without the program name and
// without the blanks (bytes 0x01..0x20) that follow it. Points into commandLine.
LPSTR CommandTailOf(LPSTR commandLine);
