// TPicture: holds one graphic (a TBitmap or a TIcon), made by class when loading a file by
// its extension or on asking for a bitmap or an icon.
#pragma once

#include <memory>
#include <string>

#include "host/classes/classes.h"

namespace host {

class TBitmap;
class TGraphic;
class TIcon;

class TPicture : public TPersistent {
 public:
  HOST_CLASS(TPicture)
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Null when the picture is empty.
  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of graphic (of its class); nullptr empties the picture.
  void SetGraphic(const TGraphic* graphic);
  // The graphic as a bitmap: another kind of graphic (or none) is replaced by a new empty
  // bitmap first.
  TBitmap* Bitmap();
  void SetBitmap(const TBitmap* bitmap);
  // The same for icons.
  TIcon* Icon();
  void SetIcon(const TIcon* icon);
  int32_t Width() const;
  int32_t Height() const;

  // Takes a copy of a picture's graphic or of a graphic; nullptr empties.
  void Assign(const TPersistent* source) override;

  // .bmp and .ico, in any case; EInvalidGraphic "Unknown picture file extension (.xyz)"
  // for anything else. The picture is unchanged when loading fails.
  void LoadFromFile(const std::string& path);
  // Nothing is written for an empty picture.
  void SaveToFile(const std::string& path);
  // The graphic's file image (a BMP or an ICO, told apart by its first bytes).
  void LoadFromStream(TStream& stream);
  // Stored forms hold the graphic as "Data": the file image, as binary data or as a
  // reference to an embedded file (Picture.Data = file 'logo.bmp').
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnChange;

 protected:
  // A graphic takes a copy of the picture's graphic.
  void AssignTo(TPersistent* dest) const override;
  virtual void Changed();

 private:
  template <class T>
  T* ForceType();
  void Hold(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace host
