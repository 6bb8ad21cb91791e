#pragma once
// TepShadowLabel: a one-line windowless label whose caption stands over a soft drop
// shadow. The shadow has no colour of its own: the background under the shadow's shape
// is halved in brightness (and, with BlurShadow, blurred), so it takes the hue of what
// lies behind. Owns nothing beyond its base's; GUI thread only.

#include "effectlib/VCLBase.h"

#include <cstdint>

class TepShadowLabel : public TEffectGControl {
public:
    explicit TepShadowLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TepShadowLabel"; }

    // The setters store and repaint at once, also when the value is unchanged.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    uint8_t ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(uint8_t Value);
    bool BlurShadow() const { return FBlurShadow; }
    void SetBlurShadow(bool Value);

    // Where PaintFace puts the caption (its top-left), measured with the label's font.
    TPoint TextOrigin();

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;

private:
    TAlignment FAlignment = taLeftJustify;
    uint8_t FShadowOffset = 0;
    bool FBlurShadow = false;
};

#include "effectlib/Effbmp.h"

#include <memory>
#include <string>
#include <vector>

// One line of text with an optional engraved look (copies one pixel up-left in InnerColor
// and down-right in OuterColor) and, when transparent, an optional half-way tint of the
// background in the label's Color or a gradient over it. The setters store and repaint,
// also when the value is unchanged.
class TepCustomLabel : public TEffectGControl {
public:
    explicit TepCustomLabel(TComponent* AOwner);

    bool MiddleTransparent() const { return FMiddleTransparent; }
    void SetMiddleTransparent(bool Value);
    bool UseInnerColor() const { return FUseInnerColor; }
    void SetUseInnerColor(bool Value);
    bool UseOuterColor() const { return FUseOuterColor; }
    void SetUseOuterColor(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    bool Text3D() const { return FText3D; }
    void SetText3D(bool Value);
    bool GradEffect() const { return FGradEffect; }
    void SetGradEffect(bool Value);
    TGradKind GradKind() const { return FGradKind; }
    void SetGradKind(TGradKind Value);
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor Value);

    // Where the caption goes (its top-left), measured with the label's font.
    TPoint TextOrigin();

protected:
    void PaintFace() override;
    void PaintEffects() override;
    void CMTextChanged(TMessage& Message) override;

private:
    bool FMiddleTransparent = false;
    bool FUseInnerColor = true;
    bool FUseOuterColor = true;
    TAlignment FAlignment = taLeftJustify;
    TColor FInnerColor = clLime;
    TColor FOuterColor = clLime;
    bool FText3D = true;
    bool FGradEffect = false;
    TGradKind FGradKind = gdRight;
    TColor FGradColor = clBlack;
};

class TepLabel : public TepCustomLabel {
public:
    explicit TepLabel(TComponent* AOwner) : TepCustomLabel(AOwner) { }
    const char* ClassName() const override { return "TepLabel"; }
};

// Several lines of word-wrapped text with an optional engraved look (copies up-left in
// TextInnerColor and down-right in TextOuterColor). Tabs are expanded only in the plain
// look. In a form the lines are one string property, "Lines", joined by line breaks.
class TepTextLabel : public TEffectGControl {
public:
    explicit TepTextLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TepTextLabel"; }

    const std::vector<std::string>& Lines() const { return FLines; }
    void SetLines(const std::vector<std::string>& Value);
    // The lines joined by CR LF, and the lines of a text split at CR LF, CR or LF.
    std::string LinesText() const;
    void SetLinesText(const std::string& Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TColor TextInnerColor() const { return FTextInnerColor; }
    void SetTextInnerColor(TColor Value);
    TColor TextOuterColor() const { return FTextOuterColor; }
    void SetTextOuterColor(TColor Value);
    bool Text3D() const { return FText3D; }
    void SetText3D(bool Value);
    bool MiddleTransparent() const { return FMiddleTransparent; }
    void SetMiddleTransparent(bool Value);

protected:
    void PaintFace() override;
    void PaintEffects() override;

private:
    std::vector<std::string> FLines;
    TAlignment FAlignment = taLeftJustify;
    TColor FTextInnerColor = clBtnHighlight;
    TColor FTextOuterColor = clBtnShadow;
    bool FText3D = false;
    bool FMiddleTransparent = false;
};

// One line of engraved text bent along sine waves (no bending while XDiv or YDiv is 0);
// only the text shows over the label's background.
class TepWaveLabel : public TEffectGControl {
public:
    explicit TepWaveLabel(TComponent* AOwner);
    const char* ClassName() const override { return "TepWaveLabel"; }

    int XDiv() const { return FXDiv; }
    void SetXDiv(int Value);
    int YDiv() const { return FYDiv; }
    void SetYDiv(int Value);
    int RatioVal() const { return FRatioVal; }
    void SetRatioVal(int Value);
    int TextX() const { return FTextX; }
    void SetTextX(int Value);
    int TextY() const { return FTextY; }
    void SetTextY(int Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    bool UseInnerColor() const { return FUseInnerColor; }
    void SetUseInnerColor(bool Value);
    bool UseOuterColor() const { return FUseOuterColor; }
    void SetUseOuterColor(bool Value);

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;

private:
    int FXDiv = 0, FYDiv = 0, FRatioVal = 0, FTextX = 1, FTextY = 1;
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    bool FUseInnerColor = true;
    bool FUseOuterColor = true;
};

// One line of text whose letters are filled with a tiled wallpaper, optionally over
// engraved copies. The filled text is cached and rebuilt only after the wallpaper, the
// key colour, the caption or the font changed. Owns its wallpaper and the cached image.
class TepBitLabel : public TEffectGControl {
public:
    explicit TepBitLabel(TComponent* AOwner);
    ~TepBitLabel() override;
    const char* ClassName() const override { return "TepBitLabel"; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBitmap* Wallpaper() const { return FWallpaper.get(); }
    void SetWallpaper(TBitmap* Value);   // copies
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor Value);
    bool Text3D() const { return FText3D; }
    void SetText3D(bool Value);
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor Value);
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor Value);
    bool UseInnerColor() const { return FUseInnerColor; }
    void SetUseInnerColor(bool Value);
    bool UseOuterColor() const { return FUseOuterColor; }
    void SetUseOuterColor(bool Value);

    bool NeedsRebuild() const { return FRebuild; }
    int Rebuilds() const { return FRebuilds; }
    const TBitmap* TextImage() const { return FTextImage.get(); }

protected:
    void PaintFace() override;
    void CMTextChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;

private:
    void Rebuild(TCanvas* C);

    TAlignment FAlignment = taLeftJustify;
    std::unique_ptr<TBitmap> FWallpaper;
    std::unique_ptr<TBitmap> FTextImage;
    bool FRebuild = true;
    int FRebuilds = 0;
    TColor FTransparentColor = clWhite;
    bool FText3D = false;
    TColor FInnerColor = clBtnHighlight;
    TColor FOuterColor = clBtnShadow;
    bool FUseInnerColor = true;
    bool FUseOuterColor = true;
};
