// PlaceShortcuts with any system directory and shortcut name: each shortcut is saved to
// exactly the path that the rule gives (the upper-cased directory up to its first "SYSTEM",
// the folder, the name, ".LNK") when that path fits, and is otherwise not saved but reported.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <winshim/control.h>

#include "fuzz_support.h"
#include "prnlink.h"

namespace {

// The paths the rule gives, the ones that fit in MAX_PATH bytes with their NUL.
std::vector<std::string> ExpectedPaths(const std::string& directory, const std::string& name)
{
    std::vector<std::string> paths;
    if (directory.empty() || directory.size() + 1 > MAX_PATH) {
        return paths;
    }
    std::string upper = directory;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    size_t cut = upper.find("SYSTEM");
    if (cut == std::string::npos) {
        return paths;
    }
    for (const char* folder : {"Desktop", "SendTo"}) {
        std::string path = upper.substr(0, cut) + folder + "\\" + name + ".LNK";
        if (path.size() + 1 <= MAX_PATH) {
            paths.push_back(path);
        }
    }
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string directory(input.substr(0, input.find('\0')));
    std::string name;
    if (directory.size() < input.size()) {
        std::string_view rest = input.substr(directory.size() + 1);
        name = rest.substr(0, std::min(rest.find('\0'), size_t(NAME_FIELD_SIZE - 1)));
    }

    fuzz::OpenScratchMachine(/*logCalls=*/true);
    winshim::SetSystemDirectory(directory);
    // The saves and messages are only logged: no file is written, nothing is printed.
    winshim::FailCall("IPersistFile::Save", 1, E_FAIL, /*fromThenOn=*/true);
    winshim::FailCall("MessageBoxA", 1, IDOK, /*fromThenOn=*/true);
    ShortcutRequest request = {};
    std::strcpy(request.iconLocation, "C:\\ICON.ICO");
    std::strcpy(request.printerName, "Printer");
    std::memcpy(request.shortcutName, name.data(), name.size());
    const BYTE idList[] = {4, 0, 'P', 'R', 0, 0};

    CoInitialize(NULL);
    PlaceShortcuts(reinterpret_cast<LPCITEMIDLIST>(idList), request);
    CoUninitialize();

    std::vector<std::string> saved;
    int messages = 0;
    for (const auto& call : winshim::CallLog()) {
        if (call.name == "IPersistFile::Save") {
            saved.push_back(call.detail);
        } else if (call.name == "MessageBoxA") {
            fuzz::Require(call.detail == "Error: Save failed!", "only the save is reported", input);
            ++messages;
        }
    }
    fuzz::Require(saved == ExpectedPaths(directory, name), "the shortcuts are saved to the rule's paths", input);
    fuzz::Require(messages == 2, "each shortcut that is not saved is reported once", input);
    fuzz::Require(fuzz::NothingLive(), "every block and reference given back", input);
    return 0;
}
