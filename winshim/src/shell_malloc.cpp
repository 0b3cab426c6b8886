// The shell's task allocator (SHGetMalloc): one object for the whole machine; its blocks and
// the references handed out are counted so that tests can see what a run leaves behind.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "com_object.h"
#include "machine.h"
#include "shell_malloc.h"

using winshim::EnterCall;
using winshim::TheMachine;

namespace {

std::string Address(const void* block)
{
    std::ostringstream text;
    text << block;
    return text.str();
}

class ShellMalloc final : public IMalloc {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (auto failure = EnterCall("IMalloc::QueryInterface")) {
            return HRESULT(*failure);
        }
        if (!object) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *object = static_cast<IMalloc*>(this);
            AddReference();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override
    {
        EnterCall("IMalloc::AddRef");
        return AddReference();
    }

    // The allocator outlives every reference: the last release leaves it in place.
    ULONG STDMETHODCALLTYPE Release() override
    {
        EnterCall("IMalloc::Release");
        if (TheMachine().shellMallocReferences <= 0) {
            winshim::ReportFault("IMalloc::Release with no reference held");
            return 0;
        }
        --TheMachine().references;
        return ULONG(--TheMachine().shellMallocReferences);
    }

    void* STDMETHODCALLTYPE Alloc(SIZE_T size) override
    {
        if (EnterCall("IMalloc::Alloc", std::to_string(size))) {
            return nullptr;
        }
        // The task allocator does not clear its blocks; the fill shows who relies on it.
        void* block = winshim::AllocateShellBlock(size);
        if (block) {
            std::memset(block, 0xCD, size);
        }
        return block;
    }

    void STDMETHODCALLTYPE Free(void* block) override
    {
        EnterCall("IMalloc::Free", block ? Address(block) : "NULL");
        if (!block) {
            return;
        }
        auto& blocks = TheMachine().shellBlocks;
        if (blocks.erase(block) == 0) {
            // Windows would corrupt its heap here; the stand-in keeps the block and says so.
            winshim::ReportFault("IMalloc::Free of a block the shell allocator did not hand out: " +
                                 Address(block));
            return;
        }
        --TheMachine().allocations;
        std::free(block);
    }

    static ULONG AddReference()
    {
        ++TheMachine().references;
        return ULONG(++TheMachine().shellMallocReferences);
    }
};

ShellMalloc theShellMalloc;

}  // namespace

namespace winshim {

void* AllocateShellBlock(std::size_t size)
{
    // A block of 0 bytes is a real, distinct block, as the task allocator gives it.
    void* block = std::malloc(size ? size : 1);
    if (!block) {
        return nullptr;
    }
    TheMachine().shellBlocks.insert(block);
    ++TheMachine().allocations;
    return block;
}

}  // namespace winshim

HRESULT WINAPI SHGetMalloc(LPMALLOC* malloc)
{
    if (auto failure = EnterCall("SHGetMalloc")) {
        if (malloc) {
            *malloc = nullptr;
        }
        return HRESULT(*failure);
    }
    if (!malloc) {
        return E_INVALIDARG;
    }
    ShellMalloc::AddReference();
    *malloc = &theShellMalloc;
    return S_OK;
}
