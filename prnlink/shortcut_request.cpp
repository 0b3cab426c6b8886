#include "prnlink.h"

// Placeholder until the field parser is written.
BOOL ParseShortcutRequest(LPCSTR, ShortcutRequest*)
{
    return FALSE;
}
