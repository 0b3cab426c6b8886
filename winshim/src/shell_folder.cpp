// The shell namespace's root (shell32): special folder lists and the desktop folder, from which
// the Printers folder is bound.
#include <cstring>

#include "machine.h"
#include "shell_malloc.h"
#include "shell_object.h"
#include "shell_printers.h"

using winshim::EnterCall;

namespace {

// Windows 95 keeps Printers under My Computer: a root item for My Computer, then the Printers
// item, each of 20 bytes (size, type byte, a zero, the folder's CLSID).
const BYTE kPrintersFolderList[] = {
    0x14, 0x00, 0x1F, 0x00, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D,
    0x14, 0x00, 0x70, 0x00, 0x80, 0xA2, 0x27, 0x22, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xDE, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D,
    0x00, 0x00,
};
const BYTE kDesktopList[] = {0x00, 0x00};

// The bytes of a list up to and including its terminator; the counts are trusted, as Windows does.
std::size_t ListSize(PCUIDLIST_RELATIVE list)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(list);
    std::size_t size = 0;
    for (;;) {
        WORD count = WORD(bytes[size] | (bytes[size + 1] << 8));
        if (count == 0) {
            return size + 2;
        }
        size += count;
    }
}

bool IsPrintersFolderList(PCUIDLIST_RELATIVE list)
{
    return ListSize(list) == sizeof(kPrintersFolderList) &&
           std::memcmp(list, kPrintersFolderList, sizeof(kPrintersFolderList)) == 0;
}

// The desktop holds the namespace; of its children the stand-in can bind the Printers folder only.
class DesktopFolder final : public winshim::ShellObject<IShellFolder> {
public:
    DesktopFolder() : ShellObject("IShellFolder", IID_IShellFolder, "Desktop") {}

    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE list, IBindCtx*, REFIID riid, void** object) override
    {
        if (auto failure = Enter("BindToObject")) {
            if (object) {
                *object = nullptr;
            }
            return HRESULT(*failure);
        }
        if (!object) {
            return E_INVALIDARG;
        }
        *object = nullptr;
        if (!list || !IsPrintersFolderList(list)) {
            return E_INVALIDARG;
        }
        if (!(riid == IID_IShellFolder || riid == IID_IUnknown)) {
            return E_NOINTERFACE;
        }
        *object = winshim::NewPrintersFolder();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** enumerator) override
    {
        if (enumerator) {
            *enumerator = nullptr;
        }
        auto failure = Enter("EnumObjects");
        return failure ? HRESULT(*failure) : E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override
    {
        auto failure = Enter("GetDisplayNameOf");
        return failure ? HRESULT(*failure) : E_NOTIMPL;
    }
};

}  // namespace

HRESULT WINAPI SHGetSpecialFolderLocation(HWND, int folder, PIDLIST_ABSOLUTE* list)
{
    const char* name = folder == CSIDL_PRINTERS ? "CSIDL_PRINTERS"
                       : folder == CSIDL_DESKTOP ? "CSIDL_DESKTOP"
                                                 : "other";
    if (auto failure = EnterCall("SHGetSpecialFolderLocation", name)) {
        if (list) {
            *list = nullptr;
        }
        return HRESULT(*failure);
    }
    if (!list) {
        return E_INVALIDARG;
    }
    *list = nullptr;
    const BYTE* bytes = nullptr;
    std::size_t size = 0;
    if (folder == CSIDL_PRINTERS) {
        bytes = kPrintersFolderList;
        size = sizeof(kPrintersFolderList);
    } else if (folder == CSIDL_DESKTOP) {
        bytes = kDesktopList;
        size = sizeof(kDesktopList);
    } else {
        return E_NOTIMPL;
    }
    void* block = winshim::AllocateShellBlock(size);
    if (!block) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(block, bytes, size);
    *list = static_cast<PIDLIST_ABSOLUTE>(block);
    return S_OK;
}

HRESULT WINAPI SHGetDesktopFolder(IShellFolder** folder)
{
    if (auto failure = EnterCall("SHGetDesktopFolder")) {
        if (folder) {
            *folder = nullptr;
        }
        return HRESULT(*failure);
    }
    if (!folder) {
        return E_INVALIDARG;
    }
    *folder = new DesktopFolder;
    return S_OK;
}
