// The shape calls: Polygon, PolyPolygon, Rectangle, RoundRect, Ellipse, Arc, ArcTo, Pie, Chord.
//
// A shape is filled first with the DC's brush, leaving out the pixels its outline will
// cover, then outlined with the pen; both go through the DC's ROP2 mode, so every pixel is
// touched once. Bounding boxes exclude their right and bottom edges: a one-pixel pen
// outlines columns left..right-1, and without a pen the fill covers one pixel less to the
// right and bottom ([left, right-1) x [top, bottom-1)).
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/scan.h"

namespace gdi {
namespace {

// Styled outlines of curves larger than this are dashed from the part in view only, so a
// huge ellipse costs no more than what can be seen of it.
constexpr int64_t kMaxChainExtent = int64_t{1} << 14;

enum class Kind : uint8_t { Rectangle, RoundRect, Ellipse, Arc, Pie, Chord };

bool Filled(Kind k) { return k != Kind::Arc; }
bool Curved(Kind k) { return k == Kind::Arc || k == Kind::Pie || k == Kind::Chord; }

// A pixel extent [l, r) x [t, b) in surface coordinates.
struct Box {
  int64_t l, t, r, b;
  int64_t w() const { return r - l; }
  int64_t h() const { return b - t; }
  bool empty() const { return l >= r || t >= b; }
  Point64 centre2() const { return Point64{l + r - 1, t + b - 1}; }  // doubled
};

struct ShapeCall {
  Kind kind = Kind::Rectangle;
  Box box{};
  int64_t corner_w = 0, corner_h = 0;  // RoundRect
  Point64 start{}, end{};              // points on the radials (surface coordinates)
  bool clockwise = false;
  bool has_lead = false;  // ArcTo: a line from lead to the start of the arc comes first
  Point64 lead{};
};

Oval OvalOf(const ShapeCall& call, const Box& box) {
  switch (call.kind) {
    case Kind::Rectangle: return Oval(box.l, box.t, box.r, box.b, 0, 0);
    case Kind::RoundRect: return Oval(box.l, box.t, box.r, box.b, call.corner_w, call.corner_h);
    default: return Oval::Ellipse(box.l, box.t, box.r, box.b);
  }
}

// The pixel where the ray from the centre of the box through p meets the ellipse through
// the centres of the box's outermost pixels.
Point64 ArcPoint(const Box& box, Point64 p) {
  const double cx = static_cast<double>(box.l + box.r - 1) / 2, cy = static_cast<double>(box.t + box.b - 1) / 2;
  const double a = static_cast<double>(std::max<int64_t>(box.w() - 1, 0)) / 2;
  const double b = static_cast<double>(std::max<int64_t>(box.h() - 1, 0)) / 2;
  double dx = static_cast<double>(p.x) - cx, dy = static_cast<double>(p.y) - cy;
  if (dx == 0 && dy == 0) dx = 1;
  const double denom = std::hypot(dx * b, dy * a);
  const double t = denom > 0 ? a * b / denom : 0;
  return Point64{static_cast<int64_t>(std::floor(cx + dx * t + 0.5)),
                 static_cast<int64_t>(std::floor(cy + dy * t + 0.5))};
}

Point64 Doubled(Point64 p) { return Point64{2 * p.x, 2 * p.y}; }

// The part of the plane between the radials, in the direction the arc runs.
Wedge SectorOf(const ShapeCall& call, const Box& box) {
  const Point64 c2 = box.centre2();
  return call.clockwise ? Wedge::Sector(c2, Doubled(call.end), Doubled(call.start))
                        : Wedge::Sector(c2, Doubled(call.start), Doubled(call.end));
}

// The side of the chord where its arc lies.
Wedge ChordSideOf(const ShapeCall& call, const Box& box) {
  const Point64 s = ArcPoint(box, call.start), e = ArcPoint(box, call.end);
  if (s == e) {
    // The arc ends where it starts: all of the ellipse, or (a sliver) none of it.
    const Wedge sector = SectorOf(call, box);
    return sector.all() || sector.reflex() ? Wedge::All() : Wedge::None();
  }
  return call.clockwise ? Wedge::Chord(Doubled(e), Doubled(s)) : Wedge::Chord(Doubled(s), Doubled(e));
}

// The pixels a shape fills inside window.
Region FillRegionOf(const ShapeCall& call, const Box& box, const RECT& window) {
  const Oval oval = OvalOf(call, box);
  if (oval.empty()) return Region();
  switch (call.kind) {
    case Kind::Pie: {
      const Wedge sector = SectorOf(call, box);
      return FigureRegion(Intersection(oval, sector), window);
    }
    case Kind::Chord: {
      const Wedge side = ChordSideOf(call, box);
      return FigureRegion(Intersection(oval, side), window);
    }
    default: return FigureRegion(oval, window);
  }
}

// The pixels of a figure in the order a pen walks them: by angle around the doubled
// centre c2, starting at the direction of from2, counter-clockwise on screen unless
// clockwise.
std::vector<Point64> ChainOf(const Figure& f, const RECT& area, Point64 c2, Point64 from2, bool clockwise) {
  struct Item {
    double key;
    int64_t dist;
    Point64 p;
  };
  constexpr double kTurn = 6.283185307179586;
  auto angle = [&](int64_t x2, int64_t y2) {
    return std::atan2(-static_cast<double>(y2 - c2.y), static_cast<double>(x2 - c2.x));
  };
  const double a0 = angle(from2.x, from2.y);
  std::vector<Item> items;
  Intervals xs;
  for (int64_t y = std::max<int64_t>(area.top, f.top); y < std::min<int64_t>(area.bottom, f.bottom); ++y) {
    f.Row(y, area.left, area.right, xs);
    for (const Interval& iv : xs)
      for (int x = iv.first; x < iv.second; ++x) {
        double k = clockwise ? a0 - angle(2 * x, 2 * y) : angle(2 * x, 2 * y) - a0;
        k = std::fmod(k + 2 * kTurn, kTurn);
        const int64_t dx = 2 * x - c2.x, dy = 2 * y - c2.y;
        items.push_back(Item{k, dx * dx + dy * dy, Point64{x, y}});
      }
  }
  std::sort(items.begin(), items.end(),
            [](const Item& a, const Item& b) { return a.key != b.key ? a.key < b.key : a.dist < b.dist; });
  std::vector<Point64> chain;
  chain.reserve(items.size());
  for (const Item& it : items) chain.push_back(it.p);
  return chain;
}

// Where a styled curve's pixels are gathered: the whole figure when it is small enough
// for its dashes to be counted from its start, else what can be seen of it.
RECT ChainArea(const Box& box, const RECT& window) {
  if (box.w() <= kMaxChainExtent && box.h() <= kMaxChainExtent)
    return RECT{static_cast<LONG>(box.l - 1), static_cast<LONG>(box.t - 1), static_cast<LONG>(box.r + 1),
                static_cast<LONG>(box.b + 1)};
  return window;
}

// The outline of a shape drawn with a cosmetic pen (styled, or along an arc).
Outline CosmeticOutline(const ShapeCall& call, const Box& box, const PenInfo& pen, const RECT& window) {
  Outline out;
  out.unite = true;
  PenTrace trace;
  Dasher dash(&pen.dashes);
  if (call.kind == Kind::Rectangle) {
    const Point64 tl{box.l, box.t}, bl{box.l, box.b - 1}, br{box.r - 1, box.b - 1}, tr{box.r - 1, box.t};
    if (box.w() == 1 || box.h() == 1) {
      // A one-pixel-thin frame is a single run of pixels, each drawn once.
      TraceLine(tl, br, window, dash, trace);
      TraceChain({br}, window, dash, trace);
    } else {
      const Point64 path[4] = {tl, bl, br, tr};  // counter-clockwise on screen
      for (int i = 0; i < 4; ++i) {
        const int a = call.clockwise ? (4 - i) % 4 : i;
        const int b = call.clockwise ? (3 - i) % 4 : (i + 1) % 4;
        TraceLine(path[a], path[b], window, dash, trace);
      }
    }
    out.on = std::move(trace.on);
    out.off = std::move(trace.off);
    return out;
  }
  const Oval oval = OvalOf(call, box);
  const Boundary edge(oval);
  const Point64 c2 = box.centre2();
  if (!Curved(call.kind)) {
    const Point64 right{c2.x + 2, c2.y};  // closed curves start at three o'clock
    TraceChain(ChainOf(edge, ChainArea(box, window), c2, right, call.clockwise), window, dash, trace);
    out.on = std::move(trace.on);
    out.off = std::move(trace.off);
    return out;
  }
  const Point64 s = ArcPoint(box, call.start), e = ArcPoint(box, call.end);
  if (call.has_lead) TraceLine(call.lead, s, window, dash, trace);
  const Wedge sector = SectorOf(call, box);
  const Intersection arc(edge, sector);
  // The arc runs from its start point to its end point whichever way its pixels round, so
  // lines meeting it there (ArcTo, Pie, Chord) join without a gap.
  if (dash.solid()) {
    out.area = FigureRegion(arc, window);
    for (const Point64& p : {s, e})
      if (p.x >= window.left && p.x < window.right && p.y >= window.top && p.y < window.bottom)
        trace.Add(true, p.x, p.y);
  } else {
    std::vector<Point64> chain = ChainOf(arc, ChainArea(box, window), c2, Doubled(call.start), call.clockwise);
    std::erase_if(chain, [&](const Point64& p) { return p == s || p == e; });
    chain.insert(chain.begin(), s);
    if (!(e == s)) chain.push_back(e);
    TraceChain(chain, window, dash, trace);
  }
  const Point64 centre{c2.x >> 1, c2.y >> 1};
  if (call.kind == Kind::Pie) {
    TraceLine(e, centre, window, dash, trace);
    TraceLine(centre, s, window, dash, trace);
  } else if (call.kind == Kind::Chord) {
    TraceLine(e, s, window, dash, trace);
  }
  out.on = std::move(trace.on);
  out.off = std::move(trace.off);
  return out;
}

// The outline of a shape drawn with a wide pen, centred on the one-pixel outline of box.
Outline WideOutline(const ShapeCall& call, const Box& box, const PenInfo& pen, const RECT& window) {
  Outline out;
  out.unite = true;
  std::vector<Span> spans;
  if (call.kind == Kind::Rectangle) {
    std::vector<Point64> path = {{box.l, box.t}, {box.l, box.b - 1}, {box.r - 1, box.b - 1}, {box.r - 1, box.t}};
    if (call.clockwise) std::reverse(path.begin(), path.end());
    StrokeWide(path, true, pen, false, window, spans);
    out.area = Region::FromSpans(std::move(spans));
    return out;
  }
  // The band between the shape grown by the pen's reach and the shape shrunk past it.
  const int64_t lo = pen.lo(), hi = pen.hi(), grow = lo + hi;
  const Box outer{box.l - lo, box.t - lo, box.r + hi, box.b + hi};
  const Box inner{box.l + hi + 1, box.t + hi + 1, box.r - 1 - lo, box.b - 1 - lo};
  const bool round = call.kind == Kind::RoundRect;
  const Oval outer_oval = round ? Oval(outer.l, outer.t, outer.r, outer.b, call.corner_w > 1 ? call.corner_w + grow : 0,
                                       call.corner_h > 1 ? call.corner_h + grow : 0)
                                : OvalOf(call, outer);
  const Oval inner_oval = round ? Oval(inner.l, inner.t, inner.r, inner.b, call.corner_w - grow - 2, call.corner_h - grow - 2)
                                : OvalOf(call, inner);
  const Difference ring(outer_oval, inner_oval);
  if (!Curved(call.kind)) {
    out.area = FigureRegion(ring, window);
    return out;
  }
  const Wedge sector = SectorOf(call, box);
  Region band = FigureRegion(Intersection(ring, sector), window);
  const Point64 s = ArcPoint(box, call.start), e = ArcPoint(box, call.end);
  const Point64 c2 = box.centre2();
  const Point64 centre{c2.x >> 1, c2.y >> 1};
  if (call.has_lead) StrokeWide({call.lead, s}, false, pen, true, window, spans);
  const bool round_ends = call.kind == Kind::Arc ? pen.cap == PS_ENDCAP_ROUND : pen.join == PS_JOIN_ROUND;
  if (round_ends) {
    DiscSpans(s, pen.width, window, spans);
    DiscSpans(e, pen.width, window, spans);
  }
  if (call.kind == Kind::Pie) StrokeWide({e, centre, s}, false, pen, false, window, spans);
  if (call.kind == Kind::Chord) StrokeWide({e, s}, false, pen, false, window, spans);
  out.area = spans.empty() ? std::move(band) : Region::Combine(band, Region::FromSpans(std::move(spans)), RGN_OR);
  return out;
}

// Draws a shape; returns the pixel where its arc ends (the new current position of ArcTo).
Point64 DrawShape(DeviceContext& dc, const ShapeCall& call) {
  const PenInfo pen = ResolvePen(dc);
  Box box = call.box;
  const Point64 arc_end = box.empty() ? Point64{box.l, box.t} : ArcPoint(box, call.end);
  const Region& clip = dc.EffectiveClip();
  if (clip.empty()) return arc_end;
  const RECT window = clip.bounds();
  const Ink brush = Filled(call.kind) ? BrushInk(dc, dc.state().brush.get(), dc.state().rop2) : Ink::None();

  if (pen.kind == PenInfo::Kind::None) {
    if (brush.nothing) return arc_end;
    const Box smaller{box.l, box.t, box.r - 1, box.b - 1};
    FillRegion(dc.surface(), clip, FillRegionOf(call, smaller, window), brush);
    return arc_end;
  }
  if (pen.kind == PenInfo::Kind::Wide && pen.inside_frame && Filled(call.kind)) {
    // Shrink the figure so the pen stays inside the bounding box.
    Box in{box.l + pen.lo(), box.t + pen.lo(), box.r - pen.hi(), box.b - pen.hi()};
    if (in.r <= in.l) in.r = (in.l = box.l + (box.w() - 1) / 2) + 1;
    if (in.b <= in.t) in.b = (in.t = box.t + (box.h() - 1) / 2) + 1;
    box = in;
  }
  if (box.empty() && !call.has_lead) return arc_end;
  if (pen.kind == PenInfo::Kind::Cosmetic && pen.dashes.empty() && !Curved(call.kind)) {
    // A solid one-pixel outline is the figure's own boundary: fill inside it, then draw it.
    const Oval oval = OvalOf(call, box);
    const Boundary edge(oval);
    if (!brush.nothing) FillRegion(dc.surface(), clip, FigureRegion(Difference(oval, edge), window), brush);
    FillRegion(dc.surface(), clip, FigureRegion(edge, window), pen.ink);
    return arc_end;
  }
  Outline outline;
  if (!box.empty()) {
    outline = pen.kind == PenInfo::Kind::Wide ? WideOutline(call, box, pen, window)
                                              : CosmeticOutline(call, box, pen, window);
  } else {
    outline = TracePolylines(dc, pen, {call.lead, arc_end}, {2}, false);
  }
  if (!brush.nothing && !box.empty()) {
    Region fill = FillRegionOf(call, box, window);
    if (!fill.empty()) FillRegion(dc.surface(), clip, Region::Combine(fill, outline.Covered(), RGN_DIFF), brush);
  }
  outline.Draw(dc, pen);
  return arc_end;
}

}  // namespace
}  // namespace gdi

