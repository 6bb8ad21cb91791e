#pragma once
// The base of pens, brushes and fonts: a persistent value object that tells its user
// through OnChange when one of its properties changes. GUI thread only.

#include "framework/core/Component.h"

class TGraphicsObject : public TPersistent {
public:
    const char* ClassName() const override { return "TGraphicsObject"; }
    TNotifyEvent OnChange;

protected:
    virtual void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
};
