// TIcon: an image of an ICO file, drawn through its AND mask (pixels under a set mask bit
// show the screen, inverted where the colour is not black) or, for images with alpha,
// blended.
#pragma once

#include "host/graphics/graphic.h"

namespace gdi {
struct IconImage;
}

namespace host {

class TIcon : public TGraphic {
 public:
  HOST_CLASS(TIcon)
  TIcon();
  ~TIcon() override;

  bool Empty() const override;
  int32_t Width() const override;
  int32_t Height() const override;
  // The size is the image's: EInvalidGraphicOperation for any other.
  void SetWidth(int32_t width) override;
  void SetHeight(int32_t height) override;
  // Always drawn transparently.
  bool Transparent() const override { return true; }
  void SetTransparent(bool) override {}

  // The image as drawn: a 32 bpp colour bitmap (premultiplied alpha in the top byte when it
  // has alpha) and a monochrome mask (white where the mask bit is set). Owned by the icon;
  // null when empty.
  HBITMAP ColorBitmap() const { return color_; }
  HBITMAP MaskBitmap() const { return mask_; }
  bool HasAlpha() const;
  // The depth of the image in its file (PNG images: bit depth times channels).
  int BitsPerPixel() const;

  void Assign(const TPersistent* source) override;
  // ICO files: the image nearest 32x32 at the best depth is kept. Saving writes a one-image
  // ICO of it; an empty icon writes nothing and reading nothing empties.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TIcon>(); }

 protected:
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  void SetImage(std::unique_ptr<gdi::IconImage> image);

  std::unique_ptr<gdi::IconImage> image_;
  HBITMAP color_ = nullptr;
  HBITMAP mask_ = nullptr;
};

}  // namespace host
