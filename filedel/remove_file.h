#pragma once
#include <windows.h>

// Deletes the file named by path, taken as it stands. Always returns 1.
int RemoveFile(LPCSTR path);
