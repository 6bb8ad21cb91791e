// The bitmap button chain: the blur button's faces pixel by pixel, the press / leave /
// return / release sequence on a headless form, Enter, ModalResult, sounds, the keyed
// transparent face, streaming, and the gallery pictures of the window's Quit button.
#include "EffectControlsTestSupport.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Wavctrl.h"
#include "effectlib/mediabtn.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/Stream.h"
#include "framework/core/Writer.h"

#include <chrono>
#include <climits>

namespace {

using plat::MouseButton;

const char* kQuitForm =
    "object frmTest: TForm\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  BorderStyle = bsNone\n"
    "  ClientWidth = 200\n"
    "  ClientHeight = 100\n"
    "  Color = clBtnFace\n"
    "  object btnQuit: TepBlurButton\n"
    "    Left = 20\n"
    "    Top = 10\n"
    "    Width = 64\n"
    "    Height = 25\n"
    "    Caption = 'Quit'\n"
    "    Font.Height = -11\n"
    "    Font.Name = 'Arial'\n"
    "    Font.Style = [fsBold, fsItalic]\n"
    "    BackColor = clBtnFace\n"
    "    ModalResult = 0\n"
    "    Transparent = False\n"
    "    ActiveTextColor = clHighlight\n"
    "    BevelWidht = 2\n"
    "    Blur = True\n"
    "    Color = clRed\n"
    "    Kind = bkRect\n"
    "    TextColor = clWindowText\n"
    "  end\n"
    "end\n";

// A 64 x 25 red button with no caption and no blur, as the ring pictures need.
std::unique_ptr<TepBlurButton> PlainRedButton()
{
    auto b = std::make_unique<TepBlurButton>(nullptr);
    b->SetBounds(0, 0, 64, 25);
    b->SetColor(clRed);
    b->SetBlur(false);
    return b;
}

// Nearest-pixel enlargement, so the small faces can be looked at.
plat::Surface Enlarge(const plat::Surface& s, int k)
{
    plat::Surface out(s.Width() * k, s.Height() * k);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetColor(x, y, s.GetColor(x / k, y / k));
    return out;
}

class BlurButtonForm : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = new TForm(Application, kQuitForm);
        form->Show();
        btn = dynamic_cast<TepBlurButton*>(form->FindComponent("btnQuit"));
        ASSERT_NE(btn, nullptr);
        id = form->WindowHandle();
        btn->OnClick = TNotifyEvent::FromFunction([this](TObject*) { ++clicks; });
        Pump();
    }
    // True when the framebuffer shows exactly this face where the button lies.
    bool Shows(TBitmap* face) const
    {
        for (int y = 0; y < face->Height(); ++y)
            for (int x = 0; x < face->Width(); ++x)
                if (form->Framebuffer().GetColor(btn->Left() + x, btn->Top() + y)
                    != face->Image().GetColor(x, y))
                    return false;
        return true;
    }
    void Mouse(plat::Event::Type t, int x, int y, MouseButton b = MouseButton::Left)
    {
        if (t == plat::Event::Type::MouseMove)
            ws.MouseMove(id, x, y);
        else if (t == plat::Event::Type::MouseDown)
            ws.MouseDown(id, x, y, b);
        else
            ws.MouseUp(id, x, y, b);
        Pump();
    }

    TForm* form = nullptr;
    TepBlurButton* btn = nullptr;
    plat::WindowId id = 0;
    int clicks = 0;
};

using T = plat::Event::Type;

} // namespace

// Both far edges count as inside.
TEST(BlurButtonFaces, PointInComponentIncludesTheFarEdges)
{
    TepBlurButton b(nullptr);
    ASSERT_EQ(b.Width(), 90);
    ASSERT_EQ(b.Height(), 30);
    EXPECT_TRUE(b.PointInComponent(90, 30));
    EXPECT_TRUE(b.PointInComponent(0, 0));
    EXPECT_FALSE(b.PointInComponent(91, 30));
    EXPECT_FALSE(b.PointInComponent(-1, 5));
}

