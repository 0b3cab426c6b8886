#pragma once
#include <windows.h>

// Deletes the printer whose name is printerName, taken as it stands. Always returns 1.
int RemovePrinter(LPSTR printerName);
