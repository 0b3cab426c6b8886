#include "prnlink.h"

// Placeholders until the placement is written.
void PlaceShortcuts(LPCITEMIDLIST, const ShortcutRequest&)
{
}

HRESULT WriteShortcut(LPCITEMIDLIST, LPCSTR, LPCSTR, LPCSTR)
{
    return E_NOTIMPL;
}
