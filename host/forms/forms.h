// Forms (top-level windows, modal or not, or embedded in another control), the screen (forms,
// fonts, cursors) and the application (message loop, exceptions, hints, message boxes).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/controls/controls.h"

namespace host {

class TIcon;
class TStrings;
class THintWindow;
class TTimer;

HOST_ENUM(TFormBorderStyle, uint8_t, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
using TBorderStyle = TFormBorderStyle;  // controls use bsNone and bsSingle
HOST_ENUM(TBorderIcon, uint8_t, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = Set<TBorderIcon>;
HOST_ENUM(TPosition, uint8_t, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
          poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
HOST_ENUM(TFormStyle, uint8_t, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
HOST_ENUM(TWindowState, uint8_t, wsNormal, wsMinimized, wsMaximized)
HOST_ENUM(TCloseAction, uint8_t, caNone, caHide, caFree, caMinimize)

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& can_close)>;

// ---- Forms ------------------------------------------------------------------------------

class TCustomForm : public TWinControl {
  HOST_CLASS(TCustomForm)
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle style);
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState state);
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  int32_t PixelsPerInch() const { return pixels_per_inch_; }
  void SetPixelsPerInch(int32_t value) { pixels_per_inch_ = value; }
  TIcon* Icon() const { return icon_.get(); }
  void SetIcon(TIcon* icon);
  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool value) { key_preview_ = value; }
  TComponent* Menu() const { return menu_; }
  void SetMenu(TComponent* menu);
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult result) { modal_result_ = result; }
  bool Active() const { return active_; }
  // The client window an MDI frame's children live in (nullptr for other forms).
  HWND ClientHandle() const { return mdi_client_; }
  // Forms store their client size rather than their outer size.
  int32_t StoredClientWidth() const { return ClientWidth(); }
  int32_t StoredClientHeight() const { return ClientHeight(); }

  void Show();
  void Hide();
  // Shows the form modally: every other top-level window is disabled, a nested loop runs
  // (timers keep firing) until ModalResult becomes non-zero, then the form hides and the
  // windows come back. Returns the ModalResult.
  virtual TModalResult ShowModal();
  bool IsModal() const { return modal_; }
  // Asks OnCloseQuery, then OnClose decides: caHide hides, caFree releases, caMinimize
  // minimises, caNone keeps the form. Closing the main form ends the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued are handled (safe from its own handlers).
  void Release();
  // An embedded form is a borderless child window of another control.
  bool Embedded() const { return parent_ != nullptr; }

  void FocusControl(TWinControl* control);
  // Called when a control of this form receives the focus; fires OnExit/OnEnter.
  bool SetFocusedControl(TWinControl* control);
  void DefocusControl(TWinControl* control, bool removing);
  TWinControl* FocusedControl() const { return focused_control_; }
  void SetFocus() override;
  bool CanFocus() const override;
  bool Showing() const override;
  RECT ClientRect() const override;
  void SetParent(TWinControl* parent) override;
  // Grows or shrinks positions, sizes and fonts by m/d (Scaled forms read at another density).
  void ScaleBy(int m, int d);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void Dispatch(TMessage& message) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  friend class TWinControl;
  friend class TApplication;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC dc) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  // Places the form as Position says, the first time it is shown.
  void ApplyPosition();
  void ShowWindowNow(bool show);
  // The frame follows a new menu (the bar appears or goes).
  void MenuChanged();

 private:
  void DialogKey(TMessage& message);

  std::unique_ptr<TControlCanvas> canvas_;
  std::unique_ptr<TIcon> icon_;
  TFormBorderStyle border_style_ = bsSizeable;
  TBorderIcons border_icons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TFormStyle form_style_ = fsNormal;
  TWindowState window_state_ = wsNormal;
  bool scaled_ = true;
  int32_t pixels_per_inch_ = 96;
  TWinControl* active_control_ = nullptr;
  TWinControl* focused_control_ = nullptr;
  bool key_preview_ = false;
  TComponent* menu_ = nullptr;
  TModalResult modal_result_ = mrNone;
  bool active_ = false;
  bool modal_ = false;
  bool positioned_ = false;
  bool created_ = false;
  HWND mdi_client_ = nullptr;
};

class TForm : public TCustomForm {
  HOST_CLASS(TForm)
  explicit TForm(TComponent* owner);
};

// ---- Hint window --------------------------------------------------------------------------

class THintWindow : public TCustomControl {
  HOST_CLASS(THintWindow)
  explicit THintWindow(TComponent* owner);
  // Shows the hint with its top-left corner at rect's, sized to rect, topmost and without
  // taking the activation.
  virtual void ActivateHint(RECT rect, const std::string& hint);
  virtual RECT CalcHintRect(int max_width, const std::string& hint);
  void ReleaseHandle() { DestroyHandle(); }
  void Dispatch(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};
using THintWindowClass = TClass;
// The class of the application's hint window; a library may install its own descendant.
extern THintWindowClass HintWindowClass;

struct THintInfo {
  TControl* HintControl = nullptr;
  POINT HintPos{};          // screen position of the hint's top-left corner
  int HintMaxWidth = 0;
  TColor HintColor = 0;
  RECT CursorRect{};        // the hint goes when the mouse leaves this (control coordinates)
  POINT CursorPos{};        // the mouse in control coordinates
  std::string HintStr;
};

// ---- Screen -------------------------------------------------------------------------------

class TScreen : public TComponent {
  HOST_CLASS(TScreen)
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const;
  TCustomForm* ActiveForm() const { return active_form_; }
  TWinControl* ActiveControl() const { return active_form_ ? active_form_->ActiveControl() : nullptr; }
  // The installed font families, sorted.
  TStrings* Fonts();
  int32_t Width() const;
  int32_t Height() const;
  int32_t PixelsPerInch() const { return 96; }
  // The cursor of a TCursor value (standard or custom); the default arrow for unknown ones.
  HCURSOR Cursors(TCursor index) const;
  void SetCursors(TCursor index, HCURSOR cursor);
  // A screen-wide cursor (crHourGlass while busy) over every control's own; crDefault ends it.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  HCURSOR DefaultCursor() const { return Cursors(crArrow); }
  void ResetFonts();

