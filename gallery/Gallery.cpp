#include "gallery/Gallery.h"

#include "gallery/ButtonsPage.h"

#include "effectlib/BoxCtrls.h"
#include "effectlib/EPButtons.h"
#include "effectlib/EPCtrls.h"
#include "effectlib/EPGauges.h"
#include "effectlib/EPLabels.h"
#include "effectlib/Indictrls.h"
#include "framework/core/SysUtils.h"
#include "gallery/MediaPage.h"

#include <cstdio>

// The page texts, embedded at build time.
extern const char* const GalleryInstrumentsText;
extern const char* const GalleryButtonsText;
extern const char* const GalleryBoxesText;
extern const char* const GalleryMediaText;

const std::vector<TGalleryPage>& GalleryPages()
{
    static const std::vector<TGalleryPage> pages {
        { "instruments", GalleryInstrumentsText },
        { "buttons", GalleryButtonsText },
        { "boxes", GalleryBoxesText },
        { "media", GalleryMediaText },
    };
    return pages;
}

const TGalleryPage* FindGalleryPage(const std::string& Name)
{
    for (const TGalleryPage& p : GalleryPages())
        if (p.Name == Name)
            return &p;
    return nullptr;
}

TfrmGallery::TfrmGallery(TComponent* AOwner)
    : TForm(AOwner)
{
    SetCaption("Control gallery");
    int x = 8;
    for (const TGalleryPage& p : GalleryPages()) {
        auto* tab = new TepShadowBtn(this);
        tab->SetParent(this);
        tab->SetBounds(x, 0, 96, 34);
        tab->SetCaption(p.Name);
        tab->SetBtnColor(clTeal);
        tab->Font()->SetColor(clWhite);
        const std::string name = p.Name;
        tab->OnClick = TNotifyEvent::FromFunction([this, name](TObject*) { ShowPage(name); });
        FTabs.push_back(tab);
        x += 100;
    }
    FStatus = new TepLabel(this);
    FStatus->SetParent(this);
    FStatus->SetText3D(false);
    FStatus->Font()->SetName("Arial");
    FStatus->Font()->SetHeight(-12);
    ShowPage(GalleryPages().front().Name);
}

// The page's controls stand on this window but belong to the page: they go first.
TfrmGallery::~TfrmGallery()
{
    delete FPage;
    FPage = nullptr;
}

std::string TfrmGallery::Status() const { return FStatus->Caption(); }

void TfrmGallery::Report(TComponent* Sender, const std::string& Event)
{
    FStatus->SetCaption(Sender->Name() + ": " + Event);
    if (EchoStatus) {
        std::printf("%s\n", FStatus->Caption().c_str());
        std::fflush(stdout);
    }
}

// The default fader drives the gauges and the number panel of its page.
void TfrmGallery::FaderMoved(TComponent* Sender, int Value)
{
    Report(Sender, "OnChange, Value " + std::to_string(Value));
    if (Sender->Name() != "fadDefault" || !FPage)
        return;
    if (auto* g = dynamic_cast<TepGauge*>(FPage->FindComponent("ggH")))
        g->SetProgress(Value);
    if (auto* g = dynamic_cast<TepEffectGauge*>(FPage->FindComponent("egH")))
        g->SetProgress(Value);
    if (auto* g = dynamic_cast<TepIndiGauge*>(FPage->FindComponent("lbLed")))
        g->SetProgress(Value);
    if (auto* n = dynamic_cast<TepNumPanel*>(FPage->FindComponent("npThree")))
        n->SetValue(Value);
}

void TfrmGallery::Wire(TComponent* C)
{
    const auto report = [this](TComponent* s, const std::string& e) { Report(s, e); };
    if (WireButtonsPage(C, FPage, report) || WireMediaControl(C, report))
        return;
    if (auto* f = dynamic_cast<TepRegulator*>(C)) {
        f->OnChange = TNotifyEvent::FromFunction([this, f](TObject*) { FaderMoved(f, f->Value()); });
    } else if (auto* s = dynamic_cast<TepSwitch*>(C)) {
        s->OnOn = TNotifyEvent::FromFunction([this, s](TObject*) { Report(s, "OnOn"); });
        s->OnOff = TNotifyEvent::FromFunction([this, s](TObject*) { Report(s, "OnOff"); });
    } else if (auto* b = dynamic_cast<TepShadowBtn*>(C)) {
        b->OnClick = TNotifyEvent::FromFunction([this, b](TObject*) { Report(b, "OnClick"); });
    } else if (auto* l = dynamic_cast<TCustomListBox*>(C)) {
        l->OnClick = TNotifyEvent::FromFunction([this, l](TObject*) {
            Report(l, "OnClick, " + (l->ItemIndex() >= 0 ? l->Items()->Get(l->ItemIndex()) : ""));
        });
    } else if (auto* cb = dynamic_cast<TCustomComboBox*>(C)) {
        cb->OnChange = TNotifyEvent::FromFunction(
            [this, cb](TObject*) { Report(cb, "OnChange, " + cb->ItemText()); });
    } else if (auto* ob = dynamic_cast<TepOpenBox*>(C)) {
        ob->OnOpenBox = TNotifyEvent::FromFunction([this, ob](TObject*) { Report(ob, "OnOpenBox"); });
        ob->OnCloseBox = TNotifyEvent::FromFunction([this, ob](TObject*) { Report(ob, "OnCloseBox"); });
    } else if (auto* i = dynamic_cast<TepIndiButton*>(C)) {
        i->OnMouseDown = TMouseEvent::FromFunction(
            [this, i](TObject*, TMouseButton, TShiftState, int, int) { Report(i, "OnMouseDown"); });
    }
}

void TfrmGallery::ShowPage(const std::string& Name)
{
    const TGalleryPage* page = FindGalleryPage(Name);
    if (!page)
        throw Exception("no gallery page named " + Name);
    auto* next = new TForm(nullptr, page->Text);
    next->SetName("");
    if (FPage)
        delete FPage;
    FPage = next;
    FPageName = Name;

    const int w = FPage->ClientWidth(), h = FPage->ClientHeight();
    SetColor(FPage->Color());
    SetClientWidth(w);
    SetClientHeight(h + StripHeight);
    std::vector<TControl*> controls;
    for (int i = 0; i < FPage->ControlCount(); ++i)
        controls.push_back(FPage->Controls(i));
    for (TControl* c : controls)
        c->SetParent(this);
    for (int i = 0; i < FPage->ComponentCount(); ++i)
        Wire(FPage->Components(i));
    int x = 8;
    for (TepShadowBtn* tab : FTabs) {
        tab->SetBounds(x, h + 4, tab->Width(), tab->Height());
        tab->SetBtnColor(tab->Caption() == Name ? clNavy : clTeal);
        x += 100;
    }
    FStatus->SetBounds(x + 8, h + 10, w - x - 16, 20);
    FStatus->SetCaption("Page " + Name + ": try the controls");
}
