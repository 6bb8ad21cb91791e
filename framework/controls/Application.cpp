#include "framework/controls/Application.h"

#include "framework/controls/Form.h"
#include "framework/controls/GraphicControl.h"
#include "framework/core/Thread.h"
#include "platform/system/Clock.h"
#include "platform/system/ExePath.h"

#include <algorithm>
#include <cstdio>

namespace {
TApplication gApplication(nullptr);
}

TApplication* Application = &gApplication;

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TApplication::~TApplication()
{
    Reset();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Reset()
{
    for (TCustomForm* f : std::vector<TCustomForm*>(FForms))
        f->BeforeDestruction();
    DestroyComponents();
    FTimers.clear();
    FModalForms.clear();
    FReleased.clear();
    FMainForm = nullptr;
    FTerminated = false;
    OnException = nullptr;
    OnIdle = nullptr;
}

void TApplication::Initialize()
{
    MainThreadID = std::this_thread::get_id();
    WakeMainThread = [] {
        if (plat::WindowSystem* ws = plat::CurrentWindowSystem())
            ws->Wake();
    };
    // Called on the GUI thread: shown like an exception of an event handler.
    ThreadExceptionHandler = [this](const Exception& e) {
        if (OnException)
            OnException(this, e);
        else
            ShowException(e);
    };
}

std::string TApplication::ExeName() const { return plat::ExecutablePath(); }

std::string TApplication::Title() const
{
    if (!FTitle.empty())
        return FTitle;
    std::string name = ExtractFileName(ExeName());
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void TApplication::Run()
{
    if (FMainForm && !FMainForm->Visible()) {
        try {
            FMainForm->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate()
{
    FTerminated = true;
    if (plat::WindowSystem* ws = plat::CurrentWindowSystem())
        ws->Wake();
}

void TApplication::ProcessMessages()
{
    plat::WindowSystem* ws = plat::CurrentWindowSystem();
    plat::Event e;
    // Bounded, so that handlers which post events cannot keep this from returning.
    for (int i = 0; ws && i < 10000 && ws->WaitEvent(e, 0); ++i)
        Dispatch(e);
    Idle();
}

void TApplication::HandleMessage()
{
    plat::WindowSystem* ws = plat::CurrentWindowSystem();
    plat::Event e;
    if (ws && ws->WaitEvent(e, NextTimerDelay()))
        Dispatch(e);
    Idle();
}

int32_t TApplication::NextTimerDelay() const
{
    if (FTimers.empty())
        return -1;
    int32_t now = plat::TickCount();
    int32_t best = INT32_MAX;
    for (const Timer& t : FTimers)
        best = std::min(best, std::max(plat::ElapsedMs(now, t.due), 0));
    return best;
}

TCustomForm* TApplication::FormOf(plat::WindowId id) const
{
    for (TCustomForm* f : FForms) {
        if (f->WindowHandle() == id)
            return f;
    }
    return nullptr;
}

// Input for another form than the modal one is dropped; painting and moves still happen.
void TApplication::Dispatch(const plat::Event& e)
{
    using T = plat::Event::Type;
    try {
        if (e.type == T::Quit) {
            if (FMainForm && FModalForms.empty())
                FMainForm->Close();
            else
                Terminate();
            return;
        }
        if (e.type == T::Wake || e.type == T::None)
            return;
        TCustomForm* form = e.window ? FormOf(e.window) : nullptr;
        // Keys belong to the modal form while one is up, whichever window had them.
        bool keys = e.type == T::KeyDown || e.type == T::KeyUp || e.type == T::Char;
        if (keys && !FModalForms.empty())
            form = FModalForms.back();
        else if (keys && !form)
            form = FMainForm;
        if (!form)
            return;
        bool input = e.type != T::Expose && e.type != T::Moved && e.type != T::FocusIn
            && e.type != T::FocusOut;
        if (input && !FModalForms.empty() && form != FModalForms.back())
            return;
        form->HandleEvent(e);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::Idle()
{
    try {
        CheckSynchronize(0);
    } catch (...) {
        HandleException(this);
    }
    ProcessTimers();
    if (OnIdle) {
        try {
            bool done = true;
            OnIdle(this, done);
        } catch (...) {
            HandleException(this);
        }
    }
    PaintAll();
    for (TControlCanvas* c : std::vector<TControlCanvas*>(FCanvases))
        c->FreeHandle();
    FCanvases.clear();
    std::vector<TCustomForm*> released;
    released.swap(FReleased);
    for (TCustomForm* f : released) {
        if (std::find(FForms.begin(), FForms.end(), f) != FForms.end()) {
            f->BeforeDestruction();
            delete f;
        }
    }
}

void TApplication::ProcessTimers()
{
    if (FTimers.empty())
        return;
    int32_t now = plat::TickCount();
    struct Due {
        const void* key;
        std::shared_ptr<const bool> alive;
        uintptr_t id;
        std::function<void()> fire;
    };
    std::vector<Due> due;
    for (Timer& t : FTimers) {
        if (plat::ElapsedMs(t.due, now) >= 0) {
            // A late timer fires once, not once per missed period.
            t.due = int32_t(uint32_t(now) + uint32_t(t.interval));
            due.push_back({ t.key, t.alive, t.id, t.fire });
        }
    }
    for (const Due& d : due) {
        bool stillSet = std::any_of(FTimers.begin(), FTimers.end(),
            [&](const Timer& t) { return t.key == d.key && t.id == d.id; });
        if (!*d.alive || !stillSet)
            continue;
        try {
            d.fire();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::PaintAll()
{
    for (TCustomForm* f : std::vector<TCustomForm*>(FForms)) {
        if (std::find(FForms.begin(), FForms.end(), f) != FForms.end())
            PaintAndPresent(f);
    }
}

void TApplication::PaintAndPresent(TCustomForm* form)
{
    if (!form->Visible())
        return;
    try {
        form->PaintPendingTree();
    } catch (...) {
        HandleException(form);
    }
    if (std::find(FForms.begin(), FForms.end(), form) != FForms.end())
        form->PresentChanges();
}

void TApplication::HandleException(TObject* Sender)
{
    std::exception_ptr p = std::current_exception();
    if (!p)
        return;
    auto show = [&](const Exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    };
    try {
        try {
            std::rethrow_exception(p);
        } catch (const Exception& e) {
            show(e);
        } catch (const std::exception& e) {
            show(Exception(e.what()));
        } catch (...) {
            show(Exception("Unknown exception"));
        }
    } catch (...) {
        // The display itself failed: the loop must go on all the same.
        std::fprintf(stderr, "exception while showing an exception\n");
    }
}

void TApplication::ShowException(const Exception& E)
{
    // A message ending in a letter, digit or the like gets a full stop.
    std::string msg = E.Message();
    if (!msg.empty() && uint8_t(msg.back()) > '.')
        msg += '.';
    MessageBox(msg, Title(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, uint32_t flags)
{
    plat::WindowSystem* ws = plat::CurrentWindowSystem();
    std::string title = caption.empty() ? Title() : caption;
    if (!ws) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        return IDOK;
    }
    plat::MessageBoxKind kind = plat::MessageBoxKind::Info;
    switch (flags & 0xF0) {
    case MB_ICONERROR: kind = plat::MessageBoxKind::Error; break;
    case MB_ICONWARNING: kind = plat::MessageBoxKind::Warning; break;
    case MB_ICONQUESTION: kind = plat::MessageBoxKind::Question; break;
    default: break;
    }
    TCustomForm* owner = !FModalForms.empty() ? FModalForms.back() : FMainForm;
    if (owner)
        owner->CancelMouseCapture();
    int answer = ws->MessageBox(owner ? owner->WindowHandle() : 0, title, text, kind);
    uint32_t buttons = flags & 0xF;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
        return answer ? IDYES : IDNO;
    if (buttons == MB_OKCANCEL)
        return answer ? IDOK : IDCANCEL;
    return IDOK;
}

void TApplication::AddTimer(Timer t)
{
    t.interval = std::max(t.interval, 1);
    t.due = int32_t(uint32_t(plat::TickCount()) + uint32_t(t.interval));
    for (Timer& old : FTimers) {
        if (old.key == t.key && old.id == t.id) {
            old = std::move(t);
            return;
        }
    }
    FTimers.push_back(std::move(t));
}

void TApplication::SetTimer(TControl* control, uintptr_t id, int ms)
{
    if (!control)
        return;
    AddTimer({ control, control->AliveToken(), id, ms, 0,
        [control, id] { control->Perform(WM_TIMER, id, 0); } });
}

void TApplication::KillTimer(TControl* control, uintptr_t id)
{
    std::erase_if(FTimers, [&](const Timer& t) { return t.key == control && t.id == id; });
}

void TApplication::SetCallbackTimer(const void* key, std::shared_ptr<const bool> alive, int ms,
    std::function<void()> fire)
{
    AddTimer({ key, std::move(alive), 0, ms, 0, std::move(fire) });
}

void TApplication::KillCallbackTimer(const void* key)
{
    std::erase_if(FTimers, [&](const Timer& t) { return t.key == key; });
}

void TApplication::FormCreated(TCustomForm* form) { FForms.push_back(form); }

void TApplication::FormDestroying(TCustomForm* form)
{
    std::erase(FForms, form);
    std::erase(FModalForms, form);
    std::erase(FReleased, form);
    if (FMainForm == form)
        FMainForm = nullptr;
}

void TApplication::ReleaseForm(TCustomForm* form)
{
    if (std::find(FReleased.begin(), FReleased.end(), form) == FReleased.end())
        FReleased.push_back(form);
}

void TApplication::ControlDestroying(TControl* control)
{
    std::erase_if(FTimers, [&](const Timer& t) { return t.key == control; });
}

void TApplication::CanvasInUse(TControlCanvas* canvas)
{
    if (std::find(FCanvases.begin(), FCanvases.end(), canvas) == FCanvases.end())
        FCanvases.push_back(canvas);
}

void TApplication::CanvasReleased(TControlCanvas* canvas) { std::erase(FCanvases, canvas); }

void TApplication::BeginModal(TCustomForm* form) { FModalForms.push_back(form); }

void TApplication::EndModal(TCustomForm* form) { std::erase(FModalForms, form); }

void SetTimer(TControl* control, uintptr_t id, int ms)
{
    if (Application)
        Application->SetTimer(control, id, ms);
}

void KillTimer(TControl* control, uintptr_t id)
{
    if (Application)
        Application->KillTimer(control, id);
}
