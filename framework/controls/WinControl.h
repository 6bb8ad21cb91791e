#pragma once
// TWinControl: a control with a window of its own inside its form: it holds child
// controls, can take the focus and receives keys, and is painted through its own update
// region. The window's device clip is its bounds within its parent's client area, met
// with its optional shape region, less its windowed children and the windowed siblings
// above it (at every level up to the form). Graphic children are painted by their parent,
// after its face. The children list is kept in stacking order, bottom first, with the
// windowed children always above the graphic ones. A windowed control does not own its
// children (their owner does); children still present when it is destroyed are detached.
// GUI thread only.

#include "framework/graphics/Brush.h"
#include "framework/controls/Control.h"
#include "platform/raster/Region.h"

#include <memory>
#include <vector>

namespace plat {
class Dc;
}

class TWinControl;
using HWND = TWinControl*;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int i) const { return FControls[size_t(i)]; }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* AControl) const;
    // The topmost visible child control whose bounds contain pos (client coordinates);
    // windowed children only when allowWinControls.
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled,
        bool allowWinControls = false) const;

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // The window exists once the control lies on a form.
    bool HandleAllocated() const;
    HWND Handle() { return this; }

    // The window's shape, in its own coordinates (a copy is kept; nullptr: rectangular).
    // Hit testing and clipping follow it.
    void SetWindowRgn(const plat::Region* region, bool redraw);
    const plat::Region* WindowRgn() const { return FWindowRgn.get(); }

    // The pending paint, in client coordinates. Null means the whole client area.
    void InvalidateRect(const TRect* r, bool erase);
    void InvalidateRgn(const plat::Region* rgn, bool erase);
    void ValidateRect(const TRect* r);
    void ValidateRgn(const plat::Region* rgn);
    const plat::Region& UpdateRegion() const { return FUpdateRgn; }
    const plat::Region& EraseRegion() const { return FEraseRgn; }
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    // What this window may paint, in form (framebuffer) coordinates.
    plat::Region VisibleRegion() const;
    void VisibleRegion(plat::Region& out) const;   // into out, reusing its storage
    // The window's area in form coordinates: bounds met with its shape, its parents'
    // areas and the form's client area (windowed siblings and children not taken out).
    plat::Region WindowArea() const;
    // Paints the graphic children from `first` (all when null) upwards that meet the
    // context's clip, each with the origin at its top-left and clipped to its bounds.
    void PaintControls(plat::Dc* dc, TControl* first);
    // Paints the face (background, then PaintContents) into a context whose origin and
    // clip the caller set; the update region is left alone.
    virtual void PaintWindow(plat::Dc* dc);
    // Pixels painted by this window's paints so far (statistics).
    int64_t PaintedPixels() const { return FPaintedPixels; }

    TBrush* Brush() const { return FBrush.get(); }

    // Sends the message to every child until one answers with a non-zero Result.
    void Broadcast(TMessage& Message);
    void NotifyControls(uint32_t Msg);

    // Writer order: the child controls that root owns, in stacking order; a root then
    // adds the components it owns that have no parent.
    void GetChildren(std::function<void(TComponent*)> proc, TComponent* root) override;

    // Our windows keep no platform state to rebuild: recreating one realigns its
    // children and repaints it whole.
    void RecreateWnd();
    int RecreateCount() const { return FRecreateCount; }

    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;

    virtual void PaintContents(plat::Dc*) { }
    // Paints the pending update area now (WM_PAINT without a context), or the face and
    // children into a given context.
    void PaintHandler(TMessage& Message);
    virtual void AdjustClientRect(TRect& r) const { (void)r; }
    void Loaded() override;
    virtual void AlignControls(TControl* AControl, TRect& r);

    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();

    void WMPaint(TMessage& Message) override;
    void WMEraseBkgnd(TMessage& Message) override;
    void WMKeyDown(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMDialogKey(TMessage& Message) override;
    void CMFocusChanged(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void WndProc(TMessage& Message) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void UpdateVisibility(bool value) override;
    void SetZOrder(TControl* AControl, bool topmost);

    // Marks an area (form coordinates) as pending in every window of the form that shows
    // part of it.
    void InvalidateFormArea(const plat::Region& area, bool erase);
    void ShowingChanged(bool nowShowing, const plat::Region& areaBefore);
    // Paints the pending area of this window and of its windowed descendants, parents first.
    void PaintPendingTree();

    bool FTabStop = false;

private:
    bool IsControlMouseMsg(TMessage& Message);
    void PaintBegin();
public:
    // Every windowed control inside, in tab order, depth first.
    std::vector<TWinControl*> TabList() const;

private:
    void AddTabList(std::vector<TWinControl*>& list) const;

    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabOrderList;
    std::unique_ptr<plat::Region> FWindowRgn;
    plat::Region FUpdateRgn;
    plat::Region FEraseRgn;
    // Storage for the regions of a paint, kept from one paint to the next.
    struct TPaintRegions {
        plat::Region visible, update, erase;
    };
    TPaintRegions FPaintRegions;
    int64_t FPaintedPixels = 0;
    std::unique_ptr<TBrush> FBrush;
    int FAlignLevel = 0;
    bool FAligning = false;
    int FRecreateCount = 0;
};

// The classic window calls on a windowed control's handle.
inline void InvalidateRect(HWND wnd, const TRect* r, bool erase)
{
    if (wnd)
        wnd->InvalidateRect(r, erase);
}
inline void InvalidateRgn(HWND wnd, const plat::Region* rgn, bool erase)
{
    if (wnd)
        wnd->InvalidateRgn(rgn, erase);
}
inline void ValidateRect(HWND wnd, const TRect* r)
{
    if (wnd)
        wnd->ValidateRect(r);
}
inline void ValidateRgn(HWND wnd, const plat::Region* rgn)
{
    if (wnd)
        wnd->ValidateRgn(rgn);
}
inline void UpdateWindow(HWND wnd)
{
    if (wnd)
        wnd->Update();
}
inline void SetWindowRgn(HWND wnd, const plat::Region* rgn, bool redraw)
{
    if (wnd)
        wnd->SetWindowRgn(rgn, redraw);
}
// The pointer's position on the screen (0, 0 without a window system).
TPoint GetCursorPos();
