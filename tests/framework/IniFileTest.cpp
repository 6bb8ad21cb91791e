#include "framework/core/IniFile.h"
#include "framework/core/SysUtils.h"
#include "platform/system/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <csignal>
#include <sys/resource.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = std::filesystem::temp_directory_path()
            / ("ini-test-" + std::to_string(std::random_device {}()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(FDir);
        std::filesystem::create_directories(FDir);
        FName = (FDir / "Tick.ini").string();
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::permissions(FDir, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(FDir, ec);
    }
    void Put(const std::string& text) const
    {
        std::ofstream(FName, std::ios::binary) << text;
    }
    std::string Get() const
    {
        std::ifstream in(FName, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    size_t FilesInDir() const
    {
        size_t n = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(FDir))
            ++n;
        return n;
    }
    std::filesystem::path FDir;
    std::string FName;
};

TEST_F(IniFileTest, AFreshFileGetsSectionsAndKeysInTheOrderWritten)
{
    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadInteger("Form.Position", "top", 113), 113);
    ini.WriteInteger("Form.Position", "top", 113);
    ini.WriteInteger("Form.Position", "left", 360);
    ini.WriteInteger("Config", "Tempo", 120);
    ini.WriteBool("Config", "Beep", false);
    EXPECT_EQ(Get(), "[Form.Position]\ntop=113\nleft=360\n[Config]\nTempo=120\nBeep=0\n");
    EXPECT_EQ(ini.FileName(), FName);
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanksAndCarriageReturnsAreIgnored)
{
    Put("[config]\r\n  TEMPO  =  96  \r\nbeep=-1\r\n");
    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadInteger("Config", "Tempo", 120), 96);
    EXPECT_TRUE(ini.ReadBool("CONFIG", "Beep", false));
    EXPECT_EQ(ini.ReadString(" Config ", " tempo ", "x"), "96");
    EXPECT_TRUE(ini.ValueExists("CONFIG", "beep"));
    EXPECT_FALSE(ini.ValueExists("Config", "Volume"));
    EXPECT_TRUE(ini.SectionExists("config"));
    EXPECT_FALSE(ini.SectionExists("Other"));
}

TEST_F(IniFileTest, IntegerTextRules)
{
    Put("[C]\na=0x60\nb=$60\nc=fast\nd=\ne=500\nf=-500\ng=2147483648\nh=-2147483648\n"
        "i=0x\nj=12abc\nk=$7FFFFFFF\nl=$80000000\nm=0X1f\n");
    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadInteger("C", "a", 120), 96);
    EXPECT_EQ(ini.ReadInteger("C", "b", 120), 96);
    EXPECT_EQ(ini.ReadInteger("C", "c", 120), 120);
    EXPECT_EQ(ini.ReadInteger("C", "d", 120), 120);
    EXPECT_EQ(ini.ReadInteger("C", "e", 120), 500);
    EXPECT_EQ(ini.ReadInteger("C", "f", 0), -500);
    EXPECT_EQ(ini.ReadInteger("C", "g", 7), 7);
    EXPECT_EQ(ini.ReadInteger("C", "h", 7), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("C", "i", 7), 7);
    EXPECT_EQ(ini.ReadInteger("C", "j", 7), 7);
    EXPECT_EQ(ini.ReadInteger("C", "k", 7), INT32_MAX);
    EXPECT_EQ(ini.ReadInteger("C", "l", 7), 7);
    EXPECT_EQ(ini.ReadInteger("C", "m", 7), 31);
    EXPECT_EQ(ini.ReadInteger("Missing", "a", 5), 5);
}

TEST_F(IniFileTest, ValuesAreReplacedInPlaceAndEverythingElseIsKept)
{
    const std::string before = "; settings\r\n"
                               "stray line before sections\r\n"
                               "[Form.Position]\r\n"
                               "top = 10 ; odd\r\n"
                               "left=20\r\n"
                               "\r\n"
                               "; comment at the end of the section\r\n"
                               "[Unknown]\r\n"
                               "x=y\r\n"
                               "[Config]\r\n"
                               "Tempo=120";
    Put(before);
    TIniFile ini(FName);
    ini.WriteInteger("form.position", "TOP", -500);
    ini.WriteInteger("Form.Position", "width", 412);   // after the last key line
    ini.WriteInteger("Config", "Beep", 1);             // file had no final newline
    ini.WriteString("New", "k", "v");
    EXPECT_EQ(Get(),
        "; settings\r\n"
        "stray line before sections\r\n"
        "[Form.Position]\r\n"
        "top = -500\r\n"
        "left=20\r\n"
        "width=412\r\n"
        "\r\n"
        "; comment at the end of the section\r\n"
        "[Unknown]\r\n"
        "x=y\r\n"
        "[Config]\r\n"
        "Tempo=120\n"
        "Beep=1\r\n"
        "[New]\r\n"
        "k=v\r\n");
    EXPECT_EQ(ini.ReadInteger("Form.Position", "top", 0), -500);
}

TEST_F(IniFileTest, EveryCallGoesToTheFile)
{
    TIniFile a(FName), b(FName);
    a.WriteInteger("C", "Tempo", 100);
    EXPECT_EQ(b.ReadInteger("C", "Tempo", 0), 100);
    Put("[C]\nTempo=77\n");
    EXPECT_EQ(a.ReadInteger("C", "Tempo", 0), 77);
}

TEST_F(IniFileTest, LongValuesAreCutAt2048AndLongLinesSurviveWrites)
{
    std::string big(100000, 'a');
    Put("[S]\nbig=" + big + "\nk=1\n");
    TIniFile ini(FName);
    EXPECT_EQ(ini.ReadString("S", "big", ""), std::string(2048, 'a'));
    ini.WriteInteger("S", "k", 2);
    EXPECT_EQ(Get(), "[S]\nbig=" + big + "\nk=2\n");
}

