#include "app/USdkUrlLauncher.h"

#include "LauncherTestSupport.h"
#include "MetronomeTestSupport.h"

using namespace launchertest;

// The launchers as the window uses them: the logo's click and double click, the mixer
// key's icon and click.
class LauncherWindowTest : public StubFixture<MetronomeTest> {
protected:
    void SetUp() override
    {
        StubFixture<MetronomeTest>::SetUp();
        log = root / "log.txt";
    }
    void TearDown() override
    {
        EXPECT_TRUE(USdkUrlLauncher::WaitForAll(20000));
        EXPECT_TRUE(Eventually([] { return ChildStates().empty(); }));
        StubFixture<MetronomeTest>::TearDown();
    }
    void ClickTwice(TControl* c)
    {
        TPoint p = c->FormOffset();
        ws.DoubleClick(form->WindowHandle(), p.X + c->Width() / 2, p.Y + c->Height() / 2);
        Application->ProcessMessages();
    }
    std::vector<std::string> LogLines() { return Lines(ReadText(log)); }

    fs::path log;
};

TEST_F(LauncherWindowTest, TheLogoOpensTheMakersPageOncePerClick)
{
    LoggingStub("xdg-open", log);
    Open();
    Click(form->imgLogo);
    ASSERT_TRUE(USdkUrlLauncher::WaitForAll(20000));
    const std::string once = "<" + std::string(MakersPageUrl) + ">";
    EXPECT_EQ(LogLines(), std::vector<std::string> { once });
    EXPECT_NE(std::string(MakersPageUrl).find("example.com/music/index.htm"), std::string::npos);

    // A double click: one open for the click and one for the double click.
    ClickTwice(form->imgLogo);
    ASSERT_TRUE(USdkUrlLauncher::WaitForAll(20000));
    EXPECT_EQ(LogLines(), std::vector<std::string>(3, once));
}

TEST_F(LauncherWindowTest, AMixerPutsItsIconOnTheKeyAndStartsPerClick)
{
    Stub("pavucontrol", "echo \"$$\" >> '" + log.string() + "'\nsleep 0.2");
    MixerEntryWithIcon("pavucontrol", "stub-volume", 0x0000FF);
    Open();
    auto* shown = dynamic_cast<TBitmap*>(form->imgMixerLogo->Picture()->Graphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Width(), 16);
    EXPECT_EQ(shown->Image().GetColor(3, 3), 0x0000FFu);
    EXPECT_EQ(shown->Image().GetColor(12, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(form->sbMixer->Glyph()->Image(), shown->Image());
    EXPECT_EQ(form->sbMixer->Caption(), "Vol.");

    Click(form->sbMixer);
    Click(form->sbMixer);
    EXPECT_TRUE(Eventually([&] { return LogLines().size() == 2; }));
    ASSERT_EQ(LogLines().size(), 2u);
    EXPECT_NE(LogLines()[0], LogLines()[1]);
}

TEST_F(LauncherWindowTest, WithoutAMixerTheKeyShowsOnlyItsCaption)
{
    Open();
    EXPECT_TRUE(form->imgMixerLogo->Picture()->Graphic() == nullptr
        || form->imgMixerLogo->Picture()->Graphic()->Empty());
    EXPECT_TRUE(form->sbMixer->Glyph()->Empty());
    EXPECT_EQ(form->sbMixer->Caption(), "Vol.");
    EXPECT_TRUE(form->sbMixer->Visible());
    EXPECT_TRUE(form->imgMixerLogo->Visible());
    Click(form->sbMixer);
    EXPECT_TRUE(ChildStates().empty());
}
