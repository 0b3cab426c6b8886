// Item identifier lists as raw bytes: step, measure, allocate and join. The counts are
// trusted: every list here comes from the shell or from IdListConcat.
#include <string.h>

#include "prnlink.h"

#define TERMINATOR_SIZE sizeof(WORD)

LPITEMIDLIST IdListNext(LPCITEMIDLIST list)
{
    return (LPITEMIDLIST)((const BYTE*)list + list->mkid.cb);
}

UINT IdListSize(LPCITEMIDLIST list)
{
    if (list == NULL) {
        return 0;
    }
    UINT size = TERMINATOR_SIZE;
    while (list->mkid.cb != 0) {
        size += list->mkid.cb;
        list = IdListNext(list);
    }
    return size;
}

void* ShellAllocZeroed(UINT size)
{
    IMalloc* shellMalloc = NULL;

    if (FAILED(SHGetMalloc(&shellMalloc))) {
        return NULL;
    }
    void* block = shellMalloc->Alloc(size);
    if (block != NULL) {
        memset(block, 0, size);
    }
    if (shellMalloc != NULL) {
        shellMalloc->Release();
    }
    return block;
}

// Without a second list the new block would have no terminator, so there is no join.
LPITEMIDLIST IdListConcat(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (second == NULL) {
        return NULL;
    }
    UINT headLength = first == NULL ? 0 : IdListSize(first) - TERMINATOR_SIZE;
    UINT tailLength = IdListSize(second);

    BYTE* joined = (BYTE*)ShellAllocZeroed(headLength + tailLength);
    if (joined == NULL) {
        return NULL;
    }
    if (first != NULL) {
        memcpy(joined, first, headLength);
    }
    memcpy(joined + headLength, second, tailLength);
    return (LPITEMIDLIST)joined;
}
