// The bitmap slider's behaviour: properties, value and position, keys, mouse, stored images.
#include "effectlib/Bmslider.h"

#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/Filer.h"
#include "framework/core/Stream.h"
#include "framework/core/TypInfo.h"
#include "platform/raster/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uintptr_t TrackTimer = 1;
constexpr int TrackPeriodMs = 400;

// Round to nearest, halves to even.
int64_t RoundHalfEven(double v)
{
    double r = std::nearbyint(v);
    if (!(r > double(INT64_MIN) && r < double(INT64_MAX)))
        return r > 0 ? INT64_MAX : INT64_MIN;
    return int64_t(r);
}

} // namespace

TepBMPSlider::TepBMPSlider(TComponent* AOwner)
    : TEffectCControl(AOwner)
{
    FControlStyle = csCaptureMouse | csClickEvents | csOpaque;
    FControlState |= csCreating;
    SetBounds(Left(), Top(), 140, 40);
    FTabStop = true;
    CreateElements();
    FControlState &= ~csCreating;
    FFocusInnerColor = clBtnHighlight;
    FFocusOuterColor = clBtnShadow;
}

// The thumb goes first, while the slider it reports to is still whole.
TepBMPSlider::~TepBMPSlider()
{
    StopTracking();
    delete FThumb;
    FThumb = nullptr;
}

void TepBMPSlider::CreateElements()
{
    FRuler = std::make_unique<TBitmap>();
    FThumb = new TSliderThumb(this);
    FThumb->SetParent(this);
    FThumb->SetNumStates(2);
    FThumb->OnMouseDown = TMouseEvent(this, &TepBMPSlider::ThumbMouseDown);
    FThumb->OnMouseMove = TMouseMoveEvent(this, &TepBMPSlider::ThumbMouseMove);
    FThumb->OnMouseUp = TMouseEvent(this, &TepBMPSlider::ThumbMouseUp);
    for (int i = 0; i < 4; ++i)
        SetImage(i, nullptr);
    AdjustElements();
}

// ---- Properties -------------------------------------------------------------------------

void TepBMPSlider::SetUseFocusFrame(bool Value)
{
    if (Value == FUseFocusFrame)
        return;
    FUseFocusFrame = Value;
    Invalidate();
}

void TepBMPSlider::SetFocusInnerColor(TColor Value)
{
    if (Value == FFocusInnerColor)
        return;
    FFocusInnerColor = Value;
    Invalidate();
}

void TepBMPSlider::SetFocusOuterColor(TColor Value)
{
    if (Value == FFocusOuterColor)
        return;
    FFocusOuterColor = Value;
    Invalidate();
}

void TepBMPSlider::SetPointsColor(TColor Value)
{
    if (Value == FPointsColor)
        return;
    FPointsColor = Value;
    Invalidate();
}

bool TepBMPSlider::ThumbTransparent() const { return FThumb->Transparent(); }

void TepBMPSlider::SetThumbTransparent(bool Value) { FThumb->SetTransparent(Value); }

TNumThumbStates TepBMPSlider::NumThumbStates() const { return FThumb->NumStates(); }

// The thumb's size follows its state count, so the layout is made again.
void TepBMPSlider::SetNumThumbStates(TNumThumbStates Value)
{
    if (Value < 1 || Value > 2 || Value == FThumb->NumStates())
        return;
    FThumb->SetNumStates(Value);
    ImageChanged();
}

TBitmap* TepBMPSlider::GetImage(int Index) const
{
    return Index >= 0 && Index < 4 ? FImages[size_t(Index)].get() : nullptr;
}

bool TepBMPSlider::StoreImage(int Index) const
{
    return Index >= 0 && Index <= 7 && (FUserImages & (1u << Index));
}

void TepBMPSlider::SetImage(int Index, TBitmap* Value)
{
    if (Index < 0 || Index > 3)
        return;
    auto& image = FImages[size_t(Index)];
    if (!image)
        image = std::make_unique<TBitmap>();
    if (!Value) {
        image->Assign(nullptr);
        FUserImages &= TSliderImages(~(1u << Index));
    } else {
        if (Value != image.get())
            image->Assign(Value);
        FUserImages |= TSliderImages(1u << Index);
    }
    if ((Horizontal() && Index == siHThumb) || (!Horizontal() && Index == siVThumb))
        FThumb->SetBitmap(image.get());
    if (!(FControlState & csCreating))
        ImageChanged();
}

