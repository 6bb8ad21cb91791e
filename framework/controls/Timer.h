#pragma once
// TTimer: a non-visual component that calls OnTimer every Interval milliseconds while it
// is Enabled and has a handler, on the GUI thread, from the message loop (driven by the
// millisecond clock, so a manual clock drives it in tests). A late tick fires once. GUI
// thread only.

#include "framework/core/Component.h"

#include <memory>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(const TNotifyEvent& value);

protected:
    virtual void Timer();
    void Loaded() override;

private:
    void UpdateTimer();

    bool FEnabled = true;
    int FInterval = 1000;
    TNotifyEvent FOnTimer;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
