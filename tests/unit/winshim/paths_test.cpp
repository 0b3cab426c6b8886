// Windows paths on the stand-in machine's drive C:.
#include "machine_fixture.h"
#include "paths.h"

namespace {

struct PathCase {
    const char* windowsPath;
    DWORD error;
    const char* host;  // below drive_c, when error is ERROR_SUCCESS
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << '"' << c.windowsPath << '"';
}

class PathsTest : public MachineTest, public ::testing::WithParamInterface<PathCase> {
protected:
    void SetUp() override
    {
        MachineTest::SetUp();
        MakeFile("C:\\WINDOWS\\Notes.txt");
        std::filesystem::create_directory_symlink("Loop", root_ / "drive_c" / "Loop");  // leads to itself
        winshim::SetCurrentDirectory("C:\\WINDOWS");
    }
};

TEST_P(PathsTest, MapsOrRefusesAsWindowsDoes)
{
    winshim::ResolvedPath resolved = winshim::ResolveWindowsPath(GetParam().windowsPath);
    EXPECT_EQ(resolved.error, GetParam().error);
    if (GetParam().error == ERROR_SUCCESS) {
        EXPECT_EQ(resolved.host, root_ / "drive_c" / GetParam().host);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathsTest,
    ::testing::Values(PathCase{"C:\\WINDOWS\\Notes.txt", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"c:\\windows\\NOTES.TXT", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"C:/Windows/notes.txt", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"C:\\WINDOWS\\Notes.txt  ", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"C:\\WINDOWS\\Notes.txt.", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"C:\\WINDOWS\\SYSTEM\\..\\.\\Notes.txt", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"Notes.txt", ERROR_SUCCESS, "WINDOWS/Notes.txt"},
                      PathCase{"\\WINDOWS\\new.txt", ERROR_SUCCESS, "WINDOWS/new.txt"},
                      PathCase{"C:\\WINDOWS\\caf\xe9.txt", ERROR_SUCCESS, "WINDOWS/caf\xc3\xa9.txt"},
                      PathCase{"C:\\NOWHERE\\x.txt", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"C:\\WINDOWS\\Notes.txt\\x", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"C:\\Loop\\x.txt", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"C:\\LOOP\\x.txt", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"D:\\x.txt", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"", ERROR_PATH_NOT_FOUND, ""},
                      PathCase{"\\\\server\\share\\x", ERROR_BAD_NETPATH, ""},
                      PathCase{"\"C:\\WINDOWS\\Notes.txt\"", ERROR_INVALID_NAME, ""},
                      PathCase{"C:\\WINDOWS\\*.txt", ERROR_INVALID_NAME, ""},
                      PathCase{"C:\\WINDOWS\\N?tes.txt", ERROR_INVALID_NAME, ""},
                      PathCase{"C:\\WINDOWS\\a|b", ERROR_INVALID_NAME, ""}));

}  // namespace

namespace {

TEST_F(PathsTest, SecondBytesOfDoubleByteNamesAreNeitherSeparatorsNorForbidden)
{
    winshim::SetCodePage(932);
    // 0x83 0x5C and 0x83 0x7C are single characters whose second bytes are '\' and '|'
    winshim::ResolvedPath resolved = winshim::ResolveWindowsPath("C:\\WINDOWS\\\x83\x5C\x83\x7C.txt");
    EXPECT_EQ(resolved.error, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(resolved.host, root_ / "drive_c" / "WINDOWS" / "\xe3\x82\xbd\xe3\x83\x9d.txt");
}

}  // namespace
