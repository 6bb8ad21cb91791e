#include "app/MixerLauncher.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/stdctrls/Image.h"
#include "framework/graphics/Picture.h"
#include "rackctls/RackCtls.h"

#include "LauncherTestSupport.h"

#include <memory>
#include <set>

using namespace launchertest;

namespace {

constexpr plat::Color Red = 0x0000FF, Face = 0xC0C0C0;

plat::AlphaImage Icon(int size, plat::Color c, uint8_t alpha)
{
    plat::AlphaImage icon;
    icon.color = plat::Surface(size, size);
    icon.color.Fill(c);
    icon.alpha.assign(size_t(size) * size_t(size), alpha);
    return icon;
}

uint8_t Channel(plat::Color c, int k) { return uint8_t(c >> (8 * k)); }

} // namespace

TEST(MixerIcon, AnOpaqueIconOfSixteenPixelsIsCopied)
{
    plat::AlphaImage icon = Icon(16, 0, 255);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            icon.color.SetColor(x, y, plat::Rgb(uint8_t(x * 16), uint8_t(y * 16), 7));
    plat::Surface out = ComposeIcon16(icon, Face);
    EXPECT_EQ(out, icon.color);
    // Without an alpha channel an icon is opaque too.
    icon.alpha.clear();
    EXPECT_EQ(ComposeIcon16(icon, Face), icon.color);
}

TEST(MixerIcon, TransparentPartsShowTheBackground)
{
    plat::Surface face(16, 16);
    face.Fill(Face);
    EXPECT_EQ(ComposeIcon16(Icon(16, Red, 0), Face), face);
    EXPECT_EQ(ComposeIcon16(plat::AlphaImage {}, Face), face);

    plat::Surface half = ComposeIcon16(Icon(16, Red, 128), Face);
    for (int k = 0; k < 3; ++k) {
        int expected = (Channel(Red, k) * 128 + Channel(Face, k) * 127 + 127) / 255;
        EXPECT_EQ(Channel(half.GetColor(5, 9), k), expected) << k;
    }
}

TEST(MixerIcon, LargerIconsAreAveragedSmallerOnesRepeated)
{
    // 32 x 32: the left column of every 2 x 2 box opaque red, the right one transparent.
    plat::AlphaImage big = Icon(32, Red, 255);
    for (int y = 0; y < 32; ++y)
        for (int x = 1; x < 32; x += 2)
            big.alpha[size_t(y) * 32 + size_t(x)] = 0;
    plat::Surface out = ComposeIcon16(big, Face);
    const plat::Color mixed = plat::Rgb(uint8_t((255 + 0xC0 + 1) / 2), 0x60, 0x60);
    EXPECT_EQ(out.GetColor(0, 0), mixed);
    EXPECT_EQ(out.GetColor(15, 15), mixed);

    // 8 x 8: every source pixel becomes a 2 x 2 block.
    plat::AlphaImage small = Icon(8, 0, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            small.color.SetColor(x, y, plat::Rgb(uint8_t(x), uint8_t(y), 0));
    out = ComposeIcon16(small, Face);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(out.GetColor(x, y), plat::Rgb(uint8_t(x / 2), uint8_t(y / 2), 0)) << x << "," << y;

    // 48 x 48 with one opaque corner pixel: only the first box sees it.
    plat::AlphaImage corner = Icon(48, Red, 0);
    corner.alpha[0] = 255;
    out = ComposeIcon16(corner, Face);
    EXPECT_EQ(out.GetColor(0, 0), plat::Rgb(uint8_t((255 + 8 * 0xC0 + 4) / 9), 0xAB, 0xAB));
    EXPECT_EQ(out.GetColor(1, 0), Face);
}

class MixerTest : public LauncherFixture {
protected:
    void SetUp() override
    {
        LauncherFixture::SetUp();
        log = root / "mixer.log";
        image = std::make_unique<TImage>(nullptr);
        button = std::make_unique<TLEDButton>(nullptr);
    }
    void TearDown() override
    {
        // Detached stubs end by themselves; their reapers collect them.
        EXPECT_TRUE(Eventually([] { return ChildStates().empty(); }));
        button.reset();
        image.reset();
        LauncherFixture::TearDown();
    }
    // A stub mixer that logs its process id and arguments, then stays a moment.
    void MixerStub(const std::string& name)
    {
        Stub(name, "echo \"$$ $*\" >> '" + log.string() + "'\nsleep 0.2");
    }
    void EntryWithIcon() { MixerEntryWithIcon("pavucontrol", "stub-volume", Red); }
    TBitmap* Shown() { return dynamic_cast<TBitmap*>(image->Picture()->Graphic()); }

    fs::path log;
    std::unique_ptr<TImage> image;
    std::unique_ptr<TLEDButton> button;
};

TEST_F(MixerTest, TheFirstProgramOfTheListIsTaken)
{
    EXPECT_FALSE(FindMixer());
    MixerStub("gnome-control-center");
    auto m = FindMixer();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->path, (bin / "gnome-control-center").string());
    EXPECT_EQ(m->args, std::vector<std::string> { "sound" });
    MixerStub("pavucontrol-qt");
    EXPECT_EQ(FindMixer()->path, (bin / "pavucontrol-qt").string());
    MixerStub("pavucontrol");
    EXPECT_EQ(FindMixer()->path, (bin / "pavucontrol").string());
    EXPECT_TRUE(FindMixer()->args.empty());
}

