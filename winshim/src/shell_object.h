#pragma once
// A shell namespace object of the stand-in (a folder or an enumerator): one interface besides
// IUnknown, its calls logged under the interface's name with the object's label as detail.
#include <optional>
#include <string>

#include <windows.h>
#include <shlobj.h>

#include "com_object.h"
#include "machine.h"

namespace winshim {

template <typename Interface>
class ShellObject : public Interface {
public:
    ShellObject(const char* interfaceName, const IID& interfaceId, std::string label)
        : interfaceName_(interfaceName), interfaceId_(interfaceId), label_(std::move(label))
    {
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (auto failure = Enter("QueryInterface")) {
            if (object) {
                *object = nullptr;
            }
            return HRESULT(*failure);
        }
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!(riid == IID_IUnknown || riid == interfaceId_)) {
            return E_NOINTERFACE;
        }
        references_.Add();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override
    {
        Enter("AddRef");
        return references_.Add();
    }

    ULONG STDMETHODCALLTYPE Release() override
    {
        Enter("Release");
        ULONG left = references_.Drop(Name().c_str());
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    // Logs "IShellFolder::EnumObjects" for method "EnumObjects", with the detail given or else
    // the object's label, and answers a scripted failure.
    std::optional<long> Enter(const char* method, const std::string& detail = {}) const
    {
        std::string name = std::string(interfaceName_) + "::" + method;
        return EnterCall(name.c_str(), detail.empty() ? label_ : detail);
    }
    std::string Name() const { return label_ + " (" + interfaceName_ + ")"; }

private:
    const char* interfaceName_;
    const IID& interfaceId_;
    std::string label_;
    ReferenceCount references_;
};

}  // namespace winshim