TEST(BlurButtonFaces, RedPlateShadesAndBevelRings)
{
    auto b = PlainRedButton();
    EXPECT_EQ(b->LightColor(), 0x004646FFu);
    EXPECT_EQ(b->DarkColor(), 0x000000B9u);
    const TColor light = 0x004646FF, dark = 0x000000B9;

    auto face = b->CreateOneBitmap(abNone, false);
    ASSERT_EQ(face->Width(), 64);
    ASSERT_EQ(face->Height(), 25);
    auto px = [&](int x, int y) { return face->Image().GetColor(x, y); };
    // The frame: two black columns left and right, two rows on top, one at the bottom.
    for (int y : { 0, 5, 24 }) {
        EXPECT_EQ(px(0, y), clBlack);
        EXPECT_EQ(px(1, y), clBlack);
        EXPECT_EQ(px(62, y), clBlack);
        EXPECT_EQ(px(63, y), clBlack);
    }
    for (int x : { 5, 30, 60 }) {
        EXPECT_EQ(px(x, 0), clBlack);
        EXPECT_EQ(px(x, 1), clBlack);
        EXPECT_EQ(px(x, 24), clBlack);
        EXPECT_EQ(px(x, 2), light);   // ring a = 2, top row
        EXPECT_EQ(px(x, 23), dark);   // ring a = 2, bottom row
    }
    // Ring a = 2: left column (2, 3..23) and top row (2..60, 2) light; right column
    // (61, 3..22) and bottom row (3..61, 23) dark.
    EXPECT_EQ(px(2, 23), light);
    EXPECT_EQ(px(2, 3), light);
    EXPECT_EQ(px(2, 2), light);
    EXPECT_EQ(px(60, 2), light);
    EXPECT_EQ(px(61, 2), clRed);   // the top row stops one short of the right column
    EXPECT_EQ(px(61, 3), dark);
    EXPECT_EQ(px(61, 22), dark);
    EXPECT_EQ(px(61, 23), dark);
    EXPECT_EQ(px(3, 23), dark);
    // Ring a = 3.
    EXPECT_EQ(px(3, 22), light);
    EXPECT_EQ(px(3, 3), light);
    EXPECT_EQ(px(59, 3), light);
    EXPECT_EQ(px(60, 3), clRed);
    EXPECT_EQ(px(60, 4), dark);
    EXPECT_EQ(px(60, 22), dark);
    EXPECT_EQ(px(4, 22), dark);
    // No third ring, and a plain red inside.
    EXPECT_EQ(px(4, 4), clRed);
    EXPECT_EQ(px(59, 21), clRed);
    EXPECT_EQ(px(30, 12), clRed);

    // The pressed face is sunken: the colours change places.
    auto down = b->CreateOneBitmap(abPush, true);
    EXPECT_EQ(down->Image().GetColor(2, 10), dark);
    EXPECT_EQ(down->Image().GetColor(30, 2), dark);
    EXPECT_EQ(down->Image().GetColor(61, 10), light);
    EXPECT_EQ(down->Image().GetColor(30, 22), light);

    // A bevel width of 0 draws no ring.
    b->SetBevelWidht(0);
    auto flat = b->CreateOneBitmap(abNone, false);
    EXPECT_EQ(flat->Image().GetColor(2, 10), clRed);
    EXPECT_EQ(flat->Image().GetColor(61, 10), clRed);
    EXPECT_EQ(flat->Image().GetColor(1, 10), clBlack);
}

TEST(BlurButtonFaces, BlurSoftensThePlateOnlyOnce)
{
    auto b = PlainRedButton();
    auto sharp = b->CreateOneBitmap(abNone, false);
    b->SetBlur(true);
    auto soft = b->CreateOneBitmap(abNone, false);

    TEffectBmp expected(sharp.get());
    expected.SplitBlur(1);
    plat::Surface want = expected.ToSurface();
    int differing = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(soft->Image().GetColor(x, y), want.GetColor(x, y)) << x << "," << y;
            differing += soft->Image().GetColor(x, y) != sharp->Image().GetColor(x, y);
        }
    EXPECT_GT(differing, 100);
}

