// The media building blocks: the shared picture (copies, tiling, the form description),
// the media panel and bevel, the tracker and the cross-fade, checked as pixels on
// headless renders.
#include "EffectControlsTestSupport.h"

#include "effectlib/Medialib.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

namespace {

class MedialibTest : public effctltest::HeadlessFormTest { };

// A w x h picture in `fill` whose top-left pixel is `corner`, so tile origins show.
void MakeTile(TPicture* pic, int w, int h, TColor fill, TColor corner)
{
    TBitmap* b = pic->Bitmap();
    b->SetSize(w, h);
    b->Handle()->Fill(fill);
    b->Handle()->SetColor(0, 0, corner);
}

TEST_F(MedialibTest, SharedPictureTakesACopyAndCountsOnlyARealPicture)
{
    TepBitmap shared(nullptr);
    EXPECT_FALSE(shared.HasPicture());
    EXPECT_EQ(shared.Graphic(), nullptr);

    TPicture source;
    MakeTile(&source, 4, 3, clGreen, clRed);
    shared.SetBitmap(&source);
    ASSERT_TRUE(shared.HasPicture());
    source.Bitmap()->Handle()->Fill(clBlue);   // the copy must not follow
    EXPECT_EQ(shared.Bitmap()->Bitmap()->Image().GetColor(0, 0), clRed);
    EXPECT_EQ(shared.Bitmap()->Bitmap()->Image().GetColor(3, 2), clGreen);
    EXPECT_EQ(shared.Bitmap()->Width(), 4);

    shared.Bitmap()->Bitmap()->SetSize(0, 5);   // a graphic, but nothing to tile
    EXPECT_NE(shared.Graphic(), nullptr);
    EXPECT_FALSE(shared.HasPicture());
    shared.SetBitmap(nullptr);
    EXPECT_EQ(shared.Graphic(), nullptr);
}

TEST_F(MedialibTest, TilesStartAtTheGivenOriginAndStopAfterTheLastColumnAndRow)
{
    TepBitmap shared(nullptr);
    MakeTile(shared.Bitmap(), 32, 32, clGreen, clRed);
    TBitmap target;
    target.SetSize(140, 100);
    target.Handle()->Fill(clWhite);
    shared.TileDraw(target.Canvas(), 1, 1, 3, 1);   // 4 x 2 tiles
    const plat::Surface& s = target.Image();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 2; ++r)
            EXPECT_EQ(s.GetColor(1 + 32 * c, 1 + 32 * r), clRed) << c << "," << r;
    EXPECT_EQ(s.GetColor(0, 0), clWhite);
    EXPECT_EQ(s.GetColor(128, 64), clGreen);    // last pixel of the last tile
    EXPECT_EQ(s.GetColor(129, 10), clWhite);    // no fifth column
    EXPECT_EQ(s.GetColor(10, 65), clWhite);     // no third row

    TBitmap untouched;
    untouched.SetSize(20, 20);
    untouched.Handle()->Fill(clWhite);
    shared.TileDraw(untouched.Canvas(), 0, 0, -1, 0);
    shared.TileDraw(untouched.Canvas(), 0, 0, 0, -1);
    EXPECT_EQ(untouched.Image().GetColor(0, 0), clWhite);
}

TEST_F(MedialibTest, SharedPictureSurvivesTheFormDescription)
{
    TForm first(nullptr);
    auto* shared = new TepBitmap(&first);
    shared->SetName("wall");
    MakeTile(shared->Bitmap(), 5, 3, clTeal, clRed);
    shared->Bitmap()->Bitmap()->Handle()->SetColor(4, 2, clLime);
    const std::string text = WriteComponentRes(&first);
    EXPECT_NE(text.find("object wall: TepBitmap"), std::string::npos);
    EXPECT_NE(text.find("Bitmap.Data"), std::string::npos);

    TForm second(nullptr);
    ReadComponentRes(text, &second);
    auto* copy = dynamic_cast<TepBitmap*>(second.FindComponent("wall"));
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->HasPicture());
    const plat::Surface& s = copy->Bitmap()->Bitmap()->Image();
    EXPECT_EQ(s.Width(), 5);
    EXPECT_EQ(s.GetColor(0, 0), clRed);
    EXPECT_EQ(s.GetColor(4, 2), clLime);
    EXPECT_EQ(s.GetColor(2, 1), clTeal);
    EXPECT_EQ(WriteComponentRes(&second), text);
}

// The panel and bevel tests put their control on a white form at (X0, Y0).
class MediaControlsTest : public effctltest::HeadlessFormTest {
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        form = NewForm(220, 160, 0, 0, clWhite);
    }
    TColor At(int x, int y) { return Pixel(form, X0 + x, Y0 + y); }
    static constexpr int X0 = 10, Y0 = 20;
    TForm* form = nullptr;
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
};

