#include "command_tail.h"

// Replaces the runtime's GUI start-up, which ends an unquoted program name at the first byte
// of 0x80 or above and runs a quoted one on past its closing quote to the next blank.
int main()
{
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    return WinMain(GetModuleHandleA(NULL), NULL, CommandTailOf(GetCommandLineA()), showCommand);
}
