// The colour dialog: a chooser started at the dialog's colour, accepted or cancelled;
// one run at a time; a dialog destroyed while its chooser runs; the desktop chooser's
// answers; the built-in palette window.
#include "VisualTestSupport.h"

#include "framework/stdctrls/ColorDialog.h"

#include <optional>

namespace {

class ColorDialogTest : public HeadlessTest {
protected:
    void TearDown() override
    {
        TColorDialog::SetDefaultRunner(nullptr);
        HeadlessTest::TearDown();
    }
};

} // namespace

TEST_F(ColorDialogTest, ExecuteStartsAtTheColourAndKeepsItOnCancel)
{
    TColorDialog dlg(nullptr);
    EXPECT_EQ(dlg.Color(), clBlack);
    dlg.SetColor(clTeal);
    TColor seen = 0;
    std::optional<TColor> answer = clRed;
    dlg.Runner = [&](TColor initial) {
        seen = initial;
        EXPECT_TRUE(dlg.Executing());
        return answer;
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(seen, clTeal);
    EXPECT_EQ(dlg.Color(), clRed);
    EXPECT_FALSE(dlg.Executing());

    answer.reset();
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.Color(), clRed);
}

TEST_F(ColorDialogTest, ASecondExecuteWhileRunningAnswersFalseAndTheDefaultRunnerIsInjectable)
{
    TColorDialog dlg(nullptr);
    int runs = 0;
    bool inner = true;
    TColorDialog::SetDefaultRunner([&](TColor) -> std::optional<TColor> {
        ++runs;
        inner = dlg.Execute();
        return clLime;
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(inner);
    EXPECT_EQ(dlg.Color(), clLime);
}

TEST_F(ColorDialogTest, ADialogFreedWhileItsChooserRunsIsNotTouchedAgain)
{
    auto* owner = new TComponent(nullptr);
    auto* dlg = new TColorDialog(owner);
    int closes = 0;
    dlg->OnClose = TNotifyEvent::FromFunction([&](TObject*) { ++closes; });
    dlg->Runner = [&](TColor) -> std::optional<TColor> {
        delete owner;
        return clRed;
    };
    EXPECT_FALSE(dlg->Execute());
    EXPECT_EQ(closes, 0);
}

TEST_F(ColorDialogTest, DesktopChooserAnswersAreParsed)
{
    EXPECT_EQ(ParseChooserColor("rgb(255,0,0)\n"), std::optional<TColor>(clRed));
    EXPECT_EQ(ParseChooserColor(" rgba(0, 128, 128, 0.5) "), std::optional<TColor>(clTeal));
    EXPECT_EQ(ParseChooserColor("#00ff00"), std::optional<TColor>(clLime));
    EXPECT_EQ(ParseChooserColor("#f00"), std::optional<TColor>(clRed));
    EXPECT_EQ(ParseChooserColor("#ffff00000000"), std::optional<TColor>(clRed));
    EXPECT_EQ(ParseChooserColor("#8000ff"), std::optional<TColor>(TColor(0xFF0080)));
    for (const char* bad : { "", "\n", "rgb(256,0,0)", "rgb(1,2)", "rgb(a,b,c)", "#12345",
             "#gg0000", "hsl(0,0,0)", "rgb(1,2,3", "rgba(1,2,3)", "rgb(-1,0,0)" })
        EXPECT_FALSE(ParseChooserColor(bad).has_value()) << bad;
}

TEST_F(ColorDialogTest, DesktopCommandCarriesTheInitialColourWithoutAShell)
{
    const std::vector<std::string> argv = DesktopChooserCommand(clBtnFace);
    if (argv.empty())
        GTEST_SKIP() << "neither zenity nor kdialog on PATH";
    EXPECT_TRUE(argv[0] == "zenity" || argv[0] == "kdialog");
    const std::string face = "#" + std::string("c0c0c0");
    bool found = false;
    for (const std::string& a : argv)
        found = found || a.find(face) != std::string::npos;
    EXPECT_TRUE(found);
}

TEST_F(ColorDialogTest, BuiltInPaletteAcceptsAClickedSwatchAndCancelsOnEscape)
{
    TForm* main = NewForm();
    Application->SetMainForm(main);
    // Once the palette window is up, click a swatch: 0xFF0000 is at index 22 of the
    // palette, row 2, column 6.
    auto clickBlue = [&](TCustomForm* chooser) {
        ws.Click(chooser->WindowHandle(), 8 + 6 * 24 + 12, 8 + 2 * 24 + 12);
    };
    EXPECT_EQ(RunBuiltInColorChooser(clWhite, clickBlue), std::optional<TColor>(TColor(0xFF0000)));

    // Keys go to the modal window whichever window has the keyboard.
    ws.KeyDown(plat::vk::Escape);
    EXPECT_FALSE(RunBuiltInColorChooser(clWhite).has_value());
    ws.KeyDown(plat::vk::Return);
    EXPECT_EQ(RunBuiltInColorChooser(clTeal), std::optional<TColor>(clTeal));
    // Closing the window cancels.
    auto close = [&](TCustomForm* chooser) { ws.Close(chooser->WindowHandle()); };
    EXPECT_FALSE(RunBuiltInColorChooser(clTeal, close).has_value());
}