void TepBMPSlider::SetEdgeSize(int Value)
{
    TBitmap* s = GetImage(Horizontal() ? siHRuler : siVRuler);
    int64_t length = Horizontal() ? s->Width() : s->Height();
    if (Value < 0 || Value == FEdgeSize || 2 * int64_t(Value) >= length)
        return;
    FEdgeSize = Value;
    ImageChanged();
}

void TepBMPSlider::SetOrientation(TSliderOrientation Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    FThumb->SetBitmap(GetImage(Horizontal() ? siHThumb : siVThumb));
    ImageChanged();
}

void TepBMPSlider::SetOptions(TSliderOptions Value)
{
    if (Value == FOptions)
        return;
    FOptions = Value;
    Invalidate();
}

void TepBMPSlider::SetIncrement(int Value)
{
    if (Value <= 0 || Value == FIncrement)
        return;
    LogRangeSetting(2, Value);
    FIncrement = Value;
    SetValue64(FValue);
    Invalidate();
}

void TepBMPSlider::LogRangeSetting(int Kind, int Value)
{
    if (RangeChecked())
        return;
    if (FStreamedRange.empty())
        FRangeBeforeStream = { FMinValue, FMaxValue, FIncrement };
    FStreamedRange.emplace_back(Kind, Value);
}

// While the form is read the range arrives one end at a time, so the check waits for
// Loaded.
void TepBMPSlider::SetMinValue(int Value)
{
    if (Value == FMinValue)
        return;
    if (RangeChecked() && int64_t(Value) > int64_t(FMaxValue) - FIncrement)
        return;
    LogRangeSetting(0, Value);
    FMinValue = Value;
    if (HasOption(soShowPoints))
        Invalidate();
}

void TepBMPSlider::SetMaxValue(int Value)
{
    if (Value == FMaxValue)
        return;
    if (RangeChecked() && int64_t(Value) < int64_t(FMinValue) + FIncrement)
        return;
    LogRangeSetting(1, Value);
    FMaxValue = Value;
    if (HasOption(soShowPoints))
        Invalidate();
}

void TepBMPSlider::SetValue(int Value)
{
    if (!RangeChecked())
        FStreamedValue = Value;
    SetValue64(Value);
}

// OnChange comes last: the handler may free the slider.
void TepBMPSlider::SetValue64(int64_t Value)
{
    int v = plat::ClampToInt32(
        std::max<int64_t>(FMinValue, std::min<int64_t>(Value, FMaxValue)));
    bool changed = v != FValue;
    FValue = v;
    SetThumbOffset(GetOffsetByValue(v));
    if (changed)
        Change();
}

void TepBMPSlider::Change()
{
    if (OnChange)
        OnChange(this);
}

// ---- Value and position -----------------------------------------------------------------

int TepBMPSlider::GetRulerLength() const
{
    return Horizontal() ? FRuler->Width() - FThumb->Width() : FRuler->Height() - FThumb->Height();
}

// An empty range puts every value at the start.
int TepBMPSlider::GetOffsetByValue(int Value) const
{
    int64_t range = int64_t(FMaxValue) - FMinValue;
    int64_t p = Margin;
    if (range > 0)
        p += RoundHalfEven(double(int64_t(GetRulerLength()) * (int64_t(Value) - FMinValue)) / double(range));
    if (Horizontal())
        return plat::ClampToInt32(p);
    return plat::ClampToInt32(int64_t(ClientHeight()) - p - FThumb->Height());
}

// Without travel every position means MinValue.
int TepBMPSlider::GetValueByOffset(int Offset) const
{
    int64_t o = Horizontal() ? Offset : int64_t(ClientHeight()) - Offset - FThumb->Height();
    int RL = GetRulerLength();
    int64_t q = 0;
    if (RL > 0)
        q = RoundHalfEven(double((o - Margin) * (int64_t(FMaxValue) - FMinValue)) / double(RL));
    if (!HasOption(soSmooth))
        q = q / FIncrement * FIncrement;
    return plat::ClampToInt32(q + FMinValue);
}

int TepBMPSlider::GetThumbOffset() const { return Horizontal() ? FThumb->Left() : FThumb->Top(); }

void TepBMPSlider::SetThumbOffset(int Offset)
{
    int64_t o = std::max<int64_t>(Margin, std::min<int64_t>(Offset, int64_t(GetRulerLength()) + Margin));
    if (!HasOption(soSmooth))
        o = GetOffsetByValue(GetValueByOffset(int(o)));
    if (Horizontal())
        FThumb->SetBounds(int(o), FThumb->Top(), FThumb->Width(), FThumb->Height());
    else
        FThumb->SetBounds(FThumb->Left(), int(o), FThumb->Width(), FThumb->Height());
    if (!FDragging)
        return;
    int v = GetValueByOffset(int(o));
    if (v == FValue)
        return;
    FValue = v;
    Change();
}

