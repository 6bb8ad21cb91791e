// Mouse and keyboard input on a headless form: click order, capture, double clicks,
// enter and leave, hit testing, cursors, focus and tab order, keys and accelerators.
#include "VisualTestSupport.h"

#include <algorithm>

namespace {

using Log = std::vector<std::string>;

std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

// Logs what reaches it; answers the dialog character Accel.
template <class Base>
class TLogged : public Base {
public:
    TLogged(TComponent* owner, TWinControl* parent, const TRect& r, Log* log, const char* tag)
        : Base(owner)
        , FLog(log)
        , FTag(tag)
    {
        this->SetBoundsRect(r);
        this->SetParent(parent);
    }
    char Accel = 0;
    LPARAM LastFocusChange = -1;

protected:
    void Add(const std::string& s) { FLog->push_back(FTag + ":" + s); }
    void Click() override
    {
        Add("click");
        Base::Click();
    }
    void DblClick() override { Add("dblclick"); }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        Add(std::string(s & ssDouble ? "ddown " : "down ") + (b == mbLeft ? "" : "r") + Pos(x, y));
    }
    void MouseMove(TShiftState, int x, int y) override { Add("move " + Pos(x, y)); }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override { Add("up " + Pos(x, y)); }
    void CMMouseEnter(TMessage&) override { Add("enter"); }
    void CMMouseLeave(TMessage&) override { Add("leave"); }
    void CMDialogChar(TMessage& m) override
    {
        if (Accel && m.WParam == WPARAM(uint8_t(Accel))) {
            Add("accel");
            m.Result = 1;
            return;
        }
        Base::CMDialogChar(m);
    }
    void CMFocusChanged(TMessage& m) override
    {
        LastFocusChange = m.LParam;
        Base::CMFocusChanged(m);
    }

    Log* FLog;
    std::string FTag;
};

class TLogBox : public TLogged<TGraphicControl> {
public:
    using TLogged::TLogged;
};

class TLogWindow : public TLogged<TCustomControl> {
public:
    TLogWindow(TComponent* owner, TWinControl* parent, const TRect& r, Log* log, const char* tag)
        : TLogged(owner, parent, r, log, tag)
    {
        SetTabStop(true);
    }

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override
    {
        Add("keydown " + std::to_string(key));
        TLogged::KeyDown(key, shift);
    }
    void KeyPress(char& key) override
    {
        Add(std::string("keypress ") + key);
        TLogged::KeyPress(key);
    }
    void WMSetFocus(TMessage& m) override
    {
        Add("setfocus");
        TLogged::WMSetFocus(m);
    }
    void WMKillFocus(TMessage& m) override
    {
        Add("killfocus");
        TLogged::WMKillFocus(m);
    }
};

size_t Count(const Log& log, const std::string& s) { return size_t(std::count(log.begin(), log.end(), s)); }

size_t IndexOf(const Log& log, const std::string& s)
{
    return size_t(std::find(log.begin(), log.end(), s) - log.begin());
}

class InputTest : public HeadlessTest {
protected:
    void Run() { Application->ProcessMessages(); }
    Log log;
};

