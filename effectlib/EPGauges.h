#pragma once
// Two windowless progress gauges that show Progress between MinValue and MaxValue as a
// bar growing from the left (gkHorizontalBar) or from the bottom (gkVerticalBar), with
// the percentage written in the middle. A range of one value shows 0 %.
//
// TepGauge: a double 3-D frame and a raised bar filled with BarColor or tiled with
// ProgressGlyph, painted through the effect base (so it can be transparent). It owns its
// glyph and a scratch bitmap. TepEffectGauge: a soft gauge whose bar and a dark copy of
// the text are blurred, then outlined and written over sharply. GUI thread only.

#include "effectlib/VCLBase.h"

#include <cstdint>
#include <memory>

enum TGaugeKind { gkHorizontalBar, gkVerticalBar };

// Trunc((Progress - Min) / (Max - Min) * 100) in double; 0 for an empty range.
int GaugePercent(int Progress, int MinValue, int MaxValue);

class TepGauge : public TEffectGControl {
public:
    explicit TepGauge(TComponent* AOwner);
    ~TepGauge() override;
    const char* ClassName() const override { return "TepGauge"; }

    TColor FrameInnerColor() const { return FFrameInnerColor; }
    void SetFrameInnerColor(TColor Value);
    TColor FrameOuterColor() const { return FFrameOuterColor; }
    void SetFrameOuterColor(TColor Value);
    TColor BarInnerColor() const { return FBarInnerColor; }
    void SetBarInnerColor(TColor Value);
    TColor BarOuterColor() const { return FBarOuterColor; }
    void SetBarOuterColor(TColor Value);
    bool UseGlyph() const { return FUseGlyph; }
    void SetUseGlyph(bool Value);
    TBitmap* ProgressGlyph() const { return FProgressGlyph.get(); }
    void SetProgressGlyph(TBitmap* Value);   // copies
    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor Value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int M);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int M);
    int Progress() const { return FProgress; }
    void SetProgress(int P);

    // Recomputes the percentage and the bar's width and height.
    void GetPercent();
    int Percent() const { return FPercent; }
    int BarWidth() const { return FBarWidth; }
    int BarHeight() const { return FBarHeight; }
    // The bar's rectangle for the current figures; empty when no bar is drawn.
    TRect BarRect() const;

protected:
    void PaintFace() override;

private:
    void PaintFrame(TCanvas* C);
    void PaintProgressFrame(TCanvas* C);
    void DrawGlyphInRect(TCanvas* C, const TRect& R);
    void PaintText(TCanvas* C);

    TColor FFrameInnerColor = clBtnHighlight;
    TColor FFrameOuterColor = clBtnShadow;
    TColor FBarInnerColor = clBtnHighlight;
    TColor FBarOuterColor = clBtnShadow;
    std::unique_ptr<TBitmap> FProgressGlyph;
    std::unique_ptr<TBitmap> FScratch;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    bool FShowText = true;
    bool FUseGlyph = false;
    int FBarWidth = 0;
    int FBarHeight = 0;
    int FPercent = 0;
    TGaugeKind FKind = gkHorizontalBar;
    TColor FBarColor = clBtnFace;
};

class TepEffectGauge : public TGraphicControl {
public:
    explicit TepEffectGauge(TComponent* AOwner);
    const char* ClassName() const override { return "TepEffectGauge"; }

    int MinValue() const { return FMinValue; }
    void SetMinValue(int M);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int M);
    int Progress() const { return FProgress; }
    void SetProgress(int P);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TGaugeKind Kind() const { return FKind; }
    void SetKind(TGaugeKind Value);
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor Value);
    uint8_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(uint8_t Value);
    uint8_t ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(uint8_t Value);

    void GetPercent();
    int Percent() const { return FPercent; }
    int BarWidth() const { return FBarWidth; }
    int BarHeight() const { return FBarHeight; }
    // The bar's rectangle; empty when the bar is too small for its border.
    TRect BarRect() const;

protected:
    void Paint() override;

private:
    int FMinValue = 0;
    int FMaxValue = 100;
    int FProgress = 0;
    bool FShowText = true;
    int FBarWidth = 0;
    int FBarHeight = 0;
    int FPercent = 0;
    TGaugeKind FKind = gkHorizontalBar;
    TColor FBarColor = TColor(0xFF0000);
    uint8_t FBorderWidth = 2;
    uint8_t FShadowOffset = 2;
};
