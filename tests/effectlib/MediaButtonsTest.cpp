// The sphere button's shaded faces and round window, the glowing label button's shadow
// and glow, and the media button's press states, bevel, caption colours, sounds and
// modal result, on headless renders.
#include "EffectControlsTestSupport.h"

#include "effectlib/Medialib.h"
#include "effectlib/Wavctrl.h"
#include "effectlib/mediabtn.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "support/FillBox.h"

namespace {

using plat::MouseButton;

class MediaButtonsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(240, 120, 0, 0, clWhite);
        id = form->WindowHandle();
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    void Move(int x, int y)
    {
        ws.MouseMove(id, X0 + x, Y0 + y);
        Pump();
    }
    void Down(int x, int y, MouseButton b = MouseButton::Left)
    {
        ws.MouseDown(id, X0 + x, Y0 + y, b);
        Pump();
    }
    void Up(int x, int y, MouseButton b = MouseButton::Left)
    {
        ws.MouseUp(id, X0 + x, Y0 + y, b);
        Pump();
    }
    static constexpr int X0 = 20, Y0 = 20;
    TForm* form = nullptr;
    uintptr_t id = 0;
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
};

// ---- Sphere button ----

TEST_F(MediaButtonsTest, SphereEllipsesShrinkTowardsTheLowerRightByTheSizeRule)
{
    EXPECT_EQ(TepSphereButton::EllipseBox(0, 40), Rect(0, 0, 40, 40));
    EXPECT_EQ(TepSphereButton::EllipseBox(12, 40), Rect(12, 12, 16, 16));
    EXPECT_EQ(TepSphereButton::EllipseBox(12, 30), Rect(6, 6, 12, 12));
    EXPECT_EQ(TepSphereButton::EllipseBox(12, 25), Rect(6, 6, 13, 13));
    EXPECT_EQ(TepSphereButton::EllipseBox(3, 36), Rect(3, 3, 30, 30));
}

TEST_F(MediaButtonsTest, SphereFacesRunFromDarkRimToLightCoreAndPressedDarkensTheMiddle)
{
    auto* b = new TepSphereButton(form);
    b->SetParent(form);
    b->SetBounds(X0, Y0, 40, 40);
    b->SetActiveColor(0xFF0000);
    auto normal = b->CreateOneBitmap(abNone, false);
    auto pushed = b->CreateOneBitmap(abPush, true);
    ASSERT_EQ(normal->Width(), 40);
    // (38, 20) lies in the first ellipse only, (14, 14) in the last.
    EXPECT_EQ(normal->Image().GetColor(38, 20), TColor(0x5C5C5C));   // 92
    EXPECT_EQ(normal->Image().GetColor(14, 14), TColor(0xA4A4A4));   // 164
    EXPECT_EQ(pushed->Image().GetColor(38, 20), TColor(0xDB0000));   // blue 219
    EXPECT_EQ(pushed->Image().GetColor(14, 14), TColor(0xB70000));   // blue 183
    EXPECT_EQ(normal->Image().GetColor(0, 0), ColorToRGB(b->BackColor()));
}

