// The shell's Printers folder on the stand-in machine: one item per key under the Printers key,
// read afresh for every enumeration, so a printer added while a caller waits shows in its next.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "machine.h"
#include "shell_malloc.h"
#include "shell_object.h"
#include "shell_printers.h"

using winshim::TheMachine;

namespace {

// The printer item: cb, 'P', 0, the name, NUL; cb is 16 bits, so longer names cannot be items.
constexpr BYTE kPrinterItemMark = 'P';
constexpr std::size_t kLongestItemName = 0xFFFF - winshim::kPrinterNameOffset - 1;

PITEMID_CHILD NewPrinterItem(const std::string& name)
{
    std::size_t count = winshim::kPrinterNameOffset + name.size() + 1;
    BYTE* item = static_cast<BYTE*>(winshim::AllocateShellBlock(count + 2));
    if (!item) {
        return nullptr;
    }
    item[0] = BYTE(count & 0xFF);
    item[1] = BYTE(count >> 8);
    item[2] = kPrinterItemMark;
    item[3] = 0;
    std::memcpy(item + winshim::kPrinterNameOffset, name.c_str(), name.size() + 1);
    item[count] = 0;
    item[count + 1] = 0;
    return reinterpret_cast<PITEMID_CHILD>(item);
}

class PrinterEnumerator final : public winshim::ShellObject<IEnumIDList> {
public:
    explicit PrinterEnumerator(std::vector<std::string> names)
        : ShellObject("IEnumIDList", IID_IEnumIDList, "Printers"), names_(std::move(names))
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) override
    {
        if (fetched) {
            *fetched = 0;
        }
        if (auto failure = Enter("Next")) {
            return HRESULT(*failure);
        }
        if (!items) {
            return E_POINTER;
        }
        if (count > 1 && !fetched) {
            return E_INVALIDARG;
        }
        ULONG given = 0;
        while (given < count && next_ < names_.size()) {
            PITEMID_CHILD item = NewPrinterItem(names_[next_]);
            if (!item) {
                break;
            }
            items[given++] = item;
            ++next_;
        }
        if (fetched) {
            *fetched = given;
        }
        return given == count ? S_OK : S_FALSE;
    }

private:
    std::vector<std::string> names_;
    std::size_t next_ = 0;
};

class PrintersFolder final : public winshim::ShellObject<IShellFolder> {
public:
    PrintersFolder() : ShellObject("IShellFolder", IID_IShellFolder, "Printers") {}

    // Printers hold nothing to bind to.
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** object) override
    {
        if (object) {
            *object = nullptr;
        }
        auto failure = Enter("BindToObject");
        return failure ? HRESULT(*failure) : E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF flags, IEnumIDList** enumerator) override
    {
        if (enumerator) {
            *enumerator = nullptr;
        }
        // A scripted result is handed out with no enumerator, even a success: some shells do.
        if (auto failure = Enter("EnumObjects")) {
            return HRESULT(*failure);
        }
        if (!enumerator) {
            return E_INVALIDARG;
        }
        std::vector<std::string> names;
        // Printers are not folders: a caller that asks for folders only is given none.
        if (flags & SHCONTF_NONFOLDERS) {
            LONG result = TheMachine().registry.Read([&](const winshim::RegistryDocument& registry) {
                names = registry.SubkeyNames(winshim::kPrintersKeyPath);
                return ERROR_SUCCESS;
            });
            if (result != ERROR_SUCCESS) {
                return HRESULT_FROM_WIN32(result);
            }
            names.erase(std::remove_if(names.begin(), names.end(),
                                       [](const std::string& name) { return name.size() > kLongestItemName; }),
                        names.end());
        }
        *enumerator = new PrinterEnumerator(std::move(names));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF, STRRET* name) override
    {
        std::optional<std::string> printer = item ? winshim::PrinterNameOf(item) : std::nullopt;
        if (auto failure = Enter("GetDisplayNameOf", printer.value_or("?"))) {
            return HRESULT(*failure);
        }
        if (!name || !printer) {
            return E_INVALIDARG;
        }
        UINT form = TheMachine().displayNameForm;
        if (form == STRRET_WSTR) {
            std::u16string wide = TheMachine().codePage->ToWide(*printer);
            void* block = winshim::AllocateShellBlock((wide.size() + 1) * sizeof(WCHAR));
            if (!block) {
                return E_OUTOFMEMORY;
            }
            std::memcpy(block, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
            name->uType = STRRET_WSTR;
            name->pOleStr = static_cast<LPWSTR>(block);
        } else if (form == STRRET_OFFSET) {
            name->uType = STRRET_OFFSET;
            name->uOffset = winshim::kPrinterNameOffset;
        } else if (form == STRRET_CSTR) {
            // Cut to the record's 259 characters, as Windows' own copies into it do.
            name->uType = STRRET_CSTR;
            std::size_t length = std::min(printer->size(), sizeof(name->cStr) - 1);
            std::memcpy(name->cStr, printer->data(), length);
            name->cStr[length] = 0;
        } else {
            name->uType = form;
        }
        return S_OK;
    }
};

}  // namespace

namespace winshim {

IShellFolder* NewPrintersFolder()
{
    return new PrintersFolder;
}

std::optional<std::string> PrinterNameOf(PCUITEMID_CHILD item)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(item);
    std::size_t count = std::size_t(bytes[0] | (bytes[1] << 8));
    if (count <= kPrinterNameOffset || bytes[2] != kPrinterItemMark || bytes[3] != 0 || bytes[count - 1] != 0) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(bytes + kPrinterNameOffset));
}

}  // namespace winshim
