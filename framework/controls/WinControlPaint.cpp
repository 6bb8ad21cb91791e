// Painting of windowed controls: update regions, visible regions, the paint pass and
// the painting of graphic children.
#include "framework/controls/Form.h"
#include "framework/controls/WinControl.h"
#include "platform/raster/Dc.h"

namespace {

plat::Rect ToPlat(const TRect& r) { return { r.Left, r.Top, r.Right, r.Bottom }; }

bool IsWindowed(const TControl* c) { return c->AsWinControl() != nullptr; }

// Whether a visible graphic child that paints every pixel of its bounds (csOpaque) holds
// area, given in client coordinates: its paint covers whatever the background leaves there.
bool UnderOpaqueChild(const std::vector<TControl*>& children, const plat::Rect& area)
{
    for (const TControl* c : children) {
        if (!c->Visible() || !(c->ControlStyle() & csOpaque) || IsWindowed(c))
            continue;
        if (ToPlat(c->BoundsRect()).Contains(area))
            return true;
    }
    return false;
}

plat::Rect Bounds(const TWinControl* w)
{
    TPoint o = w->FormOffset();
    return { o.X, o.Y, o.X + w->Width(), o.Y + w->Height() };
}

// Bounds met with the shape, in form coordinates, into r (reusing its storage). The
// shape is met in the control's own coordinates and the result moved, which needs no
// moved copy of the shape.
void OwnArea(const TWinControl* w, plat::Region& r)
{
    const plat::Region* shape = w->WindowRgn();
    if (!shape) {
        r.SetRect(Bounds(w));
        return;
    }
    r.SetRect({ 0, 0, w->Width(), w->Height() });
    r &= *shape;
    TPoint o = w->FormOffset();
    r.Offset(o.X, o.Y);
}

// The own area of a shaped control, in storage kept per thread.
const plat::Region& ShapedArea(const TWinControl* w)
{
    thread_local plat::Region area;
    OwnArea(w, area);
    return area;
}

// r met with, or less, w's own area; a control without a shape, as most are, costs no
// region of its own.
void MeetArea(plat::Region& r, const TWinControl* w)
{
    if (w->WindowRgn())
        r &= ShapedArea(w);
    else
        r.IntersectRect(Bounds(w));
}

void RemoveArea(plat::Region& r, const TWinControl* w)
{
    if (w->WindowRgn())
        r -= ShapedArea(w);
    else
        r.SubtractRect(Bounds(w));
}

} // namespace

plat::Region TWinControl::WindowArea() const
{
    plat::Region r;
    OwnArea(this, r);
    for (const TWinControl* p = Parent(); p; p = p->Parent())
        MeetArea(r, p);
    return r;
}

plat::Region TWinControl::VisibleRegion() const
{
    plat::Region r;
    VisibleRegion(r);
    return r;
}

void TWinControl::VisibleRegion(plat::Region& r) const
{
    r.Clear();
    if (!Showing() || !GetParentForm())
        return;
    OwnArea(this, r);
    for (const TWinControl* c = this; c->Parent(); c = c->Parent()) {
        const TWinControl* p = c->Parent();
        MeetArea(r, p);
        // Windowed siblings above c hide it.
        bool above = false;
        for (TControl* s : p->FControls) {
            if (s == c) {
                above = true;
                continue;
            }
            auto* ws = s->AsWinControl();
            if (above && ws && ws->Visible())
                RemoveArea(r, ws);
        }
        if (r.Empty())
            return;
    }
    for (TControl* ch : FControls) {
        auto* wc = ch->AsWinControl();
        if (wc && wc->Visible())
            RemoveArea(r, wc);
    }
}

// As InvalidateRgn with the rectangle's region, without building one.
void TWinControl::InvalidateRect(const TRect* r, bool erase)
{
    if (!Showing())
        return;
    plat::Rect add = ToPlat(ClientRect());
    if (r)
        add = add.Intersect(ToPlat(*r));
    if (add.Empty())
        return;
    FUpdateRgn.UnionRect(add);
    if (erase)
        FEraseRgn.UnionRect(add);
}

