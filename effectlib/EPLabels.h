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
