object f: TForm
  Left = $10
  Top = -5
  Caption = 'It''s'#13#10'ok' +
    ' more'#8364
  Font.Style = [fsBold, fsItalic]
  object pnl: TPanel
    Left = 2
    Top = 3
    Width = 120
    Height = 80
    BevelOuter = bvLowered
    Color = clGreen
    object disp: TLEDDisplay
      Left = 4
      Top = 4
      Width = 60
      Height = 20
      Value = 12.5
    end
    object led: TLEDButton
      Left = 4
      Top = 30
      Width = 40
      Height = 20
      Caption = 'Run'
      StateOn = True
    end
    object rt: TepRealTimeButton
      Left = 50
      Top = 30
      Width = 40
      Height = 20
    end
    object box: TPaintBox
      Left = 90
      Top = 2
      Width = 10
      Height = 10
    end
  end
  object bv: TBevel
    Left = 0
    Top = 0
    Width = 5
    Height = 5
    Shape = bsFrame
  end
  object tmr: TTimer
    Interval = 250
    Enabled = False
  end
  object wp: TepWavePlayer
    Options = [wpoAsync]
    Wave.Data = {
      00}
  end
end
