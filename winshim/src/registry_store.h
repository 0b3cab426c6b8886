#pragma once
// Where the registry lives: a REGEDIT4 file shared by every process of the machine, or a
// document in memory. Changes to the file are made under a lock, written to a new file and
// renamed into place; a file that cannot be read as REGEDIT4 is never written over.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <sys/types.h>

#include "registry_document.h"

namespace winshim {

class RegistryStore {
public:
    static RegistryStore InFile(std::filesystem::path file);
    static RegistryStore InMemory(std::string text);

    // Runs reader on the current registry; ERROR_BADDB when the registry cannot be read.
    LONG Read(const std::function<LONG(const RegistryDocument&)>& reader);
    // Runs writer on the current registry; when it succeeds and says it changed something,
    // the change is stored. ERROR_BADDB when the registry cannot be read.
    LONG Update(const std::function<LONG(RegistryDocument&, bool& changed)>& writer);

    // Makes the file with this text unless it exists; another process may be making it at the
    // same moment, and no process ever sees it half written.
    LONG CreateIfMissing(const std::string& text);

    std::string Text();
    void SetText(const std::string& text);

    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };

private:
    LONG Refresh();
    LONG Store(const RegistryDocument& document);
    // Replaces the file whole by way of a new file; on failure (the errno) the old one stays
    // as it was and the new one is gone.
    int Replace(const std::string& text);
    // Says once, on standard error, why the registry cannot be read.
    LONG Damaged(const std::string& problem);

    std::optional<std::filesystem::path> file_;
    std::optional<RegistryDocument> document_;  // nullopt: unreadable
    std::string memoryText_;                    // the text of a damaged in-memory registry
    std::optional<FileStamp> stamp_;
    std::string reported_;  // the damage last reported
};

}  // namespace winshim