// The pending area is kept within the client area; a window that is not showing keeps
// nothing, since it is painted whole when it appears.
void TWinControl::InvalidateRgn(const plat::Region* rgn, bool erase)
{
    if (!rgn) {
        InvalidateRect(nullptr, erase);
        return;
    }
    if (!Showing())
        return;
    const plat::Rect client = ToPlat(ClientRect());
    // A region inside the client area, as a repaint's usually is, is taken as it is.
    const plat::Rect b = rgn->Bounds();
    if (!rgn->Empty() && b.left >= client.left && b.top >= client.top
        && b.right <= client.right && b.bottom <= client.bottom) {
        FUpdateRgn |= *rgn;
        if (erase)
            FEraseRgn |= *rgn;
        return;
    }
    plat::Region add = *rgn;
    add.IntersectRect(client);
    if (add.Empty())
        return;
    FUpdateRgn |= add;
    if (erase)
        FEraseRgn |= add;
}

void TWinControl::ValidateRect(const TRect* r)
{
    if (!r) {
        ValidateRgn(nullptr);
        return;
    }
    plat::Region rgn(ToPlat(*r));
    ValidateRgn(&rgn);
}

void TWinControl::ValidateRgn(const plat::Region* rgn)
{
    if (!rgn) {
        FUpdateRgn.Clear();
        FEraseRgn.Clear();
        return;
    }
    FUpdateRgn -= *rgn;
    FEraseRgn -= *rgn;
}

void TWinControl::Invalidate() { InvalidateRect(nullptr, !(FControlStyle & csOpaque)); }

