#include "effectlib/BoxCtrls.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace {

bool HasPicture(const TBitmap* b) { return b->Width() > 0 && b->Height() > 0; }

// Tiles Wallpaper over Strip from its top-left corner; a wallpaper without pixels leaves
// the strip as it is (it counts as none).
void TileStrip(TBitmap* Strip, TBitmap* Wallpaper, int W, int H)
{
    if (!HasPicture(Wallpaper))
        return;
    Strip->SetSize(std::max(W, 0), std::max(H, 0));
    int cols = W / Wallpaper->Width(), rows = H / Wallpaper->Height();
    for (int a = 0; a <= cols; ++a)
        for (int b = 0; b <= rows; ++b)
            Strip->Canvas()->Draw(a * Wallpaper->Width(), b * Wallpaper->Height(), Wallpaper);
}

} // namespace

int GetItemHeight(TFont* Font)
{
    TBitmap screen;
    screen.SetSize(1, 1);
    screen.Canvas()->SetFont(Font);
    return screen.Canvas()->TextHeight("0") + 1;
}

template <class TBase>
TepItemBox<TBase>::TepItemBox(TComponent* AOwner)
    : TBase(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
    , FSelectGlyph(std::make_unique<TBitmap>())
    , FItemWallPaper(std::make_unique<TBitmap>())
    , FSelectItemWallPaper(std::make_unique<TBitmap>())
    , FItemStrip(std::make_unique<TBitmap>())
    , FSelectStrip(std::make_unique<TBitmap>())
{
    FSelectColor = this->Color();
    // A form description fills the owned bitmaps directly ("ItemWallPaper.Data"): the
    // strips follow every change of a wallpaper, the face every change of a glyph.
    auto rebuild = TNotifyEvent::FromFunction([this](TObject*) {
        DoFullWallPaper();
        this->Invalidate();
    });
    auto repaint = TNotifyEvent::FromFunction([this](TObject*) { this->Invalidate(); });
    FItemWallPaper->OnChange = rebuild;
    FSelectItemWallPaper->OnChange = rebuild;
    FGlyph->OnChange = repaint;
    FSelectGlyph->OnChange = repaint;
}

template <class TBase>
TepItemBox<TBase>::~TepItemBox() = default;

template <class TBase>
void TepItemBox<TBase>::SetImageList(TImageList* Value)
{
    if (FImageList && FImageList != Value)
        this->RemoveFreeNotification(FImageList);
    this->SetReference(FImageList, Value);
    this->Invalidate();
}

template <class TBase>
void TepItemBox<TBase>::SetOffset(uint8_t Value) { FOffset = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetTransparentSelect(bool Value) { FTransparentSelect = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetUseFocusFrame(bool Value) { FUseFocusFrame = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetInnerFocusColor(TColor Value) { FInnerFocusColor = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetOuterFocusColor(TColor Value) { FOuterFocusColor = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetSelectTextColor(TColor Value) { FSelectTextColor = Value; this->Invalidate(); }
template <class TBase>
void TepItemBox<TBase>::SetSelectColor(TColor Value) { FSelectColor = Value; this->Invalidate(); }

template <class TBase>
void TepItemBox<TBase>::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    this->Invalidate();
}

template <class TBase>
void TepItemBox<TBase>::SetSelectGlyph(TBitmap* Value)
{
    FSelectGlyph->Assign(Value);
    this->Invalidate();
}

template <class TBase>
void TepItemBox<TBase>::SetItemWallPaper(TBitmap* Value)
{
    FItemWallPaper->Assign(Value);
    DoFullWallPaper();
    this->Invalidate();
}

template <class TBase>
void TepItemBox<TBase>::SetSelectItemWallPaper(TBitmap* Value)
{
    FSelectItemWallPaper->Assign(Value);
    DoFullWallPaper();
    this->Invalidate();
}

template <class TBase>
int TepItemBox<TBase>::StripWidth() const
{
    if constexpr (IsList) {
        if (this->Columns() > 1)
            return this->Width() / this->Columns();
    }
    return this->Width();
}

template <class TBase>
void TepItemBox<TBase>::DoFullWallPaper()
{
    int w = StripWidth(), h = this->ItemHeight();
    TileStrip(FItemStrip.get(), FItemWallPaper.get(), w, h);
    TileStrip(FSelectStrip.get(), FSelectItemWallPaper.get(), w, h);
    if constexpr (IsList) {
        if (!HasPicture(FItemWallPaper.get()) && !FItemStrip->Empty())
            FItemStrip->SetSize(0, 0);
        if (!HasPicture(FSelectItemWallPaper.get()) && !FSelectStrip->Empty())
            FSelectStrip->SetSize(0, 0);
    }
}

template <class TBase>
void TepItemBox<TBase>::ResetItemHeight()
{
    int h = GetItemHeight(this->Font());
    if (IsList || h > this->ItemHeight())
        this->SetItemHeight(h);
}

template <class TBase>
int TepItemBox<TBase>::TextY(const TRect& Rect, const std::string& Text)
{
    TBitmap screen;
    screen.SetSize(1, 1);
    screen.Canvas()->SetFont(this->Font());
    return (Rect.Bottom - Rect.Top) / 2 + Rect.Top - screen.Canvas()->TextHeight(Text) / 2;
}

template <class TBase>
void TepItemBox<TBase>::CNDrawItem(TMessage& Message)
{
    auto* dis = reinterpret_cast<TDrawItemStruct*>(Message.LParam);
    TCanvas* c = this->Canvas();
    c->SetFont(this->Font());
    c->SetBrush(this->Brush());
    c->Brush()->SetColor(this->Color());
    const TRect& r = dis->rcItem;
    if (dis->itemID >= 0 && (dis->itemState & odSelected)) {
        c->Brush()->SetColor(FSelectColor);
        c->Font()->SetColor(FSelectTextColor);
    }
    if (dis->itemID >= 0)
        DrawItem(dis->itemID, r, dis->itemState);
    if constexpr (IsList) {
        // The empty list with the focus: one item's background under the frame.
        if (dis->itemID == -1) {
            if (!HasPicture(FItemWallPaper.get()))
                c->FillRect(r);
            else
                c->Draw(r.Left, r.Top, FItemStrip.get());
        }
    }
    if (dis->itemState & odFocused) {
        if (FUseFocusFrame) {
            Frm3D(c, r, FInnerFocusColor, FOuterFocusColor, 1);
        } else {
            c->Brush()->SetStyle(bsSolid);
            c->DrawFocusRect(r);
        }
    }
    Message.Result = 1;
}

template <class TBase>
void TepItemBox<TBase>::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* c = this->Canvas();
    const int L = Rect.Left + FOffset;
    const int midY = (Rect.Bottom - Rect.Top) / 2 + Rect.Top;
    const bool selected = (State & odSelected) != 0;

    bool own = selected && !FTransparentSelect;
    TBitmap* wall = own ? FSelectItemWallPaper.get() : FItemWallPaper.get();
    TBitmap* strip = own ? FSelectStrip.get() : FItemStrip.get();
    if (!HasPicture(wall))
        c->FillRect(Rect);
    else
        c->Draw(Rect.Left, Rect.Top, strip);

    if (this->OnDrawItem) {
        this->OnDrawItem(this, Index, Rect, State);
        return;
    }
    // Both boxes stop here for an index past the items: there is no text to read.
    if (Index < 0 || Index >= this->Items()->Count())
        return;
    c->Brush()->SetStyle(bsClear);
    std::string text = this->Items()->Get(Index);
    int textY = midY - c->TextHeight(text) / 2;
    if (FImageList && Index < FImageList->Count()) {
        FImageList->Draw(c, L, midY - FImageList->Height() / 2, Index, true);
        c->TextOut(L + FImageList->Width() + 2, textY, text);
        return;
    }
    TBitmap* g = selected ? FSelectGlyph.get() : FGlyph.get();
    int gw = 0;
    if (!g->Empty()) {
        DrawBitmapTransparent(c, L, midY - g->Height() / 2, g, GetTransparentColor(g));
        gw = g->Width();
    }
    c->TextOut(L + gw + 2, textY, text);
}

template <class TBase>
void TepItemBox<TBase>::Notification(TComponent* AComponent, TOperation Operation)
{
    TBase::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList) {
        FImageList = nullptr;
        this->Invalidate();   // the items go back to their glyphs
    }
}

template <class TBase>
void TepItemBox<TBase>::WMSize(TMessage& Message)
{
    TBase::WMSize(Message);
    DoFullWallPaper();
    this->Invalidate();
}

template <class TBase>
void TepItemBox<TBase>::CMFontChanged(TMessage& Message)
{
    TBase::CMFontChanged(Message);
    ResetItemHeight();
    this->RecreateWnd();
}

template class TepItemBox<TCustomListBox>;
template class TepItemBox<TCustomComboBox>;

TepListBox::TepListBox(TComponent* AOwner)
    : TepItemBox<TCustomListBox>(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
}

TepCustomComboBox::TepCustomComboBox(TComponent* AOwner)
    : TepItemBox<TCustomComboBox>(AOwner)
{
    SetStyle(csOwnerDrawFixed);
}

#define ITEMBOX_HEAD(C)                                                                   \
    .Reference("ImageList", &C::ImageList, &C::SetImageList)                              \
        .Int("Offset", &C::Offset, &C::SetOffset)
#define ITEMBOX_TAIL(C)                                                                   \
    .Bool("TransparentSelect", &C::TransparentSelect, &C::SetTransparentSelect)       \
        .Bool("UseFocusFrame", &C::UseFocusFrame, &C::SetUseFocusFrame)                   \
        .Object("Glyph", &C::Glyph)                                                       \
        .Object("SelectGlyph", &C::SelectGlyph)                                           \
        .Object("ItemWallPaper", &C::ItemWallPaper)                                       \
        .Object("SelectItemWallPaper", &C::SelectItemWallPaper)                           \
        .Color("InnerFocusColor", &C::InnerFocusColor, &C::SetInnerFocusColor)            \
        .Color("OuterFocusColor", &C::OuterFocusColor, &C::SetOuterFocusColor)            \
        .Color("SelectTextColor", &C::SelectTextColor, &C::SetSelectTextColor)            \
        .Color("SelectColor", &C::SelectColor, &C::SetSelectColor)

// The list box publishes its owner-draw event among its own properties; the combo box has
// it among the framework's.
BEGIN_PROPERTIES(TepListBox, TCustomListBox)
    ITEMBOX_HEAD(TepListBox)
    .Event("OnDrawItem", &TepListBox::OnDrawItem)
    ITEMBOX_TAIL(TepListBox)
END_PROPERTIES

BEGIN_PROPERTIES(TepCustomComboBox, TCustomComboBox)
END_PROPERTIES

BEGIN_PROPERTIES(TepComboBox, TepCustomComboBox)
    ITEMBOX_HEAD(TepComboBox)
    ITEMBOX_TAIL(TepComboBox)
END_PROPERTIES
