#pragma once
// Building blocks of the media-player look. TepBitmap holds one picture that panels and
// buttons share as wallpaper: they refer to it without owning it and drop the reference
// when it is removed. The media panel and bevel draw a bevel of several two-colour
// lines, the tracker reports the pointer coming and going, and the morphing control
// cross-fades between two pictures on a timer. GUI thread only.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"
#include "framework/controls/Timer.h"
#include "framework/core/Component.h"
#include "framework/core/Types.h"
#include "framework/stdctrls/CustomPanel.h"

#include <cstdint>
#include <memory>

class TBitmap;
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

// Draws BevelWidth line pairs inward from the edges of a W x H area: InnerColor along
// the top and left, OuterColor along the bottom and right. Rings past the area's larger
// side cannot change a pixel, so the loop ends there.
void DrawMediaBevel(TCanvas* Canvas, int W, int H, int BevelWidth, TColor InnerColor,
    TColor OuterColor);

// A panel with a multi-line two-colour bevel and a tiled wallpaper inside it, and nothing
// else of the framework panel's face. The wallpaper is shared, not owned.
class TepCustomMediaPanel : public TCustomPanel {
public:
    explicit TepCustomMediaPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepCustomMediaPanel"; }

    TColor InnerColor() const { return FInnerColor; }
    void SetInner(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuter(TColor Value);
    TepBitmap* Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TepBitmap* Value);

    // The area the wallpaper covers: the client rectangle less the border and the
    // framework bevels.
    TRect WallpaperRect() const;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    TepBitmap* FWallpaper = nullptr;
};

class TepMediaPanel : public TepCustomMediaPanel {
public:
    using TepCustomMediaPanel::TepCustomMediaPanel;
    const char* ClassName() const override { return "TepMediaPanel"; }
};

// The media panel's bevel alone, as a windowless control.
class TepMediaBevel : public TGraphicControl {
public:
    explicit TepMediaBevel(TComponent* AOwner);
    const char* ClassName() const override { return "TepMediaBevel"; }

    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInner(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuter(TColor Value);

protected:
    void Paint() override;

private:
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    int FBevelWidth = 2;
};

// An empty windowed control that reports the pointer coming over it and leaving it.
class TepTracker : public TCustomControl {
public:
    explicit TepTracker(TComponent* AOwner);
    const char* ClassName() const override { return "TepTracker"; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
};

enum TDirect { mdForward, mdBackward };

// Cross-fades from Source to Dest (or back) in Step ticks of 50 ms. Owns both bitmaps
// and its timer. The pictures are drawn at their own size; the rest of the control shows
// its colour.
class TepMorphing : public TCustomControl {
public:
    explicit TepMorphing(TComponent* AOwner);
    ~TepMorphing() override;
    const char* ClassName() const override { return "TepMorphing"; }

    TBitmap* Dest() const { return FDest.get(); }
    void SetDest(TBitmap* Value);
    TBitmap* Source() const { return FSource.get(); }
    void SetSource(TBitmap* Value);
    TDirect Direct() const { return FDirect; }
    void SetDirect(TDirect Value) { FDirect = Value; }
    uint8_t Step() const { return FStep; }
    void SetStep(uint8_t Value) { FStep = Value; }

    // Starts a fade from the first picture: Position 0, one Delta per tick. Step 0 is
    // taken as 1: a single tick to the target.
    void Morphing();
    double Position() const { return FPosition; }
    double Delta() const { return FDelta; }
    bool Fading() const;
    TTimer* Timer() const { return FTimer; }

protected:
    void Paint() override;
    void TimerExpired(TObject* Sender);

private:
    TDirect FDirect = mdForward;
    std::unique_ptr<TBitmap> FDest, FSource;
    uint8_t FStep = 20;
    TTimer* FTimer = nullptr;
    double FPosition = 0.0;
    double FDelta = 0.0;
};
