#pragma once
// An icon: a colour image with a transparency mask, read from an icon file (the image
// nearest 32 x 32 is used). It always draws transparently: masked pixels leave the
// destination as it is. The file image is kept as read, so saving writes the same bytes.
// GUI thread only.

#include "framework/graphics/Graphic.h"
#include "platform/raster/ImageFiles.h"

class TIcon : public TGraphic {
public:
    TIcon();
    const char* ClassName() const override { return "TIcon"; }
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return FImage.color.Empty(); }
    int Width() const override { return FImage.color.Width(); }
    int Height() const override { return FImage.color.Height(); }
    // An icon's size comes from its image; these only exist for the interface.
    void SetWidth(int) override { }
    void SetHeight(int) override { }
    bool Transparent() const override { return true; }

    // The image (colour and mask) as the raster layer holds it.
    const plat::IconImage& Handle() const { return FImage; }
    void SetHandle(plat::IconImage image);

    void LoadFromBytes(std::span<const uint8_t> data) override;
    std::vector<uint8_t> SaveToBytes() const override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) const override;

private:
    plat::IconImage FImage;
    std::vector<uint8_t> FData;   // the file as read; empty when built from an image
};
