#include "framework/controls/Timer.h"

#include "framework/controls/Application.h"
#include "framework/core/TypInfo.h"

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner)
{
}

TTimer::~TTimer()
{
    *FAlive = false;
    if (Application)
        Application->KillCallbackTimer(this);
}

// Ticks run only with a handler, a positive interval and outside of loading; any change
// starts the period again.
void TTimer::UpdateTimer()
{
    if (!Application)
        return;
    Application->KillCallbackTimer(this);
    if (FEnabled && FInterval > 0 && FOnTimer && !HasState(csLoading))
        Application->SetCallbackTimer(this, FAlive, FInterval, [this] { Timer(); });
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& value)
{
    FOnTimer = value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

BEGIN_PROPERTIES(TTimer, TComponent)
    .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true)
    .Int("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000)
    .Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
END_PROPERTIES
