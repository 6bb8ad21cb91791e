#pragma once
// TImage: a windowless control showing a picture (bitmap or icon): at its top-left
// corner, centred, or stretched to the control, clipped to the control. With AutoSize
// the control takes the picture's size; with Transparent a bitmap's key colour shows
// what lies beneath. The control counts as opaque when the picture covers it and is not
// drawn transparently. It owns its picture. GUI thread only.

#include "framework/controls/GraphicControl.h"
#include "framework/graphics/Picture.h"

#include <memory>

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    const char* ClassName() const override { return "TImage"; }

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }
    // The picture's bitmap canvas; an empty picture first gets a bitmap of the control's
    // size.
    TCanvas* Canvas();
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    // Where the picture is drawn, in the control's coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged(TObject* Sender);

    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    bool FDrawing = false;
};
