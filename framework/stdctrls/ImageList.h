#pragma once
// TImageList: a list of pictures of one size (Width x Height), each with a mask that
// marks the pixels drawn. Pictures are added from a strip: a bitmap holding several
// pictures side by side, whose pixels of the mask colour are left out. Draw puts one
// picture on a canvas, in its colours or, disabled, embossed in the button shades.
// In a form description the pictures and masks are stored as the binary value Bitmap.
// Owns its pictures; GUI thread only.

#include "framework/core/Component.h"
#include "framework/graphics/Color.h"

#include <cstdint>
#include <vector>

class TBitmap;
class TCanvas;

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    const char* ClassName() const override { return "TImageList"; }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size of a non-empty list clears it; sizes below 1 are ignored.
    void SetWidth(int Value);
    void SetHeight(int Value);
    int Count() const { return FCount; }

    // Adds the pictures of a strip (Width() - wide parts from the left; a narrower rest is
    // dropped), leaving out the pixels of MaskColor (clDefault: the strip's bottom-left
    // pixel). Returns the index of the first picture added, -1 when none was.
    int AddMasked(TBitmap* Strip, TColor MaskColor);
    void Delete(int Index);   // EListError outside 0 .. Count - 1
    void Clear();
    // The picture's pixel and whether the mask draws it.
    TColor PixelOf(int Index, int X, int Y) const;
    bool Drawn(int Index, int X, int Y) const;

    // Draws picture Index with its top-left at (X, Y); an index outside the list draws
    // nothing. Disabled: the drawn pixels darker than mid-grey appear embossed (highlight
    // one pixel down and right, shadow in place); the lighter ones are left out.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;

    TNotifyEvent OnChange;

    void DefineProperties(TFiler* Filer) override;

private:
    void Changed();
    size_t At(int Index, int X, int Y) const;

    int FWidth = 16, FHeight = 16, FCount = 0;
    std::vector<uint32_t> FPixels;   // 0x00BBGGRR per pixel, pictures one after another
    std::vector<uint8_t> FMask;      // 1: drawn
};
