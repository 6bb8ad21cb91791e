object frmShot: TForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientWidth = 160
  ClientHeight = 100
  Color = clNavy
  object pnlFace: TPanel
    Left = 10
    Top = 10
    Width = 140
    Height = 80
    BevelOuter = bvRaised
    Color = clTeal
    object btnLamp: TLEDButton
      Left = 70
      Top = 20
      Width = 60
      Height = 30
      Caption = 'Run'
      Switching = True
      StateOn = True
      ShowLED = True
      ColorLED = clLime
      Color = clSilver
      Depth = 3
      Beveled = True
      BorderStyle = bsNone
    end
  end
end
