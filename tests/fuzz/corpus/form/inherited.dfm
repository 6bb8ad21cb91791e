object f: TForm
  object a: TPanel
  end
  object b: TPanel
    inherited a: TPanel
      Left = 3
    end
  end
  object c: TImage
    Picture.Data = {0007}
  end
end
