#pragma once
// TepShadowBtn: a windowless push button that floats over its background. A flat plate
// (rectangle, ellipse or rounded rectangle) in BtnColor casts a shadow made like the
// shadow label's: the background under the shadow's shape is halved in brightness and,
// with BlurShadow, blurred. Pressed, the plate moves one pixel towards its shadow. Hover
// and clicks follow the plate's shape. Owns only what its base owns; GUI thread only.

#include "effectlib/VCLBase.h"

#include <cstdint>

// The plate's shapes. Kept in a namespace of their own: the blur button's kinds use the
// same names for other values.
namespace epbuttons {
enum TBtnKind { bkRect, bkEllipse, bkRndRect };
}
using epbuttons::TBtnKind;

class TepShadowBtn : public TButtonGTControl {
public:
    explicit TepShadowBtn(TComponent* AOwner);
    const char* ClassName() const override { return "TepShadowBtn"; }

    // These setters store and repaint, also when the value is unchanged.
    int Radius() const { return FRadius; }
    void SetRadius(int Value);
    TBtnKind BtnKind() const { return FBtnKind; }
    void SetBtnKind(TBtnKind Value);
    uint8_t ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(uint8_t Value);
    TColor BtnColor() const { return FBtnColor; }
    void SetBtnColor(TColor Value);
    bool BlurShadow() const { return FBlurShadow; }
    void SetBlurShadow(bool Value);

    // The plate's size as the last paint measured it (0 before the first paint).
    int FaceWidth() const { return FFaceWidth; }
    int FaceHeight() const { return FFaceHeight; }
    // The plate's rectangle for the current press state.
    TRect PlateRect() const;
    // The shadow's box: for bkRect the filled rectangle, for the others the shape's box.
    TRect ShadowRect() const;
    // Within the plate's shape.
    bool IsMouseIn(int X, int Y) const override;
    TPoint TextPos() const { return { FTextX, FTextY }; }
    TPoint GlyphPos() const { return { FGlyphX, FGlyphY }; }

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;

private:
    bool Down() const { return FPressed && FHot; }
    void SetLayoutCoord(TCanvas* C);

    int FGlyphHeight = 0, FGlyphWidth = 0, FTextWidth = 0, FTextHeight = 0;
    int FRadius = 10;
    TBtnKind FBtnKind = epbuttons::bkRect;
    uint8_t FShadowOffset = 3;
    int FFaceHeight = 0, FFaceWidth = 0;
    TColor FBtnColor = TColor(0xFF0000);
    bool FBlurShadow = false;
    int FTextX = 0, FTextY = 0;
};
