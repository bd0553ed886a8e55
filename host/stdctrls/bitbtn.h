// Push buttons with a glyph beside the caption; the stock kinds (OK, Cancel, Help...) bring
// their own caption, modal result and a small picture drawn at run time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/stdctrls/glyph.h"
#include "host/stdctrls/stdctrls.h"

namespace host {

class TBitmap;

HOST_ENUM(TBitBtnKind, uint8_t, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
          bkIgnore, bkAll)
// bsWin31 draws the older frame: a black outline with cut corners round a double bevel.
// bsAutoDetect and bsNew draw the frame every push button draws.
HOST_ENUM(TButtonStyle, uint8_t, bsAutoDetect, bsWin31, bsNew)

class TBitBtn : public TButton {
  HOST_CLASS(TBitBtn)
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  // Up to four images side by side (up, disabled, down, stays down); the bottom-left pixel is
  // the transparent colour. Setting copies the bitmap and makes the button custom.
  TBitmap* Glyph() const { return glyph_->Bitmap(); }
  void SetGlyph(TBitmap* glyph);
  int32_t NumGlyphs() const { return glyph_->NumGlyphs(); }
  // 1 to 4; other numbers raise EInvalidOperation.
  void SetNumGlyphs(int32_t value);
  // A stock kind sets caption, modal result, glyph, and Default (OK) or Cancel (Cancel).
  // Reads bkCustom once the caption, modal result or glyph were changed away from the kind's.
  TBitBtnKind Kind() const;
  void SetKind(TBitBtnKind value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  // Pixels from the button's edge to the glyph; -1 centres glyph and caption together.
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t value);
  // Pixels between glyph and caption; -1 shares the free room evenly.
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t value);
  TButtonStyle Style() const { return style_; }
  void SetStyle(TButtonStyle value);

  // Where glyph and caption go now, in client coordinates (before the pushed offset).
  void ContentPlace(POINT& glyph_at, RECT& text_rect);

  // A bkClose button closes its form.
  void Click() override;

  // The stock caption and modal result of a kind ("" and mrNone for bkCustom).
  static std::string KindCaption(TBitBtnKind kind);
  static TModalResult KindModalResult(TBitBtnKind kind);
  // Draws the stock glyph of a kind into bitmap (emptied for bkCustom).
  static void DrawKindGlyph(TBitBtnKind kind, TBitmap* bitmap);

 protected:
  void PaintWindow(HDC dc) override;

 private:
  // The older frame; returns the face inside it.
  RECT DrawWin31Face(HDC dc);

  std::unique_ptr<TButtonGlyph> glyph_;
  TBitBtnKind kind_ = bkCustom;
  bool kind_glyph_ = false;  // the glyph is the kind's own
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  TButtonStyle style_ = bsAutoDetect;
};

// Registers TBitBtn so stored forms can name it.
void RegisterBitBtn();

}  // namespace host
