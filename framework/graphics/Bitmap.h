#pragma once
// A bitmap: a surface of pixels with a canvas that draws on it. PixelFormat records the
// depth it stands for (converting to a palette depth maps the pixels to the palette).
// Drawn transparently, the pixels of TransparentColor leave the destination as it is; the
// transparent colour is the bottom-left pixel (tmAuto) or a set colour (tmFixed). The
// file image is BMP; in a form description a bitmap's "Data" is a 32-bit little-endian
// length followed by the BMP file. GUI thread only.

#include "framework/graphics/Color.h"
#include "framework/graphics/Graphic.h"
#include "platform/raster/Surface.h"

#include <memory>

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    const char* ClassName() const override { return "TBitmap"; }
    void Assign(TPersistent* Source) override;

    bool Empty() const override { return FImage.Empty(); }
    int Width() const override { return FImage.Width(); }
    int Height() const override { return FImage.Height(); }
    void SetWidth(int value) override { SetSize(value, Height()); }
    void SetHeight(int value) override { SetSize(Width(), value); }
    // Keeps the overlapping top-left pixels; new pixels are black.
    void SetSize(int width, int height);

    TCanvas* Canvas();
    // Direct access to the pixels. Call Changed-causing setters, or Modified(), after
    // changing them when users must be told.
    plat::Surface* Handle() { return &FImage; }
    const plat::Surface& Image() const { return FImage; }
    void SetImage(plat::Surface image);

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool value);
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);   // switches to tmFixed
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);

    void LoadFromBytes(std::span<const uint8_t> data) override;
    std::vector<uint8_t> SaveToBytes() const override;
    // Kept for the classic interface: a bitmap holds no device resources.
    void Dormant() { }
    void FreeImage() { }
    // Tells the users that the pixels changed (after drawing on Handle()).
    void Modified() { Changed(); }

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) const override;

private:
    plat::Surface FImage;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    std::unique_ptr<TBitmapCanvas> FCanvas;
};
