#include "effectlib/Medialib.h"

#include "effectlib/Effbmp.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Picture.h"
#include "platform/raster/Dc.h"

#include <algorithm>

// ---- TepBitmap ------------------------------------------------------------------------

TepBitmap::TepBitmap(TComponent* AOwner)
    : TComponent(AOwner)
    , FBitmap(std::make_unique<TPicture>())
{
}

TepBitmap::~TepBitmap() = default;

void TepBitmap::SetBitmap(TPicture* Value)
{
    if (Value)
        FBitmap->Assign(Value);
    else
        FBitmap->SetGraphic(nullptr);
}

TGraphic* TepBitmap::Graphic() const { return FBitmap->Graphic(); }

bool TepBitmap::HasPicture() const
{
    const TGraphic* g = Graphic();
    return g && g->Width() > 0 && g->Height() > 0;
}

void TepBitmap::TileDraw(TCanvas* Canvas, int X, int Y, int LastCol, int LastRow) const
{
    if (!HasPicture() || LastCol < 0 || LastRow < 0)
        return;
    TGraphic* g = Graphic();
    const int w = g->Width(), h = g->Height();
    for (int c = 0; c <= LastCol; ++c)
        for (int r = 0; r <= LastRow; ++r)
            Canvas->Draw(X + c * w, Y + r * h, g);
}

namespace {

// Restores a context's saved state when the scope ends, also when drawing throws.
class TSavedDc {
public:
    explicit TSavedDc(plat::Dc* dc) : FDc(dc), FDepth(dc ? dc->Save() : 0) { }
    ~TSavedDc()
    {
        if (FDc)
            FDc->Restore(FDepth);
    }
    TSavedDc(const TSavedDc&) = delete;
    TSavedDc& operator=(const TSavedDc&) = delete;

private:
    plat::Dc* FDc;
    int FDepth;
};

} // namespace

void DrawMediaBevel(TCanvas* Canvas, int W, int H, int BevelWidth, TColor InnerColor,
    TColor OuterColor)
{
    const int rings = std::min(BevelWidth, std::max(W, H));
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    for (int i = 0; i < rings; ++i) {
        Canvas->Pen()->SetColor(InnerColor);
        Canvas->MoveTo(i, i);
        Canvas->LineTo(W - i, i);
        Canvas->MoveTo(i, i);
        Canvas->LineTo(i, H - i);
        Canvas->Pen()->SetColor(OuterColor);
        Canvas->MoveTo(i, H - i - 1);
        Canvas->LineTo(W - i, H - i - 1);
        Canvas->MoveTo(W - i - 1, i);
        Canvas->LineTo(W - i - 1, H - i - 1);
    }
}

// ---- TepCustomMediaPanel --------------------------------------------------------------

TepCustomMediaPanel::TepCustomMediaPanel(TComponent* AOwner)
    : TCustomPanel(AOwner)
{
}

void TepCustomMediaPanel::SetInner(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepCustomMediaPanel::SetOuter(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepCustomMediaPanel::SetWallpaper(TepBitmap* Value)
{
    SetReference(FWallpaper, Value);
    Invalidate();
}

TRect TepCustomMediaPanel::WallpaperRect() const
{
    int b = BorderWidth();
    if (BevelOuter() != bvNone)
        b += BevelWidth();
    if (BevelInner() != bvNone)
        b += BevelWidth();
    TRect r = ClientRect();
    InsetRect(r, b);
    return r;
}

// The face starts in the panel's colour, as an erased panel would. The wallpaper is
// clipped to the area inside the border and the bevels, so it never covers the bevel's
// last shadow lines.
void TepCustomMediaPanel::Paint()
{
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    DrawMediaBevel(Canvas(), Width(), Height(), BevelWidth(), FInnerColor, FOuterColor);
    if (!FWallpaper || !FWallpaper->HasPicture())
        return;
    const TRect r = WallpaperRect();
    const int b = r.Left;
    TSavedDc saved(Canvas()->Handle());
    if (plat::Dc* dc = Canvas()->Handle())
        dc->IntersectClipRect({ r.Left, r.Top, r.Right, r.Bottom });
    const TGraphic* g = FWallpaper->Graphic();
    FWallpaper->TileDraw(Canvas(), r.Left, r.Top, (ClientWidth() - 2 * b) / g->Width(),
        (ClientHeight() - 2 * b) / g->Height());
}

void TepCustomMediaPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
}

// ---- TepMediaBevel --------------------------------------------------------------------

TepMediaBevel::TepMediaBevel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(Left(), Top(), 50, 50);
}