TEST(BlurButtonFaces, CaptionColoursAndThePressedOffset)
{
    auto b = PlainRedButton();
    b->SetCaption("Quit");
    b->SetTextColor(clBlack);
    b->SetActiveTextColor(clWhite);
    auto normal = b->CreateOneBitmap(abNone, false);
    auto hot = b->CreateOneBitmap(abNone, true);
    auto down = b->CreateOneBitmap(abPush, true);

    // Inside the rings the plate is plain red, so any other pixel is caption.
    auto caption = [](TBitmap* f, int dx, int dy, TColor& extreme) {
        std::vector<TPoint> pts;
        extreme = clRed;
        for (int y = 4; y < 21; ++y)
            for (int x = 4; x < 59; ++x) {
                TColor c = f->Image().GetColor(x + dx, y + dy);
                if (c != clRed) {
                    pts.push_back({ x, y });
                    if (c == clBlack || c == clWhite)
                        extreme = c;
                }
            }
        return pts;
    };
    TColor normalInk, hotInk, downInk;
    auto pn = caption(normal.get(), 0, 0, normalInk);
    auto ph = caption(hot.get(), 0, 0, hotInk);
    auto pd = caption(down.get(), 1, 1, downInk);
    ASSERT_GT(pn.size(), 20u);
    EXPECT_EQ(normalInk, clBlack);
    EXPECT_EQ(hotInk, clWhite);
    EXPECT_EQ(pn, ph);   // same place, other colour
    EXPECT_EQ(ph, pd);   // moved by exactly (1, 1)
    for (const TPoint& p : ph)
        ASSERT_EQ(hot->Image().GetColor(p.X, p.Y), down->Image().GetColor(p.X + 1, p.Y + 1));
}

