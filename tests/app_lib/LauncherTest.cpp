#include "app/Registry.h"
#include "app/USdkUrlLauncher.h"

#include "LauncherTestSupport.h"

#include <cstdio>
#include <set>

using namespace launchertest;

namespace {

const std::string Page = "http://kelvo-music.example.com/music/index.htm";

struct Outcome {
    int calls = 0;
    bool succeeded = false;
    int launchCode = -1;
    std::string commandLine;
    TProcessInformation info;
    bool sawDone = false;   // the "done" file existed when the callback ran
};

} // namespace

class LauncherTest : public LauncherFixture {
protected:
    void SetUp() override
    {
        LauncherFixture::SetUp();
        log = root / "log.txt";
    }
    void TearDown() override
    {
        EXPECT_TRUE(USdkUrlLauncher::WaitForAll(20000));
        SetBrowserRegistry(nullptr);
        LauncherFixture::TearDown();
    }

    // The registry's only command: the HTML file type's.
    void UseCommand(const std::string& command)
    {
        auto reg = std::make_shared<TMemoryRegistry>();
        reg->SetDefault(".htm", "htmlfile");
        reg->SetDefault("htmlfile\\shell\\open\\command", command);
        SetBrowserRegistry(reg);
    }
    // Runs one launcher to its end; the callback records what it saw.
    Outcome Run(int16_t mode, const std::string& url)
    {
        Outcome o;
        fs::path done = root / "done";
        TLaunchEvent record = [&o, done](USdkUrlLauncher* l) {
            ++o.calls;
            o.succeeded = l->Succeeded;
            o.launchCode = l->LaunchCode;
            o.commandLine = l->CommandLine;
            o.info = l->ProcessInfo;
            o.sawDone = fs::exists(done);
        };
        new USdkUrlLauncher(nullptr, mode, url, record, record);
        EXPECT_TRUE(USdkUrlLauncher::WaitForAll(20000));
        return o;
    }
    std::vector<std::string> LogLines() { return Lines(ReadText(log)); }
    bool LogHas(size_t n)
    {
        return Eventually([&] { return LogLines().size() >= n; });
    }

    fs::path log;
};

TEST_F(LauncherTest, ShellModeOpensTheAddressWithTheDefaultHandler)
{
    LoggingStub("xdg-open", log);
    Outcome o = Run(2, Page);
    EXPECT_EQ(o.calls, 1);
    EXPECT_TRUE(o.succeeded);
    EXPECT_EQ(o.launchCode, 33);
    EXPECT_EQ(LogLines(), std::vector<std::string> { "<" + Page + ">" });
}

TEST_F(LauncherTest, ShellModeFailsWhenTheHandlerFailsOrIsMissing)
{
    LoggingStub("xdg-open", log, "exit 4");
    Outcome o = Run(2, Page);
    EXPECT_EQ(o.calls, 1);
    EXPECT_FALSE(o.succeeded);
    EXPECT_EQ(o.launchCode, 2);
    EXPECT_EQ(LogLines().size(), 1u);

    fs::remove(bin / "xdg-open");
    o = Run(2, Page);
    EXPECT_FALSE(o.succeeded);
    EXPECT_EQ(o.launchCode, 2);
}

