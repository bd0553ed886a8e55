object comps: Tcomps
  Left = 0
  Top = 0
  ActiveControl = description
  BorderIcons = []
  BorderStyle = bsNone
  ClientWidth = 475
  ClientHeight = 441
  Font.Color = clBlack
  Font.Height = -13
  Font.Name = 'System'
  Scaled = False
  PixelsPerInch = 96
  object SplitFrame: TBevel
    Left = 9
    Top = 8
    Width = 420
    Height = 152
  end
  object ZYRLabel1: TZYRLabel
    Left = 10
    Top = 9
    Width = 418
    Height = 20
    Align = alNone
    Alignment = agCenter
    AutoSize = False
    Bevel.Mode = bmStandard
    Bevel.StandardStyle = lsRaisedspb
    Caption = 'Description'
    Color = clBtnFace
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'Arial'
    ParentFont = False
    Transparent = False
  end
  object description: TMemo
    Left = 10
    Top = 29
    Width = 418
    Height = 130
    BorderStyle = bsNone
    Color = clBtnFace
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'Arial'
    ParentFont = False
    ReadOnly = True
    TabOrder = 0
  end
  object Bevel1: TBevel
    Left = 6
    Top = 165
    Width = 423
    Height = 2
    Shape = bsTopLine
  end
  object NoteFrame: TBevel
    Left = 7
    Top = 171
    Width = 378
    Height = 233
  end
  object Demos: TZYRLabel
    Left = 385
    Top = 173
    Width = 44
    Height = 229
    AutoSize = False
    Caption = 'Demos'
    Font.Color = clNavy
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.Angle = 90
    FontFx.PosX = 2
    FontFx.PosY = 170
    FontFx.ShadowDepth = 3
    FontFx.Style = tdRaisedShadow
    ParentFont = False
  end
  object note2: TNotebook
    Left = 9
    Top = 173
    Width = 374
    Height = 229
    Color = 14811135
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    ParentColor = False
    ParentFont = False
    TabOrder = 1
    ActivePage = 'System'
    object TPage
      Caption = 'System'
      object stimepool: TButton
        Left = 10
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Many timed tasks sharing one system timer.'
        Caption = 'TZYRTimePool'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sfile: TButton
        Left = 131
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Copying, renaming and deleting files, with their dates.'
        Caption = 'TZYRFile'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object spic: TButton
        Left = 252
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Turns a picture into an HTML page.'
        Caption = 'Pic2HTML'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sHint: TButton
        Left = 10
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Hints in a window of their own colour and font.'
        Caption = 'TZYRHint'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sShapeHint: TButton
        Left = 131
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Hints in shaped balloons with a shadow.'
        Caption = 'TZYRShapeHint'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sform: TButton
        Left = 252
        Top = 42
        Width = 112
        Height = 25
        Hint = 'A form that remembers its place and opens with an effect.'
        Caption = 'TZYRForm'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sformstyler: TButton
        Left = 10
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Title bars painted with gradients and 3D text.'
        Caption = 'TZYRFormStyler'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sMouse: TButton
        Left = 131
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Fencing the mouse in and placing it on a control.'
        Caption = 'MouseControls'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sResView: TButton
        Left = 252
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Looks through the resources of a program.'
        Caption = 'ResViewer'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object AdvancedSystem: TZYRSimpleLabel
        Left = 10
        Top = 112
        Caption = 'Advanced'
        Font.Color = clNavy
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object EdgeSystem: TBevel
        Left = 10
        Top = 128
        Width = 354
        Height = 2
        Shape = bsTopLine
      end
      object sScreenCanvas: TButton
        Left = 10
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Drawing directly on the whole screen.'
        Caption = 'TZYRScreenCanvas'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sSpeedTest: TButton
        Left = 131
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Measures how fast the components paint.'
        Caption = 'Speed-Test'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object stx: TButton
        Left = 252
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Where to find the text editor demo.'
        Caption = 'Text-Editor'
        TabOrder = 0
        OnClick = stimepoolClick
      end
    end
    object TPage
      Caption = 'Visual'
      object sColorBox: TButton
        Left = 10
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Combo boxes for colours and fonts.'
        Caption = 'ColorComboBox'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sClock: TButton
        Left = 131
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Analog and digital clocks with alarm.'
        Caption = 'TZYRClock'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sDrawEdge: TButton
        Left = 252
        Top = 10
        Width = 112
        Height = 25
        Hint = 'The system''s 3D edges and frames.'
        Caption = 'TZYRDrawEdge'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sLabel: TButton
        Left = 10
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Labels with raised, sunken, shadowed and rotated text.'
        Caption = 'Label controls'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sExtCtrl: TButton
        Left = 131
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Lights, switches, LED labels and transparent images.'
        Caption = 'Extended Contr.'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sLabelFill: TButton
        Left = 252
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Labels filled with gradients and textures.'
        Caption = 'LabelFill'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sRuler: TButton
        Left = 10
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Rulers in centimetres, inches and pixels.'
        Caption = 'Ruler'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sShape: TButton
        Left = 131
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Eleven shapes with textures, shadows and comb teeth.'
        Caption = 'Shapes'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sTextureView: TButton
        Left = 252
        Top = 74
        Width = 112
        Height = 25
        Hint = 'Looks at the textures of the fills.'
        Caption = 'TextureView'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object AdvancedVisual: TZYRSimpleLabel
        Left = 10
        Top = 112
        Caption = 'Advanced'
        Font.Color = clNavy
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object EdgeVisual: TBevel
        Left = 10
        Top = 128
        Width = 354
        Height = 2
        Shape = bsTopLine
      end
      object sProgress: TButton
        Left = 10
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Progress bars with bevel and text.'
        Caption = 'TZYRProgress'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sProgressFill: TButton
        Left = 131
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Progress bars filled with gradients and textures.'
        Caption = 'TZYRProgressFill'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object split: TButton
        Left = 252
        Top = 138
        Width = 112
        Height = 25
        Hint = 'Areas split into panes with movable bars.'
        Caption = 'SplitWindows'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
    end
    object TPage
      Caption = 'Database'
      object sdatabase: TButton
        Left = 10
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Labels, lights, images and switches bound to data.'
        Caption = 'Data-Controls'
        TabOrder = 0
        OnClick = stimepoolClick
      end
    end
    object TPage
      Caption = 'Dialog'
      object sdlg: TButton
        Left = 10
        Top = 10
        Width = 112
        Height = 25
        Hint = 'About, directory, tip and window-list dialogs.'
        Caption = 'Dialog-Demo'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object DialogNote: TZYRSimpleLabel
        Left = 10
        Top = 48
        Width = 350
        Height = 60
        AutoSize = False
        MultiLine = True
        Caption = 'The dialog demo opens the about box, the directory and tip dialogs and the window list, each with its opening effect.'
      end
    end
    object TPage
      Caption = 'Graphic/Multimedia'
      object sjoy: TButton
        Left = 10
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Reads a joystick''s position and buttons.'
        Caption = 'TZYRJoyStick'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object shitim: TButton
        Left = 131
        Top = 10
        Width = 112
        Height = 25
        Hint = 'A timer that ticks every millisecond.'
        Caption = 'TZYRHiTimer'
        Enabled = False
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sclip: TButton
        Left = 252
        Top = 10
        Width = 112
        Height = 25
        Hint = 'Where to find the picture clip demo.'
        Caption = 'Clipcontrols'
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sAniClip: TButton
        Left = 10
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Where to find the animation clip demo.'
        Caption = 'AniClip'
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object sNewControls: TButton
        Left = 131
        Top = 42
        Width = 112
        Height = 25
        Hint = 'Where to find the demo of the newer controls.'
        Caption = 'NewControls'
        TabOrder = 0
        OnClick = stimepoolClick
      end
      object GraphNote: TZYRSimpleLabel
        Left = 10
        Top = 90
        Width = 350
        Height = 60
        AutoSize = False
        MultiLine = True
        Caption = 'The clip and animation demos of the first version are kept apart from this program; their buttons say where to find them.'
      end
    end
  end
  object strsystem: TZYRStrList
    Items.Strings = (
      'TZYRApp'
      'The library''s application object: shared timers, settings store, pattern bitmaps and a stopwatch.'
      'Standard'
      'TZYRApplicationCtrl'
      'Sets the application''s title, icon and hint timing from the form.'
      'Standard'
      'TZYRFile'
      'Copies, moves, renames and deletes files and reads their dates and attributes.'
      'Standard'
      'TZYRFMDrop'
      'Accepts files dropped from the file manager and reports their names and the drop point.'
      'Standard'
      'TZYRForm'
      'Keeps a form''s position, size, colour and font in the settings and opens it with an effect.'
      'Standard'
      'TZYRFormFill'
      'Fills the background of a form with a gradient or a bitmap texture.'
      'Standard'
      'TZYRHideNonVC'
      'Hides the icons of non-visual components on a form at design time.'
      'Standard'
      'TZYRIniCtrl'
      'Reads and writes settings in an INI file or the registry through one interface.'
      'Standard'
      'TZYRShadow'
      'Draws a soft shadow under a control.'
      'Standard'
      'TZYRFormStyler'
      'Paints a window''s title bar with a gradient and 3D text.'
      'Advanced'
      'TZYRHint'
      'Shows hints in a window of its own colour and font.'
      'Standard'
      'TZYRMouseFencer'
      'Keeps the mouse pointer inside a control or a rectangle.'
      'Advanced'
      'TZYRMousePositioner'
      'Moves the mouse pointer onto a control or a point.'
      'Advanced'
      'TZYRMRUList'
      'Keeps a list of recently used files for a menu.'
      'Standard'
      'TZYROneInstance'
      'Lets only one copy of the program run at a time.'
      'Standard'
      'TZYRScreenCanvas'
      'Draws directly on the whole screen.'
      'Advanced'
      'TZYRShapeHint'
      'Shows hints in shaped balloons with a shadow.'
      'Advanced'
      'TZYRStrList'
      'Keeps a list of strings with the form, without a visible control.'
      'Standard'
      'TZYRSysInfo'
      'Tells the processor, memory, user, paths and environment of the system.'
      'Standard'
      'TZYRSysMenu'
      'Adds items of its own to a window''s system menu.'
      'Standard'
      'TZYRTimerPool'
      'Runs many timed tasks on one system timer.'
      'Advanced')
    Duplicates = dupAccept
  end
  object strvisual: TZYRStrList
    Items.Strings = (
      'TZYR2PaneSplitCtrl'
      'Splits an area into two panes with a movable bar.'
      'Advanced'
      'TZYR3PaneSplitCtrl'
      'Splits an area into three panes with movable bars.'
      'Advanced'
      'TZYR4PaneSplitCtrl'
      'Splits an area into four panes around a movable cross.'
      'Advanced'
      'TZYR4Pane3SplitCtrl'
      'Splits an area into four panes with three movable bars.'
      'Advanced'
      'TZYRClock'
      'An analog and digital clock with alarm and stopwatch.'
      'Advanced'
      'TZYRColorComboBox'
      'A combo box for choosing a colour, with custom colours.'
      'Standard'
      'TZYRDrawEdge'
      'Draws the standard 3D edges and frames of the system.'
      'Standard'
      'TZYRFill'
      'Fills an area with a gradient, a bitmap or a brush.'
      'Standard'
      'TZYRFontComboBox'
      'A combo box that lists the installed fonts, each shown in its own face.'
      'Standard'
      'TZYRFormDisplay'
      'Shows another form inside a panel, like a page.'
      'Standard'
      'TZYRLabel'
      'A label with a bevel and raised, sunken, shadowed or rotated text.'
      'Standard'
      'TZYRLabelFill'
      'A label whose text is filled with a gradient or a texture.'
      'Advanced'
      'TZYRLEDLabel'
      'Shows text and numbers on seven-segment LED digits.'
      'Standard'
      'TZYRLight'
      'A lamp that shows a state in colour.'
      'Standard'
      'TZYRListbox'
      'A list box with a bevel and a header with columns.'
      'Standard'
      'TZYRNImage'
      'Shows a bitmap transparently, stretched or with its ratio kept.'
      'Standard'
      'TZYRMeter'
      'A meter with a needle and a scale.'
      'Advanced'
      'TZYRPanel'
      'A panel with a configurable bevel and effect caption.'
      'Standard'
      'TZYRPanelFill'
      'A panel filled with a gradient or a texture.'
      'Advanced'
      'TZYRProgress'
      'A progress bar with bevel and text.'
      'Standard'
      'TZYRProgressFill'
      'A progress bar filled with a gradient or a texture.'
      'Advanced'
      'TZYRRepeatedShape'
      'Repeats a shape along a row to show a value.'
      'Advanced'
      'TZYRRuler '
      'A ruler in centimetres, inches or pixels.'
      'Standard'
      'TZYRShadowFill'
      'A filled area that casts a shadow.'
      'Advanced'
      'TZYRShapeControl'
      'Draws one of eleven shapes with fill and shadow.'
      'Advanced'
      'TZYRShapeHint'
      'Shows hints in shaped balloons with a shadow.'
      'Advanced'
      'TZYRShapeLabel'
      'A shape with a caption inside it.'
      'Advanced'
      'TZYRSimpleLabel'
      'A fast label with 3D text that can also be a hyperlink.'
      'Standard'
      'TZYRSwitch'
      'A rocker switch for on and off.'
      'Standard'
      'TZYRTeethShape'
      'A shape with comb teeth along its edges.'
      'Advanced'
      'TZYRTeethShapeLabel'
      'A comb-toothed shape with a caption.'
      'Advanced')
    Duplicates = dupAccept
  end
  object strdata: TZYRStrList
    Items.Strings = (
      'TZYRDBLabel'
      'A label that shows a field of a data source.'
      'Standard'
      'TZYRDBLabelFill'
      'A filled label that shows a field of a data source.'
      'Advanced'
      'TZYRDBFilter'
      'Builds a filter for a data set from the user''s choices.'
      'Advanced'
      'TZYRDBLEDLabel'
      'Shows a field of a data source on LED digits.'
      'Standard'
      'TZYRDBLight'
      'A lamp that shows a boolean field.'
      'Standard'
      'TZYRDBNImage'
      'Shows a picture field transparently.'
      'Standard'
      'TZYRDBRestoreGrid'
      'Keeps the column widths and order of a grid.'
      'Advanced'
      'TZYRDBSimpleLabel'
      'A fast 3D label that shows a field of a data source.'
      'Standard'
      'TZYRDBSwitch'
      'A rocker switch that edits a boolean field.'
      'Standard'
      'TZYRDBLabel'
      'A label that shows a field of a data source.'
      'Standard'
      '')
    Duplicates = dupAccept
  end
  object strdialog: TZYRStrList
    Items.Strings = (
      'TZYRAboutDlg'
      'An about box with the program''s icon, version and description.'
      'Standard'
      'TZYRDirDlg'
      'A dialog for choosing a directory.'
      'Standard'
      'TZYRTipDlg'
      'Shows a tip of the day from a list.'
      'Standard')
    Duplicates = dupAccept
  end
  object strgraph: TZYRStrList
    Items.Strings = (
      'TZYRAniImage'
      'Plays an animation from the frames of one bitmap.'
      'Advanced'
      'TZYRAniPicClip'
      'Cuts a bitmap into frames for animations.'
      'Advanced'
      'TZYRHiTimer'
      'A timer with intervals down to one millisecond.'
      'Standard'
      'TZYRImage'
      'An image with a bevel and transparency.'
      'Standard'
      'TZYRJoyStick'
      'Reads the position and buttons of a joystick.'
      'Standard'
      'TZYRPicClip'
      'Cuts a bitmap into equal pieces.'
      'Standard'
      'TZYRScreenSaver'
      'Turns a program into a screen saver.'
      'Advanced'
      'TZYRTile'
      'Tiles a bitmap over an area.'
      'Standard'
      'TZYRWaveComp'
      'Keeps a wave sound with the form and plays it.'
      'Standard')
    Duplicates = dupAccept
  end
end
