// The components page shared by the five category tabs: a notebook of demo buttons, the
// component lists of each category and the description of the chosen component.
#pragma once

#include <string>
#include <vector>

#include "host/forms/forms.h"

namespace host {
class TButton;
class TMemo;
class TNotebook;
class TStrings;
}  // namespace host

namespace zyr {
class TZYRLabel;
class TZYRStrList;
}  // namespace zyr

namespace showrama {

// The rows a component list gives: "Class;Edition" for each complete triple of lines (class,
// description, edition); a trailing incomplete triple is ignored.
std::vector<std::string> ComponentRows(const host::TStrings* list);

class Tcomps : public host::TForm {
  HOST_CLASS(Tcomps)
  explicit Tcomps(TComponent* owner);
  ~Tcomps() override;
  std::string FormResource() const override { return "forms/comps.form"; }

  zyr::TZYRLabel* ZYRLabel1 = nullptr;
  host::TMemo* description = nullptr;
  host::TNotebook* note2 = nullptr;
  zyr::TZYRStrList* strsystem = nullptr;
  zyr::TZYRStrList* strvisual = nullptr;
  zyr::TZYRStrList* strdata = nullptr;
  zyr::TZYRStrList* strdialog = nullptr;
  zyr::TZYRStrList* strgraph = nullptr;
  host::TButton* stx = nullptr;
  host::TButton* sdatabase = nullptr;
  host::TButton* sclip = nullptr;
  host::TButton* sAniClip = nullptr;
  host::TButton* sNewControls = nullptr;

  // The list of notebook page p (0 System, 1 Visual, 2 Data, 3 Dialog, 4 Graphic/Multimedia).
  zyr::TZYRStrList* ComponentList(int page) const;
  // Turns the notebook to page p and shows its first component's description; the rows go
  // to the list box.
  void ShowCategory(int page);
  // The description of row i of the current page's list (line 3i+1); empty outside the list.
  void DescribeRow(int row);

  // A click on a component list box: describes the selected row.
  void lbClick(TObject* sender);
  // Every demo button: the sender decides what opens.
  void stimepoolClick(TObject* sender);
};

// The components page while it exists.
extern Tcomps* comps;

void RegisterComps();

}  // namespace showrama
