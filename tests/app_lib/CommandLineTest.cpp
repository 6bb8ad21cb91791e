#include "app/CommandLine.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(CommandLineTest, NoArgumentsRunTheWindow)
{
    CommandLine c = ParseCommandLine({});
    EXPECT_EQ(c.action, CommandLine::clRun);
    EXPECT_TRUE(c.text.empty());
}

// Both spellings of each option give the same output; the help names every option it
// accepts, and the version line names the program.
TEST(CommandLineTest, HelpAndVersionInBothSpellings)
{
    for (const char* a : { "-h", "--help" }) {
        CommandLine c = ParseCommandLine(Args { a });
        EXPECT_EQ(c.action, CommandLine::clHelp) << a;
        for (const char* option : { "-h, --help", "-V, --version" })
            EXPECT_NE(c.text.find(option), std::string::npos) << option;
        EXPECT_EQ(c.text.rfind("Usage: metronome", 0), 0u);
    }
    for (const char* a : { "-V", "--version" }) {
        CommandLine c = ParseCommandLine(Args { a });
        EXPECT_EQ(c.action, CommandLine::clVersion) << a;
        EXPECT_EQ(c.text.rfind("metronome ", 0), 0u);
        EXPECT_EQ(c.text.back(), '\n');
    }
}

// Anything else is refused and named, also an option followed by more arguments, so a
// typing error never starts the window or is silently dropped.
TEST(CommandLineTest, OtherArgumentsAreRefusedByName)
{
    struct Case {
        Args args;
        const char* named;
    } cases[] = {
        { { "--tempo=90" }, "--tempo=90" },
        { { "-x" }, "-x" },
        { { "file.txt" }, "file.txt" },
        { { "" }, "''" },
        { { "--help", "extra" }, "extra" },
        { { "-V", "-h" }, "-h" },
        { { "--HELP" }, "--HELP" },
    };
    for (const Case& k : cases) {
        CommandLine c = ParseCommandLine(k.args);
        EXPECT_EQ(c.action, CommandLine::clError) << k.named;
        EXPECT_NE(c.text.find(k.named), std::string::npos) << c.text;
        EXPECT_NE(c.text.find("--help"), std::string::npos) << c.text;
    }
}

// --scale takes 1 to 4, joined with '=' or as the next argument; the last one counts.
TEST(CommandLineTest, ScaleInBothSpellings)
{
    EXPECT_EQ(ParseCommandLine({}).scale, 0);
    struct Case {
        Args args;
        int scale;
    } cases[] = {
        { { "--scale", "2" }, 2 },
        { { "--scale=3" }, 3 },
        { { "--scale=1" }, 1 },
        { { "--scale", "4" }, 4 },
        { { "--scale=2", "--scale", "1" }, 1 },
    };
    for (const Case& k : cases) {
        CommandLine c = ParseCommandLine(k.args);
        EXPECT_EQ(c.action, CommandLine::clRun) << c.text;
        EXPECT_EQ(c.scale, k.scale);
    }
}

// A bad scale is refused with the value named, the usage line and the hint; so is a
// --scale without a value, and help or version beside other arguments.
TEST(CommandLineTest, BadScalesAreRefusedWithTheUsageLine)
{
    struct Case {
        Args args;
        const char* named;
    } cases[] = {
        { { "--scale", "0" }, "'0'" },
        { { "--scale", "5" }, "'5'" },
        { { "--scale=1.5" }, "'1.5'" },
        { { "--scale=" }, "''" },
        { { "--scale", "two" }, "'two'" },
        { { "--scale", "-2" }, "'-2'" },
        { { "--scale" }, "needs a value" },
        { { "--scale=2", "--scale=9" }, "'9'" },
        { { "--scale=2", "--help" }, "'--help'" },
        { { "--help", "--scale=2" }, "'--scale=2'" },
        { { "--scale2" }, "'--scale2'" },
    };
    for (const Case& k : cases) {
        CommandLine c = ParseCommandLine(k.args);
        EXPECT_EQ(c.action, CommandLine::clError) << k.named;
        EXPECT_NE(c.text.find(k.named), std::string::npos) << c.text;
        EXPECT_NE(c.text.find("\nUsage: metronome [OPTION]...\n"), std::string::npos) << c.text;
        EXPECT_NE(c.text.find("--help"), std::string::npos) << c.text;
    }
    EXPECT_NE(ParseCommandLine(Args { "--help" }).text.find("--scale=N"), std::string::npos);
}