TEST_F(MediaButtonsTest, SphereStaysSquareAndItsWindowIsTheCircle)
{
    auto* b = new TepSphereButton(form);
    b->SetParent(form);
    b->SetBounds(X0, Y0, 60, 40);
    Pump();
    EXPECT_EQ(b->Width(), 40);
    EXPECT_EQ(b->Height(), 40);
    ASSERT_NE(b->WindowRgn(), nullptr);
    EXPECT_TRUE(b->WindowRgn()->Contains(20, 20));
    EXPECT_TRUE(b->WindowRgn()->Contains(1, 20));
    EXPECT_FALSE(b->WindowRgn()->Contains(2, 2));
    int clicks = 0;
    b->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    Move(2, 2);                       // outside the ball: the form gets the press
    Down(2, 2);
    Up(2, 2);
    EXPECT_EQ(clicks, 0);
    Move(20, 20);
    Down(20, 20);
    Up(20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(At(2, 2), clWhite);
}

TEST_F(MediaButtonsTest, SphereGlyphSitsUpLeftOfCentreAndSinksWhenPressed)
{
    auto* b = new TepSphereButton(form);
    b->SetParent(form);
    b->SetBounds(X0, Y0, 40, 40);
    TBitmap g;
    g.SetSize(8, 8);
    g.Handle()->Fill(clLime);
    g.Handle()->SetColor(0, 0, clWhite);   // the key: the top-left pixel
    b->SetGlyph(&g);
    EXPECT_EQ(b->GlyphPos(false), Point(13, 13));
    EXPECT_EQ(b->GlyphPos(true), Point(15, 15));
    auto normal = b->CreateOneBitmap(abNone, false);
    auto pushed = b->CreateOneBitmap(abPush, true);
    EXPECT_EQ(normal->Image().GetColor(14, 14), clLime);
    EXPECT_NE(normal->Image().GetColor(13, 13), clWhite);   // keyed out
    EXPECT_EQ(pushed->Image().GetColor(22, 22), clLime);
    EXPECT_NE(pushed->Image().GetColor(14, 14), clLime);
}

// ---- Glowing label button ----

struct TextScan {
    int left = 1000, dark = 0, yellow = 0, farRight = 0;
};

TextScan Scan(TForm* f, const TRect& r)
{
    TextScan s;
    int right = -1;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = f->Framebuffer().GetColor(x, y);
            const int R = c & 0xFF, G = (c >> 8) & 0xFF, B = (c >> 16) & 0xFF;
            if (R < 60 && G < 60 && B < 60) {
                ++s.dark;
                s.left = std::min(s.left, x);
                right = std::max(right, x);
            }
            if (R > 150 && G > 150 && B < 110)
                ++s.yellow;
        }
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = right + 2; x < r.Right && right >= 0; ++x)
            s.farRight += f->Framebuffer().GetColor(x, y) != clWhite;
    return s;
}

TEST_F(MediaButtonsTest, LightLabelShowsAShadowAwayAGlowOverAndSinksWhenPressed)
{
    auto* b = new TepLightLabelButton(form);
    b->SetParent(form);
    b->SetBounds(X0, Y0, 90, 30);
    b->SetColor(clWhite);
    b->SetCaption("I");
    b->Font()->SetSize(16);
    EXPECT_EQ(b->NormalColor(), TColor(0));
    EXPECT_EQ(b->ActiveColor(), TColor(0x00FFFF));
    Pump();
    const TRect area = Bounds(X0, Y0, 90, 30);
    const TextScan away = Scan(form, area);
    ASSERT_GT(away.dark, 0);
    EXPECT_EQ(b->TextOrigin(), Point(5, 5));
    EXPECT_EQ(away.yellow, 0);
    EXPECT_GT(away.farRight, 0);       // the shadow, two pixels down and right

    Move(40, 15);
    ASSERT_TRUE(b->IsActive());
    const TextScan over = Scan(form, area);
    EXPECT_GT(over.yellow, 0);
    EXPECT_EQ(over.left, away.left);

    Down(40, 15);
    EXPECT_EQ(b->TextOrigin(), Point(6, 6));
    const TextScan pressed = Scan(form, area);
    EXPECT_EQ(pressed.left, away.left + 1);
    EXPECT_GT(pressed.yellow, 0);
    int clicks = 0;
    b->OnClick = TNotifyEvent::FromFunction([&](TObject*) { ++clicks; });
    Up(40, 15);
    EXPECT_EQ(clicks, 1);
}

TEST_F(MediaButtonsTest, TransparentLightLabelShowsTheParentRoundTheLetters)
{
    new TColorBox(form, form, Bounds(X0, Y0, 90, 30), clRed);
    auto* b = new TepLightLabelButton(form);
    b->SetParent(form);
    b->SetBounds(X0, Y0, 90, 30);
    b->SetColor(clWhite);
    b->SetCaption("I");
    Pump();
    EXPECT_EQ(At(80, 2), clWhite);
    b->SetTransparent(true);
    Pump();
    EXPECT_EQ(At(80, 2), clRed);
}

// ---- Media button ----

class MediaButtonTest : public MediaButtonsTest {
protected:
    void SetUp() override
    {
        MediaButtonsTest::SetUp();
        b = new TepMediaButton(form);
        b->SetParent(form);
        b->SetLeft(X0);
        b->SetTop(Y0);
        b->SetColor(clWhite);
        b->OnClick = TNotifyEvent::FromFunction([this](TObject*) { ++clicks; });
        Pump();
    }
    bool Sunken() { return At(0, 0) == sh; }
    TepMediaButton* b = nullptr;
    int clicks = 0;
};

