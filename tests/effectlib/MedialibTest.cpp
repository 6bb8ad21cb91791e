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

} // namespace