TEST_F(BlurButtonForm, FacesAreBuiltAfterLoadingAndShown)
{
    EXPECT_EQ(btn->Width(), 64);
    EXPECT_EQ(btn->Height(), 25);
    EXPECT_EQ(btn->Color(), clRed);
    EXPECT_EQ(btn->Kind(), bkRect);
    ASSERT_FALSE(btn->BmpNormal()->Empty());
    EXPECT_EQ(btn->BmpNormal()->Width(), 64);
    EXPECT_TRUE(Shows(btn->BmpNormal()));

    // Run-time changes only invalidate: the faces made at load time stay.
    plat::Surface before = btn->BmpNormal()->Image();
    btn->SetCaption("Close");
    btn->SetColor(clBlue);
    Pump();
    EXPECT_TRUE(btn->BmpNormal()->Image() == before);
    EXPECT_TRUE(Shows(btn->BmpNormal()));

    // Every own property is written, defaults included.
    std::string text = WriteComponentRes(form);
    for (const char* line : { "    BackColor = clBtnFace\n", "    ModalResult = 0\n",
             "    Transparent = False\n", "    ActiveTextColor = clHighlight\n",
             "    BevelWidht = 2\n", "    Blur = True\n", "    Kind = bkRect\n",
             "    TextColor = clWindowText\n", "    Color = clBlue\n" })
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

TEST_F(BlurButtonForm, PressLeaveReturnRelease)
{
    Mouse(T::MouseMove, 40, 20);
    EXPECT_TRUE(btn->IsActive());
    EXPECT_TRUE(Shows(btn->BmpActive()));

    Mouse(T::MouseDown, 40, 20);
    EXPECT_EQ(btn->PressState(), abPush);
    EXPECT_TRUE(Shows(btn->BmpDown()));

    Mouse(T::MouseMove, 150, 80);   // out, still held
    EXPECT_EQ(btn->PressState(), abUnPush);
    EXPECT_FALSE(btn->IsActive());
    EXPECT_TRUE(Shows(btn->BmpNormal()));

    Mouse(T::MouseMove, 50, 22);   // back
    EXPECT_EQ(btn->PressState(), abPush);
    EXPECT_TRUE(Shows(btn->BmpDown()));

    Mouse(T::MouseUp, 50, 22);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(btn->PressState(), abNone);
    EXPECT_TRUE(Shows(btn->BmpActive()));

    // Released outside: no click, and the press ends there.
    Mouse(T::MouseDown, 50, 22);
    Mouse(T::MouseMove, 150, 80);
    Mouse(T::MouseUp, 150, 80);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(btn->PressState(), abNone);
    EXPECT_TRUE(Shows(btn->BmpNormal()));
}

TEST_F(BlurButtonForm, RightButtonPressesButDoesNotClick)
{
    Mouse(T::MouseMove, 40, 20);
    Mouse(T::MouseDown, 40, 20, MouseButton::Right);
    EXPECT_EQ(btn->PressState(), abPush);
    EXPECT_TRUE(Shows(btn->BmpDown()));
    Mouse(T::MouseUp, 40, 20, MouseButton::Right);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(btn->PressState(), abNone);
    EXPECT_TRUE(Shows(btn->BmpActive()));
}

TEST_F(BlurButtonForm, EnterClicksOnceAndEveryClickWritesModalResult)
{
    btn->SetFocus();
    ASSERT_TRUE(btn->Focused());
    form->SetModalResult(mrCancel);
    ws.Char('\r');
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), 0);   // 0 is written too
    EXPECT_EQ(btn->PressState(), abNone);
    ws.Char('x');
    Pump();
    EXPECT_EQ(clicks, 1);

    btn->SetModalResult(mrOk);
    Mouse(T::MouseMove, 40, 20);
    Mouse(T::MouseDown, 40, 20);
    Mouse(T::MouseUp, 40, 20);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(BlurButtonForm, SoundsPlayOnEnterAndClickAndReferencesAreCleared)
{
    auto* click = new TepWavePlayer(form);
    auto* active = new TepWavePlayer(form);
    int clickPlays = 0, activePlays = 0;
    for (TepWavePlayer* p : { click, active }) {
        p->SetEnabled(false);   // the events still fire; nothing is heard
        TMemoryStream s;
        const uint8_t bytes[] = { 'R', 'I', 'F', 'F' };
        s.WriteBuffer(bytes, 4);
        s.SetPosition(0);
        p->Wave()->LoadFromStream(&s);
    }
    click->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++clickPlays; });
    active->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++activePlays; });
    btn->SetClickSound(click);
    btn->SetActiveSound(active);

    Mouse(T::MouseMove, 40, 20);
    EXPECT_EQ(activePlays, 1);
    Mouse(T::MouseDown, 40, 20);
    Mouse(T::MouseUp, 40, 20);
    EXPECT_EQ(clickPlays, 1);
    EXPECT_EQ(clicks, 1);

    // Enter while the mouse is elsewhere: a click, but no click sound.
    Mouse(T::MouseMove, 150, 80);
    btn->SetFocus();
    ws.Char('\r');
    Pump();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(clickPlays, 1);

    delete click;
    delete active;
    EXPECT_EQ(btn->ClickSound(), nullptr);
    EXPECT_EQ(btn->ActiveSound(), nullptr);
    Mouse(T::MouseMove, 40, 20);
    Mouse(T::MouseDown, 40, 20);
    Mouse(T::MouseUp, 40, 20);
    EXPECT_EQ(clicks, 3);
}

// BevelWidht at the top of the range builds the faces at once, for every kind. The plain
// and the elliptic plates come out as with a ring count just past the plate's larger
// side: rings beyond it draw nothing on the plate. The rounded plate also starts lines at
// BevelWidht, so there any value far past the plate gives the same face.
TEST(BlurButtonFaces, HugeBevelWidthBuildsAtOnceAndStopsPastThePlate)
{
    for (TepKind kind : { bkRect, bkRoundRect, bkEllipse }) {
        for (int bw : { INT_MAX, INT_MIN, 1000000000 }) {
            auto b = PlainRedButton();
            b->SetCaption("Quit");
            b->SetKind(kind);
            b->SetBevelWidht(bw);
            // The best of three, so that a busy machine's pause does not count.
            double ms = 1e9;
            for (int i = 0; i < 3; ++i) {
                auto t0 = std::chrono::steady_clock::now();
                auto face = b->CreateOneBitmap(abPush, true);
                ms = std::min(ms, std::chrono::duration<double, std::milli>(
                    std::chrono::steady_clock::now() - t0).count());
                ASSERT_EQ(face->Width(), 64);
            }
            EXPECT_LT(ms, 100.0) << kind << " " << bw;
        }
        auto near = PlainRedButton(), far = PlainRedButton();
        near->SetKind(kind);
        far->SetKind(kind);
        near->SetBevelWidht(kind == bkRoundRect ? 1000000 : 65);
        far->SetBevelWidht(INT_MAX);
        auto a = near->CreateOneBitmap(abNone, false), z = far->CreateOneBitmap(abNone, false);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(a->Image().GetColor(x, y), z->Image().GetColor(x, y))
                    << kind << " " << x << "," << y;
    }
}

