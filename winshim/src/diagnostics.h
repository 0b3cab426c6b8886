#pragma once
// The stand-in's own word on a damaged machine, on standard error: what the tool sees is only
// the Windows error, so the person who runs it learns here what is wrong with the machine.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace winshim {

inline void Diagnose(const std::string& message)
{
    std::fprintf(stderr, "winshim: %s\n", message.c_str());
}

inline std::string ErrnoText(int error)
{
    return std::strerror(error);
}

}  // namespace winshim
