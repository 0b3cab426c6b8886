// Registry (advapi32) on the stand-in machine: keys and values live in the registry file.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "machine.h"

using winshim::EnterCall;
using winshim::OpenKeyHandle;
using winshim::RegistryDocument;
using winshim::RegistryKey;
using winshim::RegistryValue;
using winshim::TheMachine;

namespace {

struct KeyRef {
    std::string path;  // canonical
    REGSAM access;
    bool predefined;   // a root handle: always there, never opened or closed
};

std::optional<KeyRef> PredefinedKey(HKEY key)
{
    if (key == HKEY_CLASSES_ROOT) {
        return KeyRef{winshim::CanonicalKeyPath("HKEY_CLASSES_ROOT"), KEY_ALL_ACCESS, true};
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return KeyRef{"HKEY_LOCAL_MACHINE", KEY_ALL_ACCESS, true};
    }
    if (key == HKEY_CURRENT_USER) {
        return KeyRef{"HKEY_CURRENT_USER", KEY_ALL_ACCESS, true};
    }
    if (key == HKEY_USERS) {
        return KeyRef{"HKEY_USERS", KEY_ALL_ACCESS, true};
    }
    return std::nullopt;
}

// Peeks without counting a misuse: for the call log only.
std::string Describe(HKEY key)
{
    if (auto root = PredefinedKey(key)) {
        return root->path;
    }
    auto* open = TheMachine().FindHandle<OpenKeyHandle>(key);
    return open ? open->path : "(invalid handle)";
}

std::optional<KeyRef> ResolveKey(HKEY key)
{
    if (auto root = PredefinedKey(key)) {
        return root;
    }
    auto* open = TheMachine().FindHandle<OpenKeyHandle>(key);
    if (!open) {
        winshim::ReportFault("registry call with a key handle that is not open");
        return std::nullopt;
    }
    return KeyRef{open->path, open->access, false};
}

bool IsDenied(const std::string& path)
{
    const auto& denied = TheMachine().deniedKeys;
    return std::any_of(denied.begin(), denied.end(), [&](const std::string& d) { return winshim::SameName(d, path); });
}

// The registry file keeps one entry per line: a line break in a name or class cannot be kept.
bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

// "a\b" -> {"a", "b"}; one trailing backslash is allowed, an empty level is not.
std::optional<std::vector<std::string>> SplitLevels(std::string path)
{
    std::vector<std::string> levels;
    if (path.empty()) {
        return levels;
    }
    if (path.back() == '\\') {
        path.pop_back();
    }
    size_t start = 0;
    while (true) {
        size_t end = path.find('\\', start);
        std::string level = path.substr(start, end - start);
        if (level.empty()) {
            return std::nullopt;
        }
        levels.push_back(level);
        if (end == std::string::npos) {
            return levels;
        }
        start = end + 1;
    }
}

}  // namespace

LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                               REGSAM desired, LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition)
{
    std::string name = subKey ? subKey : "";
    if (auto failure = EnterCall("RegCreateKeyExA", Describe(key) + "\\" + name)) {
        return *failure;
    }
    auto base = ResolveKey(key);
    if (!base) {
        return ERROR_INVALID_HANDLE;
    }
    if (reserved != 0 || !result) {
        return ERROR_INVALID_PARAMETER;
    }
    // Volatile keys would need a registry that is not kept in the file.
    if (options != REG_OPTION_NON_VOLATILE) {
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
    auto levels = SplitLevels(name);
    if (!levels) {
        return ERROR_BAD_PATHNAME;
    }
    std::optional<std::string> newClass;
    if (keyClass) {
        newClass = keyClass;
    }
    if (HasLineBreak(name) || (newClass && HasLineBreak(*newClass))) {
        return ERROR_INVALID_PARAMETER;
    }

    std::string path = base->path;
    bool created = false;
    LONG status = TheMachine().registry.Update([&](RegistryDocument& registry, bool& changed) {
        if (!base->predefined && !registry.Exists(base->path)) {
            return LONG(ERROR_KEY_DELETED);
        }
        for (size_t i = 0; i < levels->size(); ++i) {
            std::string parent = path;
            path += "\\" + (*levels)[i];
            if (registry.Exists(path)) {
                if (IsDenied(path)) {
                    return LONG(ERROR_ACCESS_DENIED);
                }
                if (const RegistryKey* existing = registry.Find(path)) {
                    path = existing->path;  // keep the name's case as stored
                }
                created = false;
                continue;
            }
            // A new key needs the right to create beneath its parent.
            if (IsDenied(parent) || (i == 0 && (base->access & KEY_CREATE_SUB_KEY) == 0)) {
                return LONG(ERROR_ACCESS_DENIED);
            }
            // Keys made on the way get no class; only the key asked for does.
            registry.Add(path, i + 1 == levels->size() ? newClass : std::nullopt);
            changed = true;
            created = true;
        }
        return LONG(ERROR_SUCCESS);
    });
    if (status != ERROR_SUCCESS) {
        return status;
    }
    *result = static_cast<HKEY>(TheMachine().AddHandle(OpenKeyHandle{path, desired}));
    if (disposition) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size)
{
    std::string name = valueName ? valueName : "";
    if (auto failure = EnterCall("RegSetValueExA", Describe(key) + (name.empty() ? " @" : " \"" + name + "\""))) {
        return *failure;
    }
    auto target = ResolveKey(key);
    if (!target) {
        return ERROR_INVALID_HANDLE;
    }
    if ((target->access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (!data && size != 0) {
        return ERROR_NOACCESS;
    }
    if (HasLineBreak(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    RegistryValue value;
    value.name = name;
    value.isDefault = name.empty();  // a null or empty name both mean the default value
    value.type = type;
    if (size != 0) {
        value.data.assign(data, data + size);
    }
    return TheMachine().registry.Update([&](RegistryDocument& registry, bool& changed) {
        if (!target->predefined && !registry.Exists(target->path)) {
            return LONG(ERROR_KEY_DELETED);
        }
        RegistryKey* stored = registry.Find(target->path);
        if (!stored) {
            stored = &registry.Add(target->path, std::nullopt);
        }
        registry.SetValue(*stored, std::move(value));
        changed = true;
        return LONG(ERROR_SUCCESS);
    });
}

// A scripted failure still closes the key: a handle is gone once it has been closed, whatever the
// call answers, and no caller can close it again.
LSTATUS WINAPI RegCloseKey(HKEY key)
{
    auto failure = EnterCall("RegCloseKey", Describe(key));
    auto open = ResolveKey(key);
    if (!open) {
        return failure.value_or(ERROR_INVALID_HANDLE);
    }
    if (!open->predefined) {
        TheMachine().CloseHandle(key);
    }
    return failure.value_or(ERROR_SUCCESS);
}
