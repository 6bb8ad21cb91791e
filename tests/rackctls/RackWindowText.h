#pragma once
// The instrument-panel part of the main window as a form description: the two screw
// panels, the four LED buttons and the beat display, with the window's values, and the
// form class that reads it (its property table is in FormDescriptionTest.cpp).

#include "rackctls/RackCtls.h"

#include "framework/controls/Form.h"

class TRackForm : public TForm {
public:
    using TForm::TForm;
    const char* ClassName() const override { return "TRackForm"; }
    TScrewPanel* ScrewPanel1 = nullptr;
    TScrewPanel* pnlDisplay = nullptr;
    TLEDButton* btnRun = nullptr;
    TLEDButton* btnBeep = nullptr;
    TLEDButton* sbMixer = nullptr;
    TLEDButton* btnReset = nullptr;
    TLEDDisplay* dispBeat = nullptr;
    int runClicks = 0, beatChanges = 0;
    void btnRunClick(TObject*) { ++runClicks; }
    void dispBeatChange(TObject*) { ++beatChanges; }
};

namespace racktest {

inline const char* const WindowPanelsText = R"(object frmPanels: TRackForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientWidth = 412
  ClientHeight = 443
  Color = clBtnFace
  object ScrewPanel1: TScrewPanel
    Left = 11
    Top = 11
    Width = 390
    Height = 421
    BevelOuter = bvNone
    Color = clBtnFace
    Margin = 2
    ScrewSize = 2
    ShowScrews = True
    object btnRun: TLEDButton
      Left = 321
      Top = 40
      Width = 66
      Height = 26
      Caption = 'Run'
      Switching = True
      StateOn = False
      ShowLED = True
      ColorLED = clLime
      Color = clSilver
      Depth = 3
      LEDContrast = 6
      Beveled = True
      BorderStyle = bsNone
      ButtonDirection = bdBottomUp
      TextPosition = tpOnButton
      OnClick = btnRunClick
    end
    object btnBeep: TLEDButton
      Left = 321
      Top = 67
      Width = 66
      Height = 26
      Caption = 'Beep'
      Switching = True
      StateOn = False
      ShowLED = True
      ColorLED = clLime
      Color = clSilver
      Depth = 3
      LEDContrast = 6
      Beveled = True
      BorderStyle = bsNone
      ButtonDirection = bdBottomUp
      TextPosition = tpOnButton
    end
    object sbMixer: TLEDButton
      Left = 340
      Top = 111
      Width = 46
      Height = 23
      Caption = 'Vol.'
      Switching = False
      StateOn = True
      ShowLED = False
      ColorLED = clTeal
      Color = clSilver
      Depth = 5
      LEDContrast = 6
      Beveled = True
      BorderStyle = bsNone
      ButtonDirection = bdBottomUp
      TextPosition = tpOnButton
    end
    object pnlDisplay: TScrewPanel
      Left = 1
      Top = 40
      Width = 310
      Height = 380
      Anchors = [akLeft, akTop, akRight, akBottom]
      BevelOuter = bvLowered
      Color = 13684944
      ParentColor = True
      FullRepaint = False
      Margin = 2
      ScrewSize = 2
      ShowScrews = True
      object dispBeat: TLEDDisplay
        Left = 100
        Top = 344
        Width = 112
        Height = 31
        NumDigits = 5
        DigitHeight = 25
        ColorBackGround = clBlack
        LEDContrast = 7
        SegmentStyle = ssBeveled
        BevelStyle = bvLowered
        BorderStyle = bsSingle
        DecSeperator = dsComma
        OnChange = dispBeatChange
      end
      object btnReset: TLEDButton
        Left = 215
        Top = 344
        Width = 42
        Height = 31
        Caption = 'RST'
        Switching = True
        StateOn = False
        ShowLED = False
        ColorLED = clLime
        Color = clSilver
        Depth = 3
        LEDContrast = 6
        Beveled = True
        BorderStyle = bsSingle
        ButtonDirection = bdBottomUp
        TextPosition = tpOnButton
      end
    end
  end
end
)";

} // namespace racktest