 private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form);

  std::vector<TCustomForm*> forms_;
  TCustomForm* active_form_ = nullptr;
  std::unique_ptr<TStrings> fonts_;
  std::vector<std::pair<TCursor, HCURSOR>> cursors_;
  TCursor cursor_ = crDefault;
};

// ---- Application --------------------------------------------------------------------------

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;
using TWindowHook = std::function<bool(TMessage& message)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;

class TApplication : public TComponent {
  HOST_CLASS(TApplication)
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  TIcon* Icon() const { return icon_.get(); }
  std::string ExeName() const;
  // The hidden application window (what HookMainWindow hooks).
  HWND Handle() const { return handle_; }
  TCustomForm* MainForm() const { return main_form_; }

  // Creates a form of class T owned by the application; the first becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = New<T>(this);
    AdoptForm(form);
    return form;
  }
  // The same by class reference (a TCustomForm descendant).
  TCustomForm* CreateForm(TClass form_class);
  // Shows the main form and runs the message loop until Terminate (or the main form closes).
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // Handles one message, waiting for one when there is none (idle work first).
  void HandleMessage();
  int ModalLevel() const { return modal_level_; }

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  // Shows the exception through OnException or, without one, in a message box.
  void HandleException(TObject* sender, const std::exception& e);
  void ShowException(const std::exception& e);

  // A message box in the application's style; flags are MB_ values (buttons, icon, default
  // button); returns the IDOK/IDCANCEL/... of the button chosen.
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // Hints.
  bool ShowHint() const { return show_hint_; }
  // Switching hints off destroys the hint window (a new class takes effect on the next hint).
  void SetShowHint(bool value);
  TColor HintColor() const { return hint_color_; }
  void SetHintColor(TColor color);
  int HintPause() const { return hint_pause_; }
  void SetHintPause(int ms) { hint_pause_ = ms; }
  int HintShortPause() const { return hint_short_pause_; }
  void SetHintShortPause(int ms) { hint_short_pause_ = ms; }
  int HintHidePause() const { return hint_hide_pause_; }
  void SetHintHidePause(int ms) { hint_hide_pause_ = ms; }
  void ActivateHint(POINT cursor_pos);
  void CancelHint();
  THintWindow* HintWindow() const { return hint_window_; }

  // Hooks on the hidden application window: each sees every message first and returns true
  // when it handled it. HookMainWindow returns the number UnhookMainWindow takes.
  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int hook);
  bool HelpContext(int context);
  TNotifyEvent OnHint;
  std::function<bool(int command, int data, bool& call_help)> OnHelp;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomForm;
  void AdoptForm(TCustomForm* form);
  void Idle();
  void WndProc(TMessage& message);
  void HintMouseMessage(TControl* control, TMessage& message);
  void HintTimerExpired();
  void ShowHintNow();
  void HideHint();
  void StartHintTimer(int ms, int kind);
  void StopHintTimer();
  void DestroyHintWindow();

  std::string title_;
  std::unique_ptr<TIcon> icon_;
  HWND handle_ = nullptr;
  WNDPROC object_instance_;
  TCustomForm* main_form_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;
  int modal_level_ = 0;
  std::vector<std::pair<int, std::shared_ptr<TWindowHook>>> hooks_;
  int next_hook_ = 1;
  bool show_hint_ = true;
  TColor hint_color_ = clInfoBk;
  int hint_pause_ = 500;
  int hint_short_pause_ = 50;
  int hint_hide_pause_ = 2500;
  THintWindow* hint_window_ = nullptr;
  TControl* hint_control_ = nullptr;
  RECT hint_cursor_rect_{};
  bool hint_active_ = false;
  UINT_PTR hint_timer_ = 0;
  int hint_timer_kind_ = 0;
};

// The application and the screen of the program; made by InitApplication (or by the first
// use of these functions) and freed by DoneApplication.
TApplication* Application();
TScreen* Screen();
void InitApplication();
void DoneApplication();

// ---- Message dialogs --------------------------------------------------------------------

HOST_ENUM(TMsgDlgType, uint8_t, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
// Nine buttons: the set needs two bytes.
HOST_ENUM(TMsgDlgBtn, uint16_t, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp)
using TMsgDlgButtons = Set<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// A dialog form with the icon of its type, the text wrapped to a sensible width, one button
// per member of buttons (the first is the default, Cancel/No is the cancel button), centred on
// the screen. Enter, Esc, Tab and the buttons' accelerators work.
TCustomForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons);
TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int help_context);
void ShowMessage(const std::string& msg);

}  // namespace host
