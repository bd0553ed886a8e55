// The glyph of a button: up to four images side by side in one bitmap, placed beside the
// caption and drawn for the button's state. Speed buttons and bitmap buttons share it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/classes/enuminfo.h"
#include "platform/win32/gdi.h"

namespace host {

class TBitmap;

HOST_ENUM(TButtonLayout, uint8_t, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
HOST_ENUM(TButtonState, uint8_t, bsUp, bsDisabled, bsDown, bsExclusive)

class TButtonGlyph {
 public:
  TButtonGlyph();
  ~TButtonGlyph();
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  // The images: up, disabled, down (while pressed), down (stays down). The bottom-left pixel
  // is the transparent colour. Setting copies the bitmap.
  TBitmap* Bitmap() const { return bitmap_.get(); }
  void SetBitmap(TBitmap* bitmap);
  int32_t NumGlyphs() const { return num_glyphs_; }
  // The caller checks the range (1 to 4) to name itself in the error.
  void SetNumGlyphs(int32_t value);
  // Runs after the bitmap or the number of images changed.
  std::function<void()> OnChange;

  // One image's size; 0x0 without a bitmap.
  SIZE ImageSize();
  // Glyph and caption (in the font selected in dc) placed in client: margin from the edge to
  // the glyph (-1 centres both), spacing between them (-1 shares the free room evenly).
  void Place(HDC dc, const RECT& client, const std::string& caption, TButtonLayout layout,
             int margin, int spacing, POINT& glyph_at, RECT& text_rect);
  // Without a disabled image the up image is embossed: its dark pixels in shadow over
  // highlight, the light ones left out.
  void Draw(HDC dc, int x, int y, TButtonState state);

 private:
  void Changed();
  void ReadImages();

  std::unique_ptr<TBitmap> bitmap_;
  int32_t num_glyphs_ = 1;
  // The bitmap's pixels, read once per change.
  bool valid_ = false;
  int width_ = 0;   // of one image
  int height_ = 0;
  int count_ = 0;   // images present
  int stride_ = 0;  // the whole bitmap's width
  COLORREF transparent_ = 0;
  std::vector<COLORREF> pixels_;
};

}  // namespace host
