// TBitmap: a picture held in a GDI bitmap (32 bpp, or monochrome), with a canvas to draw on
// it, BMP files, and transparent drawing.
#pragma once

#include <vector>

#include "host/classes/enuminfo.h"
#include "host/graphics/color.h"
#include "host/graphics/graphic.h"

namespace host {

HOST_ENUM(TTransparentMode, uint8_t, tmAuto, tmFixed)

class TBitmap : public TGraphic {
 public:
  HOST_CLASS(TBitmap)
  TBitmap();
  ~TBitmap() override;

  // Empty until both sides are positive. Resizing keeps the pixels both sizes cover and
  // makes the new ones white; a side of 0 releases the image.
  bool Empty() const override { return width_ <= 0 || height_ <= 0; }
  int32_t Width() const override { return width_; }
  void SetWidth(int32_t width) override { SetSize(width, height_); }
  int32_t Height() const override { return height_; }
  void SetHeight(int32_t height) override { SetSize(width_, height); }
  void SetSize(int32_t width, int32_t height);

  // Made on first use: a memory DC holding the bitmap, which stays selected in it while
  // the canvas has its DC. Drawing on it reports a change of the bitmap.
  TCanvas* Canvas();

  // Null when empty.
  HBITMAP Handle();
  // Adopts a bitmap (the TBitmap owns it from now on); null empties the TBitmap.
  void SetHandle(HBITMAP bitmap);
  // Hands the bitmap to the caller, who then owns it; the TBitmap is left empty.
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Owned; the colours of paletted BMP files, selected while drawing.
  HPALETTE Palette() const { return palette_; }
  void SetPalette(HPALETTE palette);
  HPALETTE ReleasePalette();

  // Setting converts: to monochrome, white stays white and every other colour turns black
  // (GDI's rule); from monochrome, black and white.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool monochrome);

  // The colour left out when drawing transparently: tmAuto takes the bottom-left pixel (white
  // for monochrome bitmaps, clNone for empty ones); setting a colour makes the mode tmFixed.
  TColor TransparentColor();
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparent_mode_; }
  void SetTransparentMode(TTransparentMode mode);

  // Keeps the pixels in memory and lets the GDI bitmap (and the canvas's DC) go; the next use
  // of the handle brings it back.
  void Dormant();
  // The other way: the image lives in the GDI bitmap only, with no copy in memory.
  void FreeImage();

  // Copies another bitmap (pixels, depth, palette, transparency), or empties on nullptr.
  void Assign(const TPersistent* source) override;

  // BMP files. A 1 bpp black-and-white file gives a monochrome bitmap. Saving writes 24 bpp,
  // 1 bpp when monochrome; an empty bitmap writes nothing and reading nothing empties.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // Stored forms hold a bitmap (a glyph, say) as "Data": its BMP file image.
  void DefineProperties(TFiler& filer) override;
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }

 protected:
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  class BitmapCanvas;
  friend class BitmapCanvas;

  void HandleNeeded();
  // Drops the canvas's DC, so the bitmap is selected nowhere.
  void FreeContext();
  void Replace(HBITMAP bitmap, int32_t width, int32_t height, bool monochrome);

  std::unique_ptr<BitmapCanvas> canvas_;
  HBITMAP handle_ = nullptr;
  std::vector<uint8_t> dormant_;  // the pixels while there is no handle (GetBitmapBits layout)
  int32_t width_ = 0;
  int32_t height_ = 0;
  bool monochrome_ = false;
  HPALETTE palette_ = nullptr;
  TColor transparent_color_ = clDefault;
  TTransparentMode transparent_mode_ = tmAuto;
};

}  // namespace host
