#include "MetronomeTestSupport.h"

namespace {

// The main window on a window system that shows every pixel as a 2 x 2 block.
class ScaledWindowTest : public MetronomeTest {
protected:
    void SetUp() override
    {
        MetronomeTest::SetUp();
        plat::InstallWindowSystem(&scaled);
    }

    // A left click at a point of the window given in screen pixels.
    void ClickAt(int x, int y)
    {
        scaled.Click(form->WindowHandle(), x, y);
        Application->ProcessMessages();
    }
    // The middle of a control, in the window's screen pixels.
    plat::Point Middle(TControl* c) const
    {
        TPoint p = c->FormOffset();
        return { 2 * (p.X + c->Width() / 2), 2 * (p.Y + c->Height() / 2) };
    }
    // The number of screen pixels that are not their framebuffer pixel.
    int64_t Mismatches() const
    {
        plat::Surface shown = scaled.Presented(form->WindowHandle());
        const plat::Surface& fb = form->Framebuffer();
        int64_t n = 0;
        for (int32_t y = 0; y < shown.Height(); ++y)
            for (int32_t x = 0; x < shown.Width(); ++x)
                n += shown.Row(y)[x] != fb.Row(y / 2)[x / 2];
        return n;
    }

    plat::HeadlessWindowSystem scaled { 2 };
};

} // namespace

// The form keeps its size and draws at its own pixels; the window is twice as large and
// shows each of them as a block; its place on the screen is the form's.
TEST_F(ScaledWindowTest, TheWindowShowsEveryPixelAsABlock)
{
    Open();
    EXPECT_EQ(form->BoundsRect(), Bounds(360, 113, 412, 443));
    EXPECT_EQ(form->Framebuffer().Width(), 412);
    EXPECT_EQ(scaled.WindowBounds(form->WindowHandle()), (plat::Rect { 360, 113, 772, 556 }));
    plat::Surface shown = scaled.Presented(form->WindowHandle());
    EXPECT_EQ(shown.Width(), 824);
    EXPECT_EQ(shown.Height(), 886);
    EXPECT_EQ(Mismatches(), 0);
}

// A click at the scaled Run key switches Run; the same numbers unscaled land elsewhere.
TEST_F(ScaledWindowTest, ClicksAreMappedBackToTheControls)
{
    Open();
    plat::Point run = Middle(form->btnRun);
    ClickAt(run.x / 2, run.y / 2);
    EXPECT_FALSE(form->btnRun->StateOn());
    ClickAt(run.x, run.y);
    EXPECT_TRUE(form->btnRun->StateOn());
    // The last screen pixel of the key's block still belongs to it.
    TPoint o = form->btnRun->FormOffset();
    ClickAt(2 * (o.X + form->btnRun->Width()) - 1, 2 * (o.Y + form->btnRun->Height()) - 1);
    EXPECT_FALSE(form->btnRun->StateOn());
    ClickAt(2 * (o.X + form->btnRun->Width()), run.y);
    EXPECT_FALSE(form->btnRun->StateOn());
}

// A drag by the frame moves the window by the pointer's travel in screen pixels, and Quit
// stores the place in screen pixels.
TEST_F(ScaledWindowTest, DragsMoveByScreenPixels)
{
    Open();
    const plat::WindowId id = form->WindowHandle();
    scaled.MouseDown(id, 10, 400);
    Application->ProcessMessages();
    scaled.MouseMove(id, 33, 415, plat::mod::Left);
    Application->ProcessMessages();
    EXPECT_EQ(form->Left(), 360 + 23);
    EXPECT_EQ(form->Top(), 113 + 15);
    EXPECT_EQ(scaled.WindowBounds(id), (plat::Rect { 383, 128, 795, 571 }));
    scaled.MouseUp(id, 10, 400);
    Application->ProcessMessages();
    plat::Point quit = Middle(form->btnQuit);
    ClickAt(quit.x, quit.y);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(ReadIni(), "[Form.Position]\ntop=128\nleft=383\n[Config]\nTempo=120\nBeep=0\n");
}

// While the needle swings, each present writes the blocks of what changed, a small part of
// the window, and the window stays equal to the framebuffer block by block.
TEST_F(ScaledWindowTest, PresentsStayPartialAndExact)
{
    Open();
    plat::Point run = Middle(form->btnRun);
    ClickAt(run.x, run.y);
    ASSERT_TRUE(form->btnRun->StateOn());
    const int64_t window = 824 * 886;
    for (int32_t ms = 1100; ms < 1600; ms += 50) {
        scaled.ResetPresentStats();
        TickAt(ms);
        Application->ProcessMessages();
        EXPECT_GT(scaled.PresentedPixels(), 0) << ms;
        EXPECT_LT(scaled.PresentedPixels(), window / 4) << ms;
        EXPECT_EQ(scaled.PresentedPixels() % 4, 0) << ms;
        ASSERT_EQ(Mismatches(), 0) << ms;
    }
}