TEST_F(InputTest, ClickFiresBeforeMouseUp)
{
    TForm* f = NewForm();
    new TLogBox(f, f, Rect(10, 10, 50, 50), &log, "box");
    ws.Click(f->WindowHandle(), 20, 25);
    Run();
    EXPECT_EQ(log, (Log { "box:enter", "box:down 10,15", "box:click", "box:up 10,15" }));
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(InputTest, PressInsideReleaseOutsideGivesNoClickAndCaptureKeepsMovesFlowing)
{
    TForm* f = NewForm();
    auto* box = new TLogBox(f, f, Rect(10, 10, 50, 50), &log, "box");
    new TLogWindow(f, f, Rect(60, 60, 100, 100), &log, "win");
    ws.MouseDown(f->WindowHandle(), 20, 20);
    Run();
    EXPECT_EQ(GetCaptureControl(), box);
    EXPECT_EQ(ws.CapturedWindow(), f->WindowHandle());
    ws.MouseMove(f->WindowHandle(), 80, 90);
    ws.MouseUp(f->WindowHandle(), 80, 90);
    Run();
    EXPECT_EQ(Count(log, "box:move 70,80"), 1u);  // outside the box, in its coordinates
    EXPECT_EQ(Count(log, "box:up 70,80"), 1u);
    EXPECT_EQ(Count(log, "box:click"), 0u);
    EXPECT_EQ(box->ScreenToClient(GetCursorPos()), Point(70, 80));
    EXPECT_EQ(Count(log, "win:move 20,30"), 0u);  // the window under the pointer got nothing
    EXPECT_EQ(Count(log, "win:up 20,30"), 0u);
    EXPECT_EQ(Count(log, "win:enter"), 1u);       // but the pointer did enter it
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(ws.CapturedWindow(), 0u);
}

TEST_F(InputTest, DoubleClickGivesOneClickAndOneDoubleClick)
{
    TForm* f = NewForm();
    new TLogBox(f, f, Rect(10, 10, 50, 50), &log, "box");
    ws.DoubleClick(f->WindowHandle(), 20, 20);
    Run();
    EXPECT_EQ(Count(log, "box:click"), 1u);
    EXPECT_EQ(Count(log, "box:dblclick"), 1u);
    EXPECT_EQ(Count(log, "box:ddown 10,10"), 1u);
    EXPECT_LT(IndexOf(log, "box:dblclick"), IndexOf(log, "box:ddown 10,10"));
}

TEST_F(InputTest, WithoutDoubleClicksTheSecondPressIsAnOrdinaryPress)
{
    TForm* f = NewForm();
    auto* box = new TLogBox(f, f, Rect(10, 10, 50, 50), &log, "box");
    box->SetControlStyle(box->ControlStyle() & ~csDoubleClicks);
    ws.DoubleClick(f->WindowHandle(), 20, 20);
    Run();
    EXPECT_EQ(Count(log, "box:click"), 2u);
    EXPECT_EQ(Count(log, "box:dblclick"), 0u);
    EXPECT_EQ(Count(log, "box:down 10,10"), 2u);
}

TEST_F(InputTest, EnterAndLeaveFollowThePointerAcrossControls)
{
    TForm* f = NewForm();
    new TLogBox(f, f, Rect(0, 0, 20, 20), &log, "a");
    new TLogBox(f, f, Rect(30, 0, 50, 20), &log, "b");
    ws.MouseMove(f->WindowHandle(), 5, 5);
    ws.MouseMove(f->WindowHandle(), 6, 5);
    ws.MouseMove(f->WindowHandle(), 35, 5);
    ws.MouseLeave(f->WindowHandle());
    Run();
    EXPECT_EQ(log, (Log { "a:enter", "a:move 5,5", "a:move 6,5", "a:leave", "b:enter",
                       "b:move 5,5", "b:leave" }));
}

TEST_F(InputTest, TopmostGraphicControlAndWindowShapesDecideTheTarget)
{
    TForm* f = NewForm();
    int formClicks = 0;
    f->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++formClicks; });
    new TLogBox(f, f, Rect(0, 0, 40, 40), &log, "low");
    new TLogBox(f, f, Rect(20, 20, 60, 60), &log, "high");
    auto* w = new TLogWindow(f, f, Rect(60, 60, 100, 100), &log, "win");
    plat::Region shape({ 0, 0, 20, 20 });
    w->SetWindowRgn(&shape, false);
    ws.Click(f->WindowHandle(), 30, 30);  // both boxes: the later one is on top
    ws.Click(f->WindowHandle(), 90, 90);  // outside the window's shape: the form
    ws.Click(f->WindowHandle(), 65, 65);  // inside the shape
    Run();
    EXPECT_EQ(Count(log, "high:click"), 1u);
    EXPECT_EQ(Count(log, "low:click"), 0u);
    EXPECT_EQ(formClicks, 1);
    EXPECT_EQ(Count(log, "win:click"), 1u);
}

TEST_F(InputTest, DisabledWindowEatsTheClickAndDisabledGraphicControlPassesItOn)
{
    TForm* f = NewForm();
    int formClicks = 0;
    f->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++formClicks; });
    auto* w = new TLogWindow(f, f, Rect(0, 0, 40, 40), &log, "win");
    auto* b = new TLogBox(f, f, Rect(50, 50, 90, 90), &log, "box");
    w->SetEnabled(false);
    b->SetEnabled(false);
    ws.Click(f->WindowHandle(), 10, 10);
    ws.Click(f->WindowHandle(), 60, 60);
    Run();
    EXPECT_EQ(Count(log, "win:click"), 0u);
    EXPECT_EQ(Count(log, "box:click"), 0u);
    EXPECT_EQ(formClicks, 1);  // only the press beside the disabled window
}

