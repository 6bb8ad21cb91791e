#pragma once
// A canvas: drawing with a pen, a brush and a font on a drawing context (plat::Dc). The
// pen, brush and font are owned by the canvas and are applied to the context before each
// operation that uses them, so a change between two calls always takes effect. The
// context is not owned: a control canvas receives it for the duration of a paint (or makes
// one on demand), a bitmap canvas draws on its bitmap. Coordinates are the context's
// logical ones. GUI thread only.

#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "framework/core/Types.h"

#include <memory>
#include <span>
#include <string>

namespace plat {
class Dc;
enum class Rop;
}
class TGraphic;
class TBitmap;

// Block copy modes: the classic raster operation codes.
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009,
                    cmNotSrcCopy = 0x00330008, cmPatCopy = 0x00F00021,
                    cmSrcAnd = 0x008800C6, cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328,
                    cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086,
                    cmWhiteness = 0x00FF0062;

plat::Rop CopyModeToRop(TCopyMode mode);

// Text formatting flags of DrawText (the classic values).
constexpr uint32_t DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2,
                   DT_VCENTER = 0x4, DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10,
                   DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
                   DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    const char* ClassName() const override { return "TCanvas"; }

    // The context; a canvas without one asks CreateHandle, and draws nowhere when it
    // still has none.
    plat::Dc* Handle();
    void SetHandle(plat::Dc* dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }
    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

    TColor Pixels(int x, int y);
    void SetPixel(int x, int y, TColor c);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // points[0 .. lastIndex]
    void Polygon(const TPoint* points, int lastIndex);
    void Polygon(std::span<const TPoint> points);
    void Polyline(const TPoint* points, int lastIndex);
    void Polyline(std::span<const TPoint> points);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);   // one pixel wide, in the brush colour
    void DrawFocusRect(const TRect& r);

    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies source (in the other canvas's coordinates) onto dest with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies source of the bitmap onto dest, with the pixels of colour `color` replaced by
    // this canvas's brush colour.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    TRect ClipRect();
    void Lock() { ++FLockCount; }
    void Unlock() { --FLockCount; }
    int LockCount() const { return FLockCount; }

    // The pen, brush and font as the context needs them; used by helpers that draw on
    // the context directly.
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();

protected:
    virtual void CreateHandle() { }

private:
    plat::Dc* FHandle = nullptr;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    TCopyMode FCopyMode = cmSrcCopy;
    int FLockCount = 0;
};

// Formatted text (DT_* flags) in the canvas's font and brush, or on a bare context.
int DrawText(TCanvas* canvas, const std::string& text, TRect& r, uint32_t flags);
int DrawText(plat::Dc* dc, const std::string& text, TRect& r, uint32_t flags);

// A 3-D frame of `width` rings just inside r: each ring paints its left column and top
// row in top, its right column and bottom row in bottom (so the top-right and
// bottom-left corners take bottom). r comes back shrunk by width on every side.
void Frame3D(TCanvas* canvas, TRect& r, TColor top, TColor bottom, int width);
