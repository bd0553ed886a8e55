// The library's control bases. Windowless: TZYRBaseGraphicControl (transparency, bounds news)
// and TZYRGraphicControl (a bevel). Windowed: TZYRCustomControl (repaints on sub-object news),
// TZYRCustomPanel (a container with a resize event), TZYRCustomBevelPanel (children aligned
// inside a bevel) and TZYRCustomExtPanel (a caption with text effects).
//
// Every owned sub-object's OnChange goes to ObjectChanged, which each class overrides to
// re-lay itself out before repainting.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/classes/enuminfo.h"
#include "host/classes/set.h"
#include "host/controls/controls.h"
#include "library/drawing/bevel.h"
#include "library/drawing/effect_text.h"
#include "library/foundation/objects.h"

namespace zyr {

// The DrawText flags of a nine-way alignment: horizontal in the low bits, DT_VCENTER or
// DT_BOTTOM for the lower rows.
uint16_t AlignmentFormat(TZYRAlignment alignment);

// What changed in a SetBounds: bit 1 the size, bit 2 the position.
HOST_ENUM(TZYRBoundsFlag, uint8_t, bfSize, bfPosition)
using TZYRBoundsFlags = host::Set<TZYRBoundsFlag>;
using TZYRBoundsChangedEvent = std::function<void(TObject* sender, TZYRBoundsFlags flags)>;

// ---- Windowless family ----------------------------------------------------------------------

class TZYRBaseGraphicControl : public host::TGraphicControl {
  HOST_CLASS(TZYRBaseGraphicControl)
  explicit TZYRBaseGraphicControl(TComponent* owner);

  const TZYRAboutVar& About() const { return about_; }
  void SetAbout(const TZYRAboutVar& value) { about_ = value.substr(0, kAboutVarLength); }
  // A transparent control paints no background, so the parent paints what lies beneath.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  // Reports moves and resizes (not while loading) through BoundsChanged.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

  TZYRBoundsChangedEvent OnBoundsChanged;

  // Where every owned sub-object reports its changes; here it redraws.
  virtual void ObjectChanged(TObject* sender);
  // True when the control would show nothing (no caption, no frame).
  virtual bool NothingToPaint() const { return true; }

 protected:
  using host::TGraphicControl::BoundsChanged;
  virtual void BoundsChanged(TZYRBoundsFlags flags);
  // For constructors of opaque descendants: opaque from the start, nothing repainted.
  void MakeOpaque();
  // Opaque controls at run time paint at once; otherwise the parent repaints the area
  // (background first). A control that is not showing is only invalidated.
  void Redraw();
  // The client area in Color.
  virtual void FillBackground();
  // At design time a dashed black outline, so that an empty control can be found.
  void Paint() override;

 private:
  TZYRAboutVar about_;
  bool transparent_ = true;
};

class TZYRGraphicControl : public TZYRBaseGraphicControl {
  HOST_CLASS(TZYRGraphicControl)
  explicit TZYRGraphicControl(TComponent* owner);
  ~TZYRGraphicControl() override;

  TZYRBevel* Bevel() const { return bevel_.get(); }
  // Copies the settings; the control keeps its own bevel.
  void SetBevel(const TZYRBevel* value);

 protected:
  int32_t BevelExtent() const { return bevel_->BevelExtent(); }
  // Both sides together.
  int32_t BevelExtent2() const { return 2 * bevel_->BevelExtent(); }
  void Paint() override;

 private:
  std::unique_ptr<TZYRBevel> bevel_;
};

// ---- Windowed family ------------------------------------------------------------------------

class TZYRCustomControl : public host::TCustomControl {
  HOST_CLASS(TZYRCustomControl)
  explicit TZYRCustomControl(TComponent* owner);

  const TZYRAboutVar& About() const { return about_; }
  void SetAbout(const TZYRAboutVar& value) { about_ = value.substr(0, kAboutVarLength); }

  virtual void ObjectChanged(TObject* sender);

 protected:
  // Lets ObjectChanged invalidate; set from construction, cleared by nothing in the library.
  bool invalidate_on_change_ = true;

 private:
  TZYRAboutVar about_;
};

class TZYRCustomPanel : public TZYRCustomControl {
  HOST_CLASS(TZYRCustomPanel)
  explicit TZYRCustomPanel(TComponent* owner);

  bool Locked() const { return locked_; }
  void SetLocked(bool value) { locked_ = value; }

 protected:
  // Runs when the size (not only the position) changed: ObjectChanged(nullptr), then OnResize.
  void Resize() override;
  // The client area in Color.
  void FillBackground();

 private:
  bool locked_ = false;
  int32_t last_width_ = -1;
  int32_t last_height_ = -1;
};

class TZYRCustomBevelPanel : public TZYRCustomPanel {
  HOST_CLASS(TZYRCustomBevelPanel)
  explicit TZYRCustomBevelPanel(TComponent* owner);
  ~TZYRCustomBevelPanel() override;

  TZYRBevel* Bevel() const { return bevel_.get(); }
  void SetBevel(const TZYRBevel* value);

  // A bevel change moves aligned children inside the new frame.
  void ObjectChanged(TObject* sender) override;

 protected:
  // Children are aligned inside the frame.
  void AdjustClientRect(RECT& rect) override;
  void Paint() override;

 private:
  std::unique_ptr<TZYRBevel> bevel_;
};

class TZYRCustomExtPanel : public TZYRCustomBevelPanel {
  HOST_CLASS(TZYRCustomExtPanel)
  explicit TZYRCustomExtPanel(TComponent* owner);
  ~TZYRCustomExtPanel() override;

  TZYRAlignment Alignment() const { return alignment_; }
  void SetAlignment(TZYRAlignment value);
  TZYRFxCaption* FontFx() const { return font_fx_.get(); }
  void SetFontFx(const TZYRFxCaption* value);

  // Rotated text needs an outline font: rotating a raster font switches it to "Arial";
  // choosing a raster font for rotated text turns the rotation off.
  void ObjectChanged(TObject* sender) override;
  void Dispatch(host::TMessage& message) override;

 protected:
  void Paint() override;
  // The caption with its effects inside rect (the area the bevel leaves).
  virtual void DrawCaption(RECT& rect, TZYRAlignment alignment);

 private:
  TZYRAlignment alignment_ = agCenter;
  std::unique_ptr<TZYRFxCaption> font_fx_;
  // The font is being taken from the parent: it stays the parent's.
  bool parent_font_changing_ = false;
};

}  // namespace zyr
