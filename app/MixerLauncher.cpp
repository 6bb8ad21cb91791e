#include "app/MixerLauncher.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/stdctrls/Image.h"
#include "framework/graphics/Picture.h"
#include "platform/system/Desktop.h"
#include "platform/system/Process.h"
#include "rackctls/RackCtls.h"

#include <algorithm>

namespace {

constexpr int IconSize = 16;

struct Candidate {
    const char* program;
    std::vector<std::string> args;
    const char* desktopId;
};

const std::vector<Candidate>& Candidates()
{
    static const std::vector<Candidate> list = {
        { "pavucontrol", {}, "" },
        { "pavucontrol-qt", {}, "" },
        { "gnome-control-center", { "sound" }, "gnome-sound-panel.desktop" },
    };
    return list;
}

} // namespace

std::optional<TMixerProgram> FindMixer()
{
    for (const Candidate& c : Candidates())
        if (auto path = plat::FindProgramOnPath(c.program); path && (*path)[0] == '/')
            return TMixerProgram { *path, c.args, c.desktopId };
    return std::nullopt;
}

std::optional<std::string> FindMixerIconFile(const TMixerProgram& mixer)
{
    std::optional<plat::desktop::DesktopEntry> entry;
    if (!mixer.desktopId.empty())
        entry = plat::desktop::FindDesktopEntryById(mixer.desktopId);
    if (!entry)
        entry = plat::desktop::FindDesktopEntryFor(mixer.path);
    std::vector<std::string> names;
    if (entry && !entry->icon.empty())
        names.push_back(entry->icon);
    names.push_back("multimedia-volume-control");
    names.push_back("audio-volume-high");
    for (const std::string& name : names)
        if (auto file = plat::desktop::FindIconFile(name, IconSize))
            return file;
    return std::nullopt;
}

plat::Surface ComposeIcon16(const plat::AlphaImage& icon, plat::Color background)
{
    plat::Surface out(IconSize, IconSize);
    out.Fill(background);
    const plat::Surface& src = icon.color;
    const int32_t w = src.Width(), h = src.Height();
    if (src.Empty())
        return out;
    const bool hasAlpha = icon.alpha.size() == size_t(w) * size_t(h);
    const plat::Pixel bg = plat::ToPixel(background);
    for (int32_t y = 0; y < IconSize; ++y) {
        // The source box of this pixel: one pixel at least, so small icons repeat.
        int32_t y0 = int32_t(int64_t(y) * h / IconSize);
        int32_t y1 = std::max(y0 + 1, int32_t(int64_t(y + 1) * h / IconSize));
        plat::Pixel* row = out.Row(y);
        for (int32_t x = 0; x < IconSize; ++x) {
            int32_t x0 = int32_t(int64_t(x) * w / IconSize);
            int32_t x1 = std::max(x0 + 1, int32_t(int64_t(x + 1) * w / IconSize));
            uint64_t sum[3] = {}, alphaSum = 0, count = 0;
            for (int32_t sy = y0; sy < y1; ++sy) {
                const plat::Pixel* s = src.Row(sy);
                for (int32_t sx = x0; sx < x1; ++sx) {
                    uint32_t a = hasAlpha ? icon.alpha[size_t(sy) * size_t(w) + size_t(sx)] : 255;
                    for (int k = 0; k < 3; ++k)
                        sum[k] += uint64_t((s[sx] >> (8 * k)) & 0xFF) * a;
                    alphaSum += a;
                    ++count;
                }
            }
            // Whatever the box lets through of the background is added, then rounded.
            const uint64_t whole = count * 255, rest = whole - alphaSum;
            plat::Pixel p = 0;
            for (int k = 0; k < 3; ++k) {
                uint64_t v = (sum[k] + uint64_t((bg >> (8 * k)) & 0xFF) * rest + whole / 2) / whole;
                p |= plat::Pixel(v) << (8 * k);
            }
            row[x] = p;
        }
    }
    return out;
}

bool SetUpMixerIcon(TImage* image, TLEDButton* button)
{
    auto mixer = FindMixer();
    if (!mixer)
        return false;
    const plat::Color face = ColorToRGB(clBtnFace);
    plat::AlphaImage icon;
    if (auto file = FindMixerIconFile(*mixer))
        if (auto png = plat::LoadPngFile(*file))
            icon = std::move(*png);
    TBitmap bitmap;
    bitmap.SetTransparentColor(clBtnFace);
    bitmap.SetImage(ComposeIcon16(icon, face));
    if (image)
        image->Picture()->SetGraphic(&bitmap);
    if (button)
        button->SetGlyph(&bitmap);
    return true;
}

bool StartMixer()
{
    auto mixer = FindMixer();
    if (!mixer)
        return false;
    std::vector<std::string> argv { mixer->path };
    argv.insert(argv.end(), mixer->args.begin(), mixer->args.end());
    return plat::SpawnDetached(argv);
}
