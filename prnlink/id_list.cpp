#include "prnlink.h"

// Placeholders until the list operations are written.
LPITEMIDLIST IdListNext(LPCITEMIDLIST list)
{
    return (LPITEMIDLIST)list;
}

UINT IdListSize(LPCITEMIDLIST)
{
    return 0;
}

void* ShellAllocZeroed(UINT)
{
    return NULL;
}

LPITEMIDLIST IdListConcat(LPCITEMIDLIST, LPCITEMIDLIST)
{
    return NULL;
}