// Makes every file write of this process fail: a read-only directory for ordinary users;
// for root, which may write there anyway, a file-size limit smaller than the new content.
class WriteFailure {
public:
    explicit WriteFailure(const std::filesystem::path& dir)
        : FDir(dir)
    {
        namespace fs = std::filesystem;
        fs::permissions(FDir, fs::perms::owner_read | fs::perms::owner_exec);
        std::string probe = (FDir / "probe").string();
        if (!std::ofstream(probe))
            return;
        std::filesystem::remove(probe);
        FLimited = true;
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FOldLimit);
        rlimit small = FOldLimit;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~WriteFailure()
    {
        if (FLimited) {
            setrlimit(RLIMIT_FSIZE, &FOldLimit);
            std::signal(SIGXFSZ, FOldHandler);
        }
        std::filesystem::permissions(FDir, std::filesystem::perms::owner_all);
    }

private:
    std::filesystem::path FDir;
    bool FLimited = false;
    rlimit FOldLimit {};
    void (*FOldHandler)(int) = SIG_DFL;
};

// Deleting removes the key's lines of that section only, matched without case, and keeps
// every other byte; with nothing to delete the file is not touched, nor created.
TEST_F(IniFileTest, DeleteKeyRemovesOnlyThatKeyAndWritesNothingOtherwise)
{
    TIniFile ini(FName);
    ini.DeleteKey("Config", "Meter");
    EXPECT_FALSE(std::filesystem::exists(FName));

    const std::string text = "; kept\r\n[Config]\r\nTempo=96\r\n meter = 4\r\nBeep=1\r\nMETER=7\r\n"
                             "[Other]\r\nMeter=3\r\n";
    Put(text);
    auto before = std::filesystem::last_write_time(FName);
    ini.DeleteKey("Config", "Tempo2");
    ini.DeleteKey("Nowhere", "Meter");
    EXPECT_EQ(Get(), text);
    EXPECT_EQ(std::filesystem::last_write_time(FName), before);

    ini.DeleteKey("config", "Meter");
    EXPECT_EQ(Get(), "; kept\r\n[Config]\r\nTempo=96\r\nBeep=1\r\n[Other]\r\nMeter=3\r\n");
    EXPECT_FALSE(ini.ValueExists("Config", "Meter"));
    EXPECT_EQ(ini.ReadInteger("Other", "Meter", 0), 3);
    // A last line without a line break keeps lacking one.
    Put("[Config]\nMeter=4\nTempo=90");
    ini.DeleteKey("Config", "Meter");
    EXPECT_EQ(Get(), "[Config]\nTempo=90");
}

TEST_F(IniFileTest, AFailedWriteRaisesAndLeavesTheFileAsItWas)
{
    Put("[C]\nTempo=120\n");
    {
        WriteFailure failing(FDir);
        TIniFile ini(FName);
        try {
            ini.WriteString("C", "Tempo", "a value long enough to pass the file-size limit");
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Impossible d'écrire dans " + FName);
        }
    }
    EXPECT_EQ(Get(), "[C]\nTempo=120\n");
    EXPECT_EQ(FilesInDir(), 1u);   // no temporary file left behind
}

TEST_F(IniFileTest, AWriteIntoAMissingDirectoryRaises)
{
    std::string name = (FDir / "missing" / "x.ini").string();
    TIniFile ini(name);
    try {
        ini.WriteInteger("C", "Tempo", 1);
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Impossible d'écrire dans " + name);
    }
    EXPECT_EQ(ini.ReadInteger("C", "Tempo", 9), 9);
}

TEST_F(IniFileTest, AFailedReplaceRemovesTheTemporaryFile)
{
    // The name is taken by a directory: the new content is written, but cannot replace it.
    std::filesystem::create_directories(FDir / "Tick.ini" / "inside");
    TIniFile ini(FName);
    EXPECT_THROW(ini.WriteInteger("C", "Tempo", 96), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(FDir / "Tick.ini" / "inside"));
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(IniFileTest, ValuesThatWouldBreakTheLineStructureAreRefused)
{
    Put("[C]\nTempo=120\n");
    TIniFile ini(FName);
    EXPECT_THROW(ini.WriteString("C", "Tempo", "1\n[Evil]\nx=1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("C", "a=b", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("C]", "a", "1"), EIniFileException);
    EXPECT_THROW(ini.WriteString("", "a", "1"), EIniFileException);
    EXPECT_EQ(Get(), "[C]\nTempo=120\n");
}

TEST(FilesTest, WriteFileAtomicReplacesContentAndKeepsTheMode)
{
    auto dir = std::filesystem::temp_directory_path() / "files-atomic-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string path = (dir / "f.txt").string();
    std::string err;
    ASSERT_TRUE(plat::WriteFileAtomic(path, "one", &err)) << err;
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(plat::WriteFileAtomic(path, std::string("t\0o", 3), &err)) << err;
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    EXPECT_EQ(std::filesystem::status(path).permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // A link is followed: the file it names is replaced, the link stays.
    std::string link = (dir / "link.txt").string();
    std::filesystem::create_symlink(path, link);
    ASSERT_TRUE(plat::WriteFileAtomic(link, "via link", &err)) << err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::file_size(path), 8u);
    EXPECT_FALSE(plat::WriteFileAtomic((dir / "no" / "f").string(), "x", &err));
    EXPECT_FALSE(err.empty());
    std::filesystem::remove_all(dir);
}

} // namespace