// A wave of zero bytes is not empty: entering and clicking still play it, which is what
// stops a sound that is playing.
TEST_F(BlurButtonForm, AZeroByteSoundStillPlays)
{
    auto* player = new TepWavePlayer(form);
    player->SetEnabled(false);
    TMemoryStream none;
    player->Wave()->LoadFromStream(&none);
    ASSERT_EQ(player->Wave()->Size(), 0);
    ASSERT_FALSE(player->Wave()->GetEmpty());
    int plays = 0;
    player->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++plays; });
    btn->SetClickSound(player);
    btn->SetActiveSound(player);

    Mouse(T::MouseMove, 40, 20);
    EXPECT_EQ(plays, 1);
    Mouse(T::MouseDown, 40, 20);
    Mouse(T::MouseUp, 40, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(plays, 2);
}

TEST_F(BlurButtonForm, AButtonMadeAtRunTimeShowsItsFacesFromTheSecondPaint)
{
    auto* b = new TepBlurButton(form);
    b->SetBounds(100, 50, 60, 24);
    b->SetColor(clGreen);
    b->SetParent(form);
    Pump();
    ASSERT_FALSE(b->BmpNormal()->Empty());
    EXPECT_NE(form->Framebuffer().GetColor(100 + 30, 50 + 12), clGreen);
    b->Invalidate();
    Pump();
    EXPECT_EQ(form->Framebuffer().GetColor(100 + 30, 50 + 12),
        b->BmpNormal()->Image().GetColor(30, 12));
    EXPECT_EQ(form->Framebuffer().GetColor(100 + 30, 50 + 12), clGreen);
}

TEST_F(BlurButtonForm, TransparentFaceShowsTheParentThroughItsKeyColour)
{
    auto* b = new TepCustomBitmapButton(form);
    b->SetBounds(100, 40, 20, 10);
    for (TBitmap* f : { b->BmpNormal(), b->BmpActive(), b->BmpDown() }) {
        f->SetSize(20, 10);
        f->Handle()->Fill(0x00FF00FF);   // the key: the pixel at (0, 0)
        for (int y = 3; y < 7; ++y)
            for (int x = 5; x < 15; ++x)
                f->Handle()->SetColor(x, y, clLime);
    }
    b->SetParent(form);
    Pump();
    const TColor ground = ColorToRGB(clBtnFace);
    EXPECT_EQ(Pixel(form, 100, 40), ground);
    EXPECT_EQ(Pixel(form, 119, 49), ground);
    EXPECT_EQ(Pixel(form, 105, 43), clLime);
    EXPECT_EQ(Pixel(form, 114, 46), clLime);
    EXPECT_EQ(Pixel(form, 104, 43), ground);
}

// The window's Quit button in its three states, written under the build directory.
TEST_F(BlurButtonForm, GalleryOfTheQuitButton)
{
    const std::string dir = effctltest::GalleryDir();
    struct Face {
        const char* name;
        TBitmap* bmp;
    } faces[] = { { "normal", btn->BmpNormal() }, { "hot", btn->BmpActive() },
        { "pressed", btn->BmpDown() } };
    plat::Surface strip(3 * 72, 33);
    strip.Fill(ColorToRGB(clBtnFace));
    for (int i = 0; i < 3; ++i) {
        const plat::Surface& s = faces[i].bmp->Image();
        ASSERT_EQ(s.Width(), 64);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 64; ++x)
                strip.SetColor(i * 72 + 4 + x, 4 + y, s.GetColor(x, y));
        EXPECT_TRUE(plat::SavePngFile(dir + "/blurbutton_" + faces[i].name + ".png", s));
    }
    EXPECT_TRUE(plat::SavePngFile(dir + "/blurbutton_states_x4.png", Enlarge(strip, 4)));
}
