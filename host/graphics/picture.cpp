#include "host/graphics/picture.h"

#include "host/classes/filer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/graphics/bitmap.h"
#include "host/graphics/icon.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TPicture, TPersistent)


TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Hold(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (graphic == graphic_.get()) return;
  if (!graphic) {
    Hold(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy = graphic->NewInstance();
  copy->Assign(graphic);
  Hold(std::move(copy));
}

template <class T>
T* TPicture::ForceType() {
  if (auto* graphic = dynamic_cast<T*>(graphic_.get())) return graphic;
  Hold(std::make_unique<T>());
  return static_cast<T*>(graphic_.get());
}

TBitmap* TPicture::Bitmap() { return ForceType<TBitmap>(); }
TIcon* TPicture::Icon() { return ForceType<TIcon>(); }
void TPicture::SetBitmap(const TBitmap* bitmap) { SetGraphic(bitmap); }
void TPicture::SetIcon(const TIcon* icon) { SetGraphic(icon); }

int32_t TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int32_t TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    SetGraphic(nullptr);
  } else if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
    if (picture != this) SetGraphic(picture->graphic_.get());
  } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::AssignTo(TPersistent* dest) const {
  if (auto* graphic = dynamic_cast<TGraphic*>(dest)) {
    graphic->Assign(graphic_.get());
    return;
  }
  TPersistent::AssignTo(dest);
}

void TPicture::LoadFromFile(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  std::string lower = ext;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  std::unique_ptr<TGraphic> graphic;
  if (lower == "bmp") {
    graphic = std::make_unique<TBitmap>();
  } else if (lower == "ico") {
    graphic = std::make_unique<TIcon>();
  } else {
    throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
  }
  graphic->LoadFromFile(path);
  Hold(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& path) {
  if (graphic_) graphic_->SaveToFile(path);
}

void TPicture::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  uint8_t head[4] = {};
  const int64_t got = stream.Read(head, sizeof head);
  stream.SetPosition(start);
  std::unique_ptr<TGraphic> graphic;
  if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
    graphic = std::make_unique<TBitmap>();
  } else if (got == 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0) {
    graphic = std::make_unique<TIcon>();
  } else {
    throw EInvalidGraphic("Unknown picture data: neither a bitmap nor an icon");
  }
  graphic->LoadFromStream(stream);
  Hold(std::move(graphic));
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { LoadFromStream(s); }, [this](TStream& s) { graphic_->SaveToStream(s); },
      graphic_ && !graphic_->Empty());
}

}  // namespace host
