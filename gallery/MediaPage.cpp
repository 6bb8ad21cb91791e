#include "gallery/MediaPage.h"

#include "effectlib/EPCtrls.h"
#include "effectlib/Medialib.h"
#include "effectlib/mediabtn.h"

namespace {

template <class C>
void ReportClicks(C* c, const TGalleryReport& Report)
{
    c->OnClick = TNotifyEvent::FromFunction([c, Report](TObject*) { Report(c, "OnClick"); });
}

} // namespace

bool WireMediaControl(TComponent* C, const TGalleryReport& Report)
{
    if (auto* m = dynamic_cast<TepMorphing*>(C)) {
        m->OnClick = TNotifyEvent::FromFunction([m, Report](TObject*) {
            if (m->Position() >= 1.0)
                m->SetDirect(m->Direct() == mdForward ? mdBackward : mdForward);
            m->Morphing();
            Report(m, m->Direct() == mdForward ? "OnClick, fading forward" : "OnClick, fading back");
        });
    } else if (auto* b = dynamic_cast<TepMediaButton*>(C)) {
        ReportClicks(b, Report);
    } else if (auto* l = dynamic_cast<TepCustomButton*>(C)) {
        ReportClicks(l, Report);
    } else if (auto* s = dynamic_cast<TepSphereButton*>(C)) {
        ReportClicks(s, Report);
    } else if (auto* t = dynamic_cast<TepTracker*>(C)) {
        t->OnMouseEnter = TNotifyEvent::FromFunction([t, Report](TObject*) { Report(t, "OnMouseEnter"); });
        t->OnMouseLeave = TNotifyEvent::FromFunction([t, Report](TObject*) { Report(t, "OnMouseLeave"); });
    } else if (auto* p = dynamic_cast<TepSplitter*>(C)) {
        p->OnMoved = TNotifyEvent::FromFunction([p, Report](TObject*) {
            TControl* beside = p->FindControl();
            Report(p, "OnMoved, width " + std::to_string(beside ? beside->Width() : 0));
        });
    } else {
        return false;
    }
    return true;
}
