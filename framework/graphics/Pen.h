#pragma once
// The pen of a canvas: colour, width, line style and mix mode. Owned by its canvas (or by
// whoever created it); OnChange fires after every change.

#include "framework/graphics/Color.h"
#include "framework/graphics/GraphicsObject.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The mix modes the raster engine offers.
enum TPenMode { pmBlack, pmWhite, pmNot, pmCopy, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
public:
    const char* ClassName() const override { return "TPen"; }
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Width() const { return FWidth; }
    void SetWidth(int value);   // values below 1 are taken as 1
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};
