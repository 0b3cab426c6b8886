#pragma once
// The shell namespace (shell32): folders, their enumerators and display names.
#include "com.h"

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PRINTERS 0x0004

typedef DWORD SHCONTF;
#define SHCONTF_FOLDERS 0x0020
#define SHCONTF_NONFOLDERS 0x0040
#define SHCONTF_INCLUDEHIDDEN 0x0080

typedef DWORD SHGDNF;
#define SHGDN_NORMAL 0x0000

#define STRRET_WSTR 0x0000
#define STRRET_OFFSET 0x0001
#define STRRET_CSTR 0x0002

typedef struct _STRRET {
    UINT uType;
    union {
        LPWSTR pOleStr;
        UINT uOffset;
        char cStr[MAX_PATH];
    };
} STRRET, *LPSTRRET;

struct IBindCtx;

struct IEnumIDList : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) = 0;
};

struct IShellFolder : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID riid,
                                                   void** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** enumerator) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) = 0;
};
typedef IShellFolder* LPSHELLFOLDER;

HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* list);
HRESULT WINAPI SHGetDesktopFolder(IShellFolder** folder);
