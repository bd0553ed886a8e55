object welcome: Twelcome
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientWidth = 451
  ClientHeight = 435
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Scaled = False
  PixelsPerInch = 96
  object Title: TZYRLabel
    Left = 10
    Top = 2
    Caption = 'ZYR Tools'
    Font.Color = clNavy
    Font.Height = -48
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 3
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Slogan: TZYRLabel
    Left = 256
    Top = 30
    Caption = 'powerful, fast and easy'
    Font.Color = clMaroon
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Bevel1: TBevel
    Left = 10
    Top = 62
    Width = 414
    Height = 2
    Shape = bsTopLine
  end
  object Bevel2: TBevel
    Left = 10
    Top = 66
    Width = 414
    Height = 2
    Shape = bsTopLine
  end
  object Bevel3: TBevel
    Left = 10
    Top = 70
    Width = 414
    Height = 2
    Shape = bsTopLine
  end
  object The: TZYRLabel
    Left = 10
    Top = 78
    Caption = 'The'
    Font.Color = clNavy
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Subtitle: TZYRLabel
    Left = 46
    Top = 78
    Caption = 'component toolbox for desktop programs'
    Font.Color = clNavy
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
  end
  object YellowPanel: TPanel
    Left = 10
    Top = 106
    Width = 414
    Height = 112
    BevelOuter = bvLowered
    Color = 14811135
    object More: TZYRLabel
      Left = 14
      Top = 8
      Caption = 'more than 70 components'
      Font.Color = clNavy
      Font.Height = -15
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      FontFx.Angle = 8
      FontFx.Style = tdRaisedShadow
      ParentFont = False
    end
    object Advanced: TZYRLabel
      Left = 120
      Top = 52
      Caption = 'in the advanced version'
      Font.Color = clMaroon
      Font.Height = -15
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      FontFx.Angle = 8
      FontFx.Style = tdRaisedShadow
      ParentFont = False
    end
    object Aware: TZYRLabel
      Left = 226
      Top = 8
      Caption = 'right mouse-button aware'
      Font.Color = clGreen
      Font.Height = -15
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      FontFx.Angle = 8
      FontFx.Style = tdRaisedShadow
      ParentFont = False
    end
  end
  object Cap1: TZYRLabel
    Left = 10
    Top = 226
    Caption = 'W'
    Font.Color = clNavy
    Font.Height = -40
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 2
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Para1: TZYRSimpleLabel
    Left = 50
    Top = 232
    Width = 374
    Height = 56
    AutoSize = False
    Caption = 'elcome to Showrama, the demonstration of the ZYR Tools component library. The tabs below lead through its components by category; on each page the buttons open small windows that show them at work.'
    MultiLine = True
  end
  object Cap2: TZYRLabel
    Left = 10
    Top = 290
    Caption = 'E'
    Font.Color = clNavy
    Font.Height = -40
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 2
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Para2: TZYRSimpleLabel
    Left = 50
    Top = 296
    Width = 374
    Height = 56
    AutoSize = False
    Caption = 'very component keeps its settings in published properties with sensible defaults, paints itself from them and is stored with its form, so a program gets a rich look from very little code.'
    MultiLine = True
  end
  object Cap3: TZYRLabel
    Left = 10
    Top = 354
    Caption = 'S'
    Font.Color = clNavy
    Font.Height = -40
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 2
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Para3: TZYRSimpleLabel
    Left = 50
    Top = 360
    Width = 374
    Height = 56
    AutoSize = False
    Caption = 'howrama and its library are written in C++20 on a small platform layer of their own and run on Linux. The whole project is free software under the MIT licence.'
    MultiLine = True
  end
end
