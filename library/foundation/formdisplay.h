// A bevelled panel that shows an existing form inside itself, like a page: the form loses its
// frame, becomes a child window of the display and fills the area inside the bevel. Switching
// pages detaches one form and shows another; the forms themselves live on.
//
// The display frees only forms it owns (Owner() == the display) or is told to free
// (ReleaseForm); every other form is detached and left to its owner. A shown form freed
// elsewhere is forgotten at once.
#pragma once

#include <string>

#include "host/forms/forms.h"
#include "library/controls/bases.h"

namespace zyr {

class TZYRFormDisplay : public TZYRCustomBevelPanel {
  HOST_CLASS(TZYRFormDisplay)
  explicit TZYRFormDisplay(TComponent* owner);
  // Detaches the forms it holds that it does not own; never frees them.
  ~TZYRFormDisplay() override;

  // The form shown now; nullptr when the display is empty.
  host::TForm* Form() const { return form_; }
  // The Name of the form shown now, or the name of the form to find.
  const std::string& FormName() const { return form_name_; }
  // At run time shows the form of that name (a blank name frees the shown form); while
  // designing or reading only stores it.
  void SetFormName(const std::string& value);
  // A detached form's window is destroyed so that it holds nothing while hidden.
  bool SaveResources() const { return save_resources_; }
  void SetSaveResources(bool value) { save_resources_ = value; }

  // Shows form in the inner rectangle; true when the shown form changed. The previous form is
  // freed when the display owns it, otherwise detached as RemoveForm does. Raises Exception
  // for nullptr and for a form that holds the display.
  bool ShowForm(host::TForm* form);
  // Detaches the shown form without freeing it: it stays a hidden child of the display.
  void RemoveForm();
  // Frees the shown form, if any, and empties the display.
  void ReleaseForm();
  // Shows the first of the screen's forms whose Name equals name exactly; a blank name
  // releases the shown form; no match changes nothing.
  void ShowByName(const std::string& name);

  // The client rectangle shrunk on every side by the bevel's extent.
  RECT InnerRect() const;

  // A bevel change moves the shown form to the new inner rectangle.
  void ObjectChanged(TObject* sender) override;
  void Dispatch(host::TMessage& message) override;
  void Loaded() override;

 protected:
  void Notification(TComponent* component, host::TOperation operation) override;
  // A new size moves the shown form to the new inner rectangle.
  void Resize() override;
  void Paint() override;

 private:
  void FitForm();
  // Forgets the shown form without touching it.
  void Forget();

  host::TForm* form_ = nullptr;
  std::string form_name_;
  bool save_resources_ = false;
};

// Registers TZYRFormDisplay with the host so that forms may name it; calling it again does no
// harm.
void RegisterFormDisplay();

}  // namespace zyr
