// The stand-in's COM base and shell link object, where they differ from a plain success.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "machine_fixture.h"

namespace {

using ComTest = MachineTest;

TEST_F(ComTest, MakesNoObjectOutsideAnApartment)
{
    IShellLinkA* link = reinterpret_cast<IShellLinkA*>(1);
    EXPECT_EQ(CO_E_NOTINITIALIZED,
              CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link));
    EXPECT_EQ(nullptr, link);

    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
    CoUninitialize();
    IUnknown* unknown = nullptr;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(IID_IMalloc, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)&unknown));
    EXPECT_EQ(E_NOINTERFACE,
              CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IMalloc, (void**)&unknown));
    CoUninitialize();
    ExpectNothingLive();
}

TEST_F(ComTest, TheLinkGoesWithItsLastReferenceWhicheverInterfaceHeldIt)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link));
    IPersistFile* file = nullptr;
    ASSERT_EQ(S_OK, link->QueryInterface(IID_IPersistFile, (void**)&file));
    EXPECT_EQ(2, winshim::Live().references);
    EXPECT_EQ(1u, link->Release());
    EXPECT_EQ(0u, file->Release());
    CoUninitialize();
    ExpectNothingLive();
}

TEST_F(ComTest, TheAllocatorIsSharedAndReportsAForeignFree)
{
    IMalloc* one = nullptr;
    IMalloc* two = nullptr;
    ASSERT_EQ(S_OK, SHGetMalloc(&one));
    ASSERT_EQ(S_OK, SHGetMalloc(&two));
    EXPECT_EQ(one, two);
    void* block = one->Alloc(8);
    EXPECT_EQ(1, winshim::Live().allocations);
    two->Free(block);
    int local = 0;
    one->Free(&local);  // not the allocator's: reported, not freed
    one->Free(nullptr);
    EXPECT_EQ(1, winshim::Live().faults);
    one->Release();
    two->Release();
    two->Release();  // one release too many: reported
    EXPECT_EQ(2, winshim::Live().faults);
    EXPECT_EQ(0, winshim::Live().allocations);
    EXPECT_EQ(0, winshim::Live().references);
}

TEST_F(ComTest, SavesOnlyIntoAnExistingFolder)
{
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void**)&link));
    IPersistFile* file = nullptr;
    ASSERT_EQ(S_OK, link->QueryInterface(IID_IPersistFile, (void**)&file));

    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), file->Save(u"C:\\WINDOWS\\Nowhere\\x.LNK", TRUE));
    EXPECT_FALSE(Exists("C:\\WINDOWS\\Nowhere"));
    EXPECT_EQ(E_ACCESSDENIED, file->Save(u"C:\\WINDOWS\\Desktop", TRUE));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_NAME), file->Save(u"C:\\WINDOWS\\\u4e00.LNK", TRUE));
    EXPECT_EQ(S_OK, file->Save(u"C:\\WINDOWS\\x.LNK", TRUE));
    EXPECT_TRUE(Exists("C:\\WINDOWS\\x.LNK"));

    file->Release();
    link->Release();
    CoUninitialize();
    ExpectNothingLive();
}

}  // namespace
