#include "app/Registry.h"
#include "app/USdkUrlLauncher.h"
#include "platform/system/Desktop.h"
#include "platform/system/Process.h"

#include "LauncherTestSupport.h"

using namespace launchertest;

namespace {

const std::string Page = "http://kelvo-music.example.com/music/index.htm";

struct Split {
    bool found;
    std::string exe, args;
};

Split SplitOf(const std::string& command)
{
    Split s { false, "junk", "junk" };
    s.found = SplitBrowserCommand(command, s.exe, s.args);
    return s;
}

Split FindIn(TRegistryStandIn& reg)
{
    Split s { false, "junk", "junk" };
    s.found = FindBrowserCommand(reg, s.exe, s.args);
    return s;
}

} // namespace

TEST(BrowserArguments, TemplatesOfTheClassicCommands)
{
    EXPECT_EQ(BuildBrowserArguments("-url \"%1\"", Page), "-url \"" + Page + "\"");
    EXPECT_EQ(BuildBrowserArguments("-nohome", Page), "-nohome \"" + Page + "\"");
    EXPECT_EQ(BuildBrowserArguments("", Page), " \"" + Page + "\"");
    EXPECT_EQ(BuildBrowserArguments("%1", Page), Page);
    // Only the first marker is replaced.
    EXPECT_EQ(BuildBrowserArguments("\"%1\" -x %1", "a"), "\"a\" -x %1");
}

TEST(BrowserArguments, TheVectorSplitsLikeTheBuiltString)
{
    for (const std::string t : { "-url \"%1\"", "-nohome", "", "%1", "--a b \"c d\" \"%1\"" })
        EXPECT_EQ(BuildBrowserArgumentVector(t, Page),
            plat::desktop::SplitExec(BuildBrowserArguments(t, Page)))
            << t;
    EXPECT_EQ(BuildBrowserArgumentVector("-nohome", Page),
        (std::vector<std::string> { "-nohome", Page }));
    EXPECT_EQ(BuildBrowserArgumentVector("", Page), (std::vector<std::string> { Page }));
    EXPECT_EQ(BuildBrowserArgumentVector("--url=%1 %1", "x"),
        (std::vector<std::string> { "--url=x", "%1" }));
}

TEST(BrowserArguments, AnAddressStaysOneArgumentWhateverItHolds)
{
    const std::string hostile = "http://h/a b\" -c \"$(rm -rf x)`y`\\ %1";
    EXPECT_EQ(BuildBrowserArgumentVector("--new \"%1\"", hostile),
        (std::vector<std::string> { "--new", hostile }));
    EXPECT_EQ(BuildBrowserArgumentVector("--new", hostile),
        (std::vector<std::string> { "--new", hostile }));
    // A template with an open quote cannot be split: no arguments, so no launch.
    EXPECT_TRUE(BuildBrowserArgumentVector("-x \"%1", Page).empty());
}

TEST(BrowserCommandSplit, ClassicExamples)
{
    Split s = SplitOf("\"D:\\Programs\\Web\\browse.exe\" -nohome");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "D:\\Programs\\Web\\browse.exe");
    EXPECT_EQ(s.args, "-nohome");

    s = SplitOf("D:\\Web\\browse.exe %1");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "D:\\Web\\browse.exe");
    EXPECT_EQ(s.args, "%1");

    s = SplitOf("D:\\Web\\browse.exe \"%1\"");
    EXPECT_EQ(s.exe, "D:\\Web\\browse.exe");
    EXPECT_EQ(s.args, "\"%1\"");

    // Letters compared without regard to case; blanks before the arguments skipped.
    s = SplitOf("C:\\X\\RUN.Com    -a");
    EXPECT_EQ(s.exe, "C:\\X\\RUN.Com");
    EXPECT_EQ(s.args, "-a");
    s = SplitOf("go.bAt");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "go.bAt");
    EXPECT_EQ(s.args, "");
}

TEST(BrowserCommandSplit, TheLastExtensionEndsTheExecutable)
{
    Split s = SplitOf("C:\\a.exe C:\\b.bat x");
    EXPECT_EQ(s.exe, "C:\\a.exe C:\\b.bat");
    EXPECT_EQ(s.args, "x");
    // An extension right at the end, with nothing after it.
    s = SplitOf("\"C:\\Web\\b.exe\"");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "C:\\Web\\b.exe");
    EXPECT_EQ(s.args, "");
}

TEST(BrowserCommandSplit, WithoutAnExecutableNothingIsFound)
{
    for (const std::string c : { "", "a", "ab", "exe", ".ex", "/usr/bin/firefox %u",
             "\"/usr/bin/firefox", "browse.exx %1", "xexe" }) {
        Split s = SplitOf(c);
        EXPECT_FALSE(s.found) << c;
        EXPECT_EQ(s.exe, "") << c;
        EXPECT_EQ(s.args, "") << c;
    }
    EXPECT_TRUE(SplitOf(".exe").found);
}

