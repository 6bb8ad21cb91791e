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
        for (const char* option : { "-h, --help", "-V, --version", "--tempo=N", "--run", "--beep",
                 "--no-beep", "--meter=N" })
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
        { { "--tempo=fast" }, "fast" },
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

// Values come as the next argument or after "="; the last of --beep and --no-beep wins;
// "--" ends the options.
TEST(CommandLineTest, OptionsAndTheirValues)
{
    CommandLine c = ParseCommandLine(Args { "--tempo", "96", "--run", "--no-beep", "--meter=4" });
    EXPECT_EQ(c.action, CommandLine::clRun);
    EXPECT_EQ(c.tempo, 96);
    EXPECT_EQ(c.meter, 4);
    EXPECT_EQ(c.beep, false);
    EXPECT_TRUE(c.run);

    c = ParseCommandLine(Args { "--tempo=40", "--beep", "--meter", "9", "--no-beep", "--beep", "--" });
    EXPECT_EQ(c.action, CommandLine::clRun);
    EXPECT_EQ(c.tempo, 40);
    EXPECT_EQ(c.meter, 9);
    EXPECT_EQ(c.beep, true);
    EXPECT_FALSE(c.run);

    c = ParseCommandLine(Args { "--tempo=208", "--tempo=41", "--meter=1" });
    EXPECT_EQ(c.tempo, 41);
    EXPECT_EQ(c.meter, 1);
    EXPECT_FALSE(c.beep.has_value());

    // Nothing given leaves everything as stored.
    c = ParseCommandLine({});
    EXPECT_FALSE(c.tempo || c.meter || c.beep || c.run);
}

// Every refusal names what is wrong and carries the usage line and the hint; a refused
// line sets nothing.
TEST(CommandLineTest, BadOptionsAndValuesAreRefusedWithTheUsageLine)
{
    struct Case {
        Args args;
        const char* named;
    } cases[] = {
        { { "--tempo" }, "'--tempo' needs a value" },
        { { "--meter" }, "'--meter' needs a value" },
        { { "--tempo", "39" }, "'39'" },
        { { "--tempo=209" }, "'209'" },
        { { "--tempo=" }, "''" },
        { { "--tempo", "-5" }, "'-5'" },
        { { "--tempo=+96" }, "'+96'" },
        { { "--tempo=96.5" }, "'96.5'" },
        { { "--tempo", "1e2" }, "'1e2'" },
        { { "--tempo=99999999999" }, "'99999999999'" },
        { { "--meter=0" }, "'0'" },
        { { "--meter=10" }, "'10'" },
        { { "--run=1" }, "'--run' takes no value" },
        { { "--no-beep=yes" }, "'--no-beep' takes no value" },
        { { "--tempo=90", "--scales" }, "'--scales'" },
        { { "--temp=90" }, "'--temp'" },
        { { "-t" }, "'-t'" },
        { { "--run", "--", "90" }, "'90'" },
        { { "--help", "--run" }, "'--run'" },
        { { "--tempo=90", "--version" }, "'--tempo=90'" },
    };
    for (const Case& k : cases) {
        CommandLine c = ParseCommandLine(k.args);
        EXPECT_EQ(c.action, CommandLine::clError) << k.named;
        EXPECT_NE(c.text.find(k.named), std::string::npos) << c.text;
        EXPECT_EQ(c.text.rfind("metronome: ", 0), 0u) << c.text;
        EXPECT_NE(c.text.find("\nUsage: metronome [OPTION]...\n"), std::string::npos) << c.text;
        EXPECT_NE(c.text.find("--help"), std::string::npos) << c.text;
    }
    // The value of "--tempo 96" is not taken for an argument of its own.
    EXPECT_EQ(ParseCommandLine(Args { "--tempo", "96" }).action, CommandLine::clRun);
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
        { { "--scale=2", "--help" }, "'--scale=2'" },
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
