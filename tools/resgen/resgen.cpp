// Writes the program's resources into a folder (by default "resources" under the current
// directory): resgen [output-folder] [--preview folder]. With --preview it also writes
// each bitmap as PNG, to look at. The output is the same on every run.

#include "tools/resgen/Paint.h"
#include "tools/resgen/Resources.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool Save(const std::filesystem::path& path, const plat::Bytes& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (bytes.empty() || !plat::WriteFileBytes(path.string(), bytes)) {
        std::fprintf(stderr, "resgen: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// Each pixel as a k x k block, for looking at small images closely.
plat::Surface Zoom(const plat::Surface& s, int k)
{
    plat::Surface z(s.Width() * k, s.Height() * k);
    for (int y = 0; y < z.Height(); ++y)
        for (int x = 0; x < z.Width(); ++x)
            z.SetColor(x, y, s.GetColor(x / k, y / k));
    return z;
}

plat::Surface Crop(const plat::Surface& s, int x0, int y0, int w, int h)
{
    plat::Surface c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.SetColor(x, y, s.GetColor(x0 + x, y0 + y));
    return c;
}

// The dial as the display panel shows it: clipped to its image control, the beat
// counter over its lower middle and the needle standing at `angle` degrees.
plat::Surface InPanel(const plat::Surface& dial, double angle)
{
    resgen::Canvas c(310, 380, resgen::Hex(0xC0C0C0));
    for (int y = 0; y < 294; ++y)
        for (int x = 0; x < 303; ++x) {
            plat::Color v = dial.GetColor(x, y);
            c.At(3 + x, 74 + y) = { double(plat::RedOf(v)), double(plat::GreenOf(v)), double(plat::BlueOf(v)) };
        }
    c.Fill({ 100, 344, 212, 375 }, [](double, double) { return true; }, resgen::Hex(0x101010));
    c.Fill({ 215, 344, 257, 375 }, [](double, double) { return true; }, resgen::Hex(0xC0C0C0));
    const double px = 155, py = 379, s = std::sin(resgen::Rad(angle)), co = std::cos(resgen::Rad(angle));
    auto at = [&](double along, double across, double& x, double& y) {
        x = px + along * s + across * co;
        y = py - along * co + across * s;
    };
    resgen::Convex needle {};
    needle.n = 5;
    const double pts[5][2] = { { 50, -5 }, { 250, -5 }, { 255, 0 }, { 250, 5 }, { 50, 5 } };
    for (int i = 0; i < 5; ++i)
        at(pts[i][0], pts[i][1], needle.px[i], needle.py[i]);
    c.Fill({ 0, 0, 310, 380 }, needle, resgen::Hex(0x808080), 1.0, 1);
    return c.ToSurface();
}

// The tempo slider as the window shows it: the top rows of the ruler and the thumb at
// the top offset `thumbTop`, both keyed, on the panel face.
plat::Surface InSlider(int thumbTop)
{
    plat::Surface out(76, 281);
    out.Fill(0xC0C0C0);
    auto keyed = [&](const plat::Surface& img, int left, int top, int rows) {
        plat::Color key = img.GetColor(0, img.Height() - 1);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < img.Width(); ++x)
                if (img.GetColor(x, y) != key)
                    out.SetColor(left + x, top + y, img.GetColor(x, y));
    };
    keyed(resgen::RenderRuler(), 6, 6, 269);
    keyed(resgen::RenderThumb(), 6, thumbTop, resgen::ThumbHeight);
    return out;
}

bool Preview(const std::filesystem::path& dir)
{
    plat::Surface dial = resgen::RenderDial();
    bool ok = Save(dir / "dial.png", plat::WritePng(dial));
    ok = Save(dir / "dial-left-x4.png", plat::WritePng(Zoom(Crop(dial, 0, 0, 160, 110), 4))) && ok;
    ok = Save(dir / "dial-hub-x4.png", plat::WritePng(Zoom(Crop(dial, 90, 240, 130, 62), 4))) && ok;
    ok = Save(dir / "thumb-x6.png", plat::WritePng(Zoom(resgen::RenderThumb(), 6))) && ok;
    ok = Save(dir / "ruler-x3.png", plat::WritePng(Zoom(resgen::RenderRuler(), 3))) && ok;
    ok = Save(dir / "slider-x2.png", plat::WritePng(Zoom(InSlider(128), 2))) && ok;
    ok = Save(dir / "panel-left.png", plat::WritePng(InPanel(dial, -30))) && ok;
    ok = Save(dir / "panel-up.png", plat::WritePng(InPanel(dial, 0))) && ok;
    plat::IconImage logo = resgen::RenderLogo();
    ok = Save(dir / "logo-x12.png", plat::WritePng(Zoom(logo.color, 12))) && ok;
    for (int size : resgen::AppIconSizes) {
        plat::AlphaImage icon = resgen::RenderAppIcon(size);
        int k = std::max(1, 256 / size);
        ok = Save(dir / ("icon" + std::to_string(size) + ".png"), plat::WritePng(Zoom(icon.color, k))) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out = "resources";
    std::filesystem::path preview;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--preview" && i + 1 < argc)
            preview = argv[++i];
        else if (!arg.empty() && arg[0] != '-')
            out = arg;
        else {
            std::fprintf(stderr, "usage: resgen [output-folder] [--preview folder]\n");
            return 2;
        }
    }
    bool ok = true;
    for (const resgen::ResourceFile& f : resgen::GenerateAll())
        ok = Save(out / f.path, f.bytes) && ok;
    if (!preview.empty())
        ok = Preview(preview) && ok;
    return ok ? 0 : 1;
}