// ---------------------------------------------------------------------------------------
// Win32 entry points

using gdi::DeviceContext;
using gdi::Point64;

namespace {

DeviceContext* DC(HDC hdc) { return gdi::Get<DeviceContext>(hdc); }

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Fills the call's box from two logical corners, ordered; false when out of range.
bool MapBox(const DeviceContext& dc, int left, int top, int right, int bottom, gdi::ShapeCall& call) {
  Point64 a, b;
  if (!gdi::MapPoint(dc, left, top, a) || !gdi::MapPoint(dc, right, bottom, b)) return false;
  call.box = gdi::Box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return true;
}

BOOL Shape(HDC hdc, gdi::Kind kind, int left, int top, int right, int bottom) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  gdi::ShapeCall call;
  call.kind = kind;
  if (!MapBox(*dc, left, top, right, bottom, call)) return Fail(ERROR_INVALID_PARAMETER);
  call.clockwise = dc->state().arc_direction == AD_CLOCKWISE;
  gdi::DrawShape(*dc, call);
  return TRUE;
}

BOOL ArcShape(HDC hdc, gdi::Kind kind, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye,
              bool update_position) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  gdi::ShapeCall call;
  call.kind = kind;
  if (!MapBox(*dc, left, top, right, bottom, call) || !gdi::MapPoint(*dc, xs, ys, call.start) ||
      !gdi::MapPoint(*dc, xe, ye, call.end))
    return Fail(ERROR_INVALID_PARAMETER);
  call.clockwise = dc->state().arc_direction == AD_CLOCKWISE;
  if (update_position) {
    const POINT cur = dc->state().current_pos;
    if (!gdi::MapPoint(*dc, cur.x, cur.y, call.lead)) return Fail(ERROR_INVALID_PARAMETER);
    call.has_lead = true;
  }
  const Point64 end = gdi::DrawShape(*dc, call);
  if (update_position) {
    // Back from surface to logical coordinates.
    Point64 origin;
    gdi::MapPoint(*dc, 0, 0, origin);
    dc->state().current_pos = POINT{static_cast<LONG>(end.x - origin.x), static_cast<LONG>(end.y - origin.y)};
  }
  return TRUE;
}

