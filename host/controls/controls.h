// Controls: TControl (position, look, mouse, messages), TGraphicControl (windowless, painted
// by its parent), TWinControl (a window of its own, children, focus, keys) and
// TCustomControl (a window with a canvas and Paint).
//
// Messages reach a control by number: WndProc (overridable) passes them to Dispatch, which
// each class overrides with a switch over the numbers it handles and the base class's
// Dispatch for the rest ("inherited"); what nobody handles ends in DefaultHandler, which for a
// windowed control is the window procedure the control found when it was created (so hooks
// installed later with SetWindowLong(GWL_WNDPROC) sit in front of the control's handling).
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/component.h"
#include "host/classes/enuminfo.h"
#include "host/classes/set.h"
#include "host/graphics/canvas.h"
#include "host/graphics/color.h"
#include "platform/win32/user.h"

namespace host {

class TFont;
class TBrush;
class TWinControl;
class TCustomForm;

// ---- Messages -------------------------------------------------------------------------

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Notifications among controls, in a range of their own above WM_USER.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 2;         // WParam: virtual key; Result 1 = used
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 3;        // WParam: character; Result 1 = used
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 4;      // LParam: the control now focused
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 5;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6;
inline constexpr UINT CM_HITTEST = CM_BASE + 7;           // LParam: point; Result 0 = not here
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 8;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 9;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 10;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 11;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 12;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 13;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 14;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 15;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 16;
inline constexpr UINT CM_ENTER = CM_BASE + 17;
inline constexpr UINT CM_EXIT = CM_BASE + 18;
inline constexpr UINT CM_RELEASE = CM_BASE + 19;          // posted: free the form
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 20;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 21;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 22;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 23;       // the system's font list changed
inline constexpr UINT CM_HINTSHOW = CM_BASE + 24;         // LParam: THintInfo*; Result 1 = no hint
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 25;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 26;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 27;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 28;   // WParam: key; Result 1 = the control takes it
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 29;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 30;         // WParam: key, LParam: sender; Result 1 = used
inline constexpr UINT CM_INVALIDATE = CM_BASE + 31;
// Sent to the parent when a child joined, left, moved, was resized or shown/hidden
// (scrolling containers recompute their ranges); WParam: the child.
inline constexpr UINT CM_CHILDCHANGED = CM_BASE + 32;

// Notifications a child window sent its parent, passed back to the child's control.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

// ---- Enumerations -------------------------------------------------------------------------

HOST_ENUM(TAlign, uint8_t, alNone, alTop, alBottom, alLeft, alRight, alClient)

HOST_ENUM(TControlStyleFlag, uint16_t, csAcceptsControls, csCaptureMouse, csDesignInteractive,
          csClickEvents, csFramed, csSetCaption, csOpaque, csDoubleClicks, csFixedWidth,
          csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents)
using TControlStyle = Set<TControlStyleFlag>;

HOST_ENUM(TControlStateFlag, uint16_t, csLButtonDown, csClicked, csPalette, csReadingState,
          csAlignmentNeeded, csFocusing, csCreating, csPaintCopy, csCustomPaint,
          csDestroyingHandle)
using TControlState = Set<TControlStateFlag>;

HOST_ENUM(TMouseButton, uint8_t, mbLeft, mbRight, mbMiddle)
HOST_ENUM(TShiftStateFlag, uint8_t, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = Set<TShiftStateFlag>;

HOST_ENUM(TDragMode, uint8_t, dmManual, dmAutomatic)
HOST_ENUM(TDragKind, uint8_t, dkDrag, dkDock)

// Cursors: the standard ones are negative; the screen's Cursors list maps them to handles
// and may hold custom entries.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSize = -5;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// The shift state of a mouse message's key flags, or of the keyboard now.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardStateToShiftState();
// True when key is the accelerator of caption ("&Open" has 'o'); "&&" is a plain '&'.
bool IsAccel(WORD key, const std::string& caption);
// A window procedure that calls method: what SetWindowLong(GWL_WNDPROC) installs for an
// object. FreeObjectInstance exists for symmetry: the callable owns nothing to free.
WNDPROC MakeObjectInstance(std::function<void(TMessage&)> method);
void FreeObjectInstance(WNDPROC& proc);
// A hidden window whose messages go to method (timers and other background work);
// DeallocateHWnd destroys it.
HWND AllocateHWnd(std::function<void(TMessage&)> method);
void DeallocateHWnd(HWND hwnd);

// Exceptions that escape a window procedure go here; the application installs the handler
// that shows them in a message box (the default writes them to standard error).
using TExceptionHandler = std::function<void(TObject* sender, const std::exception& e)>;
void SetExceptionHandler(TExceptionHandler handler);
void HandleException(TObject* sender, const std::exception& e);
// Every mouse message a control receives is shown to this hook first (hint timing).
class TControl;
using TMouseMessageHook = std::function<void(TControl* control, TMessage& message)>;
void SetHintMouseHook(TMouseMessageHook hook);
// Told of every control being destroyed (the application forgets its hint control).
void SetControlDestroyedHook(std::function<void(TControl*)> hook);
// Menus live in a unit above this one; it installs these hooks and names the classes the
// PopupMenu and Menu properties accept (any component until it does).
struct TMenuHooks {
  // Opens a popup menu for control at a screen point (a right click); true when it opened.
  std::function<bool(TComponent* menu, TControl* control, POINT screen)> popup;
  // Sees every key message of a windowed control before the control; true = used.
  std::function<bool(TWinControl* control, TMessage& message)> key;
  // Sees the messages of a form that has a menu before the form; true = used.
  std::function<bool(TCustomForm* form, TMessage& message)> form;
  TClass popup_menu_class = nullptr;
  TClass main_menu_class = nullptr;
};
TMenuHooks& MenuHooks();
TClass PopupMenuClass();
TClass MainMenuClass();

// ---- TControl -------------------------------------------------------------------------

class TControl : public TComponent {
  HOST_CLASS(TControl)
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Messages.
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return parent_ != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  virtual RECT ClientRect() const;
  int32_t ClientWidth() const { return ClientRect().right; }
  int32_t ClientHeight() const { return ClientRect().bottom; }
  void SetClientWidth(int32_t v);
  void SetClientHeight(int32_t v);
  // The screen position of the client area's top-left corner.
  virtual POINT ClientOrigin() const;
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a top-level window showing.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font);
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool value);
  // Caption and Text are one string (Caption for labels and buttons, Text for edits).
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& s) { SetText(s); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& s);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parent_show_hint_; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  TComponent* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TComponent* menu);
  TDragMode DragMode() const { return drag_mode_; }
  void SetDragMode(TDragMode mode) { drag_mode_ = mode; }
  TCursor DragCursor() const { return drag_cursor_; }
  void SetDragCursor(TCursor cursor) { drag_cursor_ = cursor; }

  TControlStyle ControlStyle() const { return control_style_; }
  void SetControlStyle(TControlStyle style) { control_style_ = style; }
  TControlState ControlState() const { return control_state_; }
  void SetControlState(TControlState state) { control_state_ = state; }

  // Repainting. Invalidate marks the control's area for the next paint (the parent's area
  // for a windowless control, so what lies beneath is repainted when it is not opaque);
  // Update paints what is marked now; Repaint = Invalidate + Update; Refresh = Repaint.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  // Re-lays out the parent's aligned controls.
  void Realign();

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;

  virtual void Click();
  virtual void DblClick();

  // The form (or other top-level TWinControl) this control lives on.
  TCustomForm* GetParentForm() const;

  void Loaded() override;

 protected:
  virtual std::string GetText() const { return text_; }
  virtual void SetTextValue(const std::string& s) { text_ = s; }
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void Resize();
  // Called when the bounds changed (after the platform window moved, if any).
  virtual void BoundsChanged();
  // A windowless control changed visibility or bounds: the parent's area needs painting.
  void InvalidateControl(bool was_visible, bool is_visible);
  virtual void VisibleChanging() {}
  virtual void FontChanged();
  virtual void SetZOrder(bool top);
  // Whether a point (client coordinates) is on the control; CM_HITTEST can refuse it.
  bool HitTest(int x, int y);
  // Properties stored only when not taken from the parent.
  bool IsColorStored() const { return !parent_color_; }
  bool IsFontStored() const { return !parent_font_; }
  bool IsShowHintStored() const { return !parent_show_hint_; }

  std::unique_ptr<TFont> font_;
  TControlStyle control_style_;
  TControlState control_state_;
  TWinControl* parent_ = nullptr;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;

  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parent_color_ = true;
  bool parent_font_ = true;
  std::string text_;
  std::string hint_;
  bool show_hint_ = false;
  bool parent_show_hint_ = true;
  TCursor cursor_ = crDefault;
  TComponent* popup_menu_ = nullptr;
  TDragMode drag_mode_ = dmManual;
  TCursor drag_cursor_ = crDrag;
  bool updating_font_ = false;

 private:
  friend class TWinControl;
  void HandleMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
  void HandleMouseUp(TMessage& m, TMouseButton button);
};

