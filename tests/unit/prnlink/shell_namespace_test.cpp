// The stand-in's shell namespace as prnlink meets it: the Printers folder's list, the binding,
// the enumeration of the machine's printers and their display names.
#include <cstring>
#include <fstream>

#include <shlobj.h>

#include "machine_fixture.h"

namespace {

class ShellNamespaceTest : public MachineTest {
protected:
    void SetUp() override
    {
        MachineTest::SetUp();
        ASSERT_EQ(SHGetMalloc(&malloc_), S_OK);
    }
    void TearDown() override
    {
        if (printers_) {
            printers_->Release();
        }
        malloc_->Release();
        ExpectNothingLive();
        MachineTest::TearDown();
    }

    void BindPrinters()
    {
        LPITEMIDLIST list = nullptr;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &list), S_OK);
        IShellFolder* desktop = nullptr;
        ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
        EXPECT_EQ(desktop->BindToObject(list, nullptr, IID_IShellFolder, (void**)&printers_), S_OK);
        desktop->Release();
        malloc_->Free(list);
    }

    // The names of one enumeration, each item freed.
    std::vector<std::string> Enumerate(SHCONTF flags = SHCONTF_NONFOLDERS)
    {
        std::vector<std::string> names;
        IEnumIDList* enumerator = nullptr;
        EXPECT_EQ(printers_->EnumObjects(nullptr, flags, &enumerator), S_OK);
        PITEMID_CHILD items[2];
        ULONG fetched = 0;
        HRESULT result;
        do {
            result = enumerator->Next(2, items, &fetched);
            for (ULONG i = 0; i < fetched; ++i) {
                STRRET name;
                EXPECT_EQ(printers_->GetDisplayNameOf(items[i], SHGDN_NORMAL, &name), S_OK);
                EXPECT_EQ(name.uType, UINT(STRRET_OFFSET));
                names.push_back(reinterpret_cast<const char*>(items[i]) + name.uOffset);
                malloc_->Free(items[i]);
            }
        } while (result == S_OK);
        EXPECT_EQ(result, S_FALSE);
        enumerator->Release();
        return names;
    }

    IMalloc* malloc_ = nullptr;
    IShellFolder* printers_ = nullptr;
};

TEST_F(ShellNamespaceTest, PrintersFolderListIsMyComputerThenPrinters)
{
    const BYTE expected[42] = {
        0x14, 0x00, 0x1F, 0x00, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8,
        0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D, 0x14, 0x00, 0x70, 0x00, 0x80, 0xA2, 0x27, 0x22,
        0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xDE, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D, 0x00, 0x00};
    LPITEMIDLIST list = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PRINTERS, &list), S_OK);
    EXPECT_EQ(std::memcmp(list, expected, sizeof(expected)), 0);
    malloc_->Free(list);

    IShellFolder* desktop = nullptr;
    ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    IShellFolder* folder = reinterpret_cast<IShellFolder*>(1);
    EXPECT_EQ(desktop->BindToObject(reinterpret_cast<PCUIDLIST_RELATIVE>(expected), nullptr, IID_IShellFolder,
                                    (void**)&folder), S_OK);
    folder->Release();
    // Only the Printers folder can be bound: My Computer alone is refused.
    BYTE myComputer[22];
    std::memcpy(myComputer, expected, 20);
    myComputer[20] = myComputer[21] = 0;
    folder = reinterpret_cast<IShellFolder*>(1);
    EXPECT_EQ(desktop->BindToObject(reinterpret_cast<PCUIDLIST_RELATIVE>(myComputer), nullptr, IID_IShellFolder,
                                    (void**)&folder), E_INVALIDARG);
    EXPECT_EQ(folder, nullptr);
    desktop->Release();
}

TEST_F(ShellNamespaceTest, EveryEnumerationReadsThePrintersAfresh)
{
    malloc_->Release();
    OpenFreshMachine(/*registryInMemory=*/false);
    ASSERT_EQ(SHGetMalloc(&malloc_), S_OK);
    winshim::SetDisplayNameForm(STRRET_OFFSET);
    AddPrinter("Office Laser");
    AddPrinter("Office Laser\\PrinterDriverData");
    AddPrinter("Canon on LPT2:");
    BindPrinters();
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"Office Laser", "Canon on LPT2:"}));
    EXPECT_EQ(Enumerate(SHCONTF_FOLDERS), std::vector<std::string>{}) << "printers are not folders";

    // Appended to registry.reg by hand, as another process would.
    std::ofstream(root_ / "registry.reg", std::ios::binary | std::ios::app)
        << "[" << winshim::kPrintersKeyPath << "\\HP LaserJet 4 on LPT1:]\r\n\r\n";
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"Office Laser", "Canon on LPT2:", "HP LaserJet 4 on LPT1:"}));
}

TEST_F(ShellNamespaceTest, DisplayNameInEachForm)
{
    std::string longName(300, 'n');
    AddPrinter(longName);
    BindPrinters();
    IEnumIDList* enumerator = nullptr;
    ASSERT_EQ(printers_->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &enumerator), S_OK);
    PITEMID_CHILD item = nullptr;
    ASSERT_EQ(enumerator->Next(1, &item, nullptr), S_OK);
    enumerator->Release();

    STRRET name;
    winshim::SetDisplayNameForm(STRRET_WSTR);
    ASSERT_EQ(printers_->GetDisplayNameOf(item, SHGDN_NORMAL, &name), S_OK);
    ASSERT_EQ(name.uType, UINT(STRRET_WSTR));
    EXPECT_EQ(std::u16string(name.pOleStr), std::u16string(300, u'n'));
    malloc_->Free(name.pOleStr);

    winshim::SetDisplayNameForm(STRRET_CSTR);
    ASSERT_EQ(printers_->GetDisplayNameOf(item, SHGDN_NORMAL, &name), S_OK);
    ASSERT_EQ(name.uType, UINT(STRRET_CSTR));
    EXPECT_EQ(std::string(name.cStr), std::string(259, 'n')) << "cut to the record";

    winshim::SetDisplayNameForm(STRRET_OFFSET);
    ASSERT_EQ(printers_->GetDisplayNameOf(item, SHGDN_NORMAL, &name), S_OK);
    ASSERT_EQ(name.uType, UINT(STRRET_OFFSET));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(item) + name.uOffset), longName);

    const BYTE foreign[] = {0x06, 0x00, 'X', 0x00, 'a', 0x00, 0x00, 0x00};
    EXPECT_EQ(printers_->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(foreign), SHGDN_NORMAL, &name),
              E_INVALIDARG);
    malloc_->Free(item);
}

}  // namespace