TEST_F(MediaControlsTest, PanelTilesFourByTwoInsideItsBevelAndNeverOverTheShadowLines)
{
    auto* wall = new TepBitmap(form);
    MakeTile(wall->Bitmap(), 32, 32, clGreen, clRed);
    auto* p = new TepMediaPanel(form);
    p->SetParent(form);
    p->SetBounds(X0, Y0, 100, 60);
    p->SetWallpaper(wall);
    Pump();
    EXPECT_EQ(p->WallpaperRect(), Rect(1, 1, 99, 59));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 2; ++r)
            EXPECT_EQ(At(1 + 32 * c, 1 + 32 * r), clRed) << c << "," << r;
    EXPECT_EQ(At(98, 58), clGreen);   // the last tile, cut at the bevel
    EXPECT_EQ(At(0, 0), hi);
    EXPECT_EQ(At(50, 0), hi);
    EXPECT_EQ(At(0, 30), hi);
    EXPECT_EQ(At(99, 30), sh);        // the shadow lines stay uncovered
    EXPECT_EQ(At(50, 59), sh);
    EXPECT_EQ(At(99, 0), sh);

    // A border and an inner bevel move the wallpaper inwards.
    p->SetBorderWidth(2);
    p->SetBevelInner(bvLowered);
    Pump();
    EXPECT_EQ(p->WallpaperRect(), Rect(4, 4, 96, 56));
    EXPECT_EQ(At(4, 4), clRed);
    EXPECT_EQ(At(36, 4), clRed);
    EXPECT_EQ(At(3, 10), ColorToRGB(p->Color()));
}

TEST_F(MediaControlsTest, RemovingTheSharedPictureLeavesEveryPanelWithItsBevel)
{
    auto* wall = new TepBitmap(form);
    MakeTile(wall->Bitmap(), 8, 8, clGreen, clRed);
    TepMediaPanel* panels[2];
    for (int i = 0; i < 2; ++i) {
        panels[i] = new TepMediaPanel(form);
        panels[i]->SetParent(form);
        panels[i]->SetBounds(X0 + 100 * i, Y0, 60, 40);
        panels[i]->SetWallpaper(wall);
    }
    Pump();
    ASSERT_EQ(At(1, 1), clRed);
    ASSERT_EQ(At(101, 1), clRed);
    delete wall;
    Pump();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(panels[i]->Wallpaper(), nullptr);
        EXPECT_EQ(At(100 * i + 1, 1), ColorToRGB(clBtnFace));
        EXPECT_EQ(At(100 * i + 0, 0), hi);
        EXPECT_EQ(At(100 * i + 59, 20), sh);
    }

    // An empty picture counts as none.
    auto* empty = new TepBitmap(form);
    panels[0]->SetWallpaper(empty);
    Pump();
    EXPECT_EQ(At(1, 1), ColorToRGB(clBtnFace));
}

TEST_F(MediaControlsTest, BevelOfWidthTwoDrawsTwoRingsAndAHugeWidthStopsAtTheSize)
{
    auto* b = new TepMediaBevel(form);
    b->SetParent(form);
    b->SetLeft(X0);
    b->SetTop(Y0);
    Pump();
    EXPECT_EQ(b->Width(), 50);
    EXPECT_EQ(b->BevelWidth(), 2);
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(At(20, d), hi) << d;
        EXPECT_EQ(At(d, 20), hi) << d;
        EXPECT_EQ(At(20, 49 - d), sh) << d;
        EXPECT_EQ(At(49 - d, 20), sh) << d;
    }
    EXPECT_EQ(At(1, 1), hi);
    EXPECT_EQ(At(48, 48), sh);
    EXPECT_EQ(At(49, 0), sh);          // the right line ends the top line
    EXPECT_EQ(At(20, 2), clWhite);
    EXPECT_EQ(At(2, 20), clWhite);
    EXPECT_EQ(At(50, 20), clWhite);

}

// Rings past the larger side cannot change a pixel: 50, 60 and two thousand million
// rings on a 50 x 40 bevel give the same picture, and the loop ends.
TEST_F(MediaControlsTest, BevelRingsStopWhereFurtherOnesCannotChangeAPixel)
{
    auto render = [](int rings) {
        TBitmap b;
        b.SetSize(50, 40);
        b.Handle()->Fill(clWhite);
        DrawMediaBevel(b.Canvas(), 50, 40, rings, clRed, clBlue);
        return b.Image();
    };
    const plat::Surface fifty = render(50), sixty = render(60), huge = render(2000000000);
    const plat::Surface fortyNine = render(49);
    int differ = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) {
            EXPECT_EQ(sixty.GetColor(x, y), fifty.GetColor(x, y)) << x << "," << y;
            EXPECT_EQ(huge.GetColor(x, y), fifty.GetColor(x, y)) << x << "," << y;
            differ += fortyNine.GetColor(x, y) != fifty.GetColor(x, y);
        }
    EXPECT_GT(differ, 0);   // the last ring that counts does change pixels
}

