// The move-form area on a headless form: which presses drag, what ends a drag, and that
// the window follows the pointer's travel on the screen.
#include "EffectControlsTestSupport.h"

#include "effectlib/EPCtrls.h"
#include "framework/stdctrls/CustomPanel.h"

namespace {

using plat::MouseButton;

class MoveFormTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(200, 150, 100, 80);
        id = form->WindowHandle();
        area = new TepMoveForm(form);
        area->SetBounds(0, 0, 150, 120);
        area->SetParent(form);
        Pump();
    }
    TPoint WindowPos() const
    {
        plat::Rect r = ws.WindowBounds(id);
        return { r.left, r.top };
    }
    void Down(int x, int y, MouseButton b = MouseButton::Left, int clicks = 1)
    {
        ws.MouseDown(id, x, y, b, clicks);
        Pump();
    }
    void Move(int x, int y)
    {
        ws.MouseMove(id, x, y);
        Pump();
    }
    void Up(int x, int y, MouseButton b = MouseButton::Left)
    {
        ws.MouseUp(id, x, y, b);
        Pump();
    }

    TForm* form = nullptr;
    plat::WindowId id = 0;
    TepMoveForm* area = nullptr;
};

} // namespace

TEST_F(MoveFormTest, LeftDragMovesTheWindowByThePointersTravel)
{
    EXPECT_EQ(area->Width(), 150);
    Down(50, 50);
    EXPECT_TRUE(area->Dragging());
    EXPECT_EQ(area->PressPoint(), Point(50, 50));

    Move(60, 45);   // the pointer went 10 right and 5 up on the screen
    EXPECT_EQ(form->Left(), 110);
    EXPECT_EQ(form->Top(), 75);
    EXPECT_EQ(WindowPos(), (TPoint { 110, 75 }));

    // The window is now under the pointer again: the same screen point is (50, 50).
    Move(50, 50);
    EXPECT_EQ(form->Left(), 110);
    EXPECT_EQ(form->Top(), 75);
    Move(30, 70);   // 20 left, 20 down
    EXPECT_EQ(form->Left(), 90);
    EXPECT_EQ(form->Top(), 95);

    // The capture keeps moves coming when the pointer runs ahead of the window.
    // Screen (140, 145) -> (350, 285).
    Move(260, 190);
    EXPECT_EQ(form->Left(), 90 + 210);
    EXPECT_EQ(form->Top(), 95 + 140);

    Up(260, 190);
    EXPECT_FALSE(area->Dragging());
    Move(10, 10);
    EXPECT_EQ(form->Left(), 300);
    EXPECT_EQ(form->Top(), 235);
}

// On X11 a move event may still carry coordinates relative to where the window was
// before the last move took effect; the drag follows the screen pointer, not them.
TEST_F(MoveFormTest, StaleWindowCoordinatesDoNotMakeTheWindowSwing)
{
    Down(50, 50);   // screen (150, 130)
    for (int step = 1; step <= 4; ++step) {
        ws.SetCursorPos({ 150 + 10 * step, 130 });
        plat::Event e;
        e.type = plat::Event::Type::MouseMove;
        e.window = id;
        e.x = 50 + 10 * step;   // as if the window had never moved
        e.y = 50;
        e.mods = plat::mod::Left;
        ws.Post(e);
        Pump();
        EXPECT_EQ(form->Left(), 100 + 10 * step) << "step " << step;
        EXPECT_EQ(form->Top(), 80);
    }
}

TEST_F(MoveFormTest, RightPressDoesNotDragButMovesTheAnchor)
{
    Down(40, 30, MouseButton::Right);
    EXPECT_FALSE(area->Dragging());
    EXPECT_EQ(area->PressPoint(), Point(40, 30));
    Move(80, 60);
    EXPECT_EQ(WindowPos(), (TPoint { 100, 80 }));
    Up(80, 60, MouseButton::Right);

    // A right press during a left drag re-anchors; its release ends the drag.
    Down(20, 20);
    Move(30, 20);
    EXPECT_EQ(form->Left(), 110);
    Down(20, 20, MouseButton::Right);   // screen (130, 100)
    EXPECT_TRUE(area->Dragging());
    EXPECT_EQ(area->PressPoint(), Point(20, 20));
    Move(25, 20);
    EXPECT_EQ(form->Left(), 115);
    Up(25, 20, MouseButton::Right);   // the left button is still held
    EXPECT_FALSE(area->Dragging());
    Move(60, 60);
    EXPECT_EQ(form->Left(), 115);
    EXPECT_EQ(form->Top(), 80);
    Up(60, 60);
}

TEST_F(MoveFormTest, DoubleClickStartsADrag)
{
    Down(50, 50);
    Up(50, 50);
    Down(50, 50, MouseButton::Left, 2);
    EXPECT_TRUE(area->Dragging());
    Move(55, 52);
    EXPECT_EQ(WindowPos(), (TPoint { 105, 82 }));
    Up(55, 52);
}

TEST_F(MoveFormTest, ALostReleaseEndsTheDrag)
{
    Down(50, 50);
    Move(60, 50);
    ASSERT_EQ(form->Left(), 110);
    // A move arrives with no button held: the release went elsewhere.
    plat::Event e;
    e.type = plat::Event::Type::MouseMove;
    e.window = id;
    e.x = 80;
    e.y = 80;
    e.mods = 0;
    ws.Post(e);
    Pump();
    EXPECT_FALSE(area->Dragging());
    EXPECT_EQ(form->Left(), 110);
    EXPECT_EQ(form->Top(), 80);

    // Losing the focus cancels the capture, which ends the drag too.
    Down(50, 50);
    ASSERT_TRUE(area->Dragging());
    plat::Event out;
    out.type = plat::Event::Type::FocusOut;
    out.window = id;
    ws.Post(out);
    Pump();
    EXPECT_FALSE(area->Dragging());
}

