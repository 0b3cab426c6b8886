#pragma once
// The shell link object that CoCreateInstance makes for CLSID_ShellLink, and the shortcut file
// it saves.
#include <optional>
#include <string>

#include <windows.h>
#include <objbase.h>

namespace winshim {

// A new link object's interface riid, holding one reference.
HRESULT CreateShellLink(REFIID riid, void** object);

// What a link holds; a text that was never set (or set empty) is left out of the file.
struct ShellLinkContent {
    std::string idList;  // the target's list with its terminator; empty without a target
    std::string description;
    std::string iconLocation;
    int iconIndex = 0;
};

// The shortcut file in the Shell Link binary format with ANSI strings; none when a part is
// too long for its 16-bit count.
std::optional<std::string> ShellLinkFileBytes(const ShellLinkContent& content);

}  // namespace winshim
