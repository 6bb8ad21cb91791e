#include "platform/system/Directories.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DirectoriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("directories-test-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override
    {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root);
    }
    fs::path root;
};

} // namespace

TEST_F(DirectoriesTest, WritableFolder)
{
    EXPECT_TRUE(plat::DirectoryWritable(root.string()));
    EXPECT_TRUE(plat::DirectoryWritable(root.string() + "/"));
}

TEST_F(DirectoriesTest, MissingFolderOrFileIsNotWritable)
{
    EXPECT_FALSE(plat::DirectoryWritable((root / "missing").string()));
    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(plat::DirectoryWritable((root / "file").string()));
    EXPECT_FALSE(plat::DirectoryWritable(""));
}

// The check is the system's own for the effective user: root passes it even on a folder
// without write permission, everybody else does not.
TEST_F(DirectoriesTest, ReadOnlyFolderFollowsTheEffectiveUser)
{
    fs::path ro = root / "ro";
    fs::create_directories(ro);
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(plat::DirectoryWritable(ro.string()), ::geteuid() == 0);
    fs::permissions(ro, fs::perms::owner_all);
}

TEST_F(DirectoriesTest, CreatesMissingParents)
{
    fs::path deep = root / "a" / "b" / "c";
    EXPECT_TRUE(plat::CreateDirectories(deep.string()));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(plat::CreateDirectories(deep.string() + "/"));   // exists: fine
    struct stat st {};
    ASSERT_EQ(::stat((root / "a").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);   // private to the user
}

TEST_F(DirectoriesTest, CannotCreateBelowAFile)
{
    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(plat::CreateDirectories((root / "file" / "sub").string()));
    EXPECT_FALSE(plat::CreateDirectories(""));
}
