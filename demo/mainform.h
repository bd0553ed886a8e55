// The main window: the tab row that switches the page shown in the form display, the feature
// lines beside it, the help button and the popup menu.
#pragma once

#include <string>

#include "host/forms/forms.h"

namespace host {
class TBevel;
class TCanvas;
class TMenuItem;
class TPopupMenu;
class TSpeedButton;
class TTabSet;
}  // namespace host

namespace zyr {
class TZYRFormDisplay;
class TZYRSimpleLabel;
class TZYRStrList;
}  // namespace zyr

namespace showrama {

class Tfrmshowrama : public host::TForm {
  HOST_CLASS(Tfrmshowrama)
  explicit Tfrmshowrama(TComponent* owner);
  ~Tfrmshowrama() override;
  std::string FormResource() const override { return "forms/frmshowrama.form"; }

  zyr::TZYRFormDisplay* fd = nullptr;
  host::TTabSet* TabSet = nullptr;
  host::TBevel* Bevel5 = nullptr;
  zyr::TZYRSimpleLabel* dblbl1 = nullptr;
  zyr::TZYRSimpleLabel* dblbl2 = nullptr;
  zyr::TZYRSimpleLabel* dblbl3 = nullptr;
  zyr::TZYRSimpleLabel* dblbl4 = nullptr;
  host::TSpeedButton* help = nullptr;
  zyr::TZYRStrList* strfeatures = nullptr;
  host::TPopupMenu* PopupMenu1 = nullptr;
  host::TMenuItem* Info1 = nullptr;
  host::TMenuItem* N1 = nullptr;
  host::TMenuItem* Exit1 = nullptr;

  void FormCreate(TObject* sender);
  void FormActivate(TObject* sender);
  void FormClose(TObject* sender, host::TCloseAction& action);
  void TabSetChange(TObject* sender, int32_t new_tab, bool& allow_change);
  void helpClick(TObject* sender);
  void Exit1Click(TObject* sender);
  void stylerCaptionPaint(TObject* sender, host::TCanvas* canvas, const RECT& dest);

  // Feature group g (0 to 5) into the four labels: lines 5g to 5g+3.
  void ShowFeatures(int group);
};

// The main window while it exists.
extern Tfrmshowrama* frmshowrama;
// The form demo window: made once by its button, freed when the main window closes.
extern host::TForm* frmzyrdemo;

void RegisterMainForm();

}  // namespace showrama
