object frmshowrama: Tfrmshowrama
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Showrama'
  ClientWidth = 632
  ClientHeight = 441
  Font.Color = clBlack
  Font.Height = -13
  Font.Name = 'MS Sans Serif'
  PopupMenu = PopupMenu1
  Position = poScreenCenter
  Scaled = False
  ShowHint = True
  PixelsPerInch = 96
  OnActivate = FormActivate
  OnClose = FormClose
  OnCreate = FormCreate
  object Bevel5: TBevel
    Left = 435
    Top = 1
    Width = 4
    Height = 423
    Shape = bsLeftLine
  end
  object ZYRLabelFill3: TZYRLabel
    Left = 595
    Top = 252
    Width = 34
    Height = 173
    AutoSize = False
    Caption = 'ZYR Tools'
    Font.Color = clNavy
    Font.Height = -32
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.Angle = 90
    FontFx.PosX = 1
    FontFx.PosY = 165
    FontFx.ShadowDepth = 3
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object dblbl1: TZYRSimpleLabel
    Left = 463
    Top = 128
    Width = 167
    Height = 57
    AutoSize = False
    Font.Color = clNavy
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    MultiLine = True
    ParentFont = False
    ShowAccelChar = False
  end
  object dblbl2: TZYRSimpleLabel
    Left = 463
    Top = 188
    Width = 167
    Height = 67
    AutoSize = False
    Font.Color = clNavy
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    MultiLine = True
    ParentFont = False
  end
  object dblbl3: TZYRSimpleLabel
    Left = 463
    Top = 256
    Width = 140
    Height = 80
    AutoSize = False
    Font.Color = clNavy
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    MultiLine = True
    ParentFont = False
  end
  object dblbl4: TZYRSimpleLabel
    Left = 462
    Top = 339
    Width = 131
    Height = 62
    AutoSize = False
    Font.Color = clNavy
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    MultiLine = True
    ParentFont = False
  end
  object help: TSpeedButton
    Left = 437
    Top = -1
    Width = 29
    Height = 26
    Hint = 'A short guide through the demo'
    Glyph.Data = file 'help_glyph.bmp'
    NumGlyphs = 2
    OnClick = helpClick
  end
  object fd: TZYRFormDisplay
    Left = 0
    Top = 0
    Width = 434
    Height = 420
    FormName = 'welcome'
  end
  object TabSet: TTabSet
    Left = 0
    Top = 420
    Width = 632
    Height = 21
    Align = alBottom
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    ParentFont = False
    Tabs.Strings = (
      'Welcome!'
      'System'
      'Visual'
      'Data'
      'Dialog'
      'Graphic/Multimedia'
      'Ordering information'
      'Contact'
      'Exit')
    TabIndex = 0
    OnChange = TabSetChange
  end
  object strfeatures: TZYRStrList
    Items.Strings = (
      'ZYR Tools: one library with components for almost every purpose.'
      'Easy for beginners, powerful for advanced programmers.'
      'Everything can be edited fast by clicking on the component with the right mouse-button !'
      'Order today - "Buy it or miss it" !'
      ''
      'Use Drag&Drop with files of the filemanager with TZYRFMDrop !'
      'Fill the title bar of your window with a gradient and use 3D-fonts with TZYRFormStyler !'
      '"Fence" the mouse with TZYRMouse- Fencer or position it with TZYR- MousePositioner !'
      'Use ONE timer for many time- dependent purposes (TZYRTimerPool) !'
      ''
      'Fill Labels with gradients or bitmap-textures and rotate the freely (TZYRLabelFill) !'
      'FAST !   TZYRNImage displays any bitmap transparently and changes size-ratio.'
      'Use our new defined shapes like star or comb with bitmap textures and gradient fill, shadow etc.'
      'Try out the TZYRShapeHint !'
      ''
      'The TZYRDBNImage is a datasensitive friend of the TZYRNImage !'
      'Use any of our labels (SimpleLabel, LEDLabel, Label, LabelFill) as a datasensitive Control.'
      'Use TZYRDBSwitch to change bool-states in a DataSource !'
      'Easily connect our DB-aware-controls with any TDataSource !'
      ''
      'Choose a path name quickly by using the TZYRDirDlg.'
      'The TZYRTipDlg is the familiar dialog with tips for the user of an application. Easy edit it !'
      'Easily incorporate an "about box" into your application with TZYRAbout !'
      'All of our dialogs can fade in with an ExplodeEffect.'
      ''
      'Use the TZYRHiTimer to control intervals of one millisecond !'
      'Incorporate animations into your application with TZYRAniImage and TZYRAniPicClip.'
      'Creating a screensaver is child''s play with TZYRScreenSaver.'
      'TZYRWaveComp encapsulates .WAV files as form data.')
    Duplicates = dupAccept
  end
  object PopupMenu1: TPopupMenu
    object Info1: TMenuItem
      Caption = 'Info'
      OnClick = helpClick
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object Exit1: TMenuItem
      Caption = 'Exit'
      OnClick = Exit1Click
    end
  end
end
