#pragma once
// TApplication: the message loop and the program's forms. It reads the window system's
// events and hands them to their forms, runs the calls other threads hand to the GUI
// thread, fires window timers (by the millisecond clock, so a manual clock drives them),
// paints what is pending and presents what changed. An exception that escapes an event
// handler is caught around that one dispatch and shown (OnException, else ShowException);
// the program goes on. The global Application exists for the whole program; it owns the
// forms made with CreateForm. GUI thread only, except Terminate.

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"
#include "platform/window/WindowSystem.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TControlCanvas;
class TCustomForm;

using TExceptionEvent = TMethodPtr<TObject*, const Exception&>;
// Done is true on entry; the loop waits for the next event either way.
using TIdleEvent = TMethodPtr<TObject*, bool&>;

// MessageBox flags and answers (the classic values).
constexpr uint32_t MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
                   MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
                   MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    // Connects the thread hand-over to the message loop and shows exceptions of threads.
    void Initialize();
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = new T(this);
        if (!FMainForm)
            FMainForm = reference;
    }
    // Shows the main form and handles messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    // Handles every pending event, hand-over, timer and paint, then returns.
    void ProcessMessages();
    // Waits for one event (or the next timer), handles it and what follows from it.
    void HandleMessage();
    // Shows the exception being handled (call inside a catch block).
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags = MB_OK);

    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    // The title of message boxes; by default the executable's name without extension.
    std::string Title() const;
    void SetTitle(const std::string& value) { FTitle = value; }
    std::string ExeName() const;
    TExceptionEvent OnException;
    // Runs once after every event handled (and the hand-overs, timers it led to), before
    // painting. Nothing calls it periodically: an idle loop waits for the next event.
    TIdleEvent OnIdle;

    // Window timers: WM_TIMER with WParam = id to control every `ms` milliseconds.
    void SetTimer(TControl* control, uintptr_t id, int ms);
    void KillTimer(TControl* control, uintptr_t id);
    // A timer of any object (key), calling fire every `ms` milliseconds while alive holds.
    void SetCallbackTimer(const void* key, std::shared_ptr<const bool> alive, int ms,
        std::function<void()> fire);
    void KillCallbackTimer(const void* key);
    int TimerCount() const { return int(FTimers.size()); }

    // Bookkeeping for the framework's own classes.
    void FormCreated(TCustomForm* form);
    void FormDestroying(TCustomForm* form);
    void ReleaseForm(TCustomForm* form);
    void ControlDestroying(TControl* control);
    void CanvasInUse(TControlCanvas* canvas);
    void CanvasReleased(TControlCanvas* canvas);
    void BeginModal(TCustomForm* form);
    void EndModal(TCustomForm* form);
    void PaintAndPresent(TCustomForm* form);
    const std::vector<TCustomForm*>& Forms() const { return FForms; }
    // Drops the forms, timers and state of a run (tests start each case afresh).
    void Reset();

private:
    void Dispatch(const plat::Event& e);
    void Idle();
    void ProcessTimers();
    void PaintAll();
    int32_t NextTimerDelay() const;
    TCustomForm* FormOf(plat::WindowId id) const;

    struct Timer {
        const void* key;
        std::shared_ptr<const bool> alive;
        uintptr_t id;
        int interval;
        int32_t due;
        std::function<void()> fire;
    };
    void AddTimer(Timer t);
    std::vector<Timer> FTimers;
    std::vector<TCustomForm*> FForms;
    std::vector<TCustomForm*> FModalForms;
    std::vector<TCustomForm*> FReleased;
    std::vector<TControlCanvas*> FCanvases;
    TCustomForm* FMainForm = nullptr;
    std::string FTitle;
    std::atomic<bool> FTerminated { false };
};

extern TApplication* Application;

// The classic free functions on windows.
void SetTimer(TControl* control, uintptr_t id, int ms);
void KillTimer(TControl* control, uintptr_t id);
