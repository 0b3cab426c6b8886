// The command fields: an icon path without spaces, then two double-quoted names.
#include <string.h>

#include "prnlink.h"

// Fills a field with the bytes from start up to end, zero-filled behind them. A text that
// leaves no room for the terminator is refused rather than cut: a cut name could match the
// wrong printer or write a differently named shortcut.
static BOOL CopyField(char* field, size_t fieldSize, const char* start, const char* end)
{
    size_t length = (size_t)(end - start);

    memset(field, 0, fieldSize);
    if (length >= fieldSize) {
        return FALSE;
    }
    memcpy(field, start, length);
    return TRUE;
}

BOOL ParseShortcutRequest(LPCSTR commandTail, ShortcutRequest* request)
{
    const char* space = strchr(commandTail, ' ');
    if (space == NULL) {
        return FALSE;
    }
    if (!CopyField(request->iconLocation, sizeof request->iconLocation, commandTail, space)) {
        return FALSE;
    }

    const char* printerOpen = strchr(space, '"');
    if (printerOpen == NULL) {
        return FALSE;
    }
    const char* printerClose = strchr(printerOpen + 1, '"');
    if (printerClose == NULL) {
        return FALSE;
    }
    if (!CopyField(request->printerName, sizeof request->printerName, printerOpen + 1, printerClose)) {
        return FALSE;
    }

    const char* shortcutOpen = strchr(printerClose + 1, '"');
    if (shortcutOpen == NULL) {
        return FALSE;
    }
    const char* shortcutClose = strchr(shortcutOpen + 1, '"');
    if (shortcutClose == NULL) {
        return FALSE;
    }
    if (!CopyField(request->shortcutName, sizeof request->shortcutName, shortcutOpen + 1, shortcutClose)) {
        return FALSE;
    }

    if (lstrlenA(request->iconLocation) == 0) {
        return FALSE;
    }
    if (lstrlenA(request->printerName) == 0) {
        return FALSE;
    }
    if (lstrlenA(request->shortcutName) == 0) {
        return FALSE;
    }
    return TRUE;
}
