#include "host/graphics/bitmap.h"

#include "host/classes/filer.h"

#include <algorithm>
#include <utility>

#include "host/graphics/canvas.h"
#include "platform/gdi/bmp.h"
#include "platform/win32.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TBitmap, TGraphic)

namespace {

// Bytes in one row of GetBitmapBits/CreateBitmap data: 32 bpp, or 1 bpp padded to 16 bits.
size_t RowBytes(int width, bool monochrome) {
  return monochrome ? ((static_cast<size_t>(width) + 15) / 16) * 2 : static_cast<size_t>(width) * 4;
}

HBITMAP NewBitmap(int width, int height, bool monochrome, const void* bits = nullptr) {
  HBITMAP b = CreateBitmap(width, height, 1, monochrome ? 1 : 32, bits);
  if (!b) throw EOutOfResources("Cannot make a " + std::to_string(width) + "x" + std::to_string(height) + " bitmap");
  return b;
}

// One of our bitmaps in a memory DC of its own, while it is selected nowhere else.
class SelectedDC {
 public:
  explicit SelectedDC(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
  ~SelectedDC() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  SelectedDC(const SelectedDC&) = delete;
  SelectedDC& operator=(const SelectedDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

HBITMAP WhiteBitmap(int width, int height, bool monochrome) {
  HBITMAP b = NewBitmap(width, height, monochrome);
  SelectedDC d(b);
  PatBlt(d.dc(), 0, 0, width, height, WHITENESS);
  return b;
}

std::vector<uint8_t> BitsOf(HBITMAP bitmap, int width, int height, bool monochrome) {
  std::vector<uint8_t> bits(RowBytes(width, monochrome) * static_cast<size_t>(height));
  GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
  return bits;
}

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  if (entries.empty() || entries.size() > 256) return nullptr;
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), lp->palPalEntry);
  return CreatePalette(lp);
}

HPALETTE CopyPalette(HPALETTE palette) {
  WORD count = 0;
  if (!palette || !GetObject(palette, sizeof count, &count)) return nullptr;
  std::vector<PALETTEENTRY> entries(count);
  GetPaletteEntries(palette, 0, count, entries.data());
  return MakePalette(entries);
}

uint32_t FileSizeField(const std::vector<uint8_t>& bmp) {
  return static_cast<uint32_t>(bmp[2]) | (static_cast<uint32_t>(bmp[3]) << 8) |
         (static_cast<uint32_t>(bmp[4]) << 16) | (static_cast<uint32_t>(bmp[5]) << 24);
}

}  // namespace

// The canvas of a bitmap: a memory DC made when first drawn on, holding the bitmap.
class TBitmap::BitmapCanvas : public TCanvas {
 public:
  explicit BitmapCanvas(TBitmap* owner) : owner_(owner) {}
  ~BitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    HDC dc = CurrentHandle();
    if (!dc) return;
    SetHandle(nullptr);
    if (old_bitmap_) SelectObject(dc, old_bitmap_);
    old_bitmap_ = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    owner_->HandleNeeded();
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    if (owner_->handle_) {
      old_bitmap_ = SelectObject(dc, owner_->handle_);
      if (!old_bitmap_) {
        DeleteDC(dc);
        throw EInvalidGraphicOperation("Cannot draw on a bitmap that is selected into another device context");
      }
    }
    SetHandle(dc);
  }

  void Changed() override {
    TCanvas::Changed();
    owner_->Changed();
  }

 private:
  TBitmap* owner_;
  HGDIOBJ old_bitmap_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  canvas_.reset();
  if (handle_) DeleteObject(handle_);
  if (palette_) DeleteObject(palette_);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(this);
  return canvas_.get();
}

void TBitmap::HandleNeeded() {
  if (handle_ || Empty()) return;
  handle_ = dormant_.empty() ? WhiteBitmap(width_, height_, monochrome_)
                             : NewBitmap(width_, height_, monochrome_, dormant_.data());
  std::vector<uint8_t>().swap(dormant_);
}

