#include "remove_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int)
{
    return RemoveFile(commandTail);
}
