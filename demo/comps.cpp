#include "demo/comps.h"

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"
#include "host/classes/sysutils.h"
#include "host/classes/typinfo.h"
#include "host/extctrls/pages.h"
#include "host/stdctrls/edits.h"
#include "host/stdctrls/lists.h"
#include "host/stdctrls/stdctrls.h"
#include "library/controls/labels.h"
#include "library/services/strlist.h"

namespace showrama {

Tcomps* comps = nullptr;

std::vector<std::string> ComponentRows(const host::TStrings* list) {
  std::vector<std::string> rows;
  const int triples = list->Count() / 3;
  for (int i = 0; i < triples; ++i) rows.push_back(list->Strings(3 * i) + ";" + list->Strings(3 * i + 2));
  return rows;
}

HOST_PUBLISHED(Tcomps, host::TForm) {
  HOST_FIELD(ZYRLabel1);
  HOST_FIELD(description);
  HOST_FIELD(note2);
  HOST_FIELD(strsystem);
  HOST_FIELD(strvisual);
  HOST_FIELD(strdata);
  HOST_FIELD(strdialog);
  HOST_FIELD(strgraph);
  HOST_FIELD(stx);
  HOST_FIELD(sdatabase);
  HOST_FIELD(sclip);
  HOST_FIELD(sAniClip);
  HOST_FIELD(sNewControls);
  HOST_METHOD(lbClick);
  HOST_METHOD(stimepoolClick);
}

Tcomps::Tcomps(TComponent* owner) : host::TForm(owner) { comps = this; }

Tcomps::~Tcomps() {
  if (comps == this) comps = nullptr;
}

zyr::TZYRStrList* Tcomps::ComponentList(int page) const {
  // The order of the notebook's pages, not of the lists on the form.
  switch (page) {
    case 0: return strsystem;
    case 1: return strvisual;
    case 2: return strdata;
    case 3: return strdialog;
    case 4: return strgraph;
  }
  throw host::EListError(host::Format("Tcomps: no component list for page %d (0 to 4)", {page}));
}

void Tcomps::ShowCategory(int page) {
  zyr::TZYRStrList* list = ComponentList(page);
  note2->SetPageIndex(page);
  description->SetText(list->Items()->Count() > 1 ? list->Items()->Strings(1) : "");
}

void Tcomps::DescribeRow(int row) {
  const host::TStrings* items = ComponentList(note2->PageIndex())->Items();
  const int line = 3 * row + 1;
  description->SetText(row >= 0 && line < items->Count() ? items->Strings(line) : "");
}

void Tcomps::lbClick(TObject* sender) {
  if (auto* box = dynamic_cast<host::TCustomListBox*>(sender)) DescribeRow(box->ItemIndex());
}

void Tcomps::stimepoolClick(TObject* sender) {
  // Demos built elsewhere; their buttons stay disabled until their forms exist.
  if (sender == stx) {
    host::ShowMessage(
        "The TextEdit-demo is not available from this place.\rPlease check \\Demos\\Advanced\\TextEdit folder\r"
        "and compile the project.");
  } else if (sender == sdatabase) {
    host::ShowMessage(
        "The DBCtrls-demo is not available from this place.\rPlease check \\Demos\\Standard\\DBCtrls folder\r"
        "and compile the project.");
  } else if (sender == sclip || sender == sAniClip || sender == sNewControls) {
    host::ShowMessage(
        "You find this demo in the \\demos\\version1 directory\r"
        "if available (not included in all trialversions/Standard version)");
  }
}

void RegisterComps() { host::RegisterClasses({Tcomps::StaticClass()}); }

}  // namespace showrama
