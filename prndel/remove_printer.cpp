#include "remove_printer.h"

#include <winspool.h>

int RemovePrinter(LPSTR printerName)
{
    HANDLE printer = NULL;
    if (!OpenPrinterA(printerName, &printer, NULL)) {
        return 1;
    }
    DeletePrinter(printer);
    ClosePrinter(printer);
    return 1;
}
