#pragma once
// Instrument-style graphic controls drawn in coloured lines on a dark background:
// TepIndiButton (a framed text button that blinks its text when pressed and its frame
// when the pointer enters, with optional sounds), TepNumPanel (seven-segment digits drawn
// as thick tapered lines over a dim "8" in every position) and TepIndiGauge (an LED bar
// whose lit cells beyond a normal value take a second colour). All paint through the
// effect base and repaint at once on every property change. The button owns its blink
// timer; its sounds are references cleared when the players are removed. GUI thread only.

#include "effectlib/EPGauges.h"

#include <cstdint>
#include <memory>
#include <string>

class TTimer;
class TepWavePlayer;

namespace indictrls {
using TSmType = int;    // digit count, 1..11 (0 draws no positions)
using TSmType1 = int;   // segment half-thickness, 0..30
}

class TepIndiButton : public TEffectGControl {
public:
    explicit TepIndiButton(TComponent* AOwner);
    ~TepIndiButton() override;
    const char* ClassName() const override { return "TepIndiButton"; }

    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value);
    TColor UnActiveColor() const { return FUnActiveColor; }
    void SetUnActiveColor(TColor Value);
    TepWavePlayer* ClickSound() const { return FClickSound; }
    void SetClickSound(TepWavePlayer* Value);
    TepWavePlayer* ActiveSound() const { return FActiveSound; }
    void SetActiveSound(TepWavePlayer* Value);

    bool TextLit() const { return FTextLit; }
    bool FrameLit() const { return FFrameLit; }
    bool PointerInside() const { return FInside; }
    bool Blinking() const;

protected:
    void PaintFace() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void TimerExpired1(TObject* Sender);
    void TimerExpired2(TObject* Sender);
    void StartBlink(void (TepIndiButton::*handler)(TObject*));
    static void Play(TepWavePlayer* Player);

    TColor FFrameColor = TColor(0xFF0000);
    std::unique_ptr<TTimer> FTimer;
    bool FTextLit = true;
    bool FFrameLit = true;
    uint8_t FCounter = 0;
    TColor FUnActiveColor = TColor(0x808080);
    TepWavePlayer* FClickSound = nullptr;
    TepWavePlayer* FActiveSound = nullptr;
    bool FInside = false;
};

class TepNumPanel : public TEffectGControl {
public:
    explicit TepNumPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TepNumPanel"; }

    indictrls::TSmType CountNums() const { return FCountNums; }
    void SetCountNums(indictrls::TSmType Value);   // 0..11; others are ignored
    int Value() const { return FValue; }
    void SetValue(int Value);
    indictrls::TSmType1 IndiWidth() const { return FIndiWidth; }
    void SetIndiWidth(indictrls::TSmType1 Value);  // 0..30; others are ignored
    TColor IndiColor() const { return FIndiColor; }
    void SetIndiColor(TColor Value);
    TColor UnActiveColor() const { return FUnActiveColor; }
    void SetUnActiveColor(TColor Value);

    // Draws one character ("0".."9", "-") in the box (X1, Y1)-(X2, Y2) with the canvas's
    // pen; other characters draw nothing.
    static void DrawNum(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, char Ch, int IndiWidth);
    // The segments (1..7) a character lights, as a bit set (bit s for segment s).
    static unsigned Segments(char Ch);

protected:
    void PaintFace() override;

private:
    indictrls::TSmType FCountNums = 3;
    int FValue = 0;
    indictrls::TSmType1 FIndiWidth = 2;
    TColor FIndiColor = TColor(0x00FF00);
    TColor FUnActiveColor = TColor(0x808080);
};

class TepIndiGauge : public TEffectGControl {
public:
    explicit TepIndiGauge(TComponent* AOwner);
    const char* ClassName() const override { return "TepIndiGauge"; }

    uint8_t IndiNums() const { return FIndiNums; }
    void SetIndiNums(uint8_t Value);
    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind Value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    int Progress() const { return FProgress; }
    void SetProgress(int Value);   // clamped; repaints only when the lit count changes
    uint8_t IndiOffset() const { return FIndiOffset; }
    void SetOffsetIndi(uint8_t Value);
    TColor IndiColor() const { return FIndiColor; }
    void SetIndiColor(TColor Value);
    TColor UnNormalIndiColor() const { return FUnNormalIndiColor; }
    void SetUnNormalIndiColor(TColor Value);
    int NormalValue() const { return FNormalValue; }
    void SetNormalValue(int Value);
    TColor UnActiveColor() const { return FUnActiveColor; }
    void SetUnActiveColor(TColor Value);

    int GetPercent() const;
    // Lit cells for the current progress, and the cells up to the normal mark (clamped to
    // 0..IndiNums; the whole bar for a range of one value).
    int LitCells() const;
    int NormalCells() const;
    // The colour of cell I (1-based).
    TColor CellColor(int I) const;

protected:
    void PaintFace() override;

private:
    uint8_t FIndiNums = 10;
    TGaugeKind FKind = gkHorizontalBar;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    uint8_t FIndiOffset = 1;
    TColor FIndiColor = TColor(0x00FF00);
    TColor FUnNormalIndiColor = TColor(0x0000FF);
    int FNormalValue = 100;
    TColor FUnActiveColor = TColor(0x808080);
};
