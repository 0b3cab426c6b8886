// filedel: one DeleteFileA on the tail as it stands, exit code 1 whatever happens.
#include <sys/stat.h>

#include "machine_fixture.h"
#include "remove_file.h"

namespace {

struct RemoveCase {
    const char* name;
    const char* tail;
    bool deleted;   // C:\DATA\report.txt
    DWORD error;    // last error left by DeleteFileA
};

void PrintTo(const RemoveCase& c, std::ostream* os)
{
    *os << c.name;
}

class RemoveFileTest : public MachineTest, public ::testing::WithParamInterface<RemoveCase> {
protected:
    void SetUp() override
    {
        MachineTest::SetUp();
        MakeFile("C:\\DATA\\report.txt");
        MakeFile("C:\\DATA\\locked.txt");
        ::chmod(winshim::HostPathOf("C:\\DATA\\locked.txt").c_str(), 0444);
        MakeFile("C:\\DATA\\folder\\inner.txt");
        winshim::SetCurrentDirectory("C:\\DATA");
        winshim::ClearCallLog();
    }
};

TEST_P(RemoveFileTest, DeletesOnlyWhatTheTailNames)
{
    EXPECT_EQ(WinMain(nullptr, nullptr, const_cast<LPSTR>(GetParam().tail), SW_SHOWDEFAULT), 1);
    EXPECT_EQ(!Exists("C:\\DATA\\report.txt"), GetParam().deleted);
    EXPECT_EQ(GetLastError(), GetParam().deleted ? 0 : GetParam().error);
    EXPECT_TRUE(Exists("C:\\DATA\\locked.txt"));
    EXPECT_TRUE(Exists("C:\\DATA\\folder\\inner.txt"));
    ASSERT_EQ(winshim::CallLog().size(), 1u);
    EXPECT_EQ(winshim::CallLog()[0].name, "DeleteFileA");
    EXPECT_EQ(winshim::CallLog()[0].detail, GetParam().tail);  // handed over unchanged
}

INSTANTIATE_TEST_SUITE_P(
    Tails, RemoveFileTest,
    ::testing::Values(RemoveCase{"Absolute", "C:\\DATA\\report.txt", true, 0},
                      RemoveCase{"OtherCase", "c:\\data\\REPORT.TXT", true, 0},
                      RemoveCase{"Relative", "report.txt", true, 0},
                      RemoveCase{"TrailingBlanks", "C:\\DATA\\report.txt  ", true, 0},  // Win32 drops them
                      RemoveCase{"Quoted", "\"C:\\DATA\\report.txt\"", false, ERROR_INVALID_NAME},
                      RemoveCase{"Wildcard", "C:\\DATA\\*.txt", false, ERROR_INVALID_NAME},
                      RemoveCase{"Empty", "", false, ERROR_PATH_NOT_FOUND},
                      RemoveCase{"Missing", "C:\\DATA\\other.txt", false, ERROR_FILE_NOT_FOUND},
                      RemoveCase{"MissingFolder", "C:\\NONE\\report.txt", false, ERROR_PATH_NOT_FOUND},
                      RemoveCase{"ReadOnly", "C:\\DATA\\locked.txt", false, ERROR_ACCESS_DENIED},
                      RemoveCase{"Directory", "C:\\DATA\\folder", false, ERROR_ACCESS_DENIED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemoveFileTest, SecondRunDeletesNothing)
{
    EXPECT_EQ(RemoveFile("C:\\DATA\\report.txt"), 1);
    EXPECT_FALSE(Exists("C:\\DATA\\report.txt"));
    EXPECT_EQ(RemoveFile("C:\\DATA\\report.txt"), 1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

}  // namespace
