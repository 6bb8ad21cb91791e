#include "effectlib/mediabtn.h"

#include "effectlib/Eputils.h"
#include "effectlib/Grutils.h"
#include "effectlib/Wavctrl.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"

namespace {

// A wave of zero bytes still counts: playing it stops whatever sound is playing.
bool HasSound(const TepWavePlayer* player)
{
    return player && player->Wave() && !player->Wave()->GetEmpty();
}

} // namespace

// ---- TepCustomBitmapButton ------------------------------------------------------------

TepCustomBitmapButton::TepCustomBitmapButton(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FBmpActive(std::make_unique<TBitmap>())
    , FBmpNormal(std::make_unique<TBitmap>())
    , FBmpDown(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 90, 30);
    Font()->SetName("Arial");
    Font()->SetSize(11);
    Font()->SetStyle(fsBold | fsItalic);
    FTabStop = true;
}

TepCustomBitmapButton::~TepCustomBitmapButton() = default;

void TepCustomBitmapButton::Press(bool Down)
{
    TBtnState wanted = Down ? abPush : abUnPush;
    if (FPressState == wanted)
        return;
    FPressState = wanted;
    Invalidate();
}

void TepCustomBitmapButton::Active(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    Invalidate();
    if (Value && HasSound(FActiveSound))
        FActiveSound->Play();
}

bool TepCustomBitmapButton::PointInComponent(int X, int Y) const
{
    return X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
}

void TepCustomBitmapButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepCustomBitmapButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepCustomBitmapButton::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Invalidate();
}

void TepCustomBitmapButton::SetBackColor(TColor Value)
{
    if (Value == FBackColor)
        return;
    FBackColor = Value;
    Invalidate();
}

void TepCustomBitmapButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
}

TBitmap* TepCustomBitmapButton::CurrentFace() const
{
    if (FPressState == abPush)
        return FBmpDown.get();
    return FActive ? FBmpActive.get() : FBmpNormal.get();
}

// A button without faces builds them and shows them from the next paint on.
void TepCustomBitmapButton::Paint()
{
    if (FBmpNormal->Empty() || FBmpActive->Empty() || FBmpDown->Empty()) {
        DrawBitmaps();
        return;
    }
    TBitmap* face = CurrentFace();
    if (!FTransparent) {
        Canvas()->Draw(0, 0, face);
        return;
    }
    TBitmap back;
    back.SetSize(Width(), Height());
    CopyParentImage(this, back.Canvas());
    Eputils::DrawBitmapTransparent(back.Canvas(), 0, 0, face, face->Image().GetColor(0, 0));
    Canvas()->Draw(0, 0, &back);
}

void TepCustomBitmapButton::Click()
{
    auto alive = AliveToken();
    if (HasSound(FClickSound) && FActive)
        FClickSound->Play();
    if (!*alive)
        return;
    if (TCustomForm* form = GetParentForm())
        form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TepCustomBitmapButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Press(true);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// The release ends the press wherever it happens; over the button it first shows the
// button let go.
void TepCustomBitmapButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPressState == abPush && PointInComponent(X, Y))
        Press(false);
    FPressState = abNone;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TepCustomBitmapButton::KeyPress(char& Key)
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

void TepCustomBitmapButton::CMMouseEnter(TMessage& Message)
{
    if (FPressState == abUnPush)
        Press(true);
    Active(true);
    TCustomControl::CMMouseEnter(Message);
}

void TepCustomBitmapButton::CMMouseLeave(TMessage& Message)
{
    if (FPressState == abPush)
        Press(false);
    Active(false);
    TCustomControl::CMMouseLeave(Message);
}

// No face shows the focus, but the button repaints when it changes.
void TepCustomBitmapButton::WMSetFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMSetFocus(Message);
}

void TepCustomBitmapButton::WMKillFocus(TMessage& Message)
{
    Invalidate();
    TCustomControl::WMKillFocus(Message);
}

// The face covers the whole button, so the background is never erased.
void TepCustomBitmapButton::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// ---- TepRealTimeButton ----------------------------------------------------------------

TepRealTimeButton::TepRealTimeButton(TComponent* AOwner)
    : TepCustomBitmapButton(AOwner)
{
    FTransparent = false;
}

std::unique_ptr<TBitmap> TepRealTimeButton::CreateOneBitmap(TBtnState, bool) { return nullptr; }

// A face that cannot be made stays empty, and the button keeps its size then.
void TepRealTimeButton::CreateBitmaps()
{
    auto take = [](TBitmap* face, std::unique_ptr<TBitmap> made) {
        if (made)
            face->Assign(made.get());
        else
            face->SetSize(0, 0);
    };
    take(BmpNormal(), CreateOneBitmap(abNone, false));
    take(BmpActive(), CreateOneBitmap(abNone, true));
    take(BmpDown(), CreateOneBitmap(abPush, true));
    if (!BmpNormal()->Empty())
        SetBounds(Left(), Top(), BmpNormal()->Width(), BmpNormal()->Height());
}

void TepRealTimeButton::Loaded()
{
    TepCustomBitmapButton::Loaded();
    if (!HasState(csDesigning))
        CreateBitmaps();
}

bool TepRealTimeButton::RebuildsAtOnce() const
{
    return HasState(csDesigning) && !HasState(csLoading) && !HasState(csReading) && Parent();
}

void TepRealTimeButton::CMFontChanged(TMessage& Message)
{
    TepCustomBitmapButton::CMFontChanged(Message);
    if (RebuildsAtOnce())
        CreateBitmaps();
    Invalidate();
}

void TepRealTimeButton::CMTextChanged(TMessage& Message)
{
    TepCustomBitmapButton::CMTextChanged(Message);
    if (RebuildsAtOnce())
        CreateBitmaps();
    Invalidate();
}

// ---- Published properties -------------------------------------------------------------

BEGIN_PROPERTIES(TepCustomBitmapButton, TCustomControl)
    .Color("BackColor", &TepCustomBitmapButton::BackColor, &TepCustomBitmapButton::SetBackColor)
    .Int("ModalResult", &TepCustomBitmapButton::ModalResult, &TepCustomBitmapButton::SetModalResult)
    .Bool("Transparent", &TepCustomBitmapButton::Transparent, &TepCustomBitmapButton::SetTransparent)
END_PROPERTIES

BEGIN_PROPERTIES(TepRealTimeButton, TepCustomBitmapButton)
    .Reference("ClickSound", &TepRealTimeButton::ClickSound, &TepRealTimeButton::SetClickSound)
    .Reference("ActiveSound", &TepRealTimeButton::ActiveSound, &TepRealTimeButton::SetActiveSound)
END_PROPERTIES
