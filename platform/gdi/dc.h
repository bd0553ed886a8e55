// Device contexts: drawing state, the save/restore stack, coordinate mapping and the
// effective clip that every primitive draws through.
//
// Coordinates: a primitive gets logical points; LPtoDP adds (viewport origin - window origin)
// and gives device points; device points plus the DC's device origin (non-zero only for
// window DCs on the screen surface) give surface points. Clip regions are kept in device
// coordinates, as on Win32, and are independent of the logical origin.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/objects.h"

namespace gdi {

struct DCState {
  std::shared_ptr<Pen> pen;
  std::shared_ptr<Brush> brush;
  std::shared_ptr<Font> font;
  std::shared_ptr<Palette> palette;
  std::shared_ptr<Bitmap> bitmap;  // memory DCs only; not restored by RestoreDC

  COLORREF text_color = RGB(0, 0, 0);
  COLORREF bk_color = RGB(255, 255, 255);
  int bk_mode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretch_mode = BLACKONWHITE;
  int poly_fill_mode = ALTERNATE;
  int arc_direction = AD_COUNTERCLOCKWISE;
  int map_mode = MM_TEXT;
  UINT text_align = 0;
  int char_extra = 0;
  COLORREF dc_brush_color = RGB(255, 255, 255);
  COLORREF dc_pen_color = RGB(0, 0, 0);
  POINT brush_org{0, 0};
  POINT current_pos{0, 0};  // logical
  POINT viewport_org{0, 0};
  POINT window_org{0, 0};
  std::optional<Region> clip;  // device coordinates; none = whole surface
};

class DeviceContext : public Object {
 public:
  static constexpr int64_t kFar = int64_t{1} << 30;
  enum class Kind : uint8_t { Memory, Display, Info };

  explicit DeviceContext(Kind kind);
  ~DeviceContext() override;
  static bool Accepts(ObjectType t) { return t == ObjectType::DC || t == ObjectType::MemDC; }

  Kind kind() const { return kind_; }
  DCState& state() { return state_; }
  const DCState& state() const { return state_; }
  std::vector<DCState>& saved() { return saved_; }

  // The pixels this DC draws on (invalid for information DCs).
  const Surface& surface() const { return surface_; }
  // Device origin on the surface and the visible region (surface coordinates) of a window
  // DC; set by the window manager. Memory DCs keep (0,0) and no visible region.
  void SetDeviceOrigin(POINT org);
  POINT device_origin() const { return device_org_; }
  void SetVisibleRegion(std::optional<Region> vis);
  // Points the DC at a surface it does not own (the screen).
  void AttachSurface(const Surface& s);
  // Memory DCs: the selected bitmap provides the surface.
  void SelectBitmap(std::shared_ptr<Bitmap> bmp);

  // Logical -> surface coordinates, saturated at +-2^30 so that extreme origins and
  // coordinates cannot overflow (anything that far out is off every surface anyway).
  static int Saturate(int64_t v) { return static_cast<int>(v < -kFar ? -kFar : v > kFar ? kFar : v); }
  int ToSurfaceX(int x) const {
    return Saturate(int64_t{x} - state_.window_org.x + state_.viewport_org.x + device_org_.x);
  }
  int ToSurfaceY(int y) const {
    return Saturate(int64_t{y} - state_.window_org.y + state_.viewport_org.y + device_org_.y);
  }
  POINT ToSurface(POINT p) const { return POINT{ToSurfaceX(p.x), ToSurfaceY(p.y)}; }
  // Logical -> device coordinates (what clip regions are expressed in).
  POINT ToDevice(POINT p) const {
    return POINT{Saturate(int64_t{p.x} - state_.window_org.x + state_.viewport_org.x),
                 Saturate(int64_t{p.y} - state_.window_org.y + state_.viewport_org.y)};
  }
  POINT FromDevice(POINT p) const {
    return POINT{Saturate(int64_t{p.x} + state_.window_org.x - state_.viewport_org.x),
                 Saturate(int64_t{p.y} + state_.window_org.y - state_.viewport_org.y)};
  }

  // Everything drawing may touch, in surface coordinates: the surface bounds, the visible
  // region and the clip region together. Cached; call ClipChanged after changing the clip.
  const Region& EffectiveClip();
  void ClipChanged() { clip_valid_ = false; }

  // The brush origin in surface coordinates (brush patterns are anchored to the device).
  POINT SurfaceBrushOrigin() const {
    return POINT{state_.brush_org.x + device_org_.x, state_.brush_org.y + device_org_.y};
  }

  // Colours resolved for this DC: palette indices through the selected palette, then mapped
  // to the surface (monochrome surfaces take black or white).
  Pixel Resolve(COLORREF c) const;
  // The colour the DC_PEN / DC_BRUSH stock objects stand for, or the object's own colour.
  COLORREF PenColor() const;
  COLORREF BrushColor() const;

 private:
  Kind kind_;
  DCState state_;
  std::vector<DCState> saved_;
  Surface surface_;
  POINT device_org_{0, 0};
  std::optional<Region> visible_;
  Region clip_cache_;
  bool clip_valid_ = false;
};

// The screen surface, set by the display layer; display DCs draw on it.
void SetScreenSurface(const Surface& s);
const Surface& ScreenSurface();

// COLORREF with palette flags -> plain RGB, through a palette when one is given.
COLORREF ResolvePaletteColor(COLORREF c, const Palette* pal);

}  // namespace gdi
