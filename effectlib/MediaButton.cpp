// The media button: a bevelled face over a shared wallpaper with a shadowed caption.
#include "effectlib/mediabtn.h"

#include "effectlib/Medialib.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "platform/raster/Dc.h"

#include <algorithm>

namespace {

bool HasWave(const TepWavePlayer* player)
{
    return player && player->Wave() && !player->Wave()->GetEmpty();
}

} // namespace

TepMediaButton::TepMediaButton(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 90, 30);
    Font()->SetName("Arial");
    Font()->SetSize(11);
    Font()->SetStyle(fsBold | fsItalic);
    FTabStop = true;
}

void TepMediaButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepMediaButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepMediaButton::SetInnerColor(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepMediaButton::SetOuterColor(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepMediaButton::SetBevelWidth(int Value)
{
    FBevelWidth = Value;
    Invalidate();
}

void TepMediaButton::SetWallpaper(TepBitmap* Value)
{
    SetReference(FWallpaper, Value);
    Invalidate();
}

void TepMediaButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
}

void TepMediaButton::Press(bool Down)
{
    const int wanted = Down ? 1 : 2;
    if (FPressState == wanted)
        return;
    FPressState = wanted;
    Invalidate();
}

void TepMediaButton::Active(bool On)
{
    if (On == FActive)
        return;
    FActive = On;
    Invalidate();
    if (On && HasWave(FActiveSound))
        FActiveSound->Play();
}

bool TepMediaButton::PointInComponent(int X, int Y) const
{
    return X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
}

void TepMediaButton::Click()
{
    auto alive = AliveToken();
    if (HasWave(FClickSound) && FActive)
        FClickSound->Play();
    if (!*alive)
        return;
    if (TCustomForm* form = GetParentForm())
        form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

// Any button presses; the framework's own mouse-down handling is not run.
void TepMediaButton::MouseDown(TMouseButton, TShiftState, int, int) { Press(true); }

void TepMediaButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPressState == 1 && PointInComponent(X, Y))
        Press(false);
    FPressState = 0;
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TepMediaButton::KeyPress(char& Key)
{
    auto alive = AliveToken();
    TCustomControl::KeyPress(Key);
    if (!*alive || Key != '\r')
        return;
    Press(true);
    Click();
    if (!*alive)
        return;
    Press(false);
    FPressState = 0;
    Invalidate();
}

void TepMediaButton::CMMouseEnter(TMessage& Message)
{
    if (FPressState == 2)
        Press(true);
    Active(true);
    TCustomControl::CMMouseEnter(Message);
}

void TepMediaButton::CMMouseLeave(TMessage& Message)
{
    if (FPressState == 1)
        Press(false);
    Active(false);
    TCustomControl::CMMouseLeave(Message);
}

void TepMediaButton::CMTextChanged(TMessage& Message)
{
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TepMediaButton::WMSetFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMSetFocus(Message);
}

void TepMediaButton::WMKillFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMKillFocus(Message);
}

void TepMediaButton::WMEraseBkgnd(TMessage& Message)
{
    if (HasState(csDesigning))
        Paint();
    Message.Result = 1;
}

// The face starts in the button's colour, so what no wallpaper covers is defined. The
// wallpaper is clipped to the area inside the bevel.
void TepMediaButton::Paint()
{
    const int W = Width(), H = Height(), bw = FBevelWidth;
    if (W <= 0 || H <= 0)
        return;
    TBitmap face;
    face.SetSize(W, H);
    TCanvas* c = face.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, W, H));
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    const bool sunken = FPressState == 1;

    if (FWallpaper && FWallpaper->HasPicture()) {
        TRect r = ClientRect();
        if (sunken)
            OffsetRect(r, 1, 1);
        InsetRect(r, bw);
        plat::Dc* dc = c->Handle();
        const int saved = dc->Save();
        dc->IntersectClipRect({ r.Left, r.Top, r.Right, r.Bottom });
        const TGraphic* g = FWallpaper->Graphic();
        FWallpaper->TileDraw(c, r.Left, r.Top, (ClientWidth() - 2 * bw) / g->Width(),
            (ClientHeight() - 2 * bw) / g->Height());
        dc->Restore(saved);
    }

    const TColor upper = sunken ? FOuterColor : FInnerColor;
    const TColor lower = sunken ? FInnerColor : FOuterColor;
    const int rings = std::min(bw, std::max(W, H));
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    if (sunken && rings > 0) {
        line(FOuterColor, bw, bw, W - bw, bw);
        line(FOuterColor, bw, bw, bw, H - bw);
    }
    for (int i = 0; i < rings; ++i) {
        line(upper, i, i, W - i, i);
        line(upper, i, i, i, H - i);
        line(lower, i, H - i - 1, W - i, H - i - 1);
        line(lower, W - i - 1, i, W - i - 1, H - i - 1);
    }

    TRect t = ClientRect();
    InflateRect(t, bw, bw);
    const uint32_t flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    auto text = [&](TColor color, int dx, int dy) {
        TRect r = t;
        OffsetRect(r, dx, dy);
        c->Font()->SetColor(color);
        DrawText(c, Caption(), r, flags);
    };
    if (sunken) {
        text(FOuterColor, 2, 2);
        text(FActiveColor, 1, 1);
    } else if (!Enabled()) {
        text(Font()->Color(), 1, 1);
        text(FOuterColor, 0, 0);
    } else {
        text(FOuterColor, 1, 1);
        text(FActive ? FActiveColor : Font()->Color(), 0, 0);
    }
    Canvas()->Draw(0, 0, &face);
}

BEGIN_PROPERTIES(TepMediaButton, TCustomControl)
    .Reference("ClickSound", &TepMediaButton::ClickSound, &TepMediaButton::SetClickSound)
    .Reference("ActiveSound", &TepMediaButton::ActiveSound, &TepMediaButton::SetActiveSound)
    .Color("InnerColor", &TepMediaButton::InnerColor, &TepMediaButton::SetInnerColor)
    .Color("ActiveColor", &TepMediaButton::ActiveColor, &TepMediaButton::SetActiveColor)
    .Color("OuterColor", &TepMediaButton::OuterColor, &TepMediaButton::SetOuterColor)
    .Int("BevelWidth", &TepMediaButton::BevelWidth, &TepMediaButton::SetBevelWidth)
    .Reference("Wallpaper", &TepMediaButton::Wallpaper, &TepMediaButton::SetWallpaper)
    .Int("ModalResult", &TepMediaButton::ModalResult, &TepMediaButton::SetModalResult)
END_PROPERTIES
