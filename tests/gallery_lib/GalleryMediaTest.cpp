// The gallery's media page: each control where the page puts it (pixels its drawing
// rules fix), the splitter resizing its real neighbour, the cross-fade on a click and the
// status line.
#include "gallery/Gallery.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Medialib.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Picture.h"
#include "support/HeadlessFixture.h"

namespace {

using plat::MouseButton;

class GalleryMediaTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Application->CreateForm(gallery);
        gallery->Show();
        gallery->ShowPage("media");
        Pump();
        id = gallery->WindowHandle();
        wall = dynamic_cast<TepBitmap*>(gallery->Page()->FindComponent("bmpWall"));
    }
    TColor At(int x, int y) { return gallery->Framebuffer().GetColor(x, y); }
    TColor Wall(int x, int y) { return wall->Bitmap()->Bitmap()->Image().GetColor(x % 24, y % 24); }
    void Click(int x, int y)
    {
        ws.MouseMove(id, x, y);
        ws.MouseDown(id, x, y, MouseButton::Left);
        ws.MouseUp(id, x, y, MouseButton::Left);
        Pump();
    }

    TfrmGallery* gallery = nullptr;
    TepBitmap* wall = nullptr;
    uintptr_t id = 0;
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
};

} // namespace

TEST_F(GalleryMediaTest, EveryControlShowsWhatItsDrawingRulesFix)
{
    ASSERT_NE(wall, nullptr);
    // Media panels: the bevel, the shared wallpaper from inside the bevel, the plain one.
    EXPECT_EQ(At(10, 24), hi);
    EXPECT_EQ(At(12, 26), Wall(0, 0));
    EXPECT_EQ(At(159, 60), sh);
    EXPECT_EQ(At(172, 26), clWhite);
    EXPECT_EQ(At(269, 60), clGray);
    // Media bevels, tracker, the cross-fade's starting picture (its sky).
    EXPECT_EQ(At(363, 40), clYellow);
    EXPECT_EQ(At(419, 40), clMaroon);
    EXPECT_EQ(At(470, 54), clTeal);
    EXPECT_EQ(At(525, 29), TColor(0xFFB67D));
    // Sphere rim, media button bevel and wallpaper, bevel box and frame.
    EXPECT_EQ(At(48, 150), TColor(0x5C5C5C));
    EXPECT_EQ(At(260, 130), hi);
    EXPECT_EQ(At(262, 132), Wall(0, 0));
    EXPECT_EQ(At(10, 198), sh);
    EXPECT_EQ(At(49, 237), hi);
    EXPECT_EQ(At(61, 199), hi);
    EXPECT_EQ(At(60, 198), sh);
    // Images: the plain one shows its key colour, the keyed one the page behind it.
    EXPECT_EQ(At(370, 198), TColor(0xFF00FF));
    EXPECT_EQ(At(377, 205), TColor(0x1EA0FA));
    EXPECT_EQ(At(420, 198), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(427, 205), TColor(0x1EA0FA));
    // The splitter's groove lines; the ellipse panel's wallpaper; the shadow strip.
    EXPECT_EQ(At(111, 320), sh);
    EXPECT_EQ(At(115, 320), hi);
    EXPECT_EQ(At(410, 288), Wall(50, 20));
    EXPECT_EQ(At(508, 410), TColor((ColorToRGB(clBtnFace) >> 1) & 0x7F7F7F));
}

TEST_F(GalleryMediaTest, SplitterResizesItsNeighbourAndTheFadeRunsOnAClick)
{
    auto* left = dynamic_cast<TControl*>(gallery->Page()->FindComponent("ipLeft"));
    ASSERT_NE(left, nullptr);
    ASSERT_EQ(left->Width(), 100);
    ws.MouseMove(id, 113, 320);
    ws.MouseDown(id, 113, 320, MouseButton::Left);
    ws.MouseMove(id, 213, 320);
    Pump();
    ws.MouseUp(id, 213, 320, MouseButton::Left);
    Pump();
    EXPECT_EQ(left->Width(), 200);
    EXPECT_EQ(gallery->Status(), "splMain: OnMoved, width 200");

    auto* fade = dynamic_cast<TepMorphing*>(gallery->Page()->FindComponent("morFade"));
    ASSERT_NE(fade, nullptr);
    Click(560, 50);
    EXPECT_EQ(gallery->Status(), "morFade: OnClick, fading forward");
    for (int i = 0; i < 25 && fade->Fading(); ++i) {
        plat::AdvanceManualClock(50);
        Pump();
    }
    EXPECT_EQ(fade->Position(), 1.0);
    EXPECT_EQ(At(525, 29), TColor(0x410E0A));   // the night sky: (10, 14, 60 + 5)
    Click(560, 50);
    EXPECT_EQ(gallery->Status(), "morFade: OnClick, fading back");
}

// The media page reads, writes and reads back to the same text; a difference is shown
// as the first line that differs.
TEST(GalleryMediaPage, RoundTripsThroughTheFormWriterLineForLine)
{
    plat::HeadlessWindowSystem ws;
    plat::InstallWindowSystem(&ws);
    Application->Reset();
    const TGalleryPage* page = FindGalleryPage("media");
    ASSERT_NE(page, nullptr);
    auto* first = new TForm(nullptr, page->Text);
    const std::string once = WriteComponentRes(first);
    delete first;
    auto* second = new TForm(nullptr, once);
    const std::string twice = WriteComponentRes(second);
    delete second;
    size_t at = 0, line = 1;
    while (at < once.size() && at < twice.size() && once[at] == twice[at]) {
        line += once[at] == '\n';
        ++at;
    }
    auto lineAt = [](const std::string& s, size_t pos) {
        const size_t start = s.rfind('\n', pos == 0 ? 0 : pos - 1);
        const size_t b = start == std::string::npos ? 0 : start + 1;
        return s.substr(b, s.find('\n', b) - b);
    };
    EXPECT_EQ(once, twice) << "line " << line << ": '" << lineAt(once, at) << "' became '"
                           << lineAt(twice, at) << "'";
    Application->Reset();
    plat::InstallWindowSystem(nullptr);
}
