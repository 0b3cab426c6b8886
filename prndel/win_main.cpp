#include "remove_printer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int)
{
    return RemovePrinter(commandTail);
}