// Steps count in multiples of Increment from 0, not from MinValue.
void TepBMPSlider::ThumbJump(TJumpMode Mode)
{
    int64_t base = int64_t(FValue) / FIncrement * FIncrement;
    switch (Mode) {
    case jmHome: SetValue(FMinValue); break;
    case jmEnd: SetValue(FMaxValue); break;
    case jmNext: SetValue64(base + FIncrement); break;
    case jmPrior: SetValue64(base - FIncrement); break;
    case jmNone: break;
    }
}

TJumpMode TepBMPSlider::JumpTo(int X, int Y) const
{
    TRect t = FThumb->BoundsRect();
    if (Horizontal()) {
        if (X < t.Left)
            return jmPrior;
        if (X > t.Right)
            return jmNext;
    } else {
        if (Y < t.Top)
            return jmNext;
        if (Y > t.Bottom)
            return jmPrior;
    }
    return jmNone;
}

// ---- Keys and the pointer ---------------------------------------------------------------

void TepBMPSlider::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TJumpMode mode = jmNone;
    if (!(Shift & (ssShift | ssCtrl | ssAlt))) {
        switch (Key) {
        case 0x24: mode = jmHome; break;
        case 0x23: mode = jmEnd; break;
        case 0x25: mode = Horizontal() ? jmPrior : jmNone; break;
        case 0x27: mode = Horizontal() ? jmNext : jmNone; break;
        case 0x26: mode = Horizontal() ? jmNone : jmNext; break;
        case 0x28: mode = Horizontal() ? jmNone : jmPrior; break;
        default: break;
        }
    }
    auto alive = AliveToken();
    if (mode != jmNone) {
        Key = 0;
        ThumbJump(mode);
        if (!*alive)
            return;
    }
    TEffectCControl::KeyDown(Key, Shift);
}

void TepBMPSlider::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

void TepBMPSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectCControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || (Shift & ssDouble))
        return;
    if (CanFocus())
        SetFocus();
    SetMouseCapture(true);
    FTracking = true;
    FTrackPoint = { X, Y };
    FTrackMode = JumpTo(X, Y);
    TimerTrack();
}

// The first step comes at once, the next ones every 400 ms while the button is held.
void TepBMPSlider::TimerTrack()
{
    if (JumpTo(FTrackPoint.X, FTrackPoint.Y) != FTrackMode)
        return;
    auto alive = AliveToken();
    ThumbJump(FTrackMode);
    if (*alive && FTracking && !FTimerActive) {
        ::SetTimer(this, TrackTimer, TrackPeriodMs);
        FTimerActive = true;
    }
}

void TepBMPSlider::WMTimer(TMessage& Message)
{
    if (Message.WParam == TrackTimer && FTracking)
        TimerTrack();
    else
        TEffectCControl::WMTimer(Message);
}

void TepBMPSlider::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FTracking)
        FTrackPoint = { X, Y };
    TEffectCControl::MouseMove(Shift, X, Y);
}

void TepBMPSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    StopTracking();
    TEffectCControl::MouseUp(Button, Shift, X, Y);
}

void TepBMPSlider::StopTracking()
{
    if (!FTracking)
        return;
    if (FTimerActive) {
        ::KillTimer(this, TrackTimer);
        FTimerActive = false;
    }
    FTracking = false;
    SetMouseCapture(false);
}

void TepBMPSlider::ThumbMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
{
    if (CanFocus())
        SetFocus();
    if (Button != mbLeft)
        return;
    FGrabOffset = Horizontal() ? X : Y;
    FDragging = true;
    FThumb->SetDown(true);
}

void TepBMPSlider::ThumbMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    if (!FDragging || !(Shift & ssLeft))
        return;
    TPoint p = ScreenToClient(FThumb->ClientToScreen(Point(X, Y)));
    SetThumbOffset((Horizontal() ? p.X : p.Y) - FGrabOffset);
}

void TepBMPSlider::ThumbMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    FDragging = false;
    FThumb->SetDown(false);
}

void TepBMPSlider::CMFocusChanged(TMessage& Message)
{
    bool focused = reinterpret_cast<TControl*>(Message.LParam) == this;
    if (focused != FHasFocus) {
        FHasFocus = focused;
        if (HasOption(soShowFocus)) {
            Invalidate();
            FThumb->Invalidate();
        }
    }
    TEffectCControl::CMFocusChanged(Message);
}