// ---- Canvas of a control ----------------------------------------------------------------

// A canvas on a control: during paint it holds the paint DC; otherwise it gets the parent
// window's DC on first use, with the origin at the control's top-left corner and the
// clipping at its bounds, and gives it back when the loop goes idle or the control moves.
class TControlCanvas : public TCanvas {
  HOST_CLASS(TControlCanvas)
  explicit TControlCanvas(TControl* control) : control_(control) {}
  ~TControlCanvas() override;
  TControl* Control() const { return control_; }
  void FreeHandle();
  // Gives back every control canvas's borrowed DC (the loop calls it when idle).
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_;
  HDC borrowed_ = nullptr;
  HWND window_ = nullptr;
};

// ---- TGraphicControl ----------------------------------------------------------------------

class TGraphicControl : public TControl {
  HOST_CLASS(TGraphicControl)
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  void Dispatch(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// ---- TWinControl --------------------------------------------------------------------------

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  std::string WinClassName;  // the window class; registered on first use
  UINT WindowClassStyle = CS_DBLCLKS;
  HCURSOR ClassCursor = nullptr;
  HBRUSH ClassBackground = nullptr;
};

class TWinControl : public TControl {
  HOST_CLASS(TWinControl)
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made on first need (parents first).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  void DestroyHandle();
  // Destroys and makes the window again, keeping the control's state (after style changes).
  void RecreateWnd();
  // The window procedure found when the window was made (DefWindowProc for our classes).
  const WNDPROC& DefWndProc() const { return def_wnd_proc_; }
  // Takes a window the platform just made for this control and installs the control's own
  // window procedure; returns that procedure.
  WNDPROC AttachWindow(HWND hwnd);

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // Windowless children first, then the windowed ones.
  int ControlCount() const { return static_cast<int>(controls_.size() + win_controls_.size()); }
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The visible, enabled child (windowless ones first, topmost first) at a client point.
  TControl* ControlAtPos(POINT p, bool allow_disabled, bool allow_windowed = false) const;
  bool ContainsControl(const TControl* control) const;
  // Sends message to every child control.
  void Broadcast(TMessage& message);
  void NotifyControls(UINT msg);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  // Lays out the aligned children that were read with the form.
  void Loaded() override;

  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool value);
  int TabOrder() const;
  void SetTabOrder(int order);
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool value);
  bool ParentCtl3D() const { return parent_ctl3d_; }
  void SetParentCtl3D(bool value);
  // The windowed children in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  // The next (or previous) focusable control after current, wrapping around.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool check_tab_stop, bool check_parent);
  void SelectNext(TWinControl* current, bool forward, bool check_tab_stop);

  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  TBrush* Brush() const { return brush_.get(); }
  RECT ClientRect() const override;
  POINT ClientOrigin() const override;
  bool Showing() const override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void SetEnabled(bool enabled) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Lays out the aligned children again now.
  void Realign();
  void DisableAlign() { ++align_level_; }
  void EnableAlign();
  void PaintControls(HDC dc, TControl* first);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void CreateHandle();
  // The area aligned children share (the client rectangle; controls with borders shrink it).
  virtual void AdjustClientRect(RECT& rect);
  virtual void AlignControls(TControl* control, RECT& rect);
  // Key handling; return true when the key was used.
  virtual bool DoKeyDown(WORD& key, TShiftState shift);
  virtual bool DoKeyPress(char& key);
  virtual bool DoKeyUp(WORD& key, TShiftState shift);
  // Whether the control wants typed characters (edits) rather than letting them work as
  // accelerators of the dialog.
  virtual bool WantsChars() const { return false; }
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);
  void UpdateBounds();
  void UpdateShowing();
  void SetZOrder(bool top) override;
  HWND handle_ = nullptr;
  std::unique_ptr<TBrush> brush_;

 private:
  friend class TControl;
  void DoAlign(TAlign align, TControl* control, RECT& rect);
  void AlignControl(TControl* control);
  bool IsControlMouseMsg(TMessage& message);
  void TrackMouse(POINT client);
  bool HandleKey(TMessage& message);
  void HandleDialogChar(TMessage& message);

  std::vector<TControl*> controls_;        // windowless children, in z-order (bottom first)
  std::vector<TWinControl*> win_controls_;  // windowed children, in z-order
  std::vector<TWinControl*> tab_list_;
  WNDPROC object_instance_;
  WNDPROC def_wnd_proc_;
  int align_level_ = 0;
  bool tab_stop_ = false;
  bool ctl3d_ = true;
  bool parent_ctl3d_ = true;
  bool realigning_ = false;
};

// ---- TCustomControl -------------------------------------------------------------------------

class TCustomControl : public TWinControl {
  HOST_CLASS(TCustomControl)
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// The control with the mouse over it, for CM_MOUSEENTER/LEAVE and hints; the capture control
// gets every mouse message until the button is released.
TControl* MouseControl();
TControl* CaptureControl();
void SetCaptureControl(TControl* control);
// The TWinControl of a window made by this framework, or nullptr.
TWinControl* FindControl(HWND hwnd);
// The innermost control at a screen point (windowless ones included).
TControl* FindDragTarget(POINT screen, bool allow_disabled);

}  // namespace host
