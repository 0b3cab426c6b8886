#pragma once
// COM (ole32) and the shell's interfaces (shell32), declared as Windows declares them; only
// the methods the tools call are declared.
#include "types.h"

#define CLSCTX_INPROC_SERVER 0x1

extern const IID IID_IUnknown;
extern const IID IID_IMalloc;
extern const IID IID_IShellFolder;
extern const IID IID_IEnumIDList;
extern const IID IID_IShellLinkA;
extern const IID IID_IPersistFile;
extern const CLSID CLSID_ShellLink;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

struct IMalloc : IUnknown {
    virtual void* STDMETHODCALLTYPE Alloc(SIZE_T size) = 0;
    virtual void STDMETHODCALLTYPE Free(void* block) = 0;
};
typedef IMalloc* LPMALLOC;

struct IPersistFile : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Save(LPCOLESTR fileName, BOOL remember) = 0;
};

#pragma pack(push, 1)
typedef struct _SHITEMID {
    WORD cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST;
#pragma pack(pop)
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCUIDLIST_RELATIVE;
typedef ITEMIDLIST* PITEMID_CHILD;
typedef const ITEMIDLIST* PCUITEMID_CHILD;

struct IShellLinkA : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE list) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR description) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR iconPath, int iconIndex) = 0;
};

HRESULT WINAPI CoInitialize(LPVOID reserved);
void WINAPI CoUninitialize(void);
HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object);
HRESULT WINAPI SHGetMalloc(LPMALLOC* malloc);
