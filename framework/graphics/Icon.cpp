#include "framework/graphics/Icon.h"

#include "framework/graphics/Canvas.h"
#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TIcon::TIcon() { FTransparent = true; }

void TIcon::Assign(TPersistent* Source)
{
    if (Source == nullptr) {
        FImage = {};
        FData.clear();
        Changed();
        return;
    }
    if (auto* i = dynamic_cast<TIcon*>(Source)) {
        if (i == this)
            return;
        FImage = i->FImage;
        FData = i->FData;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TIcon::SetHandle(plat::IconImage image)
{
    FImage = std::move(image);
    FData.clear();
    Changed();
}

void TIcon::LoadFromBytes(std::span<const uint8_t> data)
{
    plat::ClearLastError();
    auto image = plat::ReadIcoBest(data, 32);
    if (!image)
        throw EInvalidGraphic(WithPlatformReason("Icon image is not valid"));
    FImage = std::move(*image);
    FData.assign(data.begin(), data.end());
    Changed();
}

std::vector<uint8_t> TIcon::SaveToBytes() const
{
    if (!FData.empty())
        return FData;
    if (Empty())
        return {};
    return plat::WriteIco(std::span<const plat::IconImage>(&FImage, 1));
}

// Opaque pixels are copied run by run, so masked pixels keep the destination.
void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    plat::Dc* dc = canvas->Handle();
    const plat::Surface* color = &FImage.color;
    const plat::Surface* mask = &FImage.mask;
    plat::Surface scaledColor, scaledMask;
    int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0)
        return;
    if (w != Width() || h != Height()) {
        scaledColor = plat::Surface(w, h);
        plat::Dc(&scaledColor).StretchBlt(0, 0, w, h, *color, 0, 0, Width(), Height());
        color = &scaledColor;
        if (!mask->Empty()) {
            scaledMask = plat::Surface(w, h);
            plat::Dc(&scaledMask).StretchBlt(0, 0, w, h, *mask, 0, 0, Width(), Height());
            mask = &scaledMask;
        }
    }
    if (mask->Empty()) {
        dc->BitBlt(rect.Left, rect.Top, w, h, *color, 0, 0);
        return;
    }
    const plat::Pixel transparent = 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        const plat::Pixel* m = mask->Row(y);
        int x = 0;
        while (x < w) {
            while (x < w && (m[x] & 0xFFFFFF) == transparent)
                ++x;
            int start = x;
            while (x < w && (m[x] & 0xFFFFFF) != transparent)
                ++x;
            if (x > start)
                dc->BitBlt(rect.Left + start, rect.Top + y, x - start, 1, *color, start, y);
        }
    }
}

BEGIN_PROPERTIES(TIcon, TGraphic)
END_PROPERTIES