TEST(BrowserCommandSplit, AQuotedAbsolutePathIsTheExecutable)
{
    Split s = SplitOf("\"/usr/bin/firefox\" \"%1\"");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "/usr/bin/firefox");
    EXPECT_EQ(s.args, "\"%1\"");

    s = SplitOf("\"/opt/My Browser/run\" --new-window   \"%1\"");
    EXPECT_EQ(s.exe, "/opt/My Browser/run");
    EXPECT_EQ(s.args, "--new-window   \"%1\"");

    s = SplitOf("\"/opt/q\\\"uote\\\\d/b\"");
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "/opt/q\"uote\\d/b");
    EXPECT_EQ(s.args, "");

    // The quoted path wins over an extension among the arguments.
    s = SplitOf("\"/usr/bin/wine\" C:\\app.exe %1");
    EXPECT_EQ(s.exe, "/usr/bin/wine");
    EXPECT_EQ(s.args, "C:\\app.exe %1");
}

TEST(BrowserCommandSplit, TheCommandIsCutTo256Characters)
{
    const std::string dir(240, 'd');
    Split s = SplitOf("C:\\" + dir + "\\b.exe " + std::string(100, 'a'));
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.exe.size(), 3 + 240 + 6u);
    EXPECT_EQ(s.args, std::string(256 - s.exe.size() - 1, 'a'));
    // An extension beyond the cut is not seen.
    EXPECT_FALSE(SplitOf(std::string(260, 'x') + ".exe").found);
    EXPECT_FALSE(SplitOf("\"/" + std::string(300, 'p') + "\" %1").found);
}

TEST(BrowserRegistrySearch, TheFileTypeCommandComesFirst)
{
    TMemoryRegistry reg;
    reg.SetDefault(".htm", "htmlfile");
    reg.SetDefault("htmlfile\\shell\\open\\command", "\"D:\\Programs\\Web\\browse.exe\" -nohome");
    reg.SetDefault(".htm\\shell\\open\\command", "other.exe %1");
    Split s = FindIn(reg);
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "D:\\Programs\\Web\\browse.exe");
    EXPECT_EQ(s.args, "-nohome");

    // An empty type command: the extension's own command.
    reg.SetDefault("htmlfile\\shell\\open\\command", "");
    s = FindIn(reg);
    EXPECT_EQ(s.exe, "other.exe");
    EXPECT_EQ(s.args, "%1");
}

TEST(BrowserRegistrySearch, ExtensionsAreTriedInOrder)
{
    TMemoryRegistry reg;
    reg.SetDefault(".SHTM", "t4");
    reg.SetDefault("t4\\shell\\open\\command", "four.exe");
    reg.SetDefault(".SHTML", "t3");
    reg.SetDefault("t3\\shell\\open\\command", "three.exe");
    EXPECT_EQ(FindIn(reg).exe, "three.exe");
    // An empty type name, or a key without a value, passes to the next extension.
    reg.SetDefault(".HTML", "");
    reg.AddKey(".HTM");
    EXPECT_EQ(FindIn(reg).exe, "three.exe");
    reg.SetDefault(".html", "t2");
    reg.SetDefault("T2\\SHELL\\OPEN\\COMMAND", "two.exe");
    EXPECT_EQ(FindIn(reg).exe, "two.exe");
}

TEST(BrowserRegistrySearch, NoUsableEntryMeansNoCommand)
{
    TMemoryRegistry empty;
    Split s = FindIn(empty);
    EXPECT_FALSE(s.found);
    EXPECT_EQ(s.exe, "");
    EXPECT_EQ(s.args, "");

    TMemoryRegistry noExtension;
    noExtension.SetDefault(".htm", "htmlfile");
    noExtension.SetDefault("htmlfile\\shell\\open\\command", "/usr/bin/firefox %u");
    EXPECT_FALSE(FindIn(noExtension).found);

    TMemoryRegistry typeOnly;
    typeOnly.SetDefault(".htm", "htmlfile");
    EXPECT_FALSE(FindIn(typeOnly).found);
}

TEST(BrowserRegistrySearch, ValuesThatDoNotFitTheBufferAreNotRead)
{
    TMemoryRegistry reg;
    reg.SetDefault(".htm", "htmlfile");
    reg.SetDefault("htmlfile\\shell\\open\\command", "b.exe " + std::string(1018, 'a'));
    EXPECT_FALSE(FindIn(reg).found);
    // One character less fits with its terminating zero.
    reg.SetDefault("htmlfile\\shell\\open\\command", "b.exe " + std::string(1017, 'a'));
    Split s = FindIn(reg);
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, "b.exe");
    EXPECT_EQ(s.args, std::string(250, 'a'));
    // A long type name is skipped like a missing one.
    reg.SetDefault(".htm", std::string(1024, 't'));
    EXPECT_FALSE(FindIn(reg).found);
}

