#include "host/stdctrls/glyph.h"

#include "host/graphics/bitmap.h"
#include "host/graphics/canvas.h"
#include "host/graphics/color.h"
#include "platform/win32/text.h"

namespace host {

namespace {

int Luma(COLORREF c) { return (GetRValue(c) * 77 + GetGValue(c) * 150 + GetBValue(c) * 29) >> 8; }

// The size of a one-line caption in the font selected in dc.
SIZE CaptionExtent(HDC dc, const std::string& text) {
  RECT r{0, 0, 0, 0};
  DrawText(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

TButtonGlyph::TButtonGlyph() : bitmap_(std::make_unique<TBitmap>()) {
  bitmap_->OnChange = [this](TObject*) { Changed(); };
}

TButtonGlyph::~TButtonGlyph() { bitmap_->OnChange = nullptr; }

void TButtonGlyph::SetBitmap(TBitmap* bitmap) {
  bitmap_->Assign(bitmap);
  Changed();
}

void TButtonGlyph::SetNumGlyphs(int32_t value) {
  if (value == num_glyphs_) return;
  num_glyphs_ = value;
  Changed();
}

void TButtonGlyph::Changed() {
  valid_ = false;
  if (OnChange) OnChange();
}

void TButtonGlyph::ReadImages() {
  if (valid_) return;
  valid_ = true;
  width_ = height_ = count_ = stride_ = 0;
  transparent_ = 0;
  pixels_.clear();
  if (bitmap_->Empty()) return;
  stride_ = bitmap_->Width();
  height_ = bitmap_->Height();
  width_ = stride_ / num_glyphs_;
  if (width_ <= 0 || height_ <= 0) return;
  count_ = num_glyphs_;
  pixels_.resize(static_cast<size_t>(stride_) * static_cast<size_t>(height_));
  TCanvas* source = bitmap_->Canvas();
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < stride_; ++x) {
      pixels_[static_cast<size_t>(y * stride_ + x)] = static_cast<COLORREF>(source->Pixels(x, y));
    }
  }
  transparent_ = pixels_[static_cast<size_t>((height_ - 1) * stride_)];
}

SIZE TButtonGlyph::ImageSize() {
  ReadImages();
  return count_ ? SIZE{width_, height_} : SIZE{0, 0};
}

void TButtonGlyph::Place(HDC dc, const RECT& client, const std::string& caption, TButtonLayout layout,
                         int margin, int spacing, POINT& glyph_at, RECT& text_rect) {
  const SIZE g = ImageSize();
  const SIZE t = caption.empty() ? SIZE{0, 0} : CaptionExtent(dc, caption);
  const int cw = client.right - client.left;
  const int ch = client.bottom - client.top;
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int room = horizontal ? cw : ch;
  const int glyph_len = horizontal ? g.cx : g.cy;
  const int text_len = horizontal ? t.cx : t.cy;
  if (glyph_len == 0 || text_len == 0) {
    spacing = 0;
    if (margin == -1) margin = (room - glyph_len - text_len) / 2;
  } else if (margin == -1 && spacing == -1) {
    margin = (room - glyph_len - text_len) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (room - glyph_len - text_len - spacing) / 2;
  } else if (spacing == -1) {
    spacing = (room - margin - glyph_len - text_len) / 2;
  }
  int glyph_pos, text_pos;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    glyph_pos = margin;
    text_pos = margin + glyph_len + spacing;
  } else {
    glyph_pos = room - margin - glyph_len;
    text_pos = glyph_pos - spacing - text_len;
  }
  if (horizontal) {
    glyph_at = {glyph_pos, (ch - g.cy) / 2};
    text_rect = {text_pos, (ch - t.cy) / 2, text_pos + t.cx, (ch - t.cy) / 2 + t.cy};
  } else {
    glyph_at = {(cw - g.cx) / 2, glyph_pos};
    text_rect = {(cw - t.cx) / 2, text_pos, (cw - t.cx) / 2 + t.cx, text_pos + t.cy};
  }
  glyph_at.x += client.left;
  glyph_at.y += client.top;
  OffsetRect(&text_rect, client.left, client.top);
}

void TButtonGlyph::Draw(HDC dc, int x, int y, TButtonState state) {
  ReadImages();
  if (count_ == 0) return;
  auto pixel = [&](int image, int px, int py) {
    return pixels_[static_cast<size_t>(py * stride_ + image * width_ + px)];
  };
  int image = 0;
  switch (state) {
    case bsUp: image = 0; break;
    case bsDisabled: image = 1; break;
    case bsDown: image = count_ > 2 ? 2 : 0; break;
    case bsExclusive: image = count_ > 3 ? 3 : (count_ > 2 ? 2 : 0); break;
  }
  if (state == bsDisabled && count_ < 2) {
    const COLORREF light = ColorToRGB(clBtnHighlight);
    const COLORREF shadow = ColorToRGB(clBtnShadow);
    for (int pass = 0; pass < 2; ++pass) {
      for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
          const COLORREF c = pixel(0, px, py);
          if (c == transparent_ || Luma(c) >= 192) continue;
          if (pass == 0) {
            SetPixelV(dc, x + px + 1, y + py + 1, light);
          } else {
            SetPixelV(dc, x + px, y + py, shadow);
          }
        }
      }
    }
    return;
  }
  for (int py = 0; py < height_; ++py) {
    for (int px = 0; px < width_; ++px) {
      const COLORREF c = pixel(image, px, py);
      if (c != transparent_) SetPixelV(dc, x + px, y + py, c);
    }
  }
}

}  // namespace host