TEST_F(MediaButtonTest, LeavingAndComingBackWhilePressedStillClicks)
{
    EXPECT_EQ(b->Width(), 90);
    EXPECT_EQ(b->BevelWidth(), 2);
    EXPECT_EQ(At(0, 0), hi);
    EXPECT_EQ(At(1, 1), hi);
    EXPECT_EQ(At(89, 29), sh);
    EXPECT_EQ(At(45, 3), clWhite);     // a defined face where nothing else is drawn
    Move(10, 10);
    Down(10, 10);
    EXPECT_EQ(b->PressState(), 1);
    EXPECT_TRUE(Sunken());
    EXPECT_EQ(At(2, 10), sh);          // the extra line pair at depth 2
    EXPECT_EQ(At(88, 10), hi);
    Move(150, 10);
    EXPECT_EQ(b->PressState(), 2);
    EXPECT_FALSE(Sunken());
    Move(10, 10);
    EXPECT_EQ(b->PressState(), 1);
    EXPECT_TRUE(Sunken());
    Up(10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->PressState(), 0);
    EXPECT_FALSE(Sunken());
}

TEST_F(MediaButtonTest, ReleasingOutsideOrWithTheRightButtonDoesNotClick)
{
    Move(10, 10);
    Down(10, 10);
    Move(150, 10);
    Up(150, 10);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->PressState(), 0);
    EXPECT_FALSE(Sunken());

    Move(10, 10);
    Down(10, 10, MouseButton::Right);
    EXPECT_TRUE(Sunken());
    Up(10, 10, MouseButton::Right);
    EXPECT_FALSE(Sunken());
    EXPECT_EQ(clicks, 0);
}

TEST_F(MediaButtonTest, EnterClicksSetsTheModalResultAndSoundsOnlyUnderThePointer)
{
    auto* sound = new TepWavePlayer(form);
    int plays = 0;
    sound->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++plays; });
    b->SetClickSound(sound);
    b->SetModalResult(mrOk);
    b->SetFocus();
    ws.Char('\r');
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(plays, 0);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(b->PressState(), 0);

    Move(10, 10);
    ws.Char('\r');
    Pump();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(plays, 1);
    delete sound;
    EXPECT_EQ(b->ClickSound(), nullptr);
    ws.Char('\r');
    Pump();
    EXPECT_EQ(clicks, 3);
}

// The topmost caption row belongs to the text (the shadow lies a pixel lower).
TColor TopCaptionColour(TForm* f, const TRect& r)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = f->Framebuffer().GetColor(x, y);
            if (c != clWhite)
                return c;
        }
    return clWhite;
}

TEST_F(MediaButtonTest, DisabledCaptionIsInTheOuterColourOverAShadowInTheFontColour)
{
    b->SetBevelWidth(0);
    b->SetOuterColor(clRed);
    b->Font()->SetColor(clBlue);
    b->SetCaption("H");
    Pump();
    const TRect inner = Bounds(X0 + 1, Y0 + 1, 88, 28);
    TColor c = TopCaptionColour(form, inner);
    EXPECT_GT((c >> 16) & 0xFF, c & 0xFF) << std::hex << c;   // blue text
    b->SetEnabled(false);
    Pump();
    c = TopCaptionColour(form, inner);
    EXPECT_GT(c & 0xFF, (c >> 16) & 0xFF) << std::hex << c;   // red text

    // No bevel at all, pressed or not.
    EXPECT_EQ(At(0, 0), clWhite);
    b->SetEnabled(true);
    Move(45, 2);
    Down(45, 2);
    EXPECT_EQ(b->PressState(), 1);
    EXPECT_EQ(At(0, 0), clWhite);
    EXPECT_EQ(At(0, 10), clWhite);
    Up(45, 2);
}

TEST_F(MediaButtonTest, WallpaperTilesInsideTheBevelAndFollowsThePress)
{
    auto* wall = new TepBitmap(form);
    wall->Bitmap()->Bitmap()->SetSize(10, 10);
    wall->Bitmap()->Bitmap()->Handle()->Fill(clGreen);
    wall->Bitmap()->Bitmap()->Handle()->SetColor(0, 0, clYellow);
    b->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(At(2, 2), clYellow);
    EXPECT_EQ(At(12, 12), clYellow);
    EXPECT_EQ(At(87, 27), clGreen);
    EXPECT_EQ(At(88, 27), sh);         // the bevel stays uncovered
    Move(45, 15);
    Down(45, 15);
    EXPECT_EQ(At(3, 3), clYellow);     // moved by one with the press
    Up(45, 15);
    delete wall;
    Pump();
    EXPECT_EQ(b->Wallpaper(), nullptr);
    EXPECT_EQ(At(2, 2), clWhite);
}

} // namespace
