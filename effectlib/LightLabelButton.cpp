// The windowed button base painted through an off-screen bitmap, and the glowing label
// button built on it.
#include "effectlib/mediabtn.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

namespace {

bool HasWave(const TepWavePlayer* player)
{
    return player && player->Wave() && !player->Wave()->GetEmpty();
}

} // namespace

// ---- TepCustomButton ------------------------------------------------------------------

TepCustomButton::TepCustomButton(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 90, 30);
    Font()->SetName("Arial");
    Font()->SetSize(11);
    Font()->SetStyle(fsBold | fsItalic);
    FTabStop = true;
}

TepCustomButton::~TepCustomButton() = default;

void TepCustomButton::Press(bool Down)
{
    const TBtnState wanted = Down ? abPush : abUnPush;
    if (FPressState == wanted)
        return;
    FPressState = wanted;
    Invalidate();
}

void TepCustomButton::Active(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    Invalidate();
    if (Value && HasWave(FActiveSound))
        FActiveSound->Play();
}

bool TepCustomButton::PointInComponent(int X, int Y) const
{
    return X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
}

void TepCustomButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepCustomButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepCustomButton::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Invalidate();
}

void TepCustomButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
}

void TepCustomButton::Paint()
{
    TBitmap b;
    b.SetSize(Width() + 5, Height() + 5);
    TCanvas* c = b.Canvas();
    c->Brush()->SetStyle(bsSolid);
    if (FTransparent) {
        c->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
        c->FillRect(Rect(0, 0, Width(), Height()));
        CopyParentImage(this, c);
    } else {
        c->Brush()->SetColor(Color());
        c->FillRect(Rect(0, 0, b.Width(), b.Height()));
    }
    PaintFace(&b);
    Canvas()->Draw(0, 0, &b);
}

void TepCustomButton::Click()
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

void TepCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Press(true);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TepCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPressState == abPush && PointInComponent(X, Y))
        Press(false);
    FPressState = abNone;
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TepCustomButton::KeyPress(char& Key)
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
    FPressState = abNone;
}

void TepCustomButton::CMMouseEnter(TMessage& Message)
{
    if (FPressState == abUnPush)
        Press(true);
    Active(true);
    TCustomControl::CMMouseEnter(Message);
}

void TepCustomButton::CMMouseLeave(TMessage& Message)
{
    if (FPressState == abPush)
        Press(false);
    Active(false);
    TCustomControl::CMMouseLeave(Message);
}

void TepCustomButton::CMTextChanged(TMessage& Message)
{
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TepCustomButton::WMSetFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMSetFocus(Message);
}

void TepCustomButton::WMKillFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMKillFocus(Message);
}

// Only a see-through face shows something new after a move.
void TepCustomButton::WMMove(TMessage& Message)
{
    TCustomControl::WMMove(Message);
    if (FTransparent)
        Invalidate();
}

// The face covers the button; at design time the erase paints it at once.
void TepCustomButton::WMEraseBkgnd(TMessage& Message)
{
    if (HasState(csDesigning))
        Paint();
    Message.Result = 1;
}

// ---- TepLightLabelButton --------------------------------------------------------------

TepLightLabelButton::TepLightLabelButton(TComponent* AOwner)
    : TepCustomButton(AOwner)
{
}

void TepLightLabelButton::SetNormalColor(TColor Value)
{
    if (Value == FNormalColor)
        return;
    FNormalColor = Value;
    Invalidate();
}

void TepLightLabelButton::SetShadowColor(TColor Value)
{
    if (Value == FShadowColor)
        return;
    FShadowColor = Value;
    Invalidate();
}

void TepLightLabelButton::SetActiveColor(TColor Value)
{
    if (Value == FActiveColor)
        return;
    FActiveColor = Value;
    Invalidate();
}

TPoint TepLightLabelButton::TextOrigin() const
{
    return PressState() == abPush ? Point(6, 6) : Point(5, 5);
}

// The glow and the shadow are copies of the caption blurred where the mask holds
// letters; the caption itself goes on top, unblurred.
void TepLightLabelButton::PaintFace(TBitmap* B)
{
    const TPoint o = TextOrigin();
    const bool pressed = PressState() == abPush, active = IsActive();
    const std::string& text = Caption();
    std::vector<TPoint> copies;
    if (!active)
        copies = { { 2, 2 } };
    else if (pressed)
        copies = { { -1, -1 }, { 1, -1 }, { -1, 1 }, { 1, 1 } };
    else
        copies = { { -1, -1 }, { 1, 1 } };

    TCanvas* c = B->Canvas();
    c->SetFont(Font());
    TBitmap mask;
    mask.SetSize(B->Width(), B->Height());
    mask.Handle()->Fill(clWhite);
    TCanvas* m = mask.Canvas();
    m->SetFont(Font());
    m->Font()->SetColor(clBlack);
    m->Brush()->SetStyle(bsClear);
    m->TextOut(o.X, o.Y, text);
    for (const TPoint& d : copies)
        m->TextOut(o.X + d.X, o.Y + d.Y, text);

    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(active ? FActiveColor : FShadowColor);
    for (const TPoint& d : copies)
        c->TextOut(o.X + d.X, o.Y + d.Y, text);

    TEffectBmp face(B), letters(&mask);
    face.MaskSplitBlur(&letters, 1);
    face.Draw(c, 0, 0);

    c->Font()->SetColor(FNormalColor);
    c->TextOut(o.X, o.Y, text);
    c->Brush()->SetStyle(bsSolid);
}

// ---- Published properties -------------------------------------------------------------

BEGIN_PROPERTIES(TepCustomButton, TCustomControl)
    .Bool("Transparent", &TepCustomButton::Transparent, &TepCustomButton::SetTransparent)
    .Int("ModalResult", &TepCustomButton::ModalResult, &TepCustomButton::SetModalResult)
END_PROPERTIES

BEGIN_PROPERTIES(TepLightLabelButton, TepCustomButton)
    .Reference("ClickSound", &TepLightLabelButton::ClickSound, &TepLightLabelButton::SetClickSound)
    .Reference("ActiveSound", &TepLightLabelButton::ActiveSound, &TepLightLabelButton::SetActiveSound)
    .Color("NormalColor", &TepLightLabelButton::NormalColor, &TepLightLabelButton::SetNormalColor)
    .Color("ActiveColor", &TepLightLabelButton::ActiveColor, &TepLightLabelButton::SetActiveColor)
    .Color("ShadowColor", &TepLightLabelButton::ShadowColor, &TepLightLabelButton::SetShadowColor)
END_PROPERTIES
