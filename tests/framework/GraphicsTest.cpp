// Graphics objects and the plain controls: colours and their names, fonts, the canvas
// applying its pen and brush, bitmaps and their transparency, and the pixels of panels,
// bevels and images.
#include "VisualTestSupport.h"

#include "framework/stdctrls/Bevel.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/graphics/Icon.h"
#include "framework/stdctrls/Image.h"
#include "framework/stdctrls/PaintBox.h"
#include "framework/core/Stream.h"
#include "platform/system/Failure.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

TEST(ColorTest, SystemColoursResolveThroughTheGreyScheme)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080u);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFFu);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000u);  // navy
    EXPECT_EQ(ColorToRGB(clWindowFrame), 0x000000u);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFFu);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);
    EXPECT_EQ(ColorToRGB(clBackground), 0x808000u);
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), 0u);       // no such system colour
    EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);       // plain colours pass
    EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(ColorTest, NamesRoundTripAndOtherValuesAreHex)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x008000), "clGreen");
    EXPECT_EQ(ColorToString(0xD0D0D0), "$00D0D0D0");
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("$00D0D0D0"), 0xD0D0D0u);
    EXPECT_EQ(StringToColor("$8000000F"), clBtnFace);
    EXPECT_EQ(StringToColor("13684944"), 0xD0D0D0u);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_THROW(StringToColor("clChartreuse"), EConvertError);
    EXPECT_THROW(StringToColor("$12345G"), EConvertError);
    int n = 0;
    GetColorValues([&](const std::string& name) {
        TColor c;
        EXPECT_TRUE(IdentToColor(name, c)) << name;
        ++n;
    });
    EXPECT_EQ(n, 43);
}

TEST(FontTest, SizeAndHeightConvertAtNinetySixPixelsPerInch)
{
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    int changes = 0;
    f.OnChange = TNotifyEvent::FromFunction([&](TObject*) { ++changes; });
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetHeight(-40);
    EXPECT_EQ(f.Size(), 30);
    f.SetHeight(-40);  // unchanged: no event
    f.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 3);
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Height(), -40);
    EXPECT_EQ(g.Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_TRUE(g.Handle()->Spec().bold);
}

TEST(CanvasTest, PenAndBrushChangesApplyToTheNextOperation)
{
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 10, 10));
    c->Brush()->SetColor(0x808080);
    c->Pen()->SetColor(0x808080);
    TPoint tri[] = { { 1, 1 }, { 8, 1 }, { 1, 8 }, { 99, 99 } };
    c->Polygon(tri, 2);  // the last index: three points used, the fourth ignored
    EXPECT_EQ(c->Pixels(1, 1), 0x808080u);
    EXPECT_EQ(c->Pixels(3, 3), 0x808080u);
    EXPECT_EQ(c->Pixels(8, 8), clWhite);
    c->Pen()->SetColor(clRed);
    c->MoveTo(0, 9);
    c->LineTo(5, 9);
    EXPECT_EQ(c->Pixels(4, 9), clRed);
    EXPECT_EQ(c->Pixels(5, 9), clWhite);  // the end point is left out
    EXPECT_EQ(c->PenPos(), Point(5, 9));
    c->Brush()->SetColor(clBlue);
    c->FrameRect(Rect(5, 0, 9, 4));
    EXPECT_EQ(c->Pixels(5, 0), clBlue);
    EXPECT_EQ(c->Pixels(6, 1), 0x808080u);  // the inside keeps the triangle
    EXPECT_EQ(c->Pixels(9, 0), clWhite);
}

TEST(CanvasTest, BrushCopyReplacesOneColourByTheBrush)
{
    TBitmap src;
    src.SetSize(2, 1);
    src.Canvas()->SetPixel(0, 0, clWhite);
    src.Canvas()->SetPixel(1, 0, clRed);
    TBitmap dst;
    dst.SetSize(4, 1);
    TCanvas* c = dst.Canvas();
    c->Brush()->SetColor(clLime);
    c->BrushCopy(Rect(1, 0, 3, 1), &src, Rect(0, 0, 2, 1), clWhite);
    EXPECT_EQ(c->Pixels(0, 0), clBlack);
    EXPECT_EQ(c->Pixels(1, 0), clLime);
    EXPECT_EQ(c->Pixels(2, 0), clRed);
    EXPECT_EQ(c->Pixels(3, 0), clBlack);
}