TEST_F(MediaControlsTest, TrackerReportsThePointerEnteringAndLeaving)
{
    auto* t = new TepTracker(form);
    t->SetParent(form);
    t->SetBounds(X0, Y0, 30, 30);
    int enters = 0, leaves = 0;
    t->OnMouseEnter = TNotifyEvent::FromFunction([&](TObject* s) { enters += s == t; });
    t->OnMouseLeave = TNotifyEvent::FromFunction([&](TObject* s) { leaves += s == t; });
    Pump();
    ws.MouseMove(form->WindowHandle(), X0 + 5, Y0 + 5);
    Pump();
    ws.MouseMove(form->WindowHandle(), X0 + 20, Y0 + 20);
    Pump();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 0);
    ws.MouseMove(form->WindowHandle(), X0 + 100, Y0 + 5);
    Pump();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

class MorphingTest : public MediaControlsTest {
protected:
    void SetUp() override
    {
        MediaControlsTest::SetUp();
        m = new TepMorphing(form);
        m->SetParent(form);
        m->SetLeft(X0);
        m->SetTop(Y0);
        TBitmap b;
        b.SetSize(40, 30);
        b.Handle()->Fill(0x646464);
        m->SetSource(&b);
        b.Handle()->Fill(0xC8C8C8);
        m->SetDest(&b);
        Pump();
    }
    void Tick()
    {
        plat::AdvanceManualClock(50);
        Pump();
    }
    TepMorphing* m = nullptr;
};

TEST_F(MorphingTest, FourStepsShowTheQuarterMixesThenTheTargetAndStop)
{
    EXPECT_EQ(m->Width(), 100);
    EXPECT_EQ(m->Step(), 20);
    EXPECT_EQ(At(5, 5), TColor(0x646464));
    m->SetStep(4);
    m->Morphing();
    EXPECT_TRUE(m->Fading());
    Pump();
    EXPECT_EQ(At(5, 5), TColor(0x646464));
    const TColor mixes[] = { 0x7D7D7D, 0x969696, 0xAFAFAF, 0xC8C8C8 };
    for (int i = 0; i < 4; ++i) {
        Tick();
        EXPECT_DOUBLE_EQ(m->Position(), 0.25 * (i + 1));
        EXPECT_EQ(At(5, 5), mixes[i]) << i;
        EXPECT_EQ(At(39, 29), mixes[i]) << i;
    }
    EXPECT_FALSE(m->Fading());
    EXPECT_EQ(At(40, 5), ColorToRGB(m->Color()));   // the pictures are not stretched
    Tick();
    EXPECT_DOUBLE_EQ(m->Position(), 1.0);

    // Backward starts from Dest; changing the direction does not restart the fade.
    m->SetDirect(mdBackward);
    m->Morphing();
    Pump();
    EXPECT_EQ(At(5, 5), TColor(0xC8C8C8));
    Tick();
    EXPECT_EQ(At(5, 5), TColor(0xAFAFAF));
    m->SetDirect(mdForward);
    EXPECT_DOUBLE_EQ(m->Position(), 0.25);
}

TEST_F(MorphingTest, StepZeroReachesTheTargetInOneTickAndTwentyStepsEndAtOne)
{
    m->SetStep(0);
    m->Morphing();
    Tick();
    EXPECT_DOUBLE_EQ(m->Position(), 1.0);
    EXPECT_FALSE(m->Fading());
    EXPECT_EQ(At(5, 5), TColor(0xC8C8C8));

    m->SetStep(20);
    m->Morphing();
    int ticks = 0;
    while (m->Fading() && ticks < 30) {
        Tick();
        ++ticks;
    }
    EXPECT_TRUE(ticks == 20 || ticks == 21) << ticks;
    EXPECT_EQ(m->Position(), 1.0);
}

TEST_F(MorphingTest, PicturesOfDifferentSizesShowTheStartUnchangedMidway)
{
    TBitmap small;
    small.SetSize(10, 10);
    small.Handle()->Fill(clRed);
    m->SetDest(&small);
    m->SetStep(2);
    m->Morphing();
    Tick();
    EXPECT_EQ(At(5, 5), TColor(0x646464));
    Tick();
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(At(20, 20), ColorToRGB(m->Color()));
}

} // namespace