TEST(BrowserRegistrySearch, AValueEndsAtItsFirstZero)
{
    TMemoryRegistry reg;
    reg.SetDefault(".htm", std::string("htmlfile\0junk", 13));
    reg.SetDefault("htmlfile\\shell\\open\\command", std::string("b.exe -x\0c.exe", 14));
    Split s = FindIn(reg);
    EXPECT_EQ(s.exe, "b.exe");
    EXPECT_EQ(s.args, "-x");
}

TEST(CommandFromExec, FieldCodesAndQuoting)
{
    const std::string bin = plat::FindProgramOnPath("sh").value_or("?");
    EXPECT_EQ(CommandFromExec("sh --new %u", "", ""), "\"" + bin + "\" --new \"%1\"");
    EXPECT_EQ(CommandFromExec("/bin/sh %U --x", "", ""), "\"/bin/sh\" \"%1\" --x");
    // Only the first file code marks the address; %i and %c are filled; %% is a percent.
    EXPECT_EQ(CommandFromExec("sh %f %F %i %c 100%% --url=%u", "web", "Web Browser"),
        "\"" + bin + "\" \"%1\" --icon web \"Web Browser\" 100% --url=");
    EXPECT_EQ(CommandFromExec("sh \"two words\" %k", "", ""), "\"" + bin + "\" \"two words\"");
    EXPECT_EQ(CommandFromExec("sh", "", ""), "\"" + bin + "\"");
    EXPECT_FALSE(CommandFromExec("no-such-program-anywhere %u", "", ""));
    EXPECT_FALSE(CommandFromExec("sh \"open", "", ""));
    EXPECT_FALSE(CommandFromExec("", "", ""));
}

TEST(CommandFromExec, TheBuiltCommandGivesBackTheArguments)
{
    auto command = CommandFromExec("/bin/sh -c \"echo \\\"\\$1\\\" `x`\" %u", "", "");
    ASSERT_TRUE(command);
    std::string exe, args;
    ASSERT_TRUE(SplitBrowserCommand(*command, exe, args));
    EXPECT_EQ(exe, "/bin/sh");
    EXPECT_EQ(BuildBrowserArgumentVector(args, Page),
        (std::vector<std::string> { "-c", "echo \"$1\" `x`", Page }));
}

class DesktopRegistryTest : public LauncherFixture {
protected:
    void Entry(const std::string& id, const std::string& exec)
    {
        WriteText(root / "data/applications" / id,
            "[Desktop Entry]\nType=Application\nName=Stub\nExec=" + exec + "\n");
    }
    void Default(const std::string& mime, const std::string& id)
    {
        WriteText(root / "config/mimeapps.list", "[Default Applications]\n" + mime + "=" + id + "\n");
    }
};

TEST_F(DesktopRegistryTest, TheDefaultHtmlApplicationGivesTheCommand)
{
    Stub("stubbrowser", "exit 0");
    Entry("stubbrowser.desktop", "stubbrowser --new-window %u");
    Default("text/html", "stubbrowser.desktop");
    TDesktopRegistry reg;
    for (const char* ext : { ".htm", ".HTML", ".Shtml", ".SHTM" }) {
        EXPECT_TRUE(reg.Open(ext));
        EXPECT_EQ(reg.Query(ext), "text/html");
    }
    EXPECT_FALSE(reg.Open(".txt"));
    Split s = FindIn(reg);
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, (bin / "stubbrowser").string());
    EXPECT_EQ(s.args, "--new-window \"%1\"");
}

TEST_F(DesktopRegistryTest, TheWebAddressHandlerServesWhenHtmlHasNone)
{
    Stub("webstub", "exit 0");
    Entry("webstub.desktop", "webstub %U");
    Default("x-scheme-handler/http", "webstub.desktop");
    TDesktopRegistry reg;
    Split s = FindIn(reg);
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.exe, (bin / "webstub").string());
}

TEST_F(DesktopRegistryTest, NoDefaultOrNoProgramMeansNoCommand)
{
    TDesktopRegistry reg;
    EXPECT_FALSE(FindIn(reg).found);
    EXPECT_FALSE(reg.Open("text/html\\shell\\open\\command"));
    // The entry names a program that is not on PATH.
    Entry("gone.desktop", "gone-browser %u");
    Default("text/html", "gone.desktop");
    EXPECT_FALSE(FindIn(reg).found);
}
