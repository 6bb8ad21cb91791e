object pgInstruments: TForm
  Left = 100
  Top = 80
  ClientWidth = 660
  ClientHeight = 430
  Color = clBtnFace
  Caption = 'Control gallery: instruments'
  object capFaders: TepLabel
    Left = 10
    Top = 6
    Width = 150
    Height = 14
    Caption = 'TepRegulator: 50, min, max'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object fadDefault: TepRegulator
    Left = 15
    Top = 24
    Width = 30
    Height = 150
    Value = 50
  end
  object fadMin: TepRegulator
    Left = 60
    Top = 24
    Width = 30
    Height = 150
    BtnColor = clRed
  end
  object fadMax: TepRegulator
    Left = 105
    Top = 24
    Width = 30
    Height = 150
    Value = 100
    BtnColor = clSilver
    FrameWidth = 3
  end
  object capSwitches: TepLabel
    Left = 160
    Top = 6
    Width = 110
    Height = 14
    Caption = 'TepSwitch: off, on'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object swOff: TepSwitch
    Left = 165
    Top = 24
    Width = 34
    Height = 51
  end
  object swOn: TepSwitch
    Left = 215
    Top = 24
    Width = 34
    Height = 51
    OnBtnColor = clYellow
    State = sOn
  end
  object swWide: TepSwitch
    Left = 165
    Top = 90
    Width = 50
    Height = 75
    FrameWidth = 4
  end
  object capGauges: TepLabel
    Left = 280
    Top = 6
    Width = 170
    Height = 14
    Caption = 'TepGauge: horizontal, vertical'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object ggH: TepGauge
    Left = 280
    Top = 24
    Width = 160
    Height = 40
    Progress = 50
  end
  object ggV: TepGauge
    Left = 450
    Top = 24
    Width = 40
    Height = 150
    Kind = gkVerticalBar
    BarColor = clLime
    Progress = 70
  end
  object capEffGauges: TepLabel
    Left = 280
    Top = 72
    Width = 160
    Height = 14
    Caption = 'TepEffectGauge'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object egH: TepEffectGauge
    Left = 280
    Top = 90
    Width = 160
    Height = 40
    Progress = 60
    Font.Color = clWhite
    Font.Height = -14
    Font.Name = 'Arial'
    Font.Style = [fsBold]
  end
  object egV: TepEffectGauge
    Left = 500
    Top = 24
    Width = 40
    Height = 150
    Kind = gkVerticalBar
    BarColor = clRed
    Progress = 40
    ShowText = False
  end
  object ggTrans: TepGauge
    Left = 280
    Top = 140
    Width = 160
    Height = 34
    MinValue = 0
    MaxValue = 10
    Progress = 3
    BarColor = clAqua
    Transparent = True
  end
  object capButtons: TepLabel
    Left = 10
    Top = 186
    Width = 260
    Height = 14
    Caption = 'TepShadowBtn: rect, ellipse, rounded, disabled'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object sbRect: TepShadowBtn
    Left = 10
    Top = 204
    Width = 85
    Height = 35
    Caption = 'Rect'
  end
  object sbEllipse: TepShadowBtn
    Left = 100
    Top = 204
    Width = 85
    Height = 35
    Caption = 'Ellipse'
    BtnKind = bkEllipse
    BtnColor = clGreen
    BlurShadow = True
    Font.Color = clWhite
  end
  object sbRound: TepShadowBtn
    Left = 190
    Top = 204
    Width = 85
    Height = 35
    Caption = 'Round'
    BtnKind = bkRndRect
    BtnColor = clMaroon
    ShadowOffset = 5
    Font.Color = clWhite
  end
  object sbOff: TepShadowBtn
    Left = 10
    Top = 248
    Width = 85
    Height = 35
    Caption = 'Disabled'
    Enabled = False
    BtnColor = clGray
  end
  object capIndi: TepLabel
    Left = 300
    Top = 186
    Width = 300
    Height = 14
    Caption = 'TepIndiButton, TepNumPanel, TepIndiGauge'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object ibPlay: TepIndiButton
    Left = 300
    Top = 204
    Width = 100
    Height = 40
    Caption = 'PLAY'
    Font.Color = clRed
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
  end
  object npThree: TepNumPanel
    Left = 410
    Top = 204
    Width = 100
    Height = 50
    Value = -7
  end
  object npFive: TepNumPanel
    Left = 520
    Top = 204
    Width = 130
    Height = 40
    CountNums = 5
    Value = 12345
    IndiWidth = 1
    IndiColor = clRed
    UnActiveColor = clMaroon
  end
  object lbLed: TepIndiGauge
    Left = 300
    Top = 256
    Width = 100
    Height = 20
    Progress = 55
  end
  object lbNormal: TepIndiGauge
    Left = 410
    Top = 262
    Width = 100
    Height = 20
    NormalValue = 70
    Progress = 90
  end
  object lbVert: TepIndiGauge
    Left = 620
    Top = 250
    Width = 20
    Height = 100
    Kind = gkVerticalBar
    IndiNums = 8
    IndiColor = clAqua
    Progress = 75
  end
  object capLabels: TepLabel
    Left = 10
    Top = 296
    Width = 300
    Height = 14
    Caption = 'TepLabel, TepTextLabel, TepWaveLabel'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object lblEngraved: TepLabel
    Left = 10
    Top = 314
    Width = 150
    Height = 28
    Caption = 'Engraved'
    Font.Color = clBlack
    Font.Height = -20
    Font.Name = 'Arial'
    InnerColor = clWhite
    OuterColor = clGray
  end
  object lblGrad: TepLabel
    Left = 170
    Top = 314
    Width = 150
    Height = 28
    Caption = 'Gradient'
    Color = clSilver
    Font.Color = clWhite
    Font.Height = -20
    Font.Name = 'Arial'
    GradEffect = True
    GradKind = gdLeft
    GradColor = clNavy
    Text3D = False
  end
  object txtLines: TepTextLabel
    Left = 330
    Top = 296
    Width = 160
    Height = 56
    Lines = 'Several lines of text, wrapped at the label''s edge.'
    Font.Height = -12
    Font.Name = 'Arial'
    Text3D = True
  end
  object wavText: TepWaveLabel
    Left = 10
    Top = 350
    Width = 200
    Height = 40
    Caption = 'Wavy text'
    Color = clBtnFace
    Font.Color = clNavy
    Font.Height = -22
    Font.Name = 'Arial'
    TextY = 8
    XDiv = 8
    YDiv = 6
    RatioVal = 3
  end
  object capBit: TepLabel
    Left = 230
    Top = 352
    Width = 140
    Height = 14
    Caption = 'TepBitLabel'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object bitText: TepBitLabel
    Left = 230
    Top = 366
    Width = 220
    Height = 48
    Caption = 'Wallpaper'
    Font.Height = -32
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Text3D = True
    Wallpaper.Data = {
      AE000000424DAE00000000000000360000002800000006000000060000000100
      18000000000078000000130B0000130B00000000000000000000005ADC0080FF
      0040C80000A000C8FF0080FF00000080FF005ADC0080FF0040C80000A000C8FF
      000000C8FF0080FF005ADC0080FF0040C80000A000000000A000C8FF0080FF00
      5ADC0080FF0040C800000040C80000A000C8FF0080FF005ADC0080FF00000080
      FF0040C80000A000C8FF0080FF005ADC0000}
  end
end
