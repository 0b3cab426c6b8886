// Runs prnlink's shortcut placement on Windows (or Wine) for the Printers folder's list joined
// with one printer item of our own layout. Usage: prnlink_place_probe ICONPATH SHORTCUTNAME
// Exit code 0 when the placement ran, 2 when the folder list or the join could not be had.
#include <string.h>

#include "prnlink.h"

// 14 bytes: the count, a zero type byte, the printer's name, zero padding; then the terminator.
static const BYTE kPrinterItem[] = {0x0E, 0x00, 0x00, 'L', 'a', 's', 'e', 'r', 0, 0, 0, 0, 0, 0, 0x00, 0x00};

int main(int argc, char** argv)
{
    if (argc != 3 || strlen(argv[1]) >= MAX_PATH || strlen(argv[2]) >= NAME_FIELD_SIZE) {
        return 2;
    }
    ShortcutRequest request;
    memset(&request, 0, sizeof request);
    strcpy(request.iconLocation, argv[1]);
    strcpy(request.printerName, "Laser");
    strcpy(request.shortcutName, argv[2]);

    CoInitialize(NULL);
    IMalloc* shellMalloc = NULL;
    LPITEMIDLIST printers = NULL;
    if (FAILED(SHGetMalloc(&shellMalloc)) || FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_PRINTERS, &printers))) {
        return 2;
    }
    LPITEMIDLIST joined = IdListConcat(printers, (LPCITEMIDLIST)kPrinterItem);
    if (joined == NULL) {
        return 2;
    }
    PlaceShortcuts(joined, request);
    shellMalloc->Free(joined);
    shellMalloc->Free(printers);
    shellMalloc->Release();
    CoUninitialize();
    return 0;
}