TEST(CanvasTest, Frame3DPaintsRingsAndShrinksTheRectangle)
{
    TBitmap b;
    b.SetSize(4, 3);
    TRect r = Rect(0, 0, 4, 3);
    Frame3D(b.Canvas(), r, clWhite, clGray, 1);
    EXPECT_EQ(r, Rect(1, 1, 3, 2));
    for (TPoint p : { Point(0, 0), Point(1, 0), Point(2, 0), Point(0, 1) })
        EXPECT_EQ(b.Image().GetColor(p.X, p.Y), clWhite) << p.X << "," << p.Y;
    for (TPoint p : { Point(3, 0), Point(3, 1), Point(0, 2), Point(1, 2), Point(3, 2) })
        EXPECT_EQ(b.Image().GetColor(p.X, p.Y), clGray) << p.X << "," << p.Y;
    EXPECT_EQ(b.Image().GetColor(1, 1), clBlack);
}

// The frame painter against a per-pixel statement of its rule, over rectangles inside,
// across and outside the bitmap's edges and widths that do and do not fill them.
TEST(CanvasTest, Frame3DMatchesItsPerPixelRule)
{
    const TColor Bg = 0x123456, T = clRed, B = clBlue;
    for (TRect r : { Rect(0, 0, 7, 5), Rect(1, 1, 2, 2), Rect(-2, -1, 5, 9), Rect(2, 0, 10, 4),
             Rect(3, 3, 3, 6) })
        for (int width : { 1, 2, 3, 10 }) {
            TBitmap b;
            b.SetSize(8, 6);
            b.Handle()->Fill(Bg);
            TRect inner = r;
            Frame3D(b.Canvas(), inner, T, B, width);
            EXPECT_EQ(inner, Rect(r.Left + width, r.Top + width, r.Right - width, r.Bottom - width));
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 8; ++x) {
                    int k = std::min({ x - r.Left, y - r.Top, r.Right - 1 - x, r.Bottom - 1 - y });
                    TColor want = Bg;
                    // On ring k, the right column and the bottom row take the bottom colour,
                    // even where the ring is one pixel wide or high; the rest takes top.
                    if (k >= 0 && k < width)
                        want = (x == r.Right - 1 - k || y == r.Bottom - 1 - k) ? B : T;
                    ASSERT_EQ(b.Image().GetColor(x, y), want)
                        << "rect " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom
                        << " width " << width << " at " << x << "," << y;
                }
        }

    // Rings stop when nothing is left inside, and the returned rectangle's edges stop
    // inside the plane instead of wrapping.
    TBitmap b;
    b.SetSize(2, 2);
    TRect edge = Rect(INT32_MAX - 4, INT32_MIN, INT32_MAX, INT32_MIN + 4);
    Frame3D(b.Canvas(), edge, T, B, 2000000000);
    EXPECT_EQ(edge,
        Rect(INT32_MAX / 4, INT32_MIN + 2000000000, INT32_MAX - 2000000000, INT32_MIN / 4));
    // A rectangle at the plane's edge whose rings all fit keeps its exact inset.
    TRect wide = Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    Frame3D(b.Canvas(), wide, T, B, 1);
    EXPECT_EQ(wide, Rect(INT32_MIN + 1, INT32_MIN + 1, INT32_MAX - 1, INT32_MAX - 1));
}

TEST(BitmapTest, TransparentColourIsTheBottomLeftPixelUnlessFixed)
{
    TBitmap b;
    b.SetSize(3, 3);
    b.Canvas()->Brush()->SetColor(clAqua);
    b.Canvas()->FillRect(Rect(0, 0, 3, 3));
    b.Canvas()->SetPixel(1, 1, clRed);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), clAqua);
    b.SetTransparent(true);

    TBitmap dst;
    dst.SetSize(5, 5);
    dst.Canvas()->Brush()->SetColor(clWhite);
    dst.Canvas()->FillRect(Rect(0, 0, 5, 5));
    dst.Canvas()->Draw(1, 1, &b);
    EXPECT_EQ(dst.Image().GetColor(2, 2), clRed);
    EXPECT_EQ(dst.Image().GetColor(1, 1), clWhite);  // the key colour shows through

    b.SetTransparentColor(clRed);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    dst.Canvas()->Draw(1, 1, &b);
    EXPECT_EQ(dst.Image().GetColor(1, 1), clAqua);
    EXPECT_EQ(dst.Image().GetColor(2, 2), clRed);  // red is the key now: stays as it was
    b.SetTransparent(false);
    b.SetTransparentColor(clDefault);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
}

