#pragma once
// TfrmPanel: a small instrument panel built on the installed libraries. A screw panel
// carries a seven-segment display, an LED button, a bitmap slider and a lamp of the
// example's own (Lamp.h); the slider sets the display, the button switches its LED and
// the lamp with it. The form description (PanelForm.inc)
// places the controls and binds their events to the published methods below by name.

#include <framework/controls/Form.h>

class TScrewPanel;
class TLEDDisplay;
class TLEDButton;
class TepBMPSlider;
class TPanelLamp;

class TfrmPanel : public TForm {
public:
    explicit TfrmPanel(TComponent* AOwner);
    const char* ClassName() const override { return "TfrmPanel"; }

    // Published fields, set by the form reader from the objects of the same name.
    TScrewPanel* plate = nullptr;
    TLEDDisplay* dispValue = nullptr;
    TLEDButton* btnLight = nullptr;
    TepBMPSlider* sliderValue = nullptr;
    TPanelLamp* lamp = nullptr;

    // Published event handlers, bound by the names the form description gives.
    void FormCreate(TObject* Sender);
    void sliderValueChange(TObject* Sender);
    void btnLightClick(TObject* Sender);
};