void TWinControl::Update()
{
    if (!FUpdateRgn.Empty())
        Perform(WM_PAINT, 0, 0);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::InvalidateFormArea(const plat::Region& area, bool erase)
{
    if (area.Empty())
        return;
    plat::Region mine = area;
    mine &= VisibleRegion();
    if (!mine.Empty()) {
        TPoint o = FormOffset();
        mine.Offset(-o.X, -o.Y);
        InvalidateRgn(&mine, erase);
    }
    for (TControl* c : FControls) {
        if (auto* w = c->AsWinControl(); w && w->Visible())
            w->InvalidateFormArea(area, erase);
    }
}

void TWinControl::PaintPendingTree()
{
    auto alive = AliveToken();
    Update();
    if (!*alive)
        return;
    // Children may be removed while they paint: walk a copy.
    std::vector<TWinControl*> children;
    for (TControl* c : FControls) {
        if (auto* w = c->AsWinControl())
            children.push_back(w);
    }
    for (TWinControl* w : children) {
        if (ContainsControl(w) && w->Visible())
            w->PaintPendingTree();
    }
}

void TWinControl::WMPaint(TMessage& Message) { PaintHandler(Message); }

// Without a context this is the begin-paint of the pending area: the update region (and
// its erase part) is taken and cleared first, so that what is invalidated while painting
// stays pending; the background is erased where asked, then the face and the graphic
// children are painted, all clipped to the update area.
void TWinControl::PaintHandler(TMessage& Message)
{
    if (plat::Dc* dc = MessageDc(Message.WParam)) {
        int saved = dc->Save();
        for (TControl* c : FControls) {
            if (!IsWindowed(c) && c->Visible() && (c->ControlStyle() & csOpaque))
                dc->ExcludeClipRect(ToPlat(c->BoundsRect()));
        }
        PaintContents(dc);
        dc->Restore(saved);
        PaintControls(dc, nullptr);
        return;
    }
    PaintBegin();
}

void TWinControl::PaintBegin()
{
    TCustomForm* form = GetParentForm();
    if (!form || !Showing() || !form->Visible())
        return;
    TPoint off = FormOffset();
    // The regions take the storage kept from the last paint and hand it back at the end;
    // a paint nested in this one finds none kept and makes its own.
    TPaintRegions rgn = std::move(FPaintRegions);
    VisibleRegion(rgn.visible);
    // The pending areas are taken whole; the regions left in their place, emptied, keep
    // storage for what is invalidated next.
    std::swap(rgn.update, FUpdateRgn);
    std::swap(rgn.erase, FEraseRgn);
    FUpdateRgn.Clear();
    FEraseRgn.Clear();
    rgn.update.Offset(off.X, off.Y);
    rgn.update &= rgn.visible;
    // The erase area never leaves the update area (both grow together and shrink
    // together), so meeting it with what is visible meets it with the update area.
    rgn.erase.Offset(off.X, off.Y);
    rgn.erase &= rgn.visible;
    if (!rgn.update.Empty()) {
        form->PaintInto(rgn.update, this, [&](plat::Dc* dc) {
            if (!rgn.erase.Empty()) {
                // The erase area lies within the update area, the base clip, so it serves
                // as the base clip of the erase: the pixels of a clip region within the
                // update area, without meeting the two. Under an opaque graphic child
                // that holds all of it the erase is painted over at once, so it is made,
                // for what the handler does besides, but clipped to nothing.
                int saved = dc->Save();
                // The offset is asked for again rather than captured: the paint function
                // stays small enough for std::function to hold it without allocating.
                const TPoint o = FormOffset();
                const plat::Rect e = rgn.erase.Bounds().Offset(-o.X, -o.Y);
                if (UnderOpaqueChild(FControls, e))
                    dc->SetBaseClip(plat::Region());
                else
                    dc->SetBaseClip(rgn.erase);
                Perform(WM_ERASEBKGND, WPARAM(dc), 0);
                dc->Restore(saved);
                dc->SetBaseClip(rgn.update);
            }
            Perform(WM_PAINT, WPARAM(dc), 0);
        });
    }
    FPaintRegions = std::move(rgn);
}

void TWinControl::PaintWindow(plat::Dc* dc)
{
    Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    PaintContents(dc);
}

void TWinControl::PaintControls(plat::Dc* dc, TControl* first)
{
    size_t i = 0;
    if (first) {
        while (i < FControls.size() && FControls[i] != first)
            ++i;
        if (i == FControls.size())
            return;
    }
    plat::Rect clip = dc->ClipBox();
    // Painting may add or remove children: go by index and re-check the bounds.
    for (; i < FControls.size(); ++i) {
        TControl* c = FControls[i];
        if (IsWindowed(c))
            break;
        if (!c->Visible())
            continue;
        plat::Rect b = ToPlat(c->BoundsRect());
        if (b.Intersect(clip).Empty())
            continue;
        int saved = dc->Save();
        dc->OffsetOrigin(c->Left(), c->Top());
        dc->IntersectClipRect({ 0, 0, c->Width(), c->Height() });
        c->Perform(WM_PAINT, WPARAM(dc), 0);
        dc->Restore(saved);
    }
}

// The background is the client area in the brush of Color; answering 1 says it is done.
void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    plat::Dc* dc = MessageDc(Message.WParam);
    if (!dc)
        return;
    dc->FillRect(ToPlat(ClientRect()), ColorToRGB(FBrush->Color()) & 0xFFFFFF);
    Message.Result = 1;
}

void TWinControl::SetWindowRgn(const plat::Region* region, bool redraw)
{
    plat::Region before = Showing() ? WindowArea() : plat::Region();
    if (region)
        FWindowRgn = std::make_unique<plat::Region>(*region);
    else
        FWindowRgn.reset();
    if (!redraw || !Showing())
        return;
    if (TCustomForm* form = GetParentForm()) {
        plat::Region after = WindowArea();
        plat::Region uncovered = plat::Region::Combine(before, after, plat::RegionOp::Diff);
        form->InvalidateFormArea(uncovered, true);
        InvalidateFormArea(after, true);
    }
}
