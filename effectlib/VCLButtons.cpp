// The button bases: glyph strip, layout properties, hover and press tracking, sounds.
#include "effectlib/VCLBase.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Wavctrl.h"
#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"
#include "platform/window/WindowSystem.h"

#include <type_traits>

namespace {

constexpr uintptr_t HoverTimerId = 1;
constexpr int HoverCheckMs = 300;

const std::vector<std::string> LayoutNames { "blGlyphLeft", "blGlyphRight", "blGlyphTop",
    "blGlyphBottom" };

} // namespace

template <class TBase>
TEffectButton<TBase>::TEffectButton(TComponent* AOwner)
    : TBase(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
}

template <class TBase>
TEffectButton<TBase>::~TEffectButton() = default;

template <class TBase>
void TEffectButton<TBase>::RepaintButton()
{
    if constexpr (std::is_base_of_v<TEffectGControl, TBase>)
        this->XPaint();
    else
        this->Repaint();
}

template <class TBase>
void TEffectButton<TBase>::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::SetNumGlyphs(TNumGlyphs Value)
{
    if (Value < 1 || Value > 4)
        return;
    FNumGlyphs = Value;
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::SetLayout(TLayout Value)
{
    FLayout = Value;
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::SetMargin(int Value)
{
    if (Value < -1 || Value == FMargin)
        return;
    FMargin = Value;
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::SetSpacing(int Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::SetClickSound(TepWavePlayer* Value)
{
    if (Value == FClickSound)
        return;
    this->SetReference(FClickSound, Value);
}

template <class TBase>
void TEffectButton<TBase>::SetActiveSound(TepWavePlayer* Value)
{
    if (Value == FActiveSound)
        return;
    this->SetReference(FActiveSound, Value);
}

template <class TBase>
void TEffectButton<TBase>::Notification(TComponent* AComponent, TOperation Operation)
{
    TBase::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
}

template <class TBase>
bool TEffectButton<TBase>::IsMouseIn(int X, int Y) const
{
    return X > 0 && X < this->Width() && Y > 0 && Y < this->Height();
}

// The last image of the strip shows the disabled state.
template <class TBase>
int TEffectButton<TBase>::GlyphIndex() const
{
    if (FHot && FPressed && FNumGlyphs > 3)
        return 3;
    if (FHot && FNumGlyphs > 2)
        return 2;
    if (this->Enabled())
        return 1;
    return FNumGlyphs;
}

template <class TBase>
void TEffectButton<TBase>::DrawButtonGlyph()
{
    TBitmap* bmp = this->Bmp();
    if (!bmp || FGlyph->Empty())
        return;
    PaintGlyph(bmp->Canvas(), FGlyphX, FGlyphY, FGlyph.get(), uint8_t(GlyphIndex()),
        uint8_t(FNumGlyphs));
}

template <class TBase>
void TEffectButton<TBase>::PlayWave(TepWavePlayer* Player)
{
    if (Player && Player->Wave() && !Player->Wave()->GetEmpty())
        Player->Play();
}

template <class TBase>
void TEffectButton<TBase>::EnterHot()
{
    if (FHot || !this->Enabled())
        return;
    FHot = true;
    RepaintButton();
    PlayWave(ActiveSound());
}

template <class TBase>
void TEffectButton<TBase>::LeaveHot()
{
    if (!FHot || !this->Enabled())
        return;
    FHot = false;
    RepaintButton();
}

template <class TBase>
void TEffectButton<TBase>::PressIfInside(TMouseButton Button, int X, int Y)
{
    if (Button == mbLeft && IsMouseIn(X, Y)) {
        FPressed = true;
        FHot = true;
        RepaintButton();
    }
}

template <class TBase>
void TEffectButton<TBase>::ReleaseAndClick(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft)
        return;
    FPressed = false;
    if (!FHot)
        return;
    auto alive = this->AliveToken();
    RepaintButton();
    PlayWave(ClickSound());
    TBase::MouseUp(Button, Shift, X, Y);
    if (*alive && OnClick)
        OnClick(this);
}

template class TEffectButton<TEffectGControl>;
template class TEffectButton<TEffectCControl>;

TButtonGControl::TButtonGControl(TComponent* AOwner)
    : TEffectButton<TEffectGControl>(AOwner)
{
}

void TButtonGControl::CMMouseEnter(TMessage& Message)
{
    TEffectButton::CMMouseEnter(Message);
    EnterHot();
}

void TButtonGControl::CMMouseLeave(TMessage& Message)
{
    TEffectButton::CMMouseLeave(Message);
    LeaveHot();
}

void TButtonGControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    PressIfInside(Button, X, Y);
    TEffectButton::MouseDown(Button, Shift, X, Y);
}

void TButtonGControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ReleaseAndClick(Button, Shift, X, Y);
}

TButtonCControl::TButtonCControl(TComponent* AOwner)
    : TEffectButton<TEffectCControl>(AOwner)
{
}

void TButtonCControl::CMMouseEnter(TMessage& Message)
{
    TEffectButton::CMMouseEnter(Message);
    EnterHot();
}

void TButtonCControl::CMMouseLeave(TMessage& Message)
{
    TEffectButton::CMMouseLeave(Message);
    LeaveHot();
}

void TButtonCControl::CMEnabledChanged(TMessage& Message)
{
    TEffectButton::CMEnabledChanged(Message);
    RepaintButton();
}

void TButtonCControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    PressIfInside(Button, X, Y);
    TEffectButton::MouseDown(Button, Shift, X, Y);
}

void TButtonCControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ReleaseAndClick(Button, Shift, X, Y);
}

TButtonGTControl::TButtonGTControl(TComponent* AOwner)
    : TEffectButton<TEffectGControl>(AOwner)
{
}

TButtonGTControl::~TButtonGTControl()
{
    if (FTimerActive)
        KillTimer(this, HoverTimerId);
}

void TButtonGTControl::MouseMove(TShiftState Shift, int X, int Y)
{
    const bool hot = IsMouseIn(X, Y);
    if (hot != FHot) {
        FHot = hot;
        RepaintButton();
        if (hot && !FTimerActive) {
            SetTimer(this, HoverTimerId, HoverCheckMs);
            FTimerActive = true;
            PlayWave(ActiveSound());
        }
    }
    if (FHot)
        TEffectButton::MouseMove(Shift, X, Y);
}

// The check fires once: a pointer that left without a move or leave message seen by the
// button (a fast move off the window) clears the hot state here.
void TButtonGTControl::WMTimer(TMessage& Message)
{
    if (Message.WParam != HoverTimerId) {
        TEffectButton::WMTimer(Message);
        return;
    }
    KillTimer(this, HoverTimerId);
    FTimerActive = false;
    plat::WindowSystem* ws = plat::CurrentWindowSystem();
    if (!ws || !FHot)
        return;
    const plat::Point p = ws->CursorPos();
    const TPoint o = ClientToScreen(Point(0, 0));
    const bool inside = p.x >= o.X && p.x <= o.X + Width() && p.y >= o.Y && p.y <= o.Y + Height();
    if (!inside) {
        FHot = false;
        RepaintButton();
    }
}

void TButtonGTControl::CMMouseLeave(TMessage& Message)
{
    TEffectButton::CMMouseLeave(Message);
    FHot = false;
    RepaintButton();
}

void TButtonGTControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !FHot)
        return;
    FPressed = true;
    RepaintButton();
    TEffectButton::MouseDown(Button, Shift, X, Y);
}

void TButtonGTControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft)
        return;
    FPressed = false;
    if (!FHot)
        return;
    auto alive = AliveToken();
    RepaintButton();
    PlayWave(ClickSound());
    TEffectButton::MouseUp(Button, Shift, X, Y);
    if (*alive && OnClick)
        OnClick(this);
}

#define BUTTON_PROPERTIES(C)                                                              \
    .Color("ActiveTextColor", &C::ActiveTextColor, &C::SetActiveTextColor)                \
        .Int("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs).Default(1)                     \
        .Object("Glyph", &C::Glyph)                                                       \
        .Reference("ClickSound", &C::ClickSound, &C::SetClickSound)                       \
        .Reference("ActiveSound", &C::ActiveSound, &C::SetActiveSound)                    \
        .Event("OnClick", &C::OnClick)

// Margin, Spacing and Layout are published by the descendants of the other two bases,
// with the same declared defaults.
BEGIN_PROPERTIES(TButtonGControl, TEffectGControl)
    BUTTON_PROPERTIES(TButtonGControl)
END_PROPERTIES

BEGIN_PROPERTIES(TButtonCControl, TEffectCControl)
    BUTTON_PROPERTIES(TButtonCControl)
END_PROPERTIES

// Spacing's declared default equals the constructor's value, so every other value,
// 4 included, is written and survives a round trip.
BEGIN_PROPERTIES(TButtonGTControl, TEffectGControl)
    BUTTON_PROPERTIES(TButtonGTControl)
    .Int("Margin", &TButtonGTControl::Margin, &TButtonGTControl::SetMargin).Default(-1)
    .Int("Spacing", &TButtonGTControl::Spacing, &TButtonGTControl::SetSpacing).Default(0)
    .Enum("Layout", &TButtonGTControl::Layout, &TButtonGTControl::SetLayout, LayoutNames)
        .Default(blGlyphLeft)
END_PROPERTIES
