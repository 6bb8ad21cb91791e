#include "app/SettingsFile.h"
#include "platform/system/Directories.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : FName(name)
    {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (FOld)
            setenv(FName.c_str(), FOld->c_str(), 1);
        else
            unsetenv(FName.c_str());
    }

private:
    std::string FName;
    std::optional<std::string> FOld;
};

bool Writable(const std::string&) { return true; }
bool ReadOnly(const std::string&) { return false; }

} // namespace

TEST(SettingsFileFor, BesideAWritableExecutable)
{
    EXPECT_EQ(SettingsFileFor("/home/ann/bin/metronome", Writable), "/home/ann/bin/metronome.ini");
    EXPECT_EQ(SettingsFileFor("/opt/tick/tick.bin", Writable), "/opt/tick/tick.ini");
    // The extension is looked for in the last component only.
    EXPECT_EQ(SettingsFileFor("/opt/my.app/metronome", Writable), "/opt/my.app/metronome.ini");
}

TEST(SettingsFileFor, AsksAboutTheExecutablesFolder)
{
    std::string asked;
    SettingsFileFor("/usr/local/bin/metronome", [&](const std::string& dir) {
        asked = dir;
        return true;
    });
    EXPECT_EQ(asked, "/usr/local/bin/");
}

TEST(SettingsFileFor, PerUserFileWhenTheFolderIsReadOnly)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", "/home/ann/.cfg");
    EXPECT_EQ(SettingsFileFor("/usr/bin/metronome", ReadOnly), "/home/ann/.cfg/metronome.ini");
    EXPECT_EQ(SettingsFileFor("/usr/bin/tick.bin", ReadOnly), "/home/ann/.cfg/tick.ini");
}

TEST(SettingsFileFor, PerUserFileDefaultsToDotConfig)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/bob");
    EXPECT_EQ(SettingsFileFor("/usr/bin/metronome", ReadOnly), "/home/bob/.config/metronome.ini");
    // A relative base folder is not a valid one and is ignored.
    ScopedEnv relative("XDG_CONFIG_HOME", "cfg");
    EXPECT_EQ(SettingsFileFor("/usr/bin/metronome", ReadOnly), "/home/bob/.config/metronome.ini");
}

TEST(SettingsFileFor, TrailingSlashesOfTheBaseFolderAreDropped)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", "/srv/conf//");
    EXPECT_EQ(SettingsFileFor("/usr/bin/metronome", ReadOnly), "/srv/conf/metronome.ini");
}

TEST(SettingsFileFor, BesideTheExecutableWhenNoUserFolderIsKnown)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(SettingsFileFor("/usr/bin/metronome", ReadOnly), "/usr/bin/metronome.ini");
}

// With the real folder check: a temporary folder takes the file, a folder that does not
// exist sends the program to the per-user file. (The tests may run as root, who may write
// into read-only folders, so a missing folder is the case that tells the two apart.)
TEST(SettingsFileFor, RealFolderCheck)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/metronome-user-config");
    std::string dir = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(SettingsFileFor(dir + "/metronome", plat::DirectoryWritable), dir + "/metronome.ini");
    EXPECT_EQ(SettingsFileFor("/nonexistent-folder-7f3a/metronome", plat::DirectoryWritable),
        "/tmp/metronome-user-config/metronome.ini");
}

// A program in a folder it cannot write reads the file beside it until the per-user file
// exists; it always writes the per-user file.
TEST(SettingsSourceFor, TheFileBesideAReadOnlyProgramIsReadUntilThePerUserFileExists)
{
    ScopedEnv xdg("XDG_CONFIG_HOME", "/home/ann/.cfg");
    const std::string exe = "/media/stick/metronome", beside = "/media/stick/metronome.ini",
                      user = "/home/ann/.cfg/metronome.ini";
    auto only = [](std::initializer_list<std::string> files) {
        std::vector<std::string> v(files);
        return [v](const std::string& f) { return std::find(v.begin(), v.end(), f) != v.end(); };
    };
    EXPECT_EQ(SettingsFileFor(exe, ReadOnly), user);
    EXPECT_EQ(SettingsSourceFor(exe, ReadOnly, only({ beside })), beside);
    EXPECT_EQ(SettingsSourceFor(exe, ReadOnly, only({ beside, user })), user);
    EXPECT_EQ(SettingsSourceFor(exe, ReadOnly, only({ user })), user);
    EXPECT_EQ(SettingsSourceFor(exe, ReadOnly, only({})), user);
    // A writable folder reads and writes beside the program, whatever else exists.
    EXPECT_EQ(SettingsSourceFor(exe, Writable, only({ beside, user })), beside);
    EXPECT_EQ(SettingsSourceFor(exe, Writable, only({ user })), beside);
}
