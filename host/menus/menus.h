// Menus: menu items in a tree, the menu bar of a form (TMainMenu) and popup menus
// (TPopupMenu), with short-cut keys and the keyboard and mouse handling users expect from the
// classic desktop. Items are components of the form, stored as nested blocks under their menu.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/classes/component.h"
#include "host/classes/enuminfo.h"
#include "host/classes/sysutils.h"
#include "host/controls/controls.h"

namespace host {

class TMenu;
class TCustomForm;

class EMenuError : public Exception {
 public:
  explicit EMenuError(const std::string& message) : Exception(message) {}
};

// A key with its shift keys: the virtual key in the low byte, plus these bits.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortcut, WORD& key, TShiftState& shift);
// "Ctrl+S", "Shift+F5", "Alt+Del"; the empty string for 0 or a key without a name.
std::string ShortCutToText(TShortCut shortcut);
// The reverse, ignoring case and spaces around '+'; 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& text);

// The caption of a separator item.
inline constexpr const char* cLineCaption = "-";

class TMenuItem : public TComponent {
  HOST_CLASS(TMenuItem)
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group among its siblings.
  void SetChecked(bool value);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool value);
  uint8_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(uint8_t value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // The default item of a menu is drawn bold.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool IsLine() const { return caption_ == cLineCaption; }

  // Sub-items. An item holds its sub-items and frees them when it goes.
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EMenuError outside 0..Count()-1.
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the sub-item out of the list without freeing it.
  void Delete(int index);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu this item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  // The sub-item whose accelerator or short cut matches, searched depth first.
  TMenuItem* FindItemByShortCut(TShortCut shortcut);

  TNotifyEvent OnClick;
  // Fires OnClick when the item is enabled (checking is left to the handler).
  virtual void Click();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  // A change of the look: the menu repaints what shows the item.
  void Changed();

 private:
  friend class TMenu;
  void TurnSiblingsOff();

  std::string caption_;
  bool checked_ = false;
  bool radio_item_ = false;
  uint8_t group_index_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  TShortCut shortcut_ = 0;
  std::string hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu only
};

class TMenu : public TComponent {
  HOST_CLASS(TMenu)
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  // The invisible root item whose sub-items are the menu's items.
  TMenuItem* Items() const { return items_; }
  // The enabled, visible item with that short cut, or nullptr.
  TMenuItem* FindShortCut(TShortCut shortcut) const;
  // Fires the matching item's OnClick; true when there was one.
  bool IsShortCut(WORD key, TShiftState shift);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  // Told when an item's look changed.
  virtual void ItemChanged() {}

 private:
  TMenuItem* items_;
};

// The menu bar of a form (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
  HOST_CLASS(TMainMenu)
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  void ItemChanged() override;
  // The form whose bar shows this menu, or nullptr.
  TCustomForm* Form() const;
};

HOST_ENUM(TPopupAlignment, uint8_t, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
  HOST_CLASS(TPopupMenu)
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point (Alignment says which edge is there); it stays open,
  // with the mouse captured, until an item is chosen or the user clicks elsewhere or
  // presses Esc.
  virtual void Popup(int x, int y);
  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool value) { auto_popup_ = value; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  // The control that was right-clicked to open the menu (nullptr for Popup from code).
  TControl* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TControl* control);
  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool auto_popup_ = true;
  TPopupAlignment alignment_ = paLeft;
  TControl* popup_component_ = nullptr;
};

// Whether a menu (bar or popup) is open or the bar is selected from the keyboard.
bool MenuActive();
// Closes every open menu without choosing anything.
void CloseMenus();

// Registers the menu classes and installs the hooks that connect them to forms and controls.
void RegisterMenus();

}  // namespace host
