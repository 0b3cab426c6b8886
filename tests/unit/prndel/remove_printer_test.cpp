// prndel: open the printer by its name, delete it, close the handle; exit code 1 always.
#include "machine_fixture.h"
#include "remove_printer.h"

namespace {

class RemovePrinterTest : public MachineTest {
protected:
    void SetUp() override
    {
        MachineTest::SetUp();
        AddPrinter("Office Laser");
        AddPrinter("Office Laser\\PrinterDriverData");
        AddPrinter("Other");
        winshim::ClearCallLog();
    }
    int Run(const char* tail) { return WinMain(nullptr, nullptr, const_cast<LPSTR>(tail), SW_SHOWDEFAULT); }
};

struct NameCase {
    const char* name;
    const char* tail;
    bool deleted;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.name;
}

class RemovePrinterNameTest : public RemovePrinterTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(RemovePrinterNameTest, DeletesOnlyThePrinterNamed)
{
    EXPECT_EQ(Run(GetParam().tail), 1);
    EXPECT_EQ(!HasPrinter("Office Laser"), GetParam().deleted);
    EXPECT_FALSE(HasPrinter("Office Laser\\PrinterDriverData") && GetParam().deleted);
    EXPECT_TRUE(HasPrinter("Other"));
    std::vector<std::string> expected = {"OpenPrinterA"};
    if (GetParam().deleted) {
        expected = {"OpenPrinterA", "DeletePrinter", "ClosePrinter"};
    }
    EXPECT_EQ(winshim::CallNames(), expected);
    EXPECT_EQ(winshim::CallLog()[0].detail, GetParam().tail);
    ExpectNothingLive();
}

INSTANTIATE_TEST_SUITE_P(Tails, RemovePrinterNameTest,
                         ::testing::Values(NameCase{"Exact", "Office Laser", true},
                                           NameCase{"OtherCase", "OFFICE laser", true},
                                           NameCase{"Quoted", "\"Office Laser\"", false},
                                           NameCase{"TrailingBlank", "Office Laser ", false},
                                           NameCase{"Part", "Office", false},
                                           NameCase{"Empty", "", false},
                                           NameCase{"Missing", "No Such Printer", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemovePrinterTest, RefusedDeletionStillClosesTheHandle)
{
    winshim::FailCall("DeletePrinter", 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(Run("Office Laser"), 1);
    EXPECT_TRUE(HasPrinter("Office Laser"));
    EXPECT_EQ(winshim::CallNames(), (std::vector<std::string>{"OpenPrinterA", "DeletePrinter", "ClosePrinter"}));
    ExpectNothingLive();
}

TEST_F(RemovePrinterTest, FailedCloseIsIgnored)
{
    winshim::FailCall("ClosePrinter", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ(Run("Office Laser"), 1);
    EXPECT_FALSE(HasPrinter("Office Laser"));
    ExpectNothingLive();  // a close that reports a failure has still closed the handle
}

TEST_F(RemovePrinterTest, PrinterAlreadyGone)
{
    EXPECT_EQ(Run("Office Laser"), 1);
    winshim::ClearCallLog();
    EXPECT_EQ(Run("Office Laser"), 1);
    EXPECT_EQ(winshim::CallNames(), std::vector<std::string>{"OpenPrinterA"});
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
}

TEST_F(RemovePrinterTest, UnreadableRegistryDeletesNothing)
{
    const std::string damaged = winshim::RegistryText() + "this is no registry line\r\n";
    winshim::SetRegistryText(damaged);
    EXPECT_EQ(Run("Office Laser"), 1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BADDB));
    EXPECT_EQ(winshim::RegistryText(), damaged);
}

}  // namespace
