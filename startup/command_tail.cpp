#include "command_tail.h"

LPSTR CommandTailOf(LPSTR commandLine)
{
    const BYTE* p = (const BYTE*)commandLine;
    if (*p == '"') {
        // A quoted name runs to the next quote; the trail byte of a double-byte
        // character is never taken for it.
        ++p;
        while (*p != '\0' && *p != '"') {
            if (IsDBCSLeadByte(*p) && p[1] != '\0') {
                p += 2;
            } else {
                ++p;
            }
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p > 0x20) {
            ++p;
        }
    }
    while (*p >= 0x01 && *p <= 0x20) {
        ++p;
    }
    return (LPSTR)p;
}
