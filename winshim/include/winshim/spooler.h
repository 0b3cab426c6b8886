#pragma once
// Print spooler (winspool).
#include "types.h"

typedef struct _devicemodeA DEVMODEA, *LPDEVMODEA;

typedef struct _PRINTER_DEFAULTSA {
    LPSTR pDatatype;
    LPDEVMODEA pDevMode;
    DWORD DesiredAccess;
} PRINTER_DEFAULTSA, *LPPRINTER_DEFAULTSA;

BOOL WINAPI OpenPrinterA(LPSTR printerName, HANDLE* printer, LPPRINTER_DEFAULTSA defaults);
BOOL WINAPI DeletePrinter(HANDLE printer);
BOOL WINAPI ClosePrinter(HANDLE printer);
