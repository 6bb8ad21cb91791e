#pragma once
// The instrument-panel controls: a latching LED push button, a metal front plate with
// screw heads and a seven-segment LED display. Each takes its bevel and unlit colours from
// the colour unit (ContrastShades). Setters return at once on an unchanged value, ignore
// out-of-range values of small ranges, store, recompute and repaint. No control throws.
// GUI thread only.

#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/controls/GraphicControl.h"
#include "rackctls/ColorShading.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum TButtonDirection { bdBottomUp, bdLeftUp, bdNone, bdRightUp, bdTopUp };
enum TTextPosition { tpAbove, tpBelow, tpNone, tpOnButton };
enum TDecSeperator { dsPoint, dsComma, dsDoublePoint, dsMinus };
enum TSegmentStyle { ssRectangular, ssBeveled };
using TContrast = uint8_t;    // 0..9
using TNumGlyphs = int;       // 0..4; the same type as the effect library's 1..4
using TScrewSize = uint8_t;   // 1..8

// Makes sure the three classes are registered for the form description reader, also in
// programs that name them only there.
bool RegisterRackCtls();

// A push button drawn as a key with a thick front face that collapses while it is held,
// an optional LED strip lit while StateOn, a caption and a glyph strip. With Switching,
// every release toggles StateOn. Owns its font and glyph bitmap; its Color and Font are
// its own, apart from the inherited ones.
class TLEDButton : public TGraphicControl {
public:
    explicit TLEDButton(TComponent* AOwner);
    ~TLEDButton() override;
    const char* ClassName() const override { return "TLEDButton"; }

