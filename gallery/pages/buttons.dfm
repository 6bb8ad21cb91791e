object pgButtons: TForm
  Left = 100
  Top = 80
  ClientWidth = 660
  ClientHeight = 330
  Color = clBtnFace
  Caption = 'Control gallery: buttons'
  object capSpeed: TepLabel
    Left = 10
    Top = 6
    Width = 640
    Height = 14
    Caption = 'TepSpeedButton: group 1 (one stays down), group 2 (AllowAllUp), flat, gradient, half-transparent'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object spdA: TepSpeedButton
    Left = 10
    Top = 24
    Width = 40
    Height = 25
    Caption = 'A'
    FrameWidth = 1
    GroupIndex = 1
    Down = True
  end
  object spdB: TepSpeedButton
    Left = 54
    Top = 24
    Width = 40
    Height = 25
    Caption = 'B'
    FrameWidth = 1
    GroupIndex = 1
  end
  object spdC: TepSpeedButton
    Left = 98
    Top = 24
    Width = 40
    Height = 25
    Caption = 'C'
    FrameWidth = 1
    GroupIndex = 1
  end
  object spdX: TepSpeedButton
    Left = 160
    Top = 24
    Width = 40
    Height = 25
    Caption = 'X'
    FrameWidth = 1
    AllowAllUp = True
    GroupIndex = 2
  end
  object spdY: TepSpeedButton
    Left = 204
    Top = 24
    Width = 40
    Height = 25
    Caption = 'Y'
    FrameWidth = 1
    AllowAllUp = True
    GroupIndex = 2
  end
  object spdFlat: TepSpeedButton
    Left = 270
    Top = 24
    Width = 60
    Height = 25
    Caption = 'Flat'
    ActiveTextColor = clBlue
    Flat = True
  end
  object spdGrad: TepSpeedButton
    Left = 340
    Top = 24
    Width = 70
    Height = 25
    Caption = 'Gradient'
    Font.Color = clWhite
    ActiveGradColor = clTeal
    GradColor = clNavy
    GradEffect = True
    FrameWidth = 2
  end
  object pnlUnder: TPanel
    Left = 420
    Top = 20
    Width = 150
    Height = 34
    Color = clMaroon
    BevelOuter = bvNone
    object spdHalf: TepSpeedButton
      Left = 15
      Top = 4
      Width = 120
      Height = 25
      Caption = 'Half-transparent'
      Font.Color = clWhite
      Color = clSilver
      MiddleTransparent = True
      Transparent = True
      FrameWidth = 1
    end
  end
  object capLabel: TepLabel
    Left = 10
    Top = 66
    Width = 640
    Height = 14
    Caption = 'TepLabelButton: lit, glowing;  TepEfButton: plain, glowing caption, no well'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object lbnLit: TepLabelButton
    Left = 10
    Top = 84
    Width = 110
    Height = 30
    Caption = 'Lit caption'
    ActiveTextColor = clRed
  end
  object lbnGlow: TepLabelButton
    Left = 130
    Top = 84
    Width = 110
    Height = 30
    Caption = 'Glowing'
    Layout = blGlyphRight
    ActiveTextColor = clYellow
    EfCaption = True
  end
  object efbPlain: TepEfButton
    Left = 260
    Top = 86
    Width = 80
    Height = 27
    Caption = 'Effect'
  end
  object efbGlow: TepEfButton
    Left = 350
    Top = 86
    Width = 80
    Height = 27
    Caption = 'Glow'
    ActiveTextColor = clAqua
    EfCaption = True
    BtnColor = clTeal
    Font.Color = clWhite
  end
  object efbNoWell: TepEfButton
    Left = 440
    Top = 86
    Width = 80
    Height = 27
    Caption = 'No well'
    FrameWidth = 0
  end
  object capColor: TepLabel
    Left = 10
    Top = 126
    Width = 640
    Height = 14
    Caption = 'TepColorButton: mark left, mark right, glowing; the chosen colour fills the panel beside'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object dlgColor: TColorDialog
  end
  object cbnLeft: TepColorButton
    Left = 10
    Top = 144
    Width = 100
    Height = 30
    Caption = 'Colour'
    ColorValue = clRed
    ColorDialog = dlgColor
  end
  object cbnRight: TepColorButton
    Left = 120
    Top = 144
    Width = 100
    Height = 30
    Caption = 'Colour'
    MarkAlign = mkRight
    ColorValue = clBlue
    ColorDialog = dlgColor
  end
  object cbnGlow: TepColorButton
    Left = 230
    Top = 144
    Width = 100
    Height = 30
    Caption = 'Glow'
    MarkAlign = mkTop
    MarkWidth = 20
    MarkHeight = 6
    ActiveTextColor = clYellow
    EfCaption = True
    ColorValue = clGreen
    ColorDialog = dlgColor
    UseFrame = False
  end
  object pnlChosen: TPanel
    Left = 340
    Top = 144
    Width = 80
    Height = 30
    Color = clRed
    BevelOuter = bvLowered
  end
  object capFocus: TepLabel
    Left = 10
    Top = 186
    Width = 640
    Height = 14
    Caption = 'TepFocusButton and TepTransparentBtn: Tab moves the focus, Space (on release), Enter and Alt-key click'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object fbnFirst: TepFocusButton
    Left = 10
    Top = 204
    Width = 80
    Height = 25
    Caption = 'F&irst'
    TabOrder = 0
  end
  object fbnGrad: TepFocusButton
    Left = 100
    Top = 204
    Width = 80
    Height = 25
    Caption = '&Gradient'
    Font.Color = clWhite
    ActiveGradColor = clTeal
    GradColor = clNavy
    GradEffect = True
    FrameWidth = 2
    TabOrder = 1
  end
  object pnlBack: TPanel
    Left = 190
    Top = 196
    Width = 360
    Height = 42
    Color = clTeal
    BevelOuter = bvNone
  end
  object tbnPlain: TepTransparentBtn
    Left = 200
    Top = 204
    Width = 80
    Height = 25
    Caption = '&Plain'
    Color = clTeal
    FrameColor = clNavy
    TabOrder = 2
  end
  object tbn3D: TepTransparentBtn
    Left = 290
    Top = 204
    Width = 80
    Height = 25
    Caption = '3&D'
    Color = clTeal
    Frame3D = True
    TabOrder = 3
  end
  object tbnRound: TepTransparentBtn
    Left = 380
    Top = 204
    Width = 80
    Height = 25
    Caption = '&Round'
    Color = clTeal
    FrameColor = clWhite
    FrameRnd = True
    Radius = 8
    TabOrder = 4
  end
  object tbnNoFrame: TepTransparentBtn
    Left = 470
    Top = 204
    Width = 70
    Height = 25
    Caption = '&None'
    Color = clTeal
    Frame = False
    TabOrder = 5
  end
  object capDisabled: TepLabel
    Left = 10
    Top = 246
    Width = 640
    Height = 14
    Caption = 'Disabled: speed button, effect button, focus button'
    Font.Height = -10
    Font.Name = 'Arial'
    Text3D = False
  end
  object spdOff: TepSpeedButton
    Left = 10
    Top = 264
    Width = 70
    Height = 25
    Caption = 'Off'
    Enabled = False
    FrameWidth = 1
  end
  object efbOff: TepEfButton
    Left = 90
    Top = 264
    Width = 80
    Height = 27
    Caption = 'Off'
    Enabled = False
  end
  object fbnOff: TepFocusButton
    Left = 180
    Top = 264
    Width = 80
    Height = 25
    Caption = 'Off'
    Enabled = False
    TabOrder = 6
  end
end
