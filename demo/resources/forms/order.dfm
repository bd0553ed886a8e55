object order: Torder
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
    Caption = 'Ordering information'
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
  object Free: TZYRSimpleLabel
    Left = 10
    Top = 56
    Width = 414
    Height = 58
    AutoSize = False
    Caption = 'Showrama and the ZYR Tools library are free software, published under the MIT licence. There is nothing to order and no licence key: everything this demonstration shows is included, the advanced components as well as the standard ones.'
    MultiLine = True
  end
  object GetHead: TZYRSimpleLabel
    Left = 10
    Top = 124
    Caption = 'How to get it'
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Get: TZYRSimpleLabel
    Left = 10
    Top = 146
    Width = 414
    Height = 72
    AutoSize = False
    Caption = 'Clone the project''s repository. In its folder, "make run" builds Showrama and starts it; "make test" builds and runs every test; "make gallery" draws the windows into pictures under build/default/gallery/ without a screen.'
    MultiLine = True
  end
  object NeedHead: TZYRSimpleLabel
    Left = 10
    Top = 224
    Caption = 'What you need'
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Need: TZYRSimpleLabel
    Left = 10
    Top = 246
    Width = 414
    Height = 72
    AutoSize = False
    Caption = 'A Linux system with Debian packages: CMake, Ninja, a C++20 compiler, SDL2, FreeType, fontconfig, libpng and the Liberation fonts. scripts/bootstrap asks apt for whatever is missing; the make targets call it first.'
    MultiLine = True
  end
  object UseHead: TZYRSimpleLabel
    Left = 10
    Top = 324
    Caption = 'Using it in your own program'
    Font.Color = clNavy
    Font.Height = -15
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object Use: TZYRSimpleLabel
    Left = 10
    Top = 346
    Width = 414
    Height = 60
    AutoSize = False
    Caption = 'The MIT licence lets you use, change and pass on the library in any program, free or commercial, as long as the copyright notice travels with it.'
    MultiLine = True
  end
end