TEST_F(InputTest, CursorComesFromTheControlUnderThePointerOrItsParent)
{
    TForm* f = NewForm();
    auto* box = new TLogBox(f, f, Rect(0, 0, 20, 20), &log, "box");
    auto* panel = new TLogWindow(f, f, Rect(50, 50, 100, 100), &log, "panel");
    new TLogBox(f, panel, Rect(0, 0, 10, 10), &log, "inner");
    box->SetCursor(crHandPoint);
    panel->SetCursor(crIBeam);
    ws.MouseMove(f->WindowHandle(), 5, 5);
    Run();
    EXPECT_EQ(ws.LastCursor(), plat::Cursor::Hand);
    ws.MouseMove(f->WindowHandle(), 30, 30);
    Run();
    EXPECT_EQ(ws.LastCursor(), plat::Cursor::Arrow);
    ws.MouseMove(f->WindowHandle(), 55, 55);  // inner has crDefault: the panel's cursor
    Run();
    EXPECT_EQ(ws.LastCursor(), plat::Cursor::IBeam);
}

TEST_F(InputTest, LosingTheFocusReleasesThePressedControlWithoutAClick)
{
    TForm* f = NewForm();
    new TLogBox(f, f, Rect(10, 10, 50, 50), &log, "box");
    ws.MouseDown(f->WindowHandle(), 20, 20);
    Run();
    ASSERT_NE(GetCaptureControl(), nullptr);
    ws.Focus(0);
    Run();
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(Count(log, "box:up -1,-1"), 1u);
    EXPECT_EQ(Count(log, "box:click"), 0u);
}

TEST_F(InputTest, TabCyclesTheTabOrderAndEveryControlHearsOfFocusChanges)
{
    TForm* f = NewForm();
    auto* a = new TLogWindow(f, f, Rect(0, 0, 10, 10), &log, "a");
    auto* b = new TLogWindow(f, f, Rect(20, 0, 30, 10), &log, "b");
    auto* c = new TLogWindow(f, f, Rect(40, 0, 50, 10), &log, "c");
    auto* off = new TLogWindow(f, f, Rect(60, 0, 70, 10), &log, "off");
    auto* box = new TLogBox(f, f, Rect(0, 50, 10, 60), &log, "box");
    off->SetTabStop(false);
    c->SetTabOrder(0);  // order: c, a, b, off
    EXPECT_EQ(a->TabOrder(), 1);
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(box->LastFocusChange, LPARAM(a));
    ws.KeyDown(plat::vk::Tab);
    Run();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(box->LastFocusChange, LPARAM(b));
    EXPECT_LT(IndexOf(log, "a:killfocus"), IndexOf(log, "b:setfocus"));
    ws.KeyDown(plat::vk::Tab);  // off has no tab stop: round to c
    Run();
    EXPECT_TRUE(c->Focused());
    ws.KeyDown(plat::vk::Tab, plat::mod::Shift);
    Run();
    EXPECT_TRUE(b->Focused());
    a->SetEnabled(false);
    ws.KeyDown(plat::vk::Tab, plat::mod::Shift);  // a cannot take the focus
    Run();
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(f->ActiveControl(), c);
    EXPECT_EQ(Count(log, "c:keydown 9"), 0u);  // Tab itself is not delivered
}

TEST_F(InputTest, KeysGoToTheFocusedControlAndAPreviewingFormMayConsumeThem)
{
    TForm* f = NewForm();
    auto* a = new TLogWindow(f, f, Rect(0, 0, 10, 10), &log, "a");
    a->SetFocus();
    ws.KeyDown('A');
    Run();
    EXPECT_EQ(Count(log, "a:keydown 65"), 1u);

    f->SetKeyPreview(true);
    f->OnKeyDown = TKeyEvent::FromFunction([](TObject*, uint16_t& key, TShiftState) {
        if (key == 'B')
            key = 0;
    });
    ws.KeyDown('B');
    ws.KeyDown('C');
    Run();
    EXPECT_EQ(Count(log, "a:keydown 66"), 0u);
    EXPECT_EQ(Count(log, "a:keydown 67"), 1u);
}

