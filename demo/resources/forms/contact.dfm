object contact: Tcontact
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  ClientWidth = 434
  ClientHeight = 420
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Scaled = False
  PixelsPerInch = 96
  object Title: TZYRLabel
    Left = 10
    Top = 6
    Caption = 'Contact'
    Font.Color = clNavy
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.ShadowDepth = 2
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object Bevel1: TBevel
    Left = 10
    Top = 44
    Width = 414
    Height = 2
    Shape = bsTopLine
  end
  object Open: TZYRSimpleLabel
    Left = 10
    Top = 56
    Width = 414
    Height = 58
    AutoSize = False
    Caption = 'Showrama is made in the open by the Showrama developers. There is no shop, no retailer and no hotline: the project''s repository is the one place to reach us.'
    MultiLine = True
  end
  object IssueHead: TZYRSimpleLabel
    Left = 10
    Top = 124
    Caption = 'Questions and bugs'
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Issue: TZYRSimpleLabel
    Left = 10
    Top = 146
    Width = 414
    Height = 60
    AutoSize = False
    Caption = 'Open an issue in the repository. Say what you did, what you expected and what happened instead; a picture from "make gallery" often says the rest.'
    MultiLine = True
  end
  object ChangeHead: TZYRSimpleLabel
    Left = 10
    Top = 214
    Caption = 'Changes and new components'
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Change: TZYRSimpleLabel
    Left = 10
    Top = 236
    Width = 414
    Height = 72
    AutoSize = False
    Caption = 'Pull requests are welcome. CONTRIBUTING.md tells how the code is laid out and how it is tested; every change keeps "make test" passing and the build free of warnings.'
    MultiLine = True
  end
end
