// The library's splitter: its bar, the neighbour it finds, the size limits, the drag
// line, Escape, and every way a drag can end without leaving anything behind.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "framework/graphics/Bitmap.h"
#include "support/FillBox.h"

namespace {

// A 400-pixel-wide holder with a 100-pixel panel on the left, the splitter and a client
// box, at (X0, Y0) of a white form.
class SplitterTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(440, 160, 0, 0, clWhite);
        id = form->WindowHandle();
        holder = new TColorWindow(form, form, Bounds(X0, Y0, 400, 100), clWhite);
        left = new TColorWindow(form, holder, Rect(0, 0, 100, 100), clGreen);
        left->SetAlign(alLeft);
        split = new TepSplitter(form);
        split->SetBounds(100, 0, 3, 100);
        split->SetParent(holder);
        split->SetColor(clSilver);
        client = new TColorBox(form, holder, Rect(0, 0, 10, 10), clYellow);
        client->SetAlign(alClient);
        split->OnMoved = TNotifyEvent::FromFunction([this](TObject*) { ++moved; });
        form->OnKeyDown = TKeyEvent::FromFunction(
            [this](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); });
        Pump();
    }
    // Pointer actions in the holder's coordinates.
    void Down(int x, int y)
    {
        ws.MouseMove(id, X0 + x, Y0 + y);
        ws.MouseDown(id, X0 + x, Y0 + y, plat::MouseButton::Left);
        Pump();
    }
    void Move(int x, int y)
    {
        ws.MouseMove(id, X0 + x, Y0 + y);
        Pump();
    }
    void Up(int x, int y)
    {
        ws.MouseUp(id, X0 + x, Y0 + y, plat::MouseButton::Left);
        Pump();
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    TRect LineAt(int x) const { return Bounds(X0 + x, Y0, 3, 100); }

    static constexpr int X0 = 20, Y0 = 30;
    TForm* form = nullptr;
    uintptr_t id = 0;
    TColorWindow* holder = nullptr;
    TColorWindow* left = nullptr;
    TepSplitter* split = nullptr;
    TColorBox* client = nullptr;
    int moved = 0;
    std::vector<uint16_t> keys;
};

TEST_F(SplitterTest, DefaultBarIsThreePixelsWithTheGrooveLinesAndTheSplitCursor)
{
    EXPECT_EQ(split->Align(), alLeft);
    EXPECT_EQ(split->BoundsRect(), Rect(100, 0, 103, 100));
    EXPECT_EQ(split->Cursor(), crHSplit);
    EXPECT_EQ(split->MinSize(), 30);
    EXPECT_TRUE(split->Beveled());
    EXPECT_EQ(split->FindControl(), left);
    EXPECT_EQ(At(100, 50), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(101, 50), clSilver);
    EXPECT_EQ(At(102, 50), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(100, 0), ColorToRGB(clBtnShadow));   // the lines run the full height
    EXPECT_EQ(At(102, 99), ColorToRGB(clBtnHighlight));

    split->SetBeveled(false);
    Pump();
    EXPECT_EQ(At(100, 50), clSilver);
}

TEST_F(SplitterTest, DragGrowsThePanelTo367AtMostAnd30AtLeast)
{
    Down(101, 50);
    ASSERT_TRUE(split->Sizing());
    EXPECT_EQ(split->MaxSize(), 367);   // 400 - 30 - 103 + 100
    EXPECT_TRUE(form->HasInvertOverlay(LineAt(100)));
    EXPECT_EQ(At(101, 50), TColor(~clSilver & 0xFFFFFF));

    Move(1001, 50);
    EXPECT_EQ(split->NewSize(), 367);
    EXPECT_FALSE(form->HasInvertOverlay(LineAt(100)));
    EXPECT_TRUE(form->HasInvertOverlay(LineAt(367)));   // stops at the limit
    Up(1001, 50);
    EXPECT_FALSE(split->Sizing());
    EXPECT_EQ(left->Width(), 367);
    EXPECT_EQ(split->Left(), 367);
    EXPECT_EQ(moved, 1);
    EXPECT_FALSE(form->HasInvertOverlay(LineAt(367)));
    EXPECT_EQ(At(368, 50), clSilver);

    Down(368, 50);
    Move(-500, 50);
    EXPECT_TRUE(form->HasInvertOverlay(LineAt(30)));
    Up(-500, 50);
    EXPECT_EQ(left->Width(), 30);
    EXPECT_EQ(moved, 2);
}

TEST_F(SplitterTest, EscapeCancelsKeepsTheWidthAndStillReportsTheMove)
{
    Down(101, 50);
    Move(151, 50);
    ASSERT_TRUE(form->HasInvertOverlay(LineAt(150)));
    ws.KeyDown('A');                    // other keys reach the saved handler
    Pump();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], 'A');
    EXPECT_TRUE(split->Sizing());
    ws.KeyDown(27);
    Pump();
    EXPECT_FALSE(split->Sizing());
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_FALSE(form->HasInvertOverlay(LineAt(150)));
    EXPECT_EQ(At(151, 50), clYellow);
    Up(151, 50);
    EXPECT_EQ(left->Width(), 100);
    EXPECT_EQ(moved, 1);
    ws.KeyDown(27);                     // the form's own handler is back
    Pump();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1], 27);
}

