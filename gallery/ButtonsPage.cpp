#include "gallery/ButtonsPage.h"

#include "effectlib/EPButtons.h"
#include "framework/controls/Form.h"

bool WireButtonsPage(TComponent* C, TForm* Page, const TGalleryReport& Report)
{
    if (auto* s = dynamic_cast<TepSpeedButton*>(C)) {
        s->OnClick = TNotifyEvent::FromFunction([Report, s](TObject*) {
            Report(s, s->GroupIndex() ? std::string("OnClick, Down ") + (s->Down() ? "True" : "False")
                                      : std::string("OnClick"));
        });
        s->OnDblClick = TNotifyEvent::FromFunction([Report, s](TObject*) { Report(s, "OnDblClick"); });
        return true;
    }
    if (auto* c = dynamic_cast<TepColorButton*>(C)) {
        c->OnChange = TNotifyEvent::FromFunction([Report, c, Page](TObject*) {
            if (auto* panel = dynamic_cast<TControl*>(Page->FindComponent("pnlChosen")))
                panel->SetColor(c->ColorValue());
            Report(c, "OnChange, ColorValue " + ColorToString(c->ColorValue()));
        });
        return true;
    }
    auto wire = [&](auto* b) {
        b->OnClick = TNotifyEvent::FromFunction([Report, b](TObject*) { Report(b, "OnClick"); });
        return true;
    };
    if (auto* b = dynamic_cast<TepLabelButton*>(C))
        return wire(b);
    if (auto* b = dynamic_cast<TepEfButton*>(C))
        return wire(b);
    if (auto* b = dynamic_cast<TFocusGlyphButton*>(C))
        return wire(b);
    return false;
}
