// Routing that buttons rely on: Enter and Escape offered to every control as dialog keys
// before the focused control sees them, accelerator characters, a notification broadcast
// to a parent's controls, the control under a point, and the inverting pen.
#include "VisualTestSupport.h"

#include "framework/graphics/Bitmap.h"

#include <vector>

namespace {

// A windowed control that records keys and answers the dialog key `Takes`.
class TKeyWindow : public TCustomControl {
public:
    TKeyWindow(TComponent* owner, TWinControl* parent, const TRect& r)
        : TCustomControl(owner)
    {
        SetBoundsRect(r);
        SetParent(parent);
        SetTabStop(true);
    }
    WPARAM Takes = 0;
    uint16_t Uses = 0;   // a key its KeyDown acts on and consumes
    LRESULT DlgCode = 0;
    std::vector<std::string> log;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override
    {
        log.push_back("keydown " + std::to_string(key));
        if (Uses && key == Uses)
            key = 0;
        TCustomControl::KeyDown(key, shift);
    }
    void CMDialogKey(TMessage& m) override
    {
        log.push_back("dialogkey " + std::to_string(m.WParam) + (m.LParam & ssShift ? " shift" : ""));
        if (Takes && m.WParam == Takes) {
            m.Result = 1;
            return;
        }
        TCustomControl::CMDialogKey(m);
    }
    void WMGetDlgCode(TMessage& m) override { m.Result = DlgCode; }
};

// A graphic control that records the group notifications it hears.
class TGroupBox : public TGraphicControl {
public:
    TGroupBox(TComponent* owner, TWinControl* parent, const TRect& r)
        : TGraphicControl(owner)
    {
        SetBoundsRect(r);
        SetParent(parent);
    }
    std::vector<std::pair<WPARAM, LPARAM>> heard;

protected:
    void CMButtonPressed(TMessage& m) override { heard.emplace_back(m.WParam, m.LParam); }
};

class DialogKeysTest : public HeadlessTest {
protected:
    void Run() { Application->ProcessMessages(); }
};

} // namespace

TEST_F(DialogKeysTest, EnterAndEscapeAreOfferedToEveryControlBeforeTheFocusedOne)
{
    TForm* f = NewForm();
    auto* a = new TKeyWindow(f, f, Rect(0, 0, 10, 10));
    auto* panel = new TKeyWindow(f, f, Rect(20, 20, 90, 90));
    auto* inner = new TKeyWindow(f, panel, Rect(0, 0, 10, 10));
    a->SetFocus();

    // Nobody takes Enter: every control (nested ones too) heard it, then the focused
    // control gets its key down.
    ws.KeyDown(plat::vk::Return, plat::mod::Shift);
    Run();
    EXPECT_EQ(inner->log, (std::vector<std::string> { "dialogkey 13 shift" }));
    ASSERT_EQ(a->log.size(), 2u);
    EXPECT_EQ(a->log[0], "dialogkey 13 shift");
    EXPECT_EQ(a->log[1], "keydown 13");

    // A control that takes it consumes it: the focused control sees no key down.
    inner->Takes = 27;
    a->log.clear();
    ws.KeyDown(plat::vk::Escape);
    Run();
    EXPECT_EQ(a->log, (std::vector<std::string> { "dialogkey 27" }));

    // Other keys are not dialog keys.
    inner->log.clear();
    ws.KeyDown('A');
    Run();
    EXPECT_TRUE(inner->log.empty());

    // A focused control that wants every key gets Enter directly.
    a->DlgCode = DLGC_WANTALLKEYS;
    a->log.clear();
    inner->log.clear();
    inner->Takes = 13;
    ws.KeyDown(plat::vk::Return);
    Run();
    EXPECT_TRUE(inner->log.empty());
    EXPECT_EQ(a->log, (std::vector<std::string> { "keydown 13" }));
}

