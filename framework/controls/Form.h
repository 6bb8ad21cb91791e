#pragma once
// TCustomForm and TForm: a top-level window. A form is one window of the window system
// and one framebuffer; its windowed controls are child windows inside it, composed into
// that framebuffer. Paints land in the framebuffer and the changed part is presented
// when the message loop goes idle. The form routes the window system's input to its
// controls: mouse messages to the control under the pointer (or holding the capture), keys
// to the focused control, characters nobody used to every control as a dialog character.
// A form owns the components created with it as owner; it is owned by the application
// (or whoever created it). A form built from a description reads it in its constructor:
// classes derived from TForm call InitInheritedComponent from theirs. GUI thread only.

#include "framework/controls/WinControl.h"
#include "platform/raster/Surface.h"
#include "platform/window/WindowSystem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
// The member names of TFormBorderStyle, as form descriptions store them.
const std::vector<std::string>& BorderStyleNames();
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = TMethodPtr<TObject*, TCloseAction&>;
using TCloseQueryEvent = TMethodPtr<TObject*, bool&>;
// A key that no control used: the key (set it to 0 to mark it used), the shift state and
// whether it is an auto-repeat of a held key.
using TUnusedKeyEvent = TMethodPtr<TObject*, uint16_t&, TShiftState, bool>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    // Builds the form and reads its description (for plain TForm instances).
    TCustomForm(TComponent* AOwner, const std::string& description);
    ~TCustomForm() override;
    const char* ClassName() const override { return "TCustomForm"; }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool Modal() const { return FModal; }

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* value);
    TWinControl* FocusedControl() const { return FFocused; }
    // Gives the focus to control (nullptr: the form itself). Controls that cannot take
    // the focus are refused.
    void FocusControl(TWinControl* control);
    // The topmost enabled control under the form point (x, y), windowed or graphic; the
    // form itself when no child is there.
    TControl* ControlAtPoint(int x, int y) const { return ControlUnder(x, y); }
    // The next (or previous) control in tab order after current that can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    int ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the message loop is idle again.
    void Release();
    // Runs OnDestroy once, while the whole form still exists. The application calls it
    // before it frees a form (at exit, for Release and caFree); a derived form freed
    // otherwise calls it first thing in its destructor.
    void BeforeDestruction();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    // A key down that the focused control (or the form itself, when nothing has the
    // focus) left unused comes here last, so a form can give keys a meaning for the whole
    // window without taking them from a control that acts on them. Keys that moved the
    // focus or acted as dialog keys never come here.
    TUnusedKeyEvent OnUnusedKey;

    // The window and its framebuffer.
    plat::WindowId WindowHandle() const { return FWindow; }
    plat::Surface& Framebuffer() { return SizedFramebuffer(); }
    TPoint ClientOrigin() const override { return { Left(), Top() }; }
    // Paints into the framebuffer through a context clipped to deviceClip (form
    // coordinates) with window's origin; the area is counted for window and presented.
    void PaintInto(const plat::Region& deviceClip, TWinControl* window,
        const std::function<void(plat::Dc*)>& paint);
    void AddPresent(const plat::Region& area) { FPresentRgn |= area; }
    const plat::Region& PendingPresent() const { return FPresentRgn; }
    // Hands the changed part of the framebuffer to the window system.
    void PresentChanges();
    // One event of the window system for this form.
    void HandleEvent(const plat::Event& e);
    // Ends a mouse capture held inside this form, releasing the held buttons.
    void CancelMouseCapture();
    void UpdateCursor();
    void ControlRemoved(TControl* control);
    // A drop-down shown inside the form (a combo box's list). While one is set, a press
    // outside it, or the window losing the focus, sends it WM_CANCELMODE and clears it;
    // that press (and its release) goes no further.
    void SetPopupControl(TWinControl* popup) { FPopup = popup; }
    TWinControl* PopupControl() const { return FPopup; }

    // An inverted overlay (a drag line): the pixels of r (form coordinates) show inverted
    // until the same rectangle is toggled again. Paints beneath it keep it inverted, so
    // nothing has to be locked while it shows; toggling it off restores what is painted.
    void ToggleInvertOverlay(const TRect& r);
    bool HasInvertOverlay(const TRect& r) const;
    using TWinControl::InvalidateFormArea;

protected:
    // Reads the description into this form (derived forms call it from their
    // constructor, after which OnCreate runs).
    void InitInheritedComponent(const std::string& description);
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);

    void UpdateVisibility(bool value) override;
    void BoundsChanged(const TRect& oldBounds) override;
    void CMTextChanged(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;

private:
    void CreateWindowHandle();
    // The framebuffer at the form's size: it is made, or resized, only when it is used,
    // so that a form read from its description, which changes size several times before
    // it is shown, fills its pixels once.
    plat::Surface& SizedFramebuffer();
    std::string WindowTitle() const;
    void DestroyWindowHandle();
    void MouseEvent(const plat::Event& e);
    void KeyEvent(const plat::Event& e);
    void CharEvent(const plat::Event& e);
    TWinControl* WindowAt(int x, int y) const;
    TControl* ControlUnder(int x, int y) const;
    // Whether a press at a client point would reach an enabled control that drags the
    // window (asked by window systems that move windows themselves).
    bool DragAreaAt(int x, int y) const;
    void TrackMouseControl(TControl* control);
    void CancelPopup();

    plat::WindowId FWindow = 0;
    plat::WindowSystem* FWindowSystem = nullptr;
    plat::Surface FFramebuffer;
    plat::Region FPresentRgn;
    std::vector<TRect> FInvertOverlays;
    // The contexts of PaintInto, kept from paint to paint so that their clips keep their
    // storage; one per level of paints nested in paints.
    std::vector<std::unique_ptr<plat::Dc>> FPaintDcs;
    size_t FPaintDepth = 0;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    int FPixelsPerInch = 96;
    bool FOldCreateOrder = false;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FDestroyCalled = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocused = nullptr;
    TControl* FMouseControl = nullptr;
    TWinControl* FPopup = nullptr;
    bool FSwallowRelease = false;
    TPoint FMousePos;
    uint32_t FButtons = 0;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    const char* ClassName() const override { return "TForm"; }
};