TEST_F(InputTest, UnusedCharacterReachesAnAcceleratorControlThatIsNotFocused)
{
    TForm* f = NewForm();
    auto* a = new TLogWindow(f, f, Rect(0, 0, 10, 10), &log, "a");
    auto* panel = new TLogWindow(f, f, Rect(20, 20, 90, 90), &log, "panel");
    auto* box = new TLogBox(f, panel, Rect(0, 0, 10, 10), &log, "box");
    box->Accel = 'r';
    a->SetFocus();
    ws.Char('r');
    Run();
    EXPECT_EQ(Count(log, "a:keypress r"), 1u);
    EXPECT_EQ(Count(log, "box:accel"), 1u);
    EXPECT_LT(IndexOf(log, "a:keypress r"), IndexOf(log, "box:accel"));

    // A character the focused control uses is not offered.
    a->OnKeyPress = TKeyPressEvent::FromFunction([](TObject*, char& k) { k = 0; });
    ws.Char('r');
    Run();
    EXPECT_EQ(Count(log, "box:accel"), 1u);
}

TEST_F(InputTest, WindowedControlKeepsTheCaptureOutsideItsBounds)
{
    TForm* f = NewForm();
    new TLogWindow(f, f, Rect(10, 10, 30, 30), &log, "win");
    ws.MouseDown(f->WindowHandle(), 15, 15);
    ws.MouseMove(f->WindowHandle(), 90, 5);
    ws.MouseDown(f->WindowHandle(), 90, 5, plat::MouseButton::Right);
    ws.MouseUp(f->WindowHandle(), 90, 5);
    Run();
    EXPECT_EQ(Count(log, "win:move 80,-5"), 1u);
    EXPECT_EQ(Count(log, "win:down r80,-5"), 1u);
    EXPECT_EQ(Count(log, "win:up 80,-5"), 1u);
    EXPECT_EQ(Count(log, "win:click"), 0u);
}

} // namespace

namespace {

TEST_F(InputTest, ShowingAFormFocusesItsActiveControlOrTheFirstTabStop)
{
    auto* f = new TForm(Application);
    auto* a = new TLogWindow(f, f, Rect(0, 0, 10, 10), &log, "a");
    auto* b = new TLogWindow(f, f, Rect(20, 0, 30, 10), &log, "b");
    f->Show();
    EXPECT_TRUE(a->Focused());
    f->Hide();
    auto* g = new TForm(Application);
    new TLogWindow(g, g, Rect(0, 0, 10, 10), &log, "c");
    auto* d = new TLogWindow(g, g, Rect(20, 0, 30, 10), &log, "d");
    g->SetActiveControl(d);
    g->Show();
    EXPECT_TRUE(d->Focused());
    (void)b;
}

} // namespace

namespace {

// A graphic control that says its drag moves the window.
class TDragBox : public TGraphicControl {
public:
    TDragBox(TComponent* owner, TWinControl* parent, const TRect& r)
        : TGraphicControl(owner)
    {
        SetBoundsRect(r);
        SetParent(parent);
    }
    bool DragsWindow() const override { return true; }
};

} // namespace

// The question a window system that moves windows itself asks on a press: the press must
// reach an enabled drag control, which other controls above it and a capture hide.
TEST_F(InputTest, DragAreaQueryFollowsWhereAPressWouldGo)
{
    TForm* f = NewForm();
    const plat::WindowId id = f->WindowHandle();
    auto* drag = new TDragBox(f, f, Rect(0, 0, 100, 100));
    new TLogBox(f, f, Rect(50, 50, 70, 70), &log, "above");
    auto* panel = new TLogWindow(f, f, Rect(120, 0, 200, 80), &log, "win");
    new TDragBox(f, panel, Rect(0, 0, 40, 40));

    EXPECT_TRUE(ws.IsDragArea(id, { 10, 10 }));
    EXPECT_FALSE(ws.IsDragArea(id, { 60, 60 }));    // the box above it takes the press
    EXPECT_FALSE(ws.IsDragArea(id, { 110, 10 }));   // the bare form
    EXPECT_TRUE(ws.IsDragArea(id, { 130, 10 }));    // inside a windowed child
    panel->SetEnabled(false);
    EXPECT_FALSE(ws.IsDragArea(id, { 130, 10 }));   // its window is disabled
    drag->SetEnabled(false);
    EXPECT_FALSE(ws.IsDragArea(id, { 10, 10 }));
    drag->SetEnabled(true);
    SetCaptureControl(drag);
    EXPECT_FALSE(ws.IsDragArea(id, { 10, 10 }));    // a drag of the program's own is on
    SetCaptureControl(nullptr);
    EXPECT_TRUE(ws.IsDragArea(id, { 10, 10 }));
}
