// The shell link object (CLSID_ShellLink) with its IShellLinkA and IPersistFile interfaces.
#include <sys/stat.h>

#include <fstream>

#include "com_object.h"
#include "machine.h"
#include "paths.h"
#include "shell_link.h"

using winshim::EnterCall;
using winshim::TheMachine;

namespace {

// The bytes of a list, its terminator included.
std::string ListBytes(PCIDLIST_ABSOLUTE list)
{
    const BYTE* start = reinterpret_cast<const BYTE*>(list);
    const BYTE* record = start;
    for (WORD cb; (cb = WORD(record[0] | (record[1] << 8))) != 0;) {
        record += cb;
    }
    return std::string(reinterpret_cast<const char*>(start), size_t(record - start) + 2);
}

class ShellLink final : public IShellLinkA {
public:
    ShellLink() : persistFile_(this) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        return Query("IShellLinkA::QueryInterface", riid, object);
    }

    ULONG STDMETHODCALLTYPE AddRef() override
    {
        EnterCall("IShellLinkA::AddRef");
        return references_.Add();
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        EnterCall("IShellLinkA::Release");
        return Drop();
    }

    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE list) override
    {
        std::string bytes = list ? ListBytes(list) : std::string();
        if (auto failure = EnterCall("IShellLinkA::SetIDList", std::to_string(bytes.size()) + " bytes")) {
            return HRESULT(*failure);
        }
        content_.idList = bytes;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR description) override
    {
        std::string text = description ? description : "";
        if (auto failure = EnterCall("IShellLinkA::SetDescription", text)) {
            return HRESULT(*failure);
        }
        content_.description = text;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR iconPath, int iconIndex) override
    {
        std::string text = iconPath ? iconPath : "";
        if (auto failure = EnterCall("IShellLinkA::SetIconLocation", text + "," + std::to_string(iconIndex))) {
            return HRESULT(*failure);
        }
        content_.iconLocation = text;
        content_.iconIndex = iconIndex;
        return S_OK;
    }

    HRESULT Query(const char* call, REFIID riid, void** object)
    {
        if (auto failure = EnterCall(call, InterfaceName(riid))) {
            if (object) {
                *object = nullptr;
            }
            return HRESULT(*failure);
        }
        if (!object) {
            return E_POINTER;
        }
        *object = Interface(riid);
        if (!*object) {
            return E_NOINTERFACE;
        }
        references_.Add();
        return S_OK;
    }

    // Both interfaces share the one count: the object goes with the last reference.
    ULONG Drop()
    {
        ULONG left = references_.Drop("shell link");
        if (left == 0) {
            delete this;
        }
        return left;
    }

    void* Interface(REFIID riid)
    {
        if (riid == IID_IUnknown || riid == IID_IShellLinkA) {
            return static_cast<IShellLinkA*>(this);
        }
        if (riid == IID_IPersistFile) {
            return &persistFile_;
        }
        return nullptr;
    }

    HRESULT Save(LPCOLESTR fileName)
    {
        bool usedDefault = false;
        std::string path;
        if (fileName) {
            path = TheMachine().codePage->ToAnsi(std::u16string(fileName), &usedDefault);
        }
        if (auto failure = EnterCall("IPersistFile::Save", path)) {
            return HRESULT(*failure);
        }
        if (!fileName) {
            return E_INVALIDARG;
        }
        // A name with a character outside the ANSI code page cannot be stored on this machine.
        if (usedDefault) {
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        }
        winshim::ResolvedPath resolved = winshim::ResolveWindowsPath(path);
        if (resolved.error != ERROR_SUCCESS) {
            return HRESULT_FROM_WIN32(resolved.error);
        }
        struct stat info;
        if (::stat(resolved.host.c_str(), &info) == 0 &&
            (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0)) {
            return E_ACCESSDENIED;
        }
        std::optional<std::string> bytes = winshim::ShellLinkFileBytes(content_);
        if (!bytes) {
            return E_FAIL;
        }
        std::ofstream file(resolved.host, std::ios::binary | std::ios::trunc);
        if (!file) {
            return E_ACCESSDENIED;
        }
        file.write(bytes->data(), std::streamsize(bytes->size()));
        file.close();
        return file ? S_OK : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
    }

private:
    // The file interface: its own vtable on the same object, so that calls through it are
    // logged under its own name.
    class PersistFile final : public IPersistFile {
    public:
        explicit PersistFile(ShellLink* link) : link_(link) {}

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
        {
            return link_->Query("IPersistFile::QueryInterface", riid, object);
        }

        ULONG STDMETHODCALLTYPE AddRef() override
        {
            EnterCall("IPersistFile::AddRef");
            return link_->references_.Add();
        }

        ULONG STDMETHODCALLTYPE Release() override
        {
            EnterCall("IPersistFile::Release");
            return link_->Drop();
        }

        HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL) override { return link_->Save(fileName); }

    private:
        ShellLink* link_;
    };

    static std::string InterfaceName(REFIID riid)
    {
        if (riid == IID_IPersistFile) {
            return "IID_IPersistFile";
        }
        if (riid == IID_IShellLinkA) {
            return "IID_IShellLinkA";
        }
        return riid == IID_IUnknown ? "IID_IUnknown" : "other";
    }

    winshim::ReferenceCount references_;
    winshim::ShellLinkContent content_;
    PersistFile persistFile_;
};

}  // namespace

namespace winshim {

HRESULT CreateShellLink(REFIID riid, void** object)
{
    auto* link = new ShellLink();
    *object = link->Interface(riid);
    if (!*object) {
        link->Drop();
        return E_NOINTERFACE;
    }
    return S_OK;
}

}  // namespace winshim
