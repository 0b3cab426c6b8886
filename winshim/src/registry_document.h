#pragma once
// The registry as REGEDIT4 text: keys in file order, each with its class (kept in a comment
// line) and values. Sections that were not changed are written back exactly as they were read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace winshim {

struct RegistryValue {
    std::string name;  // empty for the default value
    bool isDefault = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    std::string path;  // full path, HKEY_CLASSES_ROOT already turned into its HKLM branch
    std::optional<std::string> keyClass;
    std::vector<RegistryValue> values;
    std::string rawText;  // the section as read; empty once the key has been changed
};

// Case-insensitive (ASCII letters) comparison of key names and paths, as the registry does.
bool SameName(std::string_view a, std::string_view b);
// "HKEY_CLASSES_ROOT\x" -> "HKEY_LOCAL_MACHINE\Software\Classes\x"; other paths unchanged.
std::string CanonicalKeyPath(std::string_view path);

class RegistryDocument {
public:
    // nullopt when the text is not a REGEDIT4 file that this store can keep; badLine then
    // gets the number of the line refused (0 for an empty text).
    static std::optional<RegistryDocument> Parse(std::string_view text, size_t* badLine = nullptr);
    std::string Serialize() const;

    // Every key, in file order.
    const std::vector<RegistryKey>& Keys() const { return keys_; }
    const RegistryKey* Find(std::string_view path) const;
    RegistryKey* Find(std::string_view path);
    // A key exists when it has a section or when a section lies beneath it.
    bool Exists(std::string_view path) const;
    RegistryKey& Add(std::string_view path, std::optional<std::string> keyClass);
    // Removes the key and every key beneath it; returns whether anything existed.
    bool RemoveTree(std::string_view path);
    // Names of the immediate subkeys, in the order of their first appearance in the file.
    std::vector<std::string> SubkeyNames(std::string_view path) const;
    // Sets (replacing or appending) a value; marks the key as changed.
    void SetValue(RegistryKey& key, RegistryValue value);

private:
    std::string preamble_ = "REGEDIT4\r\n\r\n";
    std::vector<RegistryKey> keys_;
};

}  // namespace winshim