TEST_F(SplitterTest, BottomAndRightSplittersMoveTheirNeighbourTowardsThem)
{
    delete split;
    delete left;
    delete client;
    auto* bottom = new TColorWindow(form, holder, Rect(0, 0, 400, 40), clGreen);
    bottom->SetAlign(alBottom);
    auto* bar = new TepSplitter(form);
    bar->SetAlign(alBottom);
    bar->SetHeight(4);
    bar->SetParent(holder);
    bar->SetTop(0);                    // aligned above the bottom box
    Pump();
    ASSERT_EQ(bar->BoundsRect(), Rect(0, 56, 400, 60));
    ASSERT_EQ(bar->FindControl(), bottom);
    Down(200, 57);
    Move(200, 37);                     // 20 up: the box grows by 20
    Up(200, 37);
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 40, 400, 100));
    EXPECT_EQ(bar->Top(), 36);
}

TEST_F(SplitterTest, UnalignedOrClientSplittersFindNothingAndDoNotSize)
{
    for (TAlign a : { alNone, alClient }) {
        auto* bar = new TepSplitter(form);
        bar->SetParent(holder);
        bar->SetAlign(a);
        bar->SetBounds(200, 0, 3, 100);
        EXPECT_EQ(bar->FindControl(), nullptr);
        delete bar;
    }
    split->SetAlign(alNone);
    split->SetBounds(150, 0, 3, 100);
    Pump();
    Down(151, 50);
    EXPECT_FALSE(split->Sizing());
    Up(171, 50);
    EXPECT_EQ(moved, 0);
}

TEST_F(SplitterTest, LosingTheCaptureEndsTheDragCleanly)
{
    Down(101, 50);
    Move(121, 50);
    ASSERT_TRUE(split->Sizing());
    form->CancelMouseCapture();
    Pump();
    EXPECT_FALSE(split->Sizing());
    EXPECT_FALSE(split->LineVisible());
    EXPECT_FALSE(form->HasInvertOverlay(LineAt(120)));
    ws.KeyDown(27);
    Pump();
    EXPECT_EQ(keys.size(), 1u);         // the form's handler is back

    // Someone else taking the mouse ends it at the next move.
    Down(left->Width() + 1, 50);
    ASSERT_TRUE(split->Sizing());
    SetCaptureControl(nullptr);
    const int before = moved;
    Move(left->Width() + 2, 50);        // still over the bar
    EXPECT_FALSE(split->Sizing());
    EXPECT_EQ(moved, before + 1);
}

TEST_F(SplitterTest, DestroyingTheSplitterOrItsNeighbourMidDragLeavesNothingBehind)
{
    Down(101, 50);
    Move(131, 50);
    ASSERT_TRUE(form->HasInvertOverlay(LineAt(130)));
    delete split;
    split = nullptr;
    EXPECT_FALSE(form->HasInvertOverlay(LineAt(130)));
    EXPECT_EQ(moved, 0);
    ws.KeyDown(27);
    Pump();
    EXPECT_EQ(keys.size(), 1u);
    Up(131, 50);

    split = new TepSplitter(form);
    split->SetParent(holder);
    split->SetLeft(100);
    Pump();
    ASSERT_EQ(split->FindControl(), left);
    Down(split->Left() + 1, 50);
    Move(150, 50);
    ASSERT_TRUE(split->Sizing());
    delete left;
    EXPECT_FALSE(split->Sizing());
    EXPECT_EQ(split->ResizedControl(), nullptr);
    Move(180, 50);
    Up(180, 50);
    ws.KeyDown(27);
    Pump();
    EXPECT_EQ(keys.size(), 2u);
}

// A focused control is the one hooked; it may go while the drag runs.
TEST_F(SplitterTest, TheHookedFocusedControlMayBeDestroyedDuringTheDrag)
{
    auto* focus = new TColorWindow(form, form, Bounds(0, 140, 20, 20), clRed);
    focus->SetTabStop(true);
    Pump();
    focus->SetFocus();
    ASSERT_EQ(form->FocusedControl(), focus);
    int focusKeys = 0;
    focus->OnKeyDown = TKeyEvent::FromFunction([&](TObject*, uint16_t&, TShiftState) { ++focusKeys; });
    Down(101, 50);
    ASSERT_TRUE(split->Sizing());
    ws.KeyDown('B');
    Pump();
    EXPECT_EQ(focusKeys, 1);
    delete focus;
    Move(141, 50);
    ws.KeyDown(27);
    Pump();
    EXPECT_TRUE(split->Sizing());       // Escape has nobody to reach now; the release ends it
    Up(141, 50);
    EXPECT_FALSE(split->Sizing());
    EXPECT_EQ(left->Width(), 140);
}

} // namespace