TEST(BitmapTest, DataIsTheLengthThenTheBmpFileAndRoundTrips)
{
    TBitmap b;
    b.SetSize(2, 2);
    b.Canvas()->SetPixel(1, 0, clYellow);
    b.SetPixelFormat(pf24bit);
    std::vector<uint8_t> file = b.SaveToBytes();
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');

    TBitmap copy;
    copy.LoadFromBytes(file);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    EXPECT_EQ(copy.Image().GetColor(1, 0), clYellow);
    EXPECT_THROW(copy.LoadFromBytes(std::vector<uint8_t> { 'B', 'M', 1, 2 }), EInvalidGraphic);
    EXPECT_EQ(copy.Width(), 2);  // a failed load keeps the image
}

// A refused image or file says why the platform refused it, and only for this failure:
// a reason left from an earlier one is not carried into the message.
TEST(GraphicErrorTest, MessagesCarryThePlatformsReason)
{
    auto messageOf = [](auto&& load) -> std::string {
        try {
            load();
        } catch (const Exception& e) {
            return e.Message();
        }
        return "no exception";
    };
    plat::ReportFailure("stale reason");
    TBitmap b;
    std::string bad = messageOf([&] { b.LoadFromBytes(std::vector<uint8_t> { 'B', 'M', 1, 2 }); });
    EXPECT_EQ(bad.rfind("Bitmap image is not valid. bitmap: ", 0), 0u) << bad;
    EXPECT_EQ(bad, "Bitmap image is not valid. " + plat::LastError());

    TIcon i;
    std::string badIcon = messageOf([&] { i.LoadFromBytes(std::vector<uint8_t> { 0, 0, 9, 0 }); });
    EXPECT_EQ(badIcon.rfind("Icon image is not valid. icon: ", 0), 0u) << badIcon;

    plat::ReportFailure("stale reason");
    std::string missing = std::string(BINARY_DIR) + "/no-such-folder/none.bmp";
    std::string open = messageOf([&] { b.LoadFromFile(missing); });
    EXPECT_EQ(open, "Cannot open file \"" + missing + "\". cannot open " + missing + ": "
            + std::strerror(ENOENT));
    std::string create = messageOf([&] { b.SaveToFile(missing); });
    EXPECT_EQ(create.rfind("Cannot create file \"" + missing + "\". cannot write " + missing, 0), 0u)
        << create;
}

// A panel of 20 x 12: raised outer bevel, a border of 2, lowered inner bevel.
TEST_F(HeadlessTest, PanelPaintsItsBevelsBorderAndFace)
{
    TForm* f = NewForm(40, 40);
    auto* p = new TPanel(f);
    p->SetParent(f);
    p->SetBounds(5, 5, 20, 12);
    p->SetBorderWidth(2);
    p->SetBevelInner(bvLowered);
    p->SetColor(clGreen);
    Application->ProcessMessages();
    auto px = [&](int x, int y) { return Pixel(f, 5 + x, 5 + y); };
    EXPECT_EQ(px(0, 0), clWhite);   // outer raised: highlight top-left
    EXPECT_EQ(px(18, 0), clWhite);
    EXPECT_EQ(px(19, 0), clGray);   // the top-right corner takes the shadow
    EXPECT_EQ(px(0, 11), clGray);
    EXPECT_EQ(px(19, 11), clGray);
    EXPECT_EQ(px(1, 1), clGreen);   // border in the panel's colour
    EXPECT_EQ(px(2, 2), clGreen);
    EXPECT_EQ(px(3, 3), clGray);    // inner lowered: shadow top-left
    EXPECT_EQ(px(16, 8), clWhite);  // and highlight bottom-right
    EXPECT_EQ(px(10, 6), clGreen);  // face
    EXPECT_EQ(Pixel(f, 4, 4), clWhite);    // the form around it
    EXPECT_EQ(Pixel(f, 25, 17), clWhite);

    // Children align inside bevels and border: 1 + 2 + 1 = 4 on each side.
    auto* inner = new TPaintBox(f);
    inner->SetParent(p);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 16, 8));
}

