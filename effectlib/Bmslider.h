#pragma once
// The bitmap slider: a ruler image stretched to the control's length by repeating its
// middle, and a thumb image in a small child window (TSliderThumb) that moves along it.
// The value maps to the thumb's position and back; the user drags the thumb, presses on
// the ruler (the thumb steps towards the pointer at once and every 400 ms while held) or
// uses the keys. Four images can be supplied, a thumb and a ruler per orientation; the
// set of supplied ones is stored with the form as one byte ("UserImages"). The slider owns
// its images, the ruler it builds and the thumb. GUI thread only.

#include "effectlib/VCLBase.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TBitmap;
class TStream;

enum TSliderOrientation { soHorizontal, soVertical };
enum TSliderOption { soShowFocus, soShowPoints, soSmooth };
using TSliderOptions = uint8_t;   // bit i for member i
enum TSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TSliderImages = uint8_t;    // bit i for member i
enum TJumpMode { jmNone, jmHome, jmEnd, jmNext, jmPrior };
using TNumThumbStates = int;      // 1..2

// The thumb window: one or two states of its image side by side (normal, pressed). When
// Transparent, the window takes the shape of the image's non-key pixels, so presses on
// the key colour reach the slider beneath. Owns its bitmap.
class TSliderThumb : public TCustomControl {
public:
    explicit TSliderThumb(TComponent* AOwner);
    ~TSliderThumb() override;
    const char* ClassName() const override { return "TSliderThumb"; }

    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);   // copies
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int NumStates() const { return FNumStates; }
    void SetNumStates(int Value);     // values outside 1..2 are ignored
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);  // always rebuilds the shape

protected:
    void Paint() override;
    // Takes the size of one state of the image and, when transparent, its shape.
    void AdjustBounds();

private:
    std::unique_ptr<TBitmap> FBitmap;
    bool FDown = false;
    int FNumStates = 2;
    bool FTransparent = false;
};

class TepBMPSlider : public TEffectCControl {
public:
    static constexpr int Margin = 6;

    explicit TepBMPSlider(TComponent* AOwner);
    ~TepBMPSlider() override;
    const char* ClassName() const override { return "TepBMPSlider"; }

    bool UseFocusFrame() const { return FUseFocusFrame; }
    void SetUseFocusFrame(bool Value);
    TColor FocusInnerColor() const { return FFocusInnerColor; }
    void SetFocusInnerColor(TColor Value);
    TColor FocusOuterColor() const { return FFocusOuterColor; }
    void SetFocusOuterColor(TColor Value);
    TColor PointsColor() const { return FPointsColor; }
    void SetPointsColor(TColor Value);
    bool ThumbTransparent() const;
    void SetThumbTransparent(bool Value);
    TNumThumbStates NumThumbStates() const;
    void SetNumThumbStates(TNumThumbStates Value);
    // Index 0..3 (TSliderImage); none clears the image and forgets that it was supplied.
    TBitmap* GetImage(int Index) const;
    void SetImage(int Index, TBitmap* Value);
    bool StoreImage(int Index) const;
    TSliderImages UserImages() const { return FUserImages; }
    int EdgeSize() const { return FEdgeSize; }
    // Accepted only when twice the size is shorter than the ruler image along the axis.
    void SetEdgeSize(int Value);
    TSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TSliderOrientation Value);
    TSliderOptions Options() const { return FOptions; }
    void SetOptions(TSliderOptions Value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Value() const { return FValue; }
    void SetValue(int Value);   // clamps; OnChange only on a change

    TSliderThumb* Thumb() const { return FThumb; }
    TBitmap* Ruler() const { return FRuler.get(); }
    TPoint RulerPos() const { return FRulerPos; }
    TRect PointsRect() const { return FPointsRect; }
    // The thumb's travel: the ruler's length less the thumb's, along the axis.
    int GetRulerLength() const;
    int GetOffsetByValue(int Value) const;
    int GetValueByOffset(int Offset) const;
    int GetThumbOffset() const;
    void SetThumbOffset(int Offset);
    void ThumbJump(TJumpMode Mode);
    TJumpMode JumpTo(int X, int Y) const;

    bool Dragging() const { return FDragging; }
    bool Tracking() const { return FTracking; }
    bool TimerActive() const { return FTimerActive; }
    // The off-screen canvas while the face is painted (for OnDrawPoints), else null.
    TCanvas* PaintCanvas() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDrawPoints;

protected:
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;
    void PaintFace() override;
    virtual void ThumbMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ThumbMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    virtual void ThumbMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DefaultDrawPoints(int Step, int Size, int EndSize);
    virtual void Change();

    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMGetDlgCode(TMessage& Message) override;
    void WMSize(TMessage& Message) override;
    void WMTimer(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;

    void BuildRuler();
    void AdjustElements();
    void CreateElements();
    void ImageChanged();
    void StopTracking();
    void TimerTrack();
    void ReadUserImages(TStream& Stream);
    void WriteUserImages(TStream& Stream);

private:
    bool Horizontal() const { return FOrientation == soHorizontal; }
    bool HasOption(TSliderOption o) const { return FOptions & (1u << o); }
    bool RangeChecked() const { return !HasState(csLoading); }
    // SetValue for results of 64-bit arithmetic.
    void SetValue64(int64_t Value);
    // The spacing of the tick marks, in multiples of Step.
    int64_t TickMultiple(int64_t Step, int RL) const;
    // While the form is read: notes a range setting in stream order, with the range it
    // started from on the first one.
    void LogRangeSetting(int Kind, int Value);

    bool FUseFocusFrame = false;
    TColor FPointsColor = clBlack;
    TColor FFocusInnerColor = clBtnHighlight;
    TColor FFocusOuterColor = clBtnShadow;
    TSliderImages FUserImages = 0;
    std::array<std::unique_ptr<TBitmap>, 4> FImages;
    int FEdgeSize = 2;
    std::unique_ptr<TBitmap> FRuler;
    TPoint FRulerPos { Margin, Margin };
    TSliderThumb* FThumb = nullptr;
    TRect FPointsRect;
    TSliderOrientation FOrientation = soHorizontal;
    TSliderOptions FOptions = 0x07;
    int FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
    int FGrabOffset = 0;
    bool FHasFocus = false;
    bool FDragging = false, FTracking = false, FTimerActive = false;
    TPoint FTrackPoint;
    TJumpMode FTrackMode = jmNone;
    // The range settings read from the stream (kind 0 MinValue, 1 MaxValue, 2 Increment)
    // and the MinValue, MaxValue and Increment before the first of them. Loaded replays
    // them through the setter rules when the stored pair is not a range.
    std::vector<std::pair<int, int>> FStreamedRange;
    std::array<int, 3> FRangeBeforeStream {};
    // The Value last set while the form is read, before the range was whole.
    std::optional<int> FStreamedValue;
};