// A key the focused control leaves unused reaches the form's OnUnusedKey last, with its
// shift state and whether it repeats; keys the control uses, Tab moving the focus and
// dialog keys taken by a control never get there. Without a focused control the form's
// own key handling comes first.
TEST_F(DialogKeysTest, KeysNoControlUsedReachTheFormLast)
{
    TForm* f = NewForm();
    auto* a = new TKeyWindow(f, f, Rect(0, 0, 10, 10));
    auto* b = new TKeyWindow(f, f, Rect(20, 0, 30, 10));
    std::vector<std::string> unused;
    f->OnUnusedKey = TUnusedKeyEvent::FromFunction([&](TObject* sender, uint16_t& key, TShiftState shift, bool repeat) {
        EXPECT_EQ(sender, f);
        unused.push_back(std::to_string(key) + (shift & ssShift ? " shift" : "") + (repeat ? " repeat" : "")
            + " after " + std::to_string(a->log.size()));
        key = 0;
    });
    a->Uses = plat::vk::Up;
    a->SetFocus();

    ws.KeyDown(plat::vk::Space);
    ws.KeyDown(plat::vk::Up);
    ws.KeyDown('T', plat::mod::Shift, true);
    Run();
    // Space and T came back unused from the focused control, which saw them first; Up it used.
    EXPECT_EQ(a->log, (std::vector<std::string> { "keydown 32", "keydown 38", "keydown 84" }));
    EXPECT_EQ(unused, (std::vector<std::string> { "32 after 1", "84 shift repeat after 3" }));

    // Tab moves the focus and goes no further; a key up is never offered.
    unused.clear();
    ws.KeyDown(plat::vk::Tab);
    ws.KeyUp(plat::vk::Space);
    Run();
    EXPECT_EQ(f->FocusedControl(), b);
    EXPECT_TRUE(unused.empty());

    // A dialog key that a control takes is used; one nobody takes is offered.
    a->Takes = 27;
    ws.KeyDown(plat::vk::Escape);
    ws.KeyDown(plat::vk::Return);
    Run();
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_EQ(unused[0].substr(0, 3), "13 ");

    // With nothing focused the form's own OnKeyDown sees the key first and may use it.
    unused.clear();
    f->FocusControl(nullptr);
    std::vector<uint16_t> formKeys;
    f->OnKeyDown = TKeyEvent::FromFunction([&](TObject*, uint16_t& key, TShiftState) {
        formKeys.push_back(key);
        if (key == 'R')
            key = 0;
    });
    ws.KeyDown('R');
    ws.KeyDown('B');
    Run();
    EXPECT_EQ(formKeys, (std::vector<uint16_t> { 'R', 'B' }));
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_EQ(unused[0].substr(0, 3), "66 ");
}

TEST_F(DialogKeysTest, AcceleratorOfACaption)
{
    EXPECT_TRUE(IsAccel('o', "&OK"));
    EXPECT_TRUE(IsAccel('K', "O&k"));
    EXPECT_FALSE(IsAccel('k', "OK"));
    // "&&" is a plain ampersand; the accelerator is the first single one.
    EXPECT_FALSE(IsAccel('&', "Fish && Chips"));
    EXPECT_FALSE(IsAccel('C', "Fish && Chips"));
    EXPECT_TRUE(IsAccel('c', "Fish && &Chips"));
    EXPECT_FALSE(IsAccel('x', "trailing&"));
    EXPECT_FALSE(IsAccel(0, "&"));
}

TEST_F(DialogKeysTest, ButtonPressedNotificationReachesEveryControlOfTheParentOnly)
{
    TForm* f = NewForm();
    auto* panel = new TKeyWindow(f, f, Rect(0, 0, 60, 60));
    auto* a = new TGroupBox(f, panel, Rect(0, 0, 10, 10));
    auto* b = new TGroupBox(f, panel, Rect(10, 0, 10, 10));
    auto* outside = new TGroupBox(f, f, Rect(70, 0, 10, 10));
    TMessage m { CM_BUTTONPRESSED, 3, LPARAM(static_cast<TControl*>(a)), 0 };
    panel->Broadcast(m);
    ASSERT_EQ(a->heard.size(), 1u);
    ASSERT_EQ(b->heard.size(), 1u);
    EXPECT_EQ(b->heard[0].first, 3u);
    EXPECT_EQ(b->heard[0].second, LPARAM(static_cast<TControl*>(a)));
    EXPECT_TRUE(outside->heard.empty());
    EXPECT_EQ(CM_BUTTONPRESSED, 0xB018u);
}

TEST_F(DialogKeysTest, ControlAtPointFindsGraphicAndWindowedControls)
{
    TForm* f = NewForm();
    auto* panel = new TKeyWindow(f, f, Rect(20, 20, 60, 60));
    auto* box = new TGroupBox(f, panel, Rect(5, 5, 10, 10));
    auto* loose = new TGroupBox(f, f, Rect(0, 0, 10, 10));
    EXPECT_EQ(f->ControlAtPoint(3, 3), loose);
    EXPECT_EQ(f->ControlAtPoint(27, 27), box);
    EXPECT_EQ(f->ControlAtPoint(50, 50), panel);
    EXPECT_EQ(f->ControlAtPoint(95, 95), f);
}

TEST_F(DialogKeysTest, InvertingPenAndDottedFocusRectangleOnACanvas)
{
    TBitmap bmp;
    bmp.SetSize(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(TColor(0x102030));
    c->FillRect(Rect(0, 0, 20, 20));
    c->Pen()->SetMode(pmNot);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(c->Pixels(2, 2), TColor(0xEFDFCF));
    EXPECT_EQ(c->Pixels(9, 9), TColor(0xEFDFCF));
    EXPECT_EQ(c->Pixels(5, 5), TColor(0x102030));   // the clear brush left the inside
    c->Rectangle(2, 2, 10, 10);                      // twice restores the pixels
    EXPECT_EQ(c->Pixels(2, 2), TColor(0x102030));
    c->Pen()->SetMode(pmCopy);

    c->DrawFocusRect(Rect(12, 12, 18, 18));
    int changed = 0;
    for (int x = 12; x < 18; ++x)
        changed += c->Pixels(x, 12) != TColor(0x102030);
    EXPECT_GT(changed, 0);
    EXPECT_LT(changed, 6);   // dotted, not solid
}