TEST_F(LauncherTest, AnAddressThatLooksLikeAnOptionIsNotHandedOn)
{
    LoggingStub("xdg-open", log);
    Outcome o = Run(2, "--help");
    EXPECT_FALSE(o.succeeded);
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(LauncherTest, BrowserModeStartsTheExecutableWithTheBuiltArguments)
{
    fs::path browser = LoggingStub("browser", log);
    UseCommand("\"" + browser.string() + "\" -nohome");
    Outcome o = Run(1, Page);
    EXPECT_TRUE(o.succeeded);
    EXPECT_EQ(o.launchCode, 33);
    ASSERT_TRUE(LogHas(1));
    EXPECT_EQ(LogLines()[0], "<-nohome><" + Page + ">");

    // An address with blanks and quotes is still one argument.
    UseCommand("\"" + browser.string() + "\" --new-window \"%1\"");
    const std::string odd = "http://h/a b\" \"c";
    EXPECT_TRUE(Run(1, odd).succeeded);
    ASSERT_TRUE(LogHas(2));
    EXPECT_EQ(LogLines()[1], "<--new-window><" + odd + ">");
}

TEST_F(LauncherTest, WaitModeWaitsForTheProgramAndReapsIt)
{
    fs::path browser = LoggingStub("browser", log, "sleep 0.3\n: > '" + (root / "done").string() + "'");
    UseCommand("\"" + browser.string() + "\" \"%1\"");
    Outcome o = Run(3, Page);
    EXPECT_TRUE(o.succeeded);
    EXPECT_TRUE(o.sawDone);
    EXPECT_GT(o.info.dwProcessId, 0);
    EXPECT_EQ(o.info.hProcess, o.info.dwProcessId);
    EXPECT_EQ(ChildStates().count(o.info.dwProcessId), 0u);
    EXPECT_EQ(o.commandLine, browser.string() + " \"" + Page + "\"");
    EXPECT_EQ(LogLines(), std::vector<std::string> { "<" + Page + ">" });
}

TEST_F(LauncherTest, OtherModesStartTheCommandDetached)
{
    fs::path browser = LoggingStub("browser", log);
    UseCommand("\"" + browser.string() + "\" -nohome");
    size_t runs = 0;
    for (int16_t mode : { 0, 4, 7, -1 }) {
        Outcome o = Run(mode, Page);
        EXPECT_TRUE(o.succeeded) << mode;
        EXPECT_EQ(o.launchCode, 0) << mode;
        EXPECT_EQ(o.commandLine, browser.string() + " -nohome \"" + Page + "\"") << mode;
        ASSERT_TRUE(LogHas(++runs)) << mode;
        EXPECT_EQ(LogLines().back(), "<-nohome><" + Page + ">");
    }
}

TEST_F(LauncherTest, TheCommandLineIsCutTo1024Characters)
{
    fs::path browser = LoggingStub("browser", log);
    UseCommand("\"" + browser.string() + "\" %1");
    const std::string longUrl = "http://h/" + std::string(1100, 'q');
    Outcome o = Run(0, longUrl);
    EXPECT_TRUE(o.succeeded);
    EXPECT_EQ(o.commandLine.size(), 1024u);
    EXPECT_EQ(o.commandLine, (browser.string() + " " + longUrl).substr(0, 1024));
    // The program itself gets the whole address.
    ASSERT_TRUE(LogHas(1));
    EXPECT_EQ(LogLines()[0], "<" + longUrl + ">");
}

TEST_F(LauncherTest, WithoutACommandNoModeLaunchesAnything)
{
    // Neither the address nor anything else may be run as a program.
    LoggingStub("page-stub", log);
    SetBrowserRegistry(std::make_shared<TMemoryRegistry>());
    for (int16_t mode : { 1, 3, 0, 9 }) {
        Outcome o = Run(mode, "page-stub");
        EXPECT_EQ(o.calls, 1) << mode;
        EXPECT_FALSE(o.succeeded) << mode;
        EXPECT_EQ(o.launchCode, 0) << mode;
        EXPECT_EQ(o.info.dwProcessId, 0) << mode;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(LauncherTest, AMissingExecutableFailsEveryMode)
{
    UseCommand("\"" + (bin / "missing").string() + "\" %1");
    Outcome o = Run(1, Page);
    EXPECT_FALSE(o.succeeded);
    EXPECT_EQ(o.launchCode, 2);
    EXPECT_FALSE(Run(3, Page).succeeded);
    EXPECT_FALSE(Run(0, Page).succeeded);
}

TEST_F(LauncherTest, CallbacksAreSkippedOnceShutdownHasBegun)
{
    LoggingStub("xdg-open", log);
    SetSynchronizeShutdown(true);
    Outcome o = Run(2, Page);
    SetSynchronizeShutdown(false);
    EXPECT_EQ(o.calls, 0);
    // The launch itself still happened, and the launcher is gone.
    EXPECT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(USdkUrlLauncher::LiveCount(), 0);
}

TEST_F(LauncherTest, ALogoClickStartsOneOpenOfThePageAndReturnsAtOnce)
{
    const fs::path gate = root / "gate", done = root / "done";
    // The handler holds until the test opens the gate (10 s at most).
    LoggingStub("xdg-open", log,
        "i=0\nwhile [ ! -e '" + gate.string() + "' ] && [ $i -lt 200 ]; do sleep 0.05; "
        "i=$((i+1)); done\n: > '" + done.string() + "'");
    OpenMakersPage();
    // Back before the handler could finish: it is still waiting at the gate.
    EXPECT_FALSE(fs::exists(done));
    EXPECT_EQ(USdkUrlLauncher::LiveCount(), 1);
    WriteText(gate, "");
    ASSERT_TRUE(USdkUrlLauncher::WaitForAll(20000));
    EXPECT_TRUE(fs::exists(done));
    EXPECT_EQ(LogLines(), std::vector<std::string> { "<" + Page + ">" });
}

TEST_F(LauncherTest, ADoubleClickStartsTwoOpens)
{
    LoggingStub("xdg-open", log);
    OpenMakersPage();   // the click
    OpenMakersPage();   // the double click
    ASSERT_TRUE(USdkUrlLauncher::WaitForAll(20000));
    EXPECT_EQ(LogLines(), std::vector<std::string>(2, "<" + Page + ">"));
}

TEST_F(LauncherTest, RapidClicksLeaveNoZombieAndNoExtraThread)
{
    LoggingStub("xdg-open", log);
    const int threadsBefore = ThreadCount();
    for (int i = 0; i < 50; ++i)
        OpenMakersPage();
    ASSERT_TRUE(USdkUrlLauncher::WaitForAll(30000));
    EXPECT_EQ(LogLines().size(), 50u);
    EXPECT_EQ(ZombieChildren(), 0);
    EXPECT_TRUE(Eventually([&] { return ThreadCount() <= threadsBefore; }, 1000))
        << ThreadCount() << " threads, " << threadsBefore << " before";
    EXPECT_TRUE(ChildStates().empty());
}

namespace {

// The descriptors the stub's `ls -l /proc/self/fd` saw, less ls's own look at the folder.
std::set<int> DescriptorsIn(const std::string& listing)
{
    std::set<int> fds;
    for (const std::string& line : Lines(listing)) {
        size_t arrow = line.find(" -> ");
        if (arrow == std::string::npos)
            continue;
        std::string target = line.substr(arrow + 4);
        if (target.size() >= 3 && target.compare(target.size() - 3, 3, "/fd") == 0)
            continue;
        size_t start = line.rfind(' ', arrow - 1);
        fds.insert(std::atoi(line.c_str() + start + 1));
    }
    return fds;
}

} // namespace

TEST_F(LauncherTest, LaunchedProgramsSeeOnlyTheStandardDescriptors)
{
    // A descriptor of this process that is not close-on-exec.
    std::FILE* held = std::fopen((root / "held.txt").c_str(), "w");
    ASSERT_NE(held, nullptr);
    const fs::path out = root / "fds.txt";
    fs::path lister = Stub("lister", "exec ls -l /proc/self/fd >> '" + out.string() + "'");
    fs::copy_file(lister, bin / "xdg-open");
    UseCommand("\"" + lister.string() + "\" %1");
    for (int16_t mode : { 2, 3, 1 }) {
        fs::remove(out);
        EXPECT_TRUE(Run(mode, Page).succeeded) << mode;
        ASSERT_TRUE(Eventually([&] { return ReadText(out).find("2 ->") != std::string::npos; }));
        EXPECT_EQ(DescriptorsIn(ReadText(out)), (std::set<int> { 0, 1, 2 })) << ReadText(out);
    }
    std::fclose(held);
}
