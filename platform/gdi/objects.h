// The drawing objects behind GDI handles: pens, brushes, bitmaps, palettes, fonts, regions.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/object.h"
#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"

namespace gdi {

class DeviceContext;
class RealizedFont;

class Pen : public Object {
 public:
  Pen() : Object(ObjectType::Pen) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Pen || t == ObjectType::ExtPen; }

  int style() const { return static_cast<int>(full_style & PS_STYLE_MASK); }
  bool geometric() const { return (full_style & PS_TYPE_MASK) == static_cast<DWORD>(PS_GEOMETRIC); }
  int end_cap() const { return static_cast<int>(full_style & PS_ENDCAP_MASK); }
  int join() const { return static_cast<int>(full_style & PS_JOIN_MASK); }
  bool extended() const { return type() == ObjectType::ExtPen; }
  void MarkExtended() { set_type(ObjectType::ExtPen); }

  DWORD full_style = PS_SOLID;  // style, end cap, join and type bits
  int width = 1;                // 0 and 1 both draw one pixel wide
  COLORREF color = 0;
  LOGBRUSH brush{BS_SOLID, 0, 0};  // ExtCreatePen's brush
  std::vector<DWORD> user_style;   // PS_USERSTYLE dash and gap lengths
  bool dc_pen = false;             // the DC_PEN stock object: colour comes from the DC
};

// The pixels of a pattern brush, copied when the brush is made.
struct PatternBits {
  int width = 0;
  int height = 0;
  bool monochrome = false;  // kBlack draws in the text colour, kWhite in the background colour
  std::vector<Pixel> pixels;  // width * height, top row first
};

class Brush : public Object {
 public:
  Brush() : Object(ObjectType::Brush) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Brush; }

  UINT style = BS_SOLID;  // BS_SOLID, BS_NULL, BS_HATCHED or BS_PATTERN
  COLORREF color = 0;
  int hatch = 0;
  std::shared_ptr<const PatternBits> pattern;
  bool dc_brush = false;  // the DC_BRUSH stock object: colour comes from the DC
};

class Bitmap : public Object {
 public:
  Bitmap() : Object(ObjectType::Bitmap) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Bitmap; }

  // A zero-filled (black) bitmap; bits_per_pixel 1 (monochrome) or 32. Returns null when the
  // size is not positive or the memory cannot be had.
  static std::shared_ptr<Bitmap> Create(int width, int height, int bits_per_pixel);

  Surface surface;
  int bits_per_pixel = 32;
  std::vector<Pixel> storage;  // owned pixels (empty for DIB sections, see dib_memory)
  // DIB sections: memory handed to the caller, in the caller's row order.
  std::unique_ptr<Pixel[]> dib_memory;
  bool dib_section = false;
  BITMAPINFOHEADER dib_header{};
  DeviceContext* selected_into = nullptr;  // a bitmap is selected into one DC at a time
  SIZE dimension{0, 0};                    // SetBitmapDimensionEx (0.1 mm units)
};

class Palette : public Object {
 public:
  Palette() : Object(ObjectType::Palette) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Palette; }
  std::vector<PALETTEENTRY> entries;
};

class Font : public Object {
 public:
  Font() : Object(ObjectType::Font) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Font; }
  LOGFONT logfont{};
  std::shared_ptr<RealizedFont> realized;  // made on first use
};

class RegionObject : public Object {
 public:
  RegionObject() : Object(ObjectType::Region) {}
  explicit RegionObject(Region r) : Object(ObjectType::Region), region(std::move(r)) {}
  static bool Accepts(ObjectType t) { return t == ObjectType::Region; }
  Region region;
};

// The stock 1x1 monochrome (white) bitmap every new memory DC starts with.
std::shared_ptr<Bitmap> DefaultBitmap();

// Registers a region object and returns its handle.
HRGN MakeRegion(Region region);

}  // namespace gdi
