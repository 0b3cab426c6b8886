#include "remove_file.h"

int RemoveFile(LPCSTR path)
{
    DeleteFileA(path);
    return 1;
}