TEST_F(MoveFormTest, ControlsAboveTheAreaKeepTheirPresses)
{
    auto* panel = new TPanel(form);
    panel->SetBounds(100, 10, 40, 40);
    panel->SetParent(form);
    Pump();
    Down(110, 20);
    EXPECT_FALSE(area->Dragging());
    Move(130, 40);
    EXPECT_EQ(WindowPos(), (TPoint { 100, 80 }));
    Up(130, 40);
}

TEST_F(MoveFormTest, AnAreaLargerThanItsParentWorksTheSame)
{
    auto* panel = new TPanel(form);
    panel->SetBounds(20, 20, 150, 100);
    panel->SetParent(form);
    auto* big = new TepMoveForm(form);
    big->SetBounds(0, 0, 433, 473);
    big->SetParent(panel);
    Pump();
    Down(100, 100);   // (80, 80) in the panel
    EXPECT_TRUE(big->Dragging());
    EXPECT_EQ(big->PressPoint(), Point(80, 80));
    Move(90, 107);
    EXPECT_EQ(WindowPos(), (TPoint { 90, 87 }));
    Up(90, 107);
}

// The window moved is the area's owner. An area owned by something that is not a control
// (here a plain component, or nothing) moves nothing, not even the form it lies on.
TEST_F(MoveFormTest, AnAreaNotOwnedByAControlMovesNothing)
{
    area->SetParent(nullptr);
    TComponent holder(nullptr);
    auto* byComponent = new TepMoveForm(&holder);
    byComponent->SetBounds(0, 0, 100, 60);
    byComponent->SetParent(form);
    auto orphan = std::make_unique<TepMoveForm>(nullptr);
    orphan->SetBounds(0, 70, 100, 60);
    orphan->SetParent(form);
    Pump();
    const TPoint start = WindowPos();
    for (int y : { 30, 100 }) {
        Down(50, y);
        EXPECT_TRUE((y == 30 ? byComponent : orphan.get())->Dragging()) << y;
        Move(80, y + 20);
        Move(90, y + 30);
        Up(90, y + 30);
        EXPECT_EQ(WindowPos(), start) << y;
        EXPECT_EQ(form->Left(), start.X);
        EXPECT_EQ(form->Top(), start.Y);
    }
    byComponent->SetParent(nullptr);
    orphan->SetParent(nullptr);
}

TEST_F(MoveFormTest, DrawsNothingAtRunTimeAndADashedOutlineAtDesignTime)
{
    form->SetColor(clWhite);
    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 200, 150);
    panel->SetColor(0x00D0D0D0);
    panel->SetBevelOuter(bvNone);
    panel->SetParent(form);
    auto* a = new TepMoveForm(form);
    a->SetBounds(10, 10, 40, 30);
    a->SetParent(panel);
    Pump();
    for (int x = 10; x < 50; ++x) {
        ASSERT_EQ(Pixel(form, x, 10), 0x00D0D0D0u) << x;
        ASSERT_EQ(Pixel(form, x, 39), 0x00D0D0D0u) << x;
    }

    a->SetDesigning(true);
    a->Invalidate();
    Pump();
    int black = 0, ground = 0;
    for (int x = 10; x < 50; ++x) {
        TColor c = Pixel(form, x, 10);
        black += c == clBlack;
        ground += c == 0x00D0D0D0;
    }
    EXPECT_GT(black, 10);   // dashed: both the pen and the gaps along the top edge
    EXPECT_GT(ground, 5);
    EXPECT_EQ(black + ground, 40);
    EXPECT_EQ(Pixel(form, 30, 25), 0x00D0D0D0u);   // clear brush: the inside shows through
    EXPECT_EQ(Pixel(form, 50, 20), 0x00D0D0D0u);   // the outline ends at the bounds
    bool leftEdge = false;
    for (int y = 10; y < 40; ++y)
        leftEdge |= Pixel(form, 10, y) == clBlack;
    EXPECT_TRUE(leftEdge);
}

// Where the window system moves windows itself, it hands over the presses that would drag
// the window: those on an area owned by the window's form, not on one that moves another
// control or nothing.
TEST_F(MoveFormTest, OnlyAnAreaThatMovesItsFormIsADragAreaOfTheWindow)
{
    EXPECT_TRUE(ws.IsDragArea(id, { 10, 10 }));
    EXPECT_FALSE(ws.IsDragArea(id, { 160, 10 }));   // beside the area

    auto* panel = new TPanel(form);
    panel->SetBounds(0, 0, 60, 60);
    panel->SetParent(form);
    auto* movesPanel = new TepMoveForm(panel);
    movesPanel->SetBounds(0, 0, 60, 60);
    movesPanel->SetParent(panel);
    auto orphan = std::make_unique<TepMoveForm>(nullptr);
    orphan->SetBounds(70, 0, 50, 50);
    orphan->SetParent(form);
    Pump();
    EXPECT_FALSE(ws.IsDragArea(id, { 10, 10 }));    // moves the panel, not the window
    EXPECT_FALSE(ws.IsDragArea(id, { 80, 10 }));    // moves nothing
    EXPECT_TRUE(ws.IsDragArea(id, { 130, 10 }));    // the form's own area again
    orphan->SetParent(nullptr);
}