// ---- Streaming ------------------------------------------------------------------------

void TepBMPSlider::ReadUserImages(TStream& Stream)
{
    uint8_t b = 0;
    Stream.ReadBuffer(&b, 1);
    FUserImages = TSliderImages(b & 0x0F);
}

void TepBMPSlider::WriteUserImages(TStream& Stream) { Stream.WriteBuffer(&FUserImages, 1); }

void TepBMPSlider::DefineProperties(TFiler* Filer)
{
    TEffectCControl::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "UserImages", [this](TStream& s) { ReadUserImages(s); },
        [this](TStream& s) { WriteUserImages(s); }, FUserImages != 0);
}

// The supplied images are applied again, so the thumb shows the image of the final
// orientation; a range stored without its cross-check is mended here.
void TepBMPSlider::Loaded()
{
    TEffectCControl::Loaded();
    for (int i = 0; i < 4; ++i)
        if (FUserImages & (1u << i))
            SetImage(i, GetImage(i));
    // A stored pair that is a range is kept as stored, even one narrower than Increment.
    // Otherwise the settings are taken again in stream order, each by its setter's rule,
    // from the range the slider had before the stream.
    if (FMinValue >= FMaxValue && !FStreamedRange.empty()) {
        auto [lo, hi, step] = FRangeBeforeStream;
        for (auto [kind, v] : FStreamedRange) {
            if (kind == 2)
                step = v;
            else if (kind == 0 && int64_t(v) <= int64_t(hi) - step)
                lo = v;
            else if (kind == 1 && int64_t(v) >= int64_t(lo) + step)
                hi = v;
        }
        FMinValue = lo;
        FMaxValue = hi;
    }
    FStreamedRange.clear();
    const int value = FStreamedValue.value_or(FValue);
    FStreamedValue.reset();
    SetValue(value);
}

BEGIN_PROPERTIES(TepBMPSlider, TEffectCControl)
    .Bool("UseFocusFrame", &TepBMPSlider::UseFocusFrame, &TepBMPSlider::SetUseFocusFrame)
    .Color("FocusInnerColor", &TepBMPSlider::FocusInnerColor, &TepBMPSlider::SetFocusInnerColor)
    .Color("FocusOuterColor", &TepBMPSlider::FocusOuterColor, &TepBMPSlider::SetFocusOuterColor)
    .Color("PointsColor", &TepBMPSlider::PointsColor, &TepBMPSlider::SetPointsColor)
    .Bool("ThumbTransparent", &TepBMPSlider::ThumbTransparent, &TepBMPSlider::SetThumbTransparent)
    .Object("ImageHThumb", [](TepBMPSlider* s) { return s->GetImage(siHThumb); })
        .Stored([](TepBMPSlider* s) { return s->StoreImage(siHThumb); })
    .Object("ImageHRuler", [](TepBMPSlider* s) { return s->GetImage(siHRuler); })
        .Stored([](TepBMPSlider* s) { return s->StoreImage(siHRuler); })
    .Object("ImageVThumb", [](TepBMPSlider* s) { return s->GetImage(siVThumb); })
        .Stored([](TepBMPSlider* s) { return s->StoreImage(siVThumb); })
    .Object("ImageVRuler", [](TepBMPSlider* s) { return s->GetImage(siVRuler); })
        .Stored([](TepBMPSlider* s) { return s->StoreImage(siVRuler); })
    .Int("EdgeSize", &TepBMPSlider::EdgeSize, &TepBMPSlider::SetEdgeSize).Default(2)
    .Int("NumThumbStates", &TepBMPSlider::NumThumbStates, &TepBMPSlider::SetNumThumbStates)
    .Enum("Orientation", &TepBMPSlider::Orientation, &TepBMPSlider::SetOrientation,
        { "soHorizontal", "soVertical" }).Default(soHorizontal)
    .Set("Options", &TepBMPSlider::Options, &TepBMPSlider::SetOptions,
        { "soShowFocus", "soShowPoints", "soSmooth" })
    .Int("Increment", &TepBMPSlider::Increment, &TepBMPSlider::SetIncrement)
    .Int("MinValue", &TepBMPSlider::MinValue, &TepBMPSlider::SetMinValue)
    .Int("MaxValue", &TepBMPSlider::MaxValue, &TepBMPSlider::SetMaxValue)
    .Int("Value", &TepBMPSlider::Value, &TepBMPSlider::SetValue)
    PUBLISHED_EVENT(OnChange)
    PUBLISHED_EVENT(OnDrawPoints)
END_PROPERTIES
