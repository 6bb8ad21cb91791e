// Pictures of the instrument-panel controls in their main states, written as PNG files
// into the build directory (gallery/rackctls_*.png) for a look by eye.
#include "rackctls/RackCtls.h"

#include "framework/core/Reader.h"
#include "platform/raster/ImageFiles.h"

#include "RackTestSupport.h"
#include "RackWindowText.h"

#include <filesystem>
#include <vector>

using namespace racktest;

namespace {

std::string GalleryPath(const std::string& name)
{
    std::string dir = std::string(BINARY_DIR) + "/gallery";
    std::filesystem::create_directories(dir);
    return dir + "/rackctls_" + name + ".png";
}

plat::Surface Crop(const plat::Surface& s, const TRect& r)
{
    plat::Surface out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            out.SetColor(x, y, s.GetColor(r.Left + x, r.Top + y));
    return out;
}

plat::Surface Zoom(const plat::Surface& s, int k)
{
    plat::Surface out(s.Width() * k, s.Height() * k);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetColor(x, y, s.GetColor(x / k, y / k));
    return out;
}

// The pictures side by side, 4 pixels apart, on white.
plat::Surface Row(const std::vector<plat::Surface>& parts)
{
    int w = 4, h = 0;
    for (const auto& p : parts) {
        w += p.Width() + 4;
        h = std::max(h, p.Height());
    }
    plat::Surface out(w, h + 8);
    out.Fill(clWhite);
    int x = 4;
    for (const auto& p : parts) {
        for (int y = 0; y < p.Height(); ++y)
            for (int i = 0; i < p.Width(); ++i)
                out.SetColor(x + i, 4 + y, p.GetColor(i, y));
        x += p.Width() + 4;
    }
    return out;
}

class GalleryTest : public RackFormTest {
protected:
    void SetUp() override
    {
        RackFormTest::SetUp();
        form = new TRackForm(Application);
        ReadComponentRes(WindowPanelsText, form);
        form->Show();
        Pump();
    }
    plat::Surface Shot(TControl* c)
    {
        TPoint o = c->FormOffset();
        return Crop(form->Framebuffer(), Bounds(o.X, o.Y, c->Width(), c->Height()));
    }
    void Save(const std::string& name, const plat::Surface& s)
    {
        std::string path = GalleryPath(name);
        ASSERT_TRUE(plat::SavePngFile(path, s)) << path;
        auto back = plat::LoadPngFile(path);
        ASSERT_TRUE(back.has_value()) << path;
        EXPECT_EQ(back->color.Width(), s.Width());
        EXPECT_EQ(back->color.GetColor(s.Width() / 2, s.Height() / 2),
            s.GetColor(s.Width() / 2, s.Height() / 2));
    }

    TRackForm* form = nullptr;
};

TEST_F(GalleryTest, WindowPanels)
{
    plat::Surface all = Crop(form->Framebuffer(), Rect(0, 0, 412, 443));
    Save("window", all);
    Save("screws_zoomed", Row({ Zoom(Crop(all, Bounds(11, 11, 16, 16)), 8),
                              Zoom(Crop(all, Bounds(12, 51, 16, 16)), 8) }));
    // The two plates with their screws: the main one in the button face colour, the
    // display plate in its own grey.
    EXPECT_EQ(all.GetColor(200, 20), ColorToRGB(clBtnFace));
    EXPECT_EQ(all.GetColor(150, 200), 0xD0D0D0u);
}

TEST_F(GalleryTest, ButtonsInTheirStates)
{
    for (TLEDButton* b : { form->btnRun, form->btnBeep, form->sbMixer, form->btnReset }) {
        SCOPED_TRACE(b->Name());
        b->SetStateOn(false);
        Pump();
        plat::Surface off = Shot(b);
        b->SetStateOn(true);
        Pump();
        plat::Surface on = Shot(b);
        b->SetStateOn(false);
        Press(b, b->Width() / 2, 4);
        plat::Surface pressed = Shot(b);
        Release(b, b->Width() / 2, 4);
        b->SetStateOn(true);
        b->SetEnabled(false);
        Pump();
        plat::Surface disabled = Shot(b);
        b->SetEnabled(true);
        Pump();
        Save("button_" + b->Name(), Zoom(Row({ off, on, pressed, disabled }), 3));
        EXPECT_FALSE(off == pressed);
        EXPECT_FALSE(on == disabled);
        if (b->ShowLED()) {
            EXPECT_FALSE(off == on);
        }
    }
}

TEST_F(GalleryTest, DisplayValues)
{
    TLEDDisplay* d = form->dispBeat;
    std::vector<plat::Surface> shots;
    for (long double v : { 0.0L, 12345.0L, -12.0L }) {
        d->SetValue(v);
        Pump();
        shots.push_back(Shot(d));
    }
    d->SetFractionDigits(2);
    d->SetValue(3.14159L);
    Pump();
    shots.push_back(Shot(d));
    Save("display", Zoom(Row(shots), 3));
    for (size_t i = 1; i < shots.size(); ++i)
        EXPECT_FALSE(shots[i] == shots[i - 1]) << i;
}

} // namespace
