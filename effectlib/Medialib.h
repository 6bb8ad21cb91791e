#pragma once
// Building blocks of the media-player look. TepBitmap holds one picture that panels and
// buttons share as wallpaper: they refer to it without owning it and drop the reference
// when it is removed. GUI thread only.

#include "framework/core/Component.h"
#include "framework/core/Types.h"

#include <memory>

class TCanvas;
class TGraphic;
class TPicture;

// Direction of a drop shadow, for the library's shadowed controls.
enum TShadowKind { skLeftTop, skRightTop, skLeftBottom, skRightBottom };

// A non-visual holder of one picture. Owns the picture; users keep a plain reference and
// register for its removal (FreeNotification).
class TepBitmap : public TComponent {
public:
    explicit TepBitmap(TComponent* AOwner);
    ~TepBitmap() override;
    const char* ClassName() const override { return "TepBitmap"; }

    TPicture* Bitmap() const { return FBitmap.get(); }
    // The owned picture takes a copy; null empties it.
    void SetBitmap(TPicture* Value);

    // The picture's graphic, or null when it holds none.
    TGraphic* Graphic() const;
    // A graphic of at least 1 x 1 pixels: only such a picture can be tiled.
    bool HasPicture() const;
    // Tiles the picture with its first tile at (X, Y): columns 0 .. LastCol and rows
    // 0 .. LastRow. Draws nothing without a picture of at least 1 x 1 or with a negative
    // count.
    void TileDraw(TCanvas* Canvas, int X, int Y, int LastCol, int LastRow) const;

private:
    std::unique_ptr<TPicture> FBitmap;
};
