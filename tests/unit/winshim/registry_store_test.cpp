// The registry file: seen afresh when changed by hand, safe when damaged or shared.
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "machine_fixture.h"
#include "registry_store.h"

namespace {

using winshim::RegistryDocument;
using winshim::RegistryStore;

class RegistryStoreTest : public MachineTest {
protected:
    std::filesystem::path File() const { return root_ / "registry.reg"; }
    std::string FileText() const
    {
        std::ifstream in(File(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static LONG AddKey(RegistryStore& store, const std::string& path)
    {
        return store.Update([&](RegistryDocument& doc, bool& changed) {
            doc.Add(path, std::nullopt);
            changed = true;
            return ERROR_SUCCESS;
        });
    }
    static bool HasKey(RegistryStore& store, const std::string& path)
    {
        return store.Read([&](const RegistryDocument& doc) { return doc.Exists(path) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND; }) ==
               ERROR_SUCCESS;
    }
};

TEST_F(RegistryStoreTest, SeesSectionsAppendedByHand)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    RegistryStore store = RegistryStore::InFile(File());
    EXPECT_FALSE(HasKey(store, "HKEY_USERS\\Added"));
    std::ofstream(File(), std::ios::binary | std::ios::app) << "[HKEY_USERS\\Added]\n";
    EXPECT_TRUE(HasKey(store, "HKEY_USERS\\Added"));
}

TEST_F(RegistryStoreTest, DamagedFileFailsEveryCallAndIsNeverWrittenOver)
{
    const std::string damaged = "REGEDIT4\r\n[HKEY_USERS\\x]\r\nnot a value\r\n";
    std::ofstream(File(), std::ios::binary) << damaged;
    RegistryStore store = RegistryStore::InFile(File());
    EXPECT_EQ(store.Read([](const RegistryDocument&) { return ERROR_SUCCESS; }), ERROR_BADDB);
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    EXPECT_EQ(FileText(), damaged);

    std::filesystem::remove(File());
    EXPECT_EQ(AddKey(store, "HKEY_USERS\\y"), ERROR_BADDB);
    EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(RegistryStoreTest, ChangesReplaceTheFileWholeAndLeaveNoTemporaryFile)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    RegistryStore store = RegistryStore::InFile(File());
    ASSERT_EQ(AddKey(store, "HKEY_USERS\\k"), ERROR_SUCCESS);
    EXPECT_EQ(FileText(), std::string(winshim::kDefaultRegistryText) + "[HKEY_USERS\\k]\r\n\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        EXPECT_EQ(entry.path().filename().string().find(".new"), std::string::npos) << entry.path();
    }
}

TEST_F(RegistryStoreTest, ProcessesWritingAtOnceLoseNothing)
{
    std::ofstream(File(), std::ios::binary) << winshim::kDefaultRegistryText;
    const int processes = 4;
    const int keysEach = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        pid_t child = ::fork();
        if (child == 0) {
            RegistryStore store = RegistryStore::InFile(File());
            int failures = 0;
            for (int k = 0; k < keysEach; ++k) {
                failures += AddKey(store, "HKEY_USERS\\p" + std::to_string(p) + "k" + std::to_string(k)) != ERROR_SUCCESS;
            }
            ::_exit(failures);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStore store = RegistryStore::InFile(File());
    int found = 0;
    for (int p = 0; p < processes; ++p) {
        for (int k = 0; k < keysEach; ++k) {
            found += HasKey(store, "HKEY_USERS\\p" + std::to_string(p) + "k" + std::to_string(k));
        }
    }
    EXPECT_EQ(found, processes * keysEach);
}

}  // namespace