TEST_F(MixerTest, RelativePathEntriesAreNotSearched)
{
    MixerStub("pavucontrol-qt");
    fs::path here = fs::current_path();
    fs::create_directories(root / "rel");
    MixerStub("pavucontrol");
    fs::rename(bin / "pavucontrol", root / "rel/pavucontrol");
    fs::current_path(root);
    Set("PATH", "rel:.:" + bin.string());
    auto m = FindMixer();
    fs::current_path(here);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->path, (bin / "pavucontrol-qt").string());
}

TEST_F(MixerTest, TheIconGoesOnTheKeyAndTheImage)
{
    MixerStub("pavucontrol");
    EntryWithIcon();
    ASSERT_TRUE(SetUpMixerIcon(image.get(), button.get()));
    TBitmap* shown = Shown();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->Width(), 16);
    ASSERT_EQ(shown->Height(), 16);
    EXPECT_EQ(shown->TransparentColor(), clBtnFace);
    EXPECT_EQ(shown->TransparentMode(), tmFixed);
    const plat::Color face = ColorToRGB(clBtnFace);
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(shown->Image().GetColor(0, y), Red);
        EXPECT_EQ(shown->Image().GetColor(7, y), Red);
        EXPECT_EQ(shown->Image().GetColor(8, y), face);
        EXPECT_EQ(shown->Image().GetColor(15, y), face);
    }
    ASSERT_NE(button->Glyph(), nullptr);
    EXPECT_EQ(button->Glyph()->Image(), shown->Image());
    EXPECT_EQ(button->Glyph()->TransparentColor(), clBtnFace);
    // Each control keeps its own copy.
    EXPECT_NE(static_cast<TGraphic*>(button->Glyph()), image->Picture()->Graphic());
}

TEST_F(MixerTest, AMixerWithoutAnIconGivesAPlainFace)
{
    MixerStub("pavucontrol-qt");
    ASSERT_TRUE(SetUpMixerIcon(image.get(), button.get()));
    ASSERT_NE(Shown(), nullptr);
    plat::Surface face(16, 16);
    face.Fill(ColorToRGB(clBtnFace));
    EXPECT_EQ(Shown()->Image(), face);
}

TEST_F(MixerTest, WithoutAMixerNothingChanges)
{
    EntryWithIcon();   // an entry and an icon, but no program
    const bool glyphEmpty = button->Glyph()->Empty();
    EXPECT_FALSE(SetUpMixerIcon(image.get(), button.get()));
    EXPECT_TRUE(image->Picture()->Graphic() == nullptr || image->Picture()->Graphic()->Empty());
    EXPECT_EQ(button->Glyph()->Empty(), glyphEmpty);
    EXPECT_FALSE(StartMixer());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(MixerTest, TwoClicksStartTwoInstances)
{
    MixerStub("gnome-control-center");
    EXPECT_TRUE(StartMixer());
    EXPECT_TRUE(StartMixer());
    ASSERT_TRUE(Eventually([&] { return Lines(ReadText(log)).size() == 2; }));
    std::set<std::string> pids;
    for (const std::string& line : Lines(ReadText(log))) {
        EXPECT_EQ(line.substr(line.find(' ')), " sound");
        pids.insert(line.substr(0, line.find(' ')));
    }
    EXPECT_EQ(pids.size(), 2u);
    EXPECT_TRUE(Eventually([] { return ZombieChildren() == 0 && ChildStates().empty(); }));
}
