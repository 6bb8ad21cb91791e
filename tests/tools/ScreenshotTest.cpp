// Runs the screenshot program as a separate process and reads back the PNG it writes.

#include "platform/raster/ImageFiles.h"
#include "platform/system/Process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr plat::Color Navy = 0x800000, Teal = 0x808000, Lime = 0x00FF00;
constexpr plat::Color ButtonFace = 0xC0C0C0;   // the system's button face colour
constexpr plat::Color NeedleGrey = 0x808080;

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir = fs::temp_directory_path() / ("screenshot-test-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    int Run(std::vector<std::string> args) const
    {
        args.insert(args.begin(), std::string(BINARY_DIR) + "/bin/screenshot");
        plat::SpawnResult r = plat::Spawn(args);
        EXPECT_TRUE(r.ok) << "cannot start " << args[0];
        return r.ok ? plat::WaitProcess(r.pid) : -1;
    }

    std::string Out(const std::string& name) const { return (dir / name).string(); }

    plat::Surface Load(const std::string& name) const
    {
        std::optional<plat::AlphaImage> image = plat::LoadPngFile(Out(name));
        EXPECT_TRUE(image.has_value()) << name;
        return image ? image->color : plat::Surface {};
    }

    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Out(name), std::ios::binary) << text;
        return Out(name);
    }

    fs::path dir;
};

// Pixels of colour c inside [x0, x1) x [y0, y1).
int Count(const plat::Surface& s, plat::Color c, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += s.GetColor(x, y) == c;
    return n;
}

// Pixels that differ between a and b inside [x0, x1) x [y0, y1).
int Differing(const plat::Surface& a, const plat::Surface& b, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += a.GetColor(x, y) != b.GetColor(x, y);
    return n;
}

} // namespace

TEST_F(ScreenshotTest, DescriptionFileIsDrawnAtTheFormsSize)
{
    ASSERT_EQ(Run({ std::string(TEST_DATA_DIR) + "/screenshot_panel.txt", Out("panel.png") }), 0);
    plat::Surface s = Load("panel.png");
    ASSERT_EQ(s.Width(), 160);
    ASSERT_EQ(s.Height(), 100);
    EXPECT_EQ(s.GetColor(3, 50), Navy);         // the form around the panel
    EXPECT_EQ(s.GetColor(9, 9), Navy);          // just outside the panel's corner
    EXPECT_EQ(s.GetColor(30, 60), Teal);        // the panel face
    EXPECT_NE(s.GetColor(10, 10), Teal);        // its raised bevel
    EXPECT_NE(s.GetColor(149, 89), Teal);
    EXPECT_EQ(s.GetColor(150, 90), Navy);       // the panel leaves out its right and bottom
    // The button is latched on, so its lamp is lit, and only inside the button.
    EXPECT_GT(Count(s, Lime, 80, 30, 140, 60), 20);
    EXPECT_EQ(Count(s, Lime, 0, 0, 160, 100), Count(s, Lime, 80, 30, 140, 60));
}

TEST_F(ScreenshotTest, MetronomeStillAndSwinging)
{
    ASSERT_EQ(Run({ "--metronome", Out("still.png") }), 0);
    ASSERT_EQ(Run({ "--metronome", Out("run.png"), "--ticks", "185", "--ms", "10" }), 0);
    ASSERT_EQ(Run({ "--ms", "10", "--ticks", "185", "--metronome", Out("again.png") }), 0);
    plat::Surface still = Load("still.png"), run = Load("run.png");
    ASSERT_EQ(still.Width(), 412);
    ASSERT_EQ(still.Height(), 443);
    ASSERT_EQ(run.Width(), 412);
    ASSERT_EQ(run.Height(), 443);

    EXPECT_EQ(still.GetColor(5, 200), ButtonFace);   // the outer panel's border
    EXPECT_EQ(run.GetColor(5, 200), ButtonFace);

    // The needle stands upright over the pivot until Run; then it has swung away.
    EXPECT_GT(Count(still, NeedleGrey, 164, 200, 171, 370), 6 * 150);
    EXPECT_LT(Count(run, NeedleGrey, 164, 200, 171, 370), 50);
    // Run's lamp is lit only after the click.
    EXPECT_EQ(Count(still, Lime, 332, 51, 398, 77), 0);
    EXPECT_GT(Count(run, Lime, 332, 51, 398, 77), 20);
    // The counter shows the beats in its last digit; the leading zeros stay as they were.
    EXPECT_EQ(Differing(still, run, 112, 395, 190, 426), 0);
    EXPECT_GT(Differing(still, run, 200, 395, 224, 426), 20);

    // A manual clock and no sound: the same arguments give the same file.
    EXPECT_EQ(plat::ReadFileBytes(Out("run.png")), plat::ReadFileBytes(Out("again.png")));
    EXPECT_NE(plat::ReadFileBytes(Out("run.png")), plat::ReadFileBytes(Out("still.png")));
}

TEST_F(ScreenshotTest, FailuresWriteNothingAndSayNo)
{
    // Wrong arguments.
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({ "--metronome" }), 2);
    EXPECT_EQ(Run({ "--metronome", Out("a.png"), "--ticks" }), 2);
    EXPECT_EQ(Run({ "--metronome", Out("a.png"), "--ticks", "-1" }), 2);
    EXPECT_EQ(Run({ "--metronome", Out("a.png"), "--ms", "0" }), 2);
    EXPECT_EQ(Run({ "--metronome", Out("a.png"), "--ticks", "5x" }), 2);
    EXPECT_EQ(Run({ "--metronome", Out("a.png"), "--frames", "5" }), 2);
    EXPECT_EQ(Run({ Out("in.txt"), Out("a.png"), Out("b.png") }), 2);
    EXPECT_FALSE(fs::exists(Out("a.png")));

    // Input that cannot become a picture.
    EXPECT_EQ(Run({ Out("missing.txt"), Out("b.png") }), 1);
    std::string notForm = Write("panel.txt", "object pnl: TPanel\n  Width = 40\nend\n");
    EXPECT_EQ(Run({ notForm, Out("b.png") }), 1);
    std::string badProp = Write("bad.txt", "object f: TForm\n  ClientWidth = 40\n  Frobnicate = 1\nend\n");
    EXPECT_EQ(Run({ badProp, Out("b.png") }), 1);
    std::string badSyntax = Write("syntax.txt", "object f: TForm\n  ClientWidth = \n");
    EXPECT_EQ(Run({ badSyntax, Out("b.png") }), 1);
    EXPECT_FALSE(fs::exists(Out("b.png")));

    // An output that cannot be written is a failure too.
    EXPECT_EQ(Run({ "--metronome", (dir / "no" / "such" / "c.png").string() }), 1);
}
