#pragma once
// The brush of a canvas: a fill colour and a style (solid or clear). Owned by its canvas
// (or its creator); OnChange fires after every change.

#include "framework/graphics/Color.h"
#include "framework/graphics/GraphicsObject.h"

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    const char* ClassName() const override { return "TBrush"; }
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);   // a colour makes a clear brush solid again
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};