    bool Beveled() const { return FBeveled; }
    void SetBeveled(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorLED() const { return FColorLED; }
    void SetColorLED(TColor value);
    int Depth() const { return FDepth; }
    void SetDepth(int value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TContrast LEDContrast() const { return FLEDContrast; }
    void SetLEDContrast(int value);   // above 9 (or below 0): ignored
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);     // outside 0..4: ignored
    bool ShowLED() const { return FShowLED; }
    void SetShowLED(bool value);
    bool StateOn() const { return FStateOn; }
    void SetStateOn(bool value);
    bool Switching() const { return FSwitching; }
    void SetSwitching(bool value);
    TTextPosition TextPosition() const { return FTextPosition; }
    void SetTextPosition(TTextPosition value);

    TColor LightShade() const { return FLightShade; }
    TColor DarkShade() const { return FDarkShade; }
    TColor UnlitColor() const { return FUnlitColor; }
    bool Pressed() const { return FPressed; }

    // A click from the keyboard, the same as one with the mouse: OnClick, then a
    // switching button toggles. A disabled button does nothing. The handler may free the
    // button.
    void KeyClick();

    // True when caption marks charCode (case-blind for a..z) with the first "&" in it.
    static bool IsAccelChar(WPARAM charCode, const std::string& caption);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMDialogChar(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

private:
    // The client rectangle less the caption line of tpAbove / tpBelow.
    TRect KeyRect(TCanvas* canvas) const;
    void DrawButtonFrame(TCanvas* canvas);
    std::vector<int> FrameLines(int64_t w, int64_t h, bool pressed) const;
    void DrawLED(TCanvas* canvas, TRect& R);
    void DrawCaption(TCanvas* canvas, TRect R);
    void DrawGlyph(TCanvas* canvas, const TRect& R);
    void PartChanged(TObject* Sender);

    bool FBeveled = true;
    TBorderStyle FBorderStyle = bsSingle;
    TButtonDirection FButtonDirection = bdBottomUp;
    TColor FColor = clGray;
    TColor FLightShade = 0, FDarkShade = 0;
    TColor FColorLED = clBlue;
    TContrast FLEDContrast = 6;
    TColor FUnlitColor = 0;
    int FDepth = 3;
    bool FPressed = false;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
    bool FShowLED = true;
    bool FStateOn = false;
    bool FSwitching = true;
    TTextPosition FTextPosition = tpNone;
};

// A windowed container painted as a metal plate: a face in its own Color, bevels shaded
// from it and a slotted screw head in each corner. Everything but the painting is the
// panel's. Color is its own, apart from the colour the panel hands to its children.
class TScrewPanel : public TCustomPanel {
public:
    explicit TScrewPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TScrewPanel"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);          // must stay below Width and Height less ScrewSize
    TScrewSize ScrewSize() const { return FScrewSize; }
    void SetScrewSize(int value);       // 1..8, below Width and Height
    bool ShowScrews() const { return FShowScrews; }
    void SetShowScrews(bool value);

    TColor LightShade() const { return FLightShade; }
    TColor DarkShade() const { return FDarkShade; }
    // Top-left corners of the four screw heads: top left, top right, bottom left, bottom
    // right.
    std::array<TPoint, 4> ScrewOrigins() const;

protected:
    void Paint() override;

private:
    // The face rectangle inside the bevels and the border.
    TRect InnerRect() const;
    void DrawBevel(TCanvas* canvas, const TRect& R, bool raised);
    void DrawScrew(TCanvas* canvas, int x, int y);

    TColor FColor = clBtnFace;
    TColor FLightShade = 0, FDarkShade = 0;
    int FMargin = 2;
    TScrewSize FScrewSize = 2;
    bool FShowScrews = true;
};

// A row of seven-segment digits showing Value, with unlit segments in a dimmed shade of
// the LED colour. The eleven glyphs (0..9 and minus) are prebuilt bitmaps, rebuilt when
// their look changes; painting formats the value and copies one glyph per cell. Owns the
// glyph bitmaps.
class TLEDDisplay : public TGraphicControl {
public:
    explicit TLEDDisplay(TComponent* AOwner);
    ~TLEDDisplay() override;
    const char* ClassName() const override { return "TLEDDisplay"; }

    TBevelCut BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TBevelCut value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TColor ColorBackGround() const { return FColorBackGround; }
    void SetColorBackGround(TColor value);
    TColor ColorLED() const { return FColorLED; }
    void SetColorLED(TColor value);
    TDecSeperator DecSeperator() const { return FDecSeperator; }
    void SetDecSeperator(TDecSeperator value);
    int DigitHeight() const { return FDigitHeight; }
    void SetDigitHeight(int value);
    int DigitWidth() const { return FDigitWidth; }
    void SetDigitWidth(int value);
    int DigitLineWidth() const { return FDigitLineWidth; }
    void SetDigitLineWidth(int value);
    int FractionDigits() const { return FFractionDigits; }
    void SetFractionDigits(int value);   // then at most NumDigits - 1
    bool LeadingZeros() const { return FLeadingZeros; }
    void SetLeadingZeros(bool value);
    TContrast LEDContrast() const { return FLEDContrast; }
    void SetLEDContrast(int value);      // above 9 (or below 0): ignored
    int NumDigits() const { return FNumDigits; }
    void SetNumDigits(int value);
    TSegmentStyle SegmentStyle() const { return FSegmentStyle; }
    void SetSegmentStyle(TSegmentStyle value);
    long double Value() const { return FValue; }
    void SetValue(long double value);    // an equal or unordered value changes nothing

    TNotifyEvent OnChange;

    TColor UnlitColor() const { return FUnlitColor; }
    // The glyph bitmap of index 0..9 (digits) or 10 (minus); nullptr for others.
    TBitmap* GlyphBitmap(int index) const;
    // The value as text with the locale's decimal separator, as the cells show it before
    // the separator is taken out and zeros are put in front; empty for NaN and infinity.
    std::string FormattedValue() const;
    // '-' gives 10, '0'..'9' give 0..9, anything else -1.
    static int CharToGlyphIndex(char c);

protected:
    void Paint() override;
    virtual void Change();

private:
    void BuildDigitBitmaps();
    void SetDigitSegments(int glyph, const std::array<bool, 7>& lit);
    void DrawSegments(TCanvas* canvas, int glyph) const;
    void DrawSeparator(TCanvas* canvas, int64_t x, int64_t y0);
    void RecomputeUnlit();
    void Rebuild();

    TBevelCut FBevelStyle = bvLowered;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FColorBackGround = clBlack;
    TColor FColorLED = clLime;
    TContrast FLEDContrast = 7;
    TColor FUnlitColor = 0;
    TDecSeperator FDecSeperator = dsComma;
    int FDigitHeight = 30, FDigitWidth = 20, FDigitLineWidth = 3;
    int FFractionDigits = 0;
    bool FLeadingZeros = true;
    int FNumDigits = 6;
    TSegmentStyle FSegmentStyle = ssBeveled;
    long double FValue = 0;
    std::array<std::array<TColor, 7>, 11> FSegmentColors {};
    std::array<std::unique_ptr<TBitmap>, 11> FGlyphs;
};
