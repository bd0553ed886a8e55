#include "host/graphics/graphic.h"
#include "host/classes/publish.h"

namespace host {

HOST_DEFINE_CLASS(TGraphic, TPersistent)


void TGraphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TGraphic::SetModified(bool modified) {
  if (modified) {
    Changed();
  } else {
    modified_ = false;
  }
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& path) {
  TFileStream stream(path, fmOpenRead);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path) {
  TMemoryStream encoded;
  SaveToStream(encoded);
  encoded.SaveToFile(path);
}

}  // namespace host