HBITMAP TBitmap::Handle() {
  HandleNeeded();
  return handle_;
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::Replace(HBITMAP bitmap, int32_t width, int32_t height, bool monochrome) {
  FreeContext();
  if (handle_ && handle_ != bitmap) DeleteObject(handle_);
  handle_ = bitmap;
  std::vector<uint8_t>().swap(dormant_);
  width_ = width;
  height_ = height;
  monochrome_ = monochrome;
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  HBITMAP made = nullptr;
  if (width > 0 && height > 0) {
    HandleNeeded();
    made = WhiteBitmap(width, height, monochrome_);
    if (handle_) {
      FreeContext();
      SelectedDC from(handle_), to(made);
      BitBlt(to.dc(), 0, 0, std::min(width, width_), std::min(height, height_), from.dc(), 0, 0, SRCCOPY);
    }
  }
  Replace(made, width, height, monochrome_);
  Changed();
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (bitmap == handle_ && (bitmap || (Empty() && dormant_.empty()))) return;
  BITMAP bm{};
  if (bitmap && (GetObjectType(bitmap) != OBJ_BITMAP || !GetObject(bitmap, sizeof bm, &bm)))
    throw EInvalidGraphic("Invalid bitmap handle");
  Replace(bitmap, bm.bmWidth, bm.bmHeight, bitmap && bm.bmBitsPixel == 1);
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  HandleNeeded();
  FreeContext();
  HBITMAP bitmap = std::exchange(handle_, nullptr);
  width_ = height_ = 0;
  if (bitmap) Changed();
  return bitmap;
}

void TBitmap::SetPalette(HPALETTE palette) {
  if (palette == palette_) return;
  if (palette_) DeleteObject(palette_);
  palette_ = palette;
  Changed();
}

HPALETTE TBitmap::ReleasePalette() { return std::exchange(palette_, nullptr); }

void TBitmap::SetMonochrome(bool monochrome) {
  if (monochrome == monochrome_) return;
  if (Empty()) {
    monochrome_ = monochrome;
    Changed();
    return;
  }
  HandleNeeded();
  FreeContext();
  HBITMAP converted = NewBitmap(width_, height_, monochrome);
  {
    SelectedDC from(handle_), to(converted);
    SetBkColor(from.dc(), RGB(255, 255, 255));
    SetTextColor(to.dc(), RGB(0, 0, 0));
    SetBkColor(to.dc(), RGB(255, 255, 255));
    BitBlt(to.dc(), 0, 0, width_, height_, from.dc(), 0, 0, SRCCOPY);
  }
  Replace(converted, width_, height_, monochrome);
  Changed();
}

TColor TBitmap::TransparentColor() {
  if (transparent_mode_ == tmFixed) return transparent_color_;
  if (Empty()) return clNone;
  if (monochrome_) return clWhite;
  return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  const TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
  if (color == transparent_color_ && mode == transparent_mode_) return;
  transparent_color_ = color;
  transparent_mode_ = mode;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparent_mode_) return;
  // Fixing the mode keeps the colour it has now.
  SetTransparentColor(mode == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::Dormant() {
  if (!handle_) return;
  FreeContext();
  dormant_ = BitsOf(handle_, width_, height_, monochrome_);
  DeleteObject(std::exchange(handle_, nullptr));
}

void TBitmap::FreeImage() { HandleNeeded(); }

void TBitmap::Assign(const TPersistent* source) {
  if (source == this) return;
  const auto* src = dynamic_cast<const TBitmap*>(source);
  if (source && !src) {
    TGraphic::Assign(source);
    return;
  }
  if (!src) {
    Replace(nullptr, 0, 0, false);
    Changed();
    return;
  }
  HBITMAP copy = nullptr;
  if (!src->Empty()) {
    if (src->handle_) {
      const std::vector<uint8_t> bits = BitsOf(src->handle_, src->width_, src->height_, src->monochrome_);
      copy = NewBitmap(src->width_, src->height_, src->monochrome_, bits.data());
    } else if (!src->dormant_.empty()) {
      copy = NewBitmap(src->width_, src->height_, src->monochrome_, src->dormant_.data());
    }
  }
  Replace(copy, src->width_, src->height_, src->monochrome_);
  if (palette_) DeleteObject(palette_);
  palette_ = CopyPalette(src->palette_);
  transparent_ = src->transparent_;
  transparent_color_ = src->transparent_color_;
  transparent_mode_ = src->transparent_mode_;
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const std::vector<uint8_t> bytes = stream.ReadAll();
  if (bytes.empty()) {
    Replace(nullptr, 0, 0, false);
    Changed();
    return;
  }
  gdi::BmpResult r = gdi::DecodeBmp(bytes.data(), bytes.size());
  if (!r.image) throw EInvalidGraphic(r.error);
  const gdi::DecodedBmp& img = *r.image;
  HBITMAP bitmap;
  if (img.monochrome) {
    const size_t row_bytes = RowBytes(img.width, true);
    std::vector<uint8_t> bits(row_bytes * static_cast<size_t>(img.height), 0);
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        if (img.pixels[static_cast<size_t>(y) * img.width + x] == gdi::kWhite)
          bits[row_bytes * y + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
    bitmap = NewBitmap(img.width, img.height, true, bits.data());
  } else {
    bitmap = NewBitmap(img.width, img.height, false, img.pixels.data());
  }
  std::vector<PALETTEENTRY> entries;
  for (gdi::Pixel p : img.palette)
    entries.push_back(PALETTEENTRY{static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p), 0});
  Replace(bitmap, img.width, img.height, img.monochrome);
  if (palette_) DeleteObject(palette_);
  palette_ = MakePalette(entries);
  // The stream is left after the file, as far as its header says it goes.
  const uint32_t file_size = FileSizeField(bytes);
  if (file_size >= 14 && file_size <= bytes.size()) stream.SetPosition(start + file_size);
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  if (Empty()) return;
  HandleNeeded();
  std::string why;
  const std::vector<uint8_t> bytes = gdi::EncodeBmp(handle_, monochrome_ ? 1 : 24, &why);
  if (bytes.empty()) throw EInvalidGraphicOperation(why);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
  if (Empty()) return;
  HDC dst = canvas->Handle();
  HDC src = Canvas()->Handle();
  const int w = r.right - r.left, h = r.bottom - r.top;
  HPALETTE old_palette = nullptr;
  if (palette_) {
    old_palette = SelectPalette(dst, palette_, TRUE);
    RealizePalette(dst);
  }
  // Monochrome bitmaps draw black and white whatever the canvas's colours.
  COLORREF old_text = 0, old_bk = 0;
  if (monochrome_) {
    old_text = SetTextColor(dst, RGB(0, 0, 0));
    old_bk = SetBkColor(dst, RGB(255, 255, 255));
  }
  const int old_mode = SetStretchBltMode(dst, COLORONCOLOR);
  if (Transparent()) {
    TransparentBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_, ColorToRGB(TransparentColor()));
  } else {
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_, static_cast<DWORD>(canvas->CopyMode()));
  }
  SetStretchBltMode(dst, old_mode);
  if (monochrome_) {
    SetTextColor(dst, old_text);
    SetBkColor(dst, old_bk);
  }
  if (palette_) SelectPalette(dst, old_palette, TRUE);
}

void TBitmap::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { LoadFromStream(s); }, [this](TStream& s) { SaveToStream(s); }, !Empty());
}

}  // namespace host
