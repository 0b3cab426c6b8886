#include "prnlink.h"

// Placeholder until the run is written.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 1;
}
