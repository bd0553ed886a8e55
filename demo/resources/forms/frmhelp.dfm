object frmhelp: Tfrmhelp
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Help...'
  ClientWidth = 317
  ClientHeight = 253
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  Position = poScreenCenter
  PixelsPerInch = 96
  object Guide: TPanel
    Left = 9
    Top = 5
    Width = 298
    Height = 216
    BevelOuter = bvLowered
    Color = 14811135
    object GuideCaption: TZYRSimpleLabel
      Left = 1
      Top = 6
      Width = 296
      Height = 16
      Alignment = agTopCenter
      AutoSize = False
      Caption = 'Small guide through the demo...'
    end
    object Label1: TZYRSimpleLabel
      Left = 14
      Top = 30
      Width = 270
      Height = 52
      AutoSize = False
      Caption = 'The "Welcome!" tab introduces the library. The lines beside the page change with every tab and tell what is special about its components.'
      MultiLine = True
    end
    object Label2: TZYRSimpleLabel
      Left = 14
      Top = 86
      Width = 270
      Height = 66
      AutoSize = False
      Caption = 'The tabs "System", "Visual", "Data", "Dialog" and "Graphic/Multimedia" list the components of their category; choose one in the list box to read what it does.'
      MultiLine = True
    end
    object Label3: TZYRSimpleLabel
      Left = 14
      Top = 156
      Width = 270
      Height = 52
      AutoSize = False
      Caption = 'The buttons under the list open small demonstration windows; rest the mouse on a button to see what it shows.'
      MultiLine = True
    end
  end
  object Button1: TButton
    Left = 150
    Top = 226
    Width = 75
    Height = 23
    Caption = 'OK'
    Cancel = True
    Default = True
    ModalResult = 1
  end
  object Button2: TButton
    Left = 232
    Top = 226
    Width = 75
    Height = 23
    Caption = 'About...'
    Enabled = False
  end
end
