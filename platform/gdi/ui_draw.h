// What the USER drawing helpers (DrawEdge, DrawFrameControl) share: solid paints in system
// colours that ignore the DC's ROP2 mode, a canvas that takes logical coordinates and keeps
// every pixel inside the DC's clip and the helper's own rectangle, and the small span
// shapes (convex polygons with their outline, discs) that the 3D look is made of.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/raster.h"

namespace gdi {
class DeviceContext;
}

namespace gdi::ui {

// USER paints: R2_COPYPEN whatever the DC's mode.
Ink Paint(const DeviceContext& dc, COLORREF color);
Ink SysPaint(const DeviceContext& dc, int index);

// Coordinates further out than this are pulled in before any arithmetic, so sums and
// differences of two coordinates never overflow; no surface comes near it.
inline constexpr int kCoordLimit = 1 << 29;
RECT ClampRect(const RECT& rc);

class Canvas {
 public:
  // Paints only inside `bounds` (logical) and the DC's effective clip.
  Canvas(DeviceContext& dc, const RECT& bounds);

  DeviceContext& dc() const { return dc_; }
  // Logical rows that can receive paint: [row_top, row_bottom). Shape builders use them so
  // that a huge rectangle costs no more than the visible part.
  int row_top() const { return row_top_; }
  int row_bottom() const { return row_bottom_; }

  void Fill(const RECT& rc, const Ink& ink);
  // Spans in logical coordinates; the vector is consumed (converted in place).
  void Fill(std::vector<Span>& spans, const Ink& ink);

 private:
  DeviceContext& dc_;
  RECT bounds_;       // logical, clamped
  int64_t off_x_;     // logical -> surface
  int64_t off_y_;
  int row_top_;
  int row_bottom_;
};

// The pixels of a convex polygon painted with a one-pixel pen of its own colour: its
// outline (every edge, both end points included) and everything between, as row spans for
// rows [row_top, row_bottom). Repeated or collinear points are fine.
void ConvexPolygonSpans(const POINT* pts, size_t count, int row_top, int row_bottom, std::vector<Span>& out);

// The x range [x0, x1) that the pixels of the line a-b (end points included) cover on row
// y; false when the line does not reach that row. Lines are rasterised with the major axis
// stepping one pixel at a time and the minor coordinate rounded half up, after ordering
// the end points along the major axis.
bool LineRowExtent(POINT a, POINT b, int y, int& x0, int& x1);

// The x range [x0, x1) of row y covered by the disc of diameter d whose bounding square
// has its top-left corner at (left, top): pixels whose centres lie within the circle.
bool DiscRow(int left, int top, int d, int y, int& x0, int& x1);

// A DrawEdge onto a canvas; the implementation behind DrawEdge, also used by the frame
// controls. Returns false for the types that set both bits of one ring (drawn as far as
// they can be, as on Win32).
bool DrawEdgeOn(Canvas& canvas, RECT& rc, UINT edge, UINT flags);

}  // namespace gdi::ui
