#include "Panel.h"
#include "Lamp.h"

#include <effectlib/Bmslider.h>
#include <framework/core/TypInfo.h>
#include <framework/graphics/Bitmap.h>
#include <framework/graphics/Canvas.h>
#include <rackctls/RackCtls.h>

#include <memory>

namespace {

// The form description, kept as text in PanelForm.inc.
const char* const PanelFormText =
#include "PanelForm.inc"
    ;

// A slider's images are bitmaps; here they are drawn in code. The key colour (the
// bottom-left pixel) is magenta: the thumb's corners and the ruler around its groove let
// the plate show through.
std::unique_ptr<TBitmap> ThumbImage()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(40, 16);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect{0, 0, 40, 16});
    c->Brush()->SetColor(clNavy);
    c->Pen()->SetColor(clBlack);
    c->RoundRect(1, 1, 39, 15, 6, 6);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(6, 8);
    c->LineTo(34, 8);
    return b;
}

std::unique_ptr<TBitmap> RulerImage()
{
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(50, 40);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect{0, 0, 50, 40});
    c->Brush()->SetColor(clGray);
    c->FillRect(TRect{21, 2, 29, 38});
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect{23, 4, 27, 36});
    return b;
}

} // namespace

TfrmPanel::TfrmPanel(TComponent* AOwner)
    : TForm(AOwner)
{
    InitInheritedComponent(PanelFormText);
}

// Runs once the form description is read: the slider gets its images and the display
// its first value.
void TfrmPanel::FormCreate(TObject*)
{
    sliderValue->SetImage(siVThumb, ThumbImage().get());
    sliderValue->SetImage(siVRuler, RulerImage().get());
    sliderValue->SetNumThumbStates(1);
    sliderValue->SetThumbTransparent(true);
    dispValue->SetValue(sliderValue->Value());
}

void TfrmPanel::sliderValueChange(TObject*) { dispValue->SetValue(sliderValue->Value()); }

void TfrmPanel::btnLightClick(TObject*)
{
    btnLight->SetStateOn(!btnLight->StateOn());
    lamp->SetLit(btnLight->StateOn());
}

// The published table: what the form reader may set and bind by name.
BEGIN_PROPERTIES(TfrmPanel, TForm)
    PUBLISHED_FIELD(plate)
    PUBLISHED_FIELD(dispValue)
    PUBLISHED_FIELD(btnLight)
    PUBLISHED_FIELD(sliderValue)
    PUBLISHED_FIELD(lamp)
    PUBLISHED_METHOD(FormCreate)
    PUBLISHED_METHOD(sliderValueChange)
    PUBLISHED_METHOD(btnLightClick)
END_PROPERTIES
