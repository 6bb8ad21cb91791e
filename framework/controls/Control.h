#pragma once
// TControl: the base of everything visible on a form. A control has a parent (the windowed
// control it lies in), bounds in the parent's client coordinates, alignment and anchors,
// visibility, enabled state, colour and font (optionally the parent's), a caption, a
// cursor, a hint, a style (what the framework may do with it) and a state (what it is
// doing). Messages reach it through Perform -> WndProc -> the handler named after the
// message; mouse messages become MouseDown/MouseMove/MouseUp, Click and DblClick. A
// control does not own its parent or its siblings; it is removed from its parent when
// destroyed. GUI thread only.

#include "framework/graphics/Color.h"
#include "framework/core/Component.h"
#include "framework/controls/ControlTypes.h"
#include "framework/graphics/Font.h"
#include "framework/controls/Messages.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <string>

class TWinControl;
class TCustomForm;


class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // This control as a windowed one, or nullptr for a graphic control: what a
    // dynamic_cast to TWinControl gives, without its cost on every paint of every child.
    TWinControl* AsWinControl() const { return FAsWinControl; }
    // The form this control lies on (itself for a form); nullptr when not on one.
    TCustomForm* GetParentForm() const;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    virtual TPoint ClientOrigin() const;   // screen position of the client's (0, 0)
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;
    // Position of this control's (0, 0) in its form's client (framebuffer) coordinates.
    TPoint FormOffset() const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value) { FAnchors = value; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the form visible too.
    bool Showing() const;
    // True for a control whose left-button drag moves the window that shows it. Where the
    // window system moves windows itself, it takes such presses over (see the form).
    virtual bool DragsWindow() const { return false; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; FParentShowHint = false; }
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value) { FParentShowHint = value; }

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    LRESULT Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam);
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

    // Times Paint ran for this control (painting statistics for tests and benchmarks).
    int PaintCount() const { return FPaintCount; }
    // A token that turns false when the control is destroyed: callers that run user
    // code keep a copy and check it before touching the control again.
    std::shared_ptr<const bool> AliveToken() const { return FAlive; }

protected:
    friend class TWinControl;
    friend class TCustomForm;

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    void Loaded() override;

    // Message dispatch: one virtual handler per message; the defaults do the framework's
    // work and pass on what they do not consume to DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    virtual void WMPaint(TMessage& Message);
    virtual void WMEraseBkgnd(TMessage& Message);
    virtual void WMMove(TMessage& Message);
    virtual void WMSize(TMessage& Message);
    virtual void WMTimer(TMessage& Message);
    virtual void WMSetFocus(TMessage& Message);
    virtual void WMKillFocus(TMessage& Message);
    virtual void WMGetDlgCode(TMessage& Message);
    virtual void WMCancelMode(TMessage& Message);
    virtual void WMMouseMove(TMessage& Message);
    virtual void WMLButtonDown(TMessage& Message);
    virtual void WMLButtonUp(TMessage& Message);
    virtual void WMLButtonDblClk(TMessage& Message);
    virtual void WMRButtonDown(TMessage& Message);
    virtual void WMRButtonUp(TMessage& Message);
    virtual void WMRButtonDblClk(TMessage& Message);
    virtual void WMMButtonDown(TMessage& Message);
    virtual void WMMButtonUp(TMessage& Message);
    virtual void WMMButtonDblClk(TMessage& Message);
    virtual void WMKeyDown(TMessage& Message);
    virtual void WMKeyUp(TMessage& Message);
    virtual void WMChar(TMessage& Message);
    virtual void CMMouseEnter(TMessage& Message);
    virtual void CMMouseLeave(TMessage& Message);
    virtual void CMTextChanged(TMessage& Message);
    virtual void CMFontChanged(TMessage& Message);
    virtual void CMColorChanged(TMessage& Message);
    virtual void CMEnabledChanged(TMessage& Message);
    virtual void CMVisibleChanged(TMessage& Message);
    virtual void CMDialogChar(TMessage& Message);
    virtual void CMDialogKey(TMessage& Message);
    virtual void CMButtonPressed(TMessage& Message);
    virtual void CMFocusChanged(TMessage& Message);
    virtual void CMParentColorChanged(TMessage& Message);
    virtual void CMParentFontChanged(TMessage& Message);
    virtual void CMHitTest(TMessage& Message);
    virtual void CMEnter(TMessage& Message);
    virtual void CMExit(TMessage& Message);

    // Bounds changed: the windowed base moves its window, the graphic base repaints.
    virtual void BoundsChanged(const TRect& oldBounds);
    void RequestAlign();
    // Stores the visibility and repaints what it changes.
    virtual void UpdateVisibility(bool value);
    void CountPaint() { ++FPaintCount; }
    void FontChanged(TObject* Sender);
    void AdjustForParentResize(int dw, int dh);

    TControlStyle FControlStyle;
    TControlState FControlState = 0;
    bool FVisible = true;
    TWinControl* FAsWinControl = nullptr; // set while the TWinControl part exists

private:
    void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TMessage& Message, TMouseButton Button);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    std::string FText;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    int FPaintCount = 0;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Whether ch is the accelerator of caption: the character after its first single '&'
// ("&&" stands for a plain ampersand), compared without regard to letter case.
bool IsAccel(WPARAM ch, const std::string& caption);


// The control that receives all mouse input until it releases it (none: nullptr).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