void TepMediaBevel::SetBevelWidth(int Value)
{
    FBevelWidth = Value;
    Invalidate();
}

void TepMediaBevel::SetInner(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepMediaBevel::SetOuter(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepMediaBevel::Paint()
{
    DrawMediaBevel(Canvas(), Width(), Height(), FBevelWidth, FInnerColor, FOuterColor);
}

// ---- TepTracker -----------------------------------------------------------------------

TepTracker::TepTracker(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 30, 30);
}

void TepTracker::CMMouseEnter(TMessage& Message)
{
    auto alive = AliveToken();
    TCustomControl::CMMouseEnter(Message);
    if (*alive && OnMouseEnter)
        OnMouseEnter(this);
}

void TepTracker::CMMouseLeave(TMessage& Message)
{
    auto alive = AliveToken();
    TCustomControl::CMMouseLeave(Message);
    if (*alive && OnMouseLeave)
        OnMouseLeave(this);
}

// ---- TepMorphing ----------------------------------------------------------------------

TepMorphing::TepMorphing(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FDest(std::make_unique<TBitmap>())
    , FSource(std::make_unique<TBitmap>())
{
    FControlStyle |= csOpaque;
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(50);
    FTimer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject* s) { TimerExpired(s); }));
    SetBounds(Left(), Top(), 100, 100);
}

TepMorphing::~TepMorphing() = default;

void TepMorphing::SetDest(TBitmap* Value)
{
    FDest->Assign(Value);
    Invalidate();
}

void TepMorphing::SetSource(TBitmap* Value)
{
    FSource->Assign(Value);
    Invalidate();
}

bool TepMorphing::Fading() const { return FTimer->Enabled(); }

void TepMorphing::Morphing()
{
    FPosition = 0.0;
    FDelta = 1.0 / std::max<int>(FStep, 1);
    FTimer->SetEnabled(true);
    Invalidate();
}

void TepMorphing::TimerExpired(TObject*)
{
    FPosition += FDelta;
    if (FPosition > 1.0)
        FPosition = 1.0;
    if (FPosition == 1.0)
        FTimer->SetEnabled(false);
    Repaint();
}

// Pictures smaller than the control leave its colour showing round them.
void TepMorphing::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(ClientRect());
    TBitmap* from = FDirect == mdForward ? FSource.get() : FDest.get();
    TBitmap* to = FDirect == mdForward ? FDest.get() : FSource.get();
    if (FPosition <= 0.0) {
        c->Draw(0, 0, from);
    } else if (FPosition >= 1.0) {
        c->Draw(0, 0, to);
    } else {
        TEffectBmp a(from), b(to);
        a.Morph(&b, FPosition);
        a.Draw(c, 0, 0);
    }
}

// ---- Published properties -------------------------------------------------------------

BEGIN_PROPERTIES(TepBitmap, TComponent)
    .Object("Bitmap", &TepBitmap::Bitmap)
END_PROPERTIES

BEGIN_PROPERTIES(TepCustomMediaPanel, TCustomPanel)
    .Reference("Wallpaper", &TepCustomMediaPanel::Wallpaper, &TepCustomMediaPanel::SetWallpaper)
    .Color("InnerColor", &TepCustomMediaPanel::InnerColor, &TepCustomMediaPanel::SetInner)
    .Color("OuterColor", &TepCustomMediaPanel::OuterColor, &TepCustomMediaPanel::SetOuter)
END_PROPERTIES

BEGIN_PROPERTIES(TepMediaPanel, TepCustomMediaPanel)
END_PROPERTIES

BEGIN_PROPERTIES(TepMediaBevel, TGraphicControl)
    .Int("BevelWidth", &TepMediaBevel::BevelWidth, &TepMediaBevel::SetBevelWidth)
    .Color("InnerColor", &TepMediaBevel::InnerColor, &TepMediaBevel::SetInner)
    .Color("OuterColor", &TepMediaBevel::OuterColor, &TepMediaBevel::SetOuter)
END_PROPERTIES

BEGIN_PROPERTIES(TepTracker, TCustomControl)
    PUBLISHED_EVENT(OnMouseEnter)
    PUBLISHED_EVENT(OnMouseLeave)
END_PROPERTIES

BEGIN_PROPERTIES(TepMorphing, TCustomControl)
    .Object("Dest", &TepMorphing::Dest)
    .Enum("Direct", &TepMorphing::Direct, &TepMorphing::SetDirect, { "mdForward", "mdBackward" })
    .Object("Source", &TepMorphing::Source)
    .Int("Step", &TepMorphing::Step, &TepMorphing::SetStep)
END_PROPERTIES
