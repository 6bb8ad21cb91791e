#include "effectlib/EPLabels.h"

#include "effectlib/Effbmp.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"

namespace {

const std::vector<std::string> AlignmentNames { "taLeftJustify", "taRightJustify", "taCenter" };

// Where the caption goes in a face of the label's size, measured on canvas.
TPoint CaptionOrigin(TCanvas* canvas, const std::string& caption, TAlignment alignment,
    int width, int height, int shadowOffset)
{
    const TSize extent = canvas->TextExtent(caption);
    int x = 1;
    if (alignment == taRightJustify)
        x = width - extent.cx - shadowOffset - 1;
    else if (alignment == taCenter)
        x = width / 2 - extent.cx / 2;
    return { x, height / 2 - extent.cy / 2 - shadowOffset / 2 };
}

} // namespace

TepShadowLabel::TepShadowLabel(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 65, 17);
    SetTransparent(false);
    SetCaption("");
}

void TepShadowLabel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    XPaint();
}

void TepShadowLabel::SetShadowOffset(uint8_t Value)
{
    FShadowOffset = Value;
    XPaint();
}

void TepShadowLabel::SetBlurShadow(bool Value)
{
    FBlurShadow = Value;
    XPaint();
}

void TepShadowLabel::CMTextChanged(TMessage&) { XPaint(); }

TPoint TepShadowLabel::TextOrigin()
{
    TBitmap scratch;
    scratch.Canvas()->SetFont(Font());
    return CaptionOrigin(scratch.Canvas(), Caption(), FAlignment, Width(), Height(),
        FShadowOffset);
}

// The shadow's shape is drawn in black on a white mask; the face is halved wherever the
// mask is exactly black (the grey edge pixels of smoothed text do not count), optionally
// blurred there, and the caption is written over it in the font's colour.
void TepShadowLabel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* canvas = face->Canvas();
    const std::string& caption = Caption();
    const TPoint at = CaptionOrigin(canvas, caption, FAlignment, Width(), Height(), FShadowOffset);
    const int so = FShadowOffset;

    TBitmap mask;
    mask.SetSize(face->Width(), face->Height());
    TCanvas* mc = mask.Canvas();
    mc->Brush()->SetColor(clWhite);
    mc->Brush()->SetStyle(bsSolid);
    mc->FillRect(Rect(0, 0, mask.Width(), mask.Height()));
    mc->SetFont(Font());
    mc->Font()->SetColor(RGB(0, 0, 0));
    mc->Brush()->SetStyle(bsClear);
    if (FBlurShadow) {
        for (int i = -1; i <= 1; ++i)
            mc->TextOut(at.X + so + i, at.Y + so + i, caption);
    } else {
        mc->TextOut(at.X + so, at.Y + so, caption);
        mc->TextOut(at.X + so + 1, at.Y + so + 1, caption);
    }

    TEffectBmp shade(face);
    const TEffectBmp shape(&mask);
    shade.HalveOutside(shape);
    if (FBlurShadow)
        shade.MaskSplitBlur(&shape, 1);
    shade.Draw(canvas, 0, 0);

    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(Font()->Color());
    canvas->TextOut(at.X, at.Y, caption);
}

BEGIN_PROPERTIES(TepShadowLabel, TEffectGControl)
    .Enum("Alignment", &TepShadowLabel::Alignment, &TepShadowLabel::SetAlignment, AlignmentNames)
        .Default(taLeftJustify)
    .Bool("BlurShadow", &TepShadowLabel::BlurShadow, &TepShadowLabel::SetBlurShadow)
    .Int("ShadowOffset", &TepShadowLabel::ShadowOffset, &TepShadowLabel::SetShadowOffset)
END_PROPERTIES