BOOL Polygons(HDC hdc, const POINT* pts, const INT* counts, int polys) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  if (!pts || !counts || polys <= 0) return Fail(ERROR_INVALID_PARAMETER);
  std::vector<size_t> sizes(static_cast<size_t>(polys));
  size_t total = 0;
  for (int i = 0; i < polys; ++i) {
    if (counts[i] < 2) return Fail(ERROR_INVALID_PARAMETER);
    sizes[static_cast<size_t>(i)] = static_cast<size_t>(counts[i]);
    total += static_cast<size_t>(counts[i]);
  }
  std::vector<Point64> mapped(total);
  std::vector<gdi::FixPoint> fixed(total);
  for (size_t i = 0; i < total; ++i) {
    if (!gdi::MapPoint(*dc, pts[i].x, pts[i].y, mapped[i])) return Fail(ERROR_INVALID_PARAMETER);
    fixed[i] = gdi::ToFix(mapped[i]);
  }
  const gdi::Region& clip = dc->EffectiveClip();
  if (clip.empty()) return TRUE;
  const gdi::PenInfo pen = gdi::ResolvePen(*dc);
  const gdi::Outline outline = gdi::TracePolylines(*dc, pen, mapped, sizes, true);
  const gdi::Ink brush = gdi::BrushInk(*dc, dc->state().brush.get(), dc->state().rop2);
  if (!brush.nothing && pen.kind == gdi::PenInfo::Kind::None) {
    // Nothing to leave out for a pen: bands go straight to the surface.
    const gdi::Surface& surface = dc->surface();
    gdi::ScanPolygons(fixed.data(), counts, static_cast<size_t>(polys), dc->state().poly_fill_mode, clip.bounds(),
                      [&](int top, int bottom, const gdi::Intervals& xs) {
                        gdi::FillBand(surface, clip, top, bottom, xs.data(), xs.size(), brush);
                      });
  } else if (!brush.nothing) {
    gdi::Region::Builder builder;
    gdi::ScanPolygons(fixed.data(), counts, static_cast<size_t>(polys), dc->state().poly_fill_mode, clip.bounds(),
                      [&](int top, int bottom, const gdi::Intervals& xs) { builder.AddBand(top, bottom, xs); });
    const gdi::Region fill = gdi::Region::Combine(builder.Finish(), outline.Covered(), RGN_DIFF);
    gdi::FillRegion(dc->surface(), clip, fill, brush);
  }
  outline.Draw(*dc, pen);
  return TRUE;
}

}  // namespace

BOOL Polygon(HDC hdc, const POINT* pts, int count) { return Polygons(hdc, pts, &count, 1); }

BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polys) { return Polygons(hdc, pts, counts, polys); }

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return Shape(hdc, gdi::Kind::Rectangle, left, top, right, bottom);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return Shape(hdc, gdi::Kind::Ellipse, left, top, right, bottom);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  DeviceContext* dc = DC(hdc);
  if (!dc) return FALSE;
  gdi::ShapeCall call;
  call.kind = gdi::Kind::RoundRect;
  if (!MapBox(*dc, left, top, right, bottom, call)) return Fail(ERROR_INVALID_PARAMETER);
  call.corner_w = std::abs(int64_t{width});
  call.corner_h = std::abs(int64_t{height});
  call.clockwise = dc->state().arc_direction == AD_CLOCKWISE;
  gdi::DrawShape(*dc, call);
  return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return ArcShape(hdc, gdi::Kind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}

BOOL ArcTo(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return ArcShape(hdc, gdi::Kind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd, true);
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return ArcShape(hdc, gdi::Kind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}

BOOL Chord(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  return ArcShape(hdc, gdi::Kind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd, false);
}
