#include "effectlib/BoxCtrls.h"

#include "effectlib/Medialib.h"
#include "framework/controls/Form.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Graphic.h"

#include <cctype>

namespace {

// True when Key is the character after a single ampersand in Caption, without regard to
// case ("&&" stands for an ampersand of its own).
bool IsCaptionAccel(char Key, const std::string& Caption)
{
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&')
            continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Caption[i + 1]))
            == std::toupper(static_cast<unsigned char>(Key));
    }
    return false;
}

} // namespace

TepCustomGroupBox::TepCustomGroupBox(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque
        | csDoubleClicks;
    SetBounds(0, 0, 185, 105);
}

void TepCustomGroupBox::SetInnerColor(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepCustomGroupBox::SetOuterColor(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepCustomGroupBox::SetWallpaper(TepBitmap* Value)
{
    if (FWallpaper && FWallpaper != Value)
        RemoveFreeNotification(FWallpaper);
    SetReference(FWallpaper, Value);
    Invalidate();
}

void TepCustomGroupBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
}

// Measured on a bitmap, so that it is right also before the box lies on a form.
int TepCustomGroupBox::CaptionLineHeight()
{
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->SetFont(Font());
    return measure.Canvas()->TextHeight("0");
}

TRect TepCustomGroupBox::ChildArea()
{
    TRect r = ClientRect();
    r.Top += CaptionLineHeight();
    return Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
}

void TepCustomGroupBox::AlignControls(TControl* AControl, TRect& Rect)
{
    Rect.Top += CaptionLineHeight();
    Rect.Left += 2;
    Rect.Top += 2;
    Rect.Right -= 2;
    Rect.Bottom -= 2;
    TCustomControl::AlignControls(AControl, Rect);
}

void TepCustomGroupBox::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    const int th = c->TextHeight("0");
    const int W = Width(), H = Height();

    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    // A picture without pixels is no wallpaper: the fill takes its place.
    if (FWallpaper && FWallpaper->HasPicture()) {
        TGraphic* g = FWallpaper->Graphic();
        FWallpaper->TileDraw(c, 0, 0, W / g->Width(), H / g->Height());
    } else {
        c->FillRect(ClientRect());
    }

    // The dark frame lies one pixel up and left of the light one, so every edge shows a
    // dark and a light line.
    c->Brush()->SetColor(FInnerColor);
    c->FrameRect(Rect(1, th / 2, W, H));
    c->Brush()->SetColor(FOuterColor);
    c->FrameRect(Rect(0, th / 2 - 1, W - 1, H - 1));

    if (!Caption().empty()) {
        TRect r = Rect(8, 0, 0, th);
        c->Brush()->SetColor(Color());
        DrawText(c, Caption(), r, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
        DrawText(c, Caption(), r, DT_SINGLELINE | DT_CENTER);
    }
}

void TepCustomGroupBox::CMDialogChar(TMessage& Message)
{
    if (IsCaptionAccel(char(Message.WParam), Caption()) && CanFocus()) {
        // The focus goes to the first child in tab order that can take it.
        for (TWinControl* w : TabList()) {
            if (w->CanFocus()) {
                w->SetFocus();
                break;
            }
        }
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TepCustomGroupBox::CMTextChanged(TMessage& Message)
{
    TCustomControl::CMTextChanged(Message);
    Invalidate();
    Realign();
}

void TepCustomGroupBox::WMSize(TMessage& Message)
{
    TCustomControl::WMSize(Message);
    Invalidate();
}

// Paint covers the whole control.
void TepCustomGroupBox::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

BEGIN_PROPERTIES(TepCustomGroupBox, TCustomControl)
END_PROPERTIES

BEGIN_PROPERTIES(TepGroupBox, TepCustomGroupBox)
    .Color("InnerColor", &TepGroupBox::InnerColor, &TepGroupBox::SetInnerColor)
    .Color("OuterColor", &TepGroupBox::OuterColor, &TepGroupBox::SetOuterColor)
    .Reference("Wallpaper", &TepGroupBox::Wallpaper, &TepGroupBox::SetWallpaper)
END_PROPERTIES
