object frmsplash: Tfrmsplash
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientWidth = 469
  ClientHeight = 276
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Position = poScreenCenter
  Scaled = False
  PixelsPerInch = 96
  object Frame: TBevel
    Left = 0
    Top = 0
    Width = 469
    Height = 276
    Style = bsRaised
  end
  object Title: TZYRLabel
    Left = 6
    Top = 4
    Caption = 'ZYR-Tools'
    Font.Color = clNavy
    Font.Height = -64
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 4
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Line: TBevel
    Left = 10
    Top = 70
    Width = 449
    Height = 2
    Shape = bsTopLine
  end
  object PictureFrame: TBevel
    Left = 10
    Top = 87
    Width = 282
    Height = 178
  end
  object SplashPicture: TImage
    Left = 11
    Top = 88
    Width = 280
    Height = 176
    AutoSize = True
    Picture.Data = file 'splash.bmp'
  end
  object Product: TZYRLabel
    Left = 301
    Top = 100
    Caption = 'Showrama'#13#10'Version 2'#13#10'(Standard/'#13#10'Advanced)'
    Font.Color = clMaroon
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    FontFx.ShadowDepth = 4
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Note: TZYRSimpleLabel
    Left = 301
    Top = 251
    Caption = 'Free software, MIT licence'
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'Arial'
    ParentFont = False
  end
end
