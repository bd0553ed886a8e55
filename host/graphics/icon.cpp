#include "host/graphics/icon.h"

#include <utility>

#include "host/graphics/canvas.h"
#include "platform/gdi/ico.h"
#include "platform/win32.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TIcon, TGraphic)

namespace {

// Premultiplied for AlphaBlend; without alpha the top byte stays 0, as drawn pixels have it.
HBITMAP MakeColorBitmap(const gdi::IconImage& img) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = img.width;
  info.bmiHeader.biHeight = -img.height;  // top-down, as the image is held
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  if (!bitmap || !memory) throw EOutOfResources("Cannot make the bitmaps of an icon");
  auto* out = static_cast<uint32_t*>(memory);
  for (size_t i = 0; i < img.pixels.size(); ++i) {
    const uint32_t p = img.pixels[i];
    if (!img.alpha) {
      out[i] = p & 0xFFFFFF;
      continue;
    }
    const uint32_t a = p >> 24;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    out[i] = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
  }
  return bitmap;
}

HBITMAP MakeMaskBitmap(const gdi::IconImage& img) {
  const size_t row_bytes = ((static_cast<size_t>(img.width) + 15) / 16) * 2;
  std::vector<uint8_t> bits(row_bytes * static_cast<size_t>(img.height), 0);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.mask[static_cast<size_t>(y) * img.width + x])
        bits[row_bytes * y + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
  HBITMAP bitmap = CreateBitmap(img.width, img.height, 1, 1, bits.data());
  if (!bitmap) throw EOutOfResources("Cannot make the bitmaps of an icon");
  return bitmap;
}

}  // namespace

TIcon::TIcon() { transparent_ = true; }

TIcon::~TIcon() { SetImage(nullptr); }

bool TIcon::Empty() const { return !image_; }
int32_t TIcon::Width() const { return image_ ? image_->width : 0; }
int32_t TIcon::Height() const { return image_ ? image_->height : 0; }
bool TIcon::HasAlpha() const { return image_ && image_->alpha; }
int TIcon::BitsPerPixel() const { return image_ ? image_->bits_per_pixel : 0; }

void TIcon::SetWidth(int32_t width) {
  if (width != Width()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int32_t height) {
  if (height != Height()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetImage(std::unique_ptr<gdi::IconImage> image) {
  HBITMAP color = nullptr, mask = nullptr;
  if (image) {
    color = MakeColorBitmap(*image);
    try {
      mask = MakeMaskBitmap(*image);
    } catch (...) {
      DeleteObject(color);
      throw;
    }
  }
  if (color_) DeleteObject(color_);
  if (mask_) DeleteObject(mask_);
  color_ = color;
  mask_ = mask;
  image_ = std::move(image);
}

void TIcon::Assign(const TPersistent* source) {
  if (source == this) return;
  const auto* icon = dynamic_cast<const TIcon*>(source);
  if (source && !icon) {
    TGraphic::Assign(source);
    return;
  }
  SetImage(icon && icon->image_ ? std::make_unique<gdi::IconImage>(*icon->image_) : nullptr);
  Changed();
}

void TIcon::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const std::vector<uint8_t> bytes = stream.ReadAll();
  if (bytes.empty()) {
    SetImage(nullptr);
    Changed();
    return;
  }
  gdi::IcoResult r = gdi::DecodeIco(bytes.data(), bytes.size());
  if (!r.image) throw EInvalidGraphic(r.error);
  SetImage(std::make_unique<gdi::IconImage>(std::move(*r.image)));
  // The stream is left after the last image of the file.
  stream.SetPosition(start + static_cast<int64_t>(gdi::ReadIcoDirectory(bytes.data(), bytes.size()).extent));
  Changed();
}

void TIcon::SaveToStream(TStream& stream) {
  if (!image_) return;
  std::string why;
  const std::vector<uint8_t> bytes = gdi::EncodeIco(*image_, &why);
  if (bytes.empty()) throw EInvalidGraphicOperation(why);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TIcon::Draw(TCanvas* canvas, const RECT& r) {
  if (!image_) return;
  HDC dst = canvas->Handle();
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC src = CreateCompatibleDC(nullptr);
  if (!src) return;
  if (image_->alpha) {
    HGDIOBJ old = SelectObject(src, color_);
    AlphaBlend(dst, r.left, r.top, w, h, src, 0, 0, image_->width, image_->height,
               BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    SelectObject(src, old);
  } else {
    // The screen through the mask, then the colours XORed on: black leaves it as it was,
    // other colours under the mask invert it.
    const COLORREF old_text = SetTextColor(dst, RGB(0, 0, 0));
    const COLORREF old_bk = SetBkColor(dst, RGB(255, 255, 255));
    const int old_mode = SetStretchBltMode(dst, COLORONCOLOR);
    HGDIOBJ old = SelectObject(src, mask_);
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, image_->width, image_->height, SRCAND);
    SelectObject(src, color_);
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, image_->width, image_->height, SRCINVERT);
    SelectObject(src, old);
    SetStretchBltMode(dst, old_mode);
    SetTextColor(dst, old_text);
    SetBkColor(dst, old_bk);
  }
  DeleteDC(src);
}

}  // namespace host