TEST_F(HeadlessTest, BevelBoxAndLinesUseShadowAndHighlight)
{
    TForm* f = NewForm(40, 40);
    f->SetColor(clBlack);
    auto* box = new TBevel(f);
    box->SetParent(f);
    box->SetBounds(0, 0, 5, 4);
    auto* line = new TBevel(f);
    line->SetParent(f);
    line->SetBounds(10, 10, 6, 6);
    line->SetShape(bsBottomLine);
    line->SetStyle(bsRaised);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 0, 0), clGray);   // lowered: shadow left and top
    EXPECT_EQ(Pixel(f, 0, 3), clGray);
    EXPECT_EQ(Pixel(f, 3, 0), clGray);
    EXPECT_EQ(Pixel(f, 4, 0), clWhite);  // highlight right and bottom
    EXPECT_EQ(Pixel(f, 1, 3), clWhite);
    EXPECT_EQ(Pixel(f, 2, 2), clBlack);  // nothing inside
    EXPECT_EQ(Pixel(f, 10, 14), clWhite);  // raised bottom line: highlight above shadow
    EXPECT_EQ(Pixel(f, 15, 15), clGray);
    EXPECT_EQ(Pixel(f, 12, 12), clBlack);
}

TEST_F(HeadlessTest, ImageDrawsItsBitmapClippedTransparentAndAutoSized)
{
    TForm* f = NewForm(40, 40);
    auto* img = new TImage(f);
    img->SetParent(f);
    img->SetBounds(2, 2, 3, 3);
    TBitmap pic;
    pic.SetSize(4, 4);
    pic.Canvas()->Brush()->SetColor(clAqua);
    pic.Canvas()->FillRect(Rect(0, 0, 4, 4));
    pic.Canvas()->SetPixel(1, 1, clRed);
    img->Picture()->SetGraphic(&pic);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 3, 3), clRed);
    EXPECT_EQ(Pixel(f, 2, 2), clAqua);
    EXPECT_EQ(Pixel(f, 5, 5), clWhite);  // the picture's fourth column is clipped
    EXPECT_TRUE(img->ControlStyle() & csOpaque);

    img->SetTransparent(true);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 2, 2), clWhite);  // the key colour (bottom-left) shows the form
    EXPECT_EQ(Pixel(f, 3, 3), clRed);
    EXPECT_FALSE(img->ControlStyle() & csOpaque);

    img->SetAutoSize(true);
    EXPECT_EQ(img->Width(), 4);
    EXPECT_EQ(img->Height(), 4);
    img->SetStretch(true);
    img->SetBounds(10, 10, 8, 8);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 12, 12), clRed);  // pixel (1, 1) doubled
    EXPECT_EQ(Pixel(f, 13, 13), clRed);
    EXPECT_EQ(Pixel(f, 14, 14), clWhite);
}

TEST_F(HeadlessTest, ImageDrawsAnIconThroughItsMask)
{
    TForm* f = NewForm(40, 40);
    plat::IconImage icon;
    icon.color = plat::Surface(2, 2);
    icon.color.Fill(clBlue);
    icon.mask = plat::Surface(2, 2, plat::PixelFormat::Bpp1);
    icon.mask.SetColor(1, 1, clWhite);  // transparent
    auto* img = new TImage(f);
    img->SetParent(f);
    img->SetBounds(4, 4, 2, 2);
    img->Picture()->Icon()->SetHandle(icon);
    Application->ProcessMessages();
    EXPECT_EQ(Pixel(f, 4, 4), clBlue);
    EXPECT_EQ(Pixel(f, 5, 4), clBlue);
    EXPECT_EQ(Pixel(f, 5, 5), clWhite);
    EXPECT_FALSE(img->ControlStyle() & csOpaque);
}

TEST_F(HeadlessTest, PaintBoxKeepsTheColoursItsOwnerSet)
{
    TForm* f = NewForm(40, 40);
    auto* pb = new TPaintBox(f);
    pb->SetParent(f);
    pb->SetBounds(0, 0, 20, 20);
    pb->Canvas()->Brush()->SetColor(0x808080);
    pb->Canvas()->Pen()->SetColor(0x808080);
    int paints = 0;
    pb->OnPaint = TNotifyEvent::FromFunction([&](TObject*) {
        ++paints;
        pb->Canvas()->Rectangle(2, 2, 10, 10);
    });
    Application->ProcessMessages();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(Pixel(f, 2, 2), 0x808080u);
    EXPECT_EQ(Pixel(f, 5, 5), 0x808080u);
    EXPECT_EQ(Pixel(f, 10, 10), clWhite);
}

} // namespace
