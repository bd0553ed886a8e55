// TGraphic: what TBitmap and TIcon have in common: a size, drawing into a rectangle of a
// canvas, and loading and saving through streams and files.
#pragma once

#include <memory>
#include <string>

#include "host/classes/classes.h"
#include "platform/win32/types.h"

namespace host {

class TCanvas;

class TGraphic : public TPersistent {
 public:
  HOST_CLASS(TGraphic)
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual void SetWidth(int32_t width) = 0;
  virtual int32_t Height() const = 0;
  virtual void SetHeight(int32_t height) = 0;
  // Drawn with some pixels left out (which ones is the graphic's business).
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);
  // Set by every change; setting it true reports a change.
  bool Modified() const { return modified_; }
  void SetModified(bool modified);

  // Through a TFileStream; a file is written only once the whole picture is encoded.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);
  // From the stream's position. Damaged data raises EInvalidGraphic with the reason.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;

  // An empty graphic of the same class (how TPicture copies graphics).
  virtual std::unique_ptr<TGraphic> NewInstance() const = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws the whole graphic into r of the canvas (stretching it).
  virtual void Draw(TCanvas* canvas, const RECT& r) = 0;
  virtual void Changed();

  bool transparent_ = false;

 private:
  bool modified_ = false;
};

}  // namespace host
