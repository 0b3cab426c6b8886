// The stand-in's start-up: rebuilds a Windows command line from argv and hands WinMain its
// command tail, as the Windows start-up does.
#include <string>

#include <windows.h>

#include "command_tail.h"

namespace {

std::string CommandLineOf(int argc, char** argv)
{
    std::string program = argc > 0 ? argv[0] : "";
    // A launcher quotes a program path that holds blanks.
    bool quote = program.find_first_of(" \t") != std::string::npos;
    std::string line = quote ? "\"" + program + "\"" : program;
    for (int i = 1; i < argc; ++i) {
        line += " ";
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string line = CommandLineOf(argc, argv);
    return WinMain(nullptr, nullptr, CommandTailOf(line.data()), SW_SHOWDEFAULT);
}
