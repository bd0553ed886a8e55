#include "library/drawing/effect_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/canvas.h"
#include "host/graphics/font.h"
#include "library/foundation/utils.h"
#include "platform/win32/text.h"
#include "platform/win32/user.h"

namespace zyr {

// [SECTION] TZYR3DCaption ---------------------------------------------------------------------

HOST_PUBLISHED(TZYR3DCaption, TZYRObject) {
  HOST_PROP(LightDepth, uint8_t{1});
  HOST_PROP(ShadowDepth, uint8_t{1});
  HOST_COLOR_PROP(LightColor, host::clBtnHighlight);
  HOST_COLOR_PROP(ShadowColor, host::clBtnShadow);
  HOST_PROP(Style, tdNone);
  HOST_PROP(Tracing, int32_t{0});
}

TZYR3DCaption::TZYR3DCaption() : colors_{host::clBtnHighlight, host::clBtnShadow} {}

void TZYR3DCaption::SetDepth(int index, uint8_t value) {
  if (index < 0 || index > 1 || depths_[index] == value) return;
  depths_[index] = value;
  Change();
}

void TZYR3DCaption::SetColor(int index, TColor value) {
  if (index < 0 || index > 1 || colors_[index] == value) return;
  colors_[index] = value;
  Change();
}

void TZYR3DCaption::SetStyle(TZYRThreeDStyle value) {
  if (value == style_) return;
  style_ = value;
  Change();
}

void TZYR3DCaption::SetTracing(int32_t value) {
  if (value == tracing_) return;
  tracing_ = value;
  Change();
}

int32_t TZYR3DCaption::EffectDepth() const {
  switch (style_) {
    case tdSunken:
    case tdRaised:
      return depths_[0];
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised:
      return depths_[0] + depths_[1];
    case tdShadow:
      return depths_[1];
    default:
      return 0;
  }
}

void TZYR3DCaption::Assign(const host::TPersistent* source) {
  const auto* caption = dynamic_cast<const TZYR3DCaption*>(source);
  if (!caption) {
    TZYRObject::Assign(source);
    return;
  }
  if (caption == this) return;
  std::copy(std::begin(caption->depths_), std::end(caption->depths_), depths_);
  std::copy(std::begin(caption->colors_), std::end(caption->colors_), colors_);
  style_ = caption->style_;
  tracing_ = caption->tracing_;
  Change();
}

void TZYR3DCaption::DefineProperties(host::TFiler& filer) {
  TZYRObject::DefineProperties(filer);
  filer.DefineProperty(
      "Depth3D",
      [this](host::TReader& reader) {
        const int64_t depth = reader.ReadInteger();
        if (depth < 0 || depth > 255) {
          throw host::EPropertyError(host::Format("Depth3D: %d is out of range (0..255)", {depth}));
        }
        SetDepth(0, static_cast<uint8_t>(depth));
        SetDepth(1, static_cast<uint8_t>(depth));
      },
      nullptr, false);
}

// [SECTION] TZYRFxCaption ---------------------------------------------------------------------

HOST_PUBLISHED(TZYRFxCaption, TZYR3DCaption) {
  HOST_PROP(Angle, TZYRAngle{0}).Range(0, 360);
  HOST_PROP(PosX, uint16_t{0});
  HOST_PROP(PosY, uint16_t{0});
}

void TZYRFxCaption::SetAngle(TZYRAngle value) {
  value = static_cast<TZYRAngle>(value % 360);
  if (value == angle_) return;
  angle_ = value;
  Change();
}

void TZYRFxCaption::SetPosIndex(int index, uint16_t value) {
  if (index < 0 || index > 1 || pos_[index] == value) return;
  pos_[index] = value;
  Change();
}

void TZYRFxCaption::SetPos(uint16_t x, uint16_t y) {
  // Leaves an update the caller began in force.
  const bool was_updating = Updating();
  BeginUpdate();
  SetPosX(x);
  SetPosY(y);
  if (!was_updating) EndUpdate(false);
}

void TZYRFxCaption::Assign(const host::TPersistent* source) {
  const auto* caption = dynamic_cast<const TZYRFxCaption*>(source);
  if (!caption) {
    TZYR3DCaption::Assign(source);
    return;
  }
  if (caption == this) return;
  std::copy(std::begin(caption->depths_), std::end(caption->depths_), depths_);
  std::copy(std::begin(caption->colors_), std::end(caption->colors_), colors_);
  style_ = caption->style_;
  tracing_ = caption->tracing_;
  angle_ = caption->angle_;
  pos_[0] = caption->pos_[0];
  pos_[1] = caption->pos_[1];
  Change();
}

// [SECTION] TZYRTransparent -------------------------------------------------------------------

HOST_PUBLISHED(TZYRTransparent, TZYRObject) {
  HOST_COLOR_PROP(Color, host::clBtnFace);
  HOST_PROP(Mode, tpNone);
}

void TZYRTransparent::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Change();
}

void TZYRTransparent::SetMode(TZYRTransparentMode value) {
  if (value == mode_) return;
  mode_ = value;
  Change();
}

void TZYRTransparent::Assign(const host::TPersistent* source) {
  const auto* other = dynamic_cast<const TZYRTransparent*>(source);
  if (!other) {
    TZYRObject::Assign(source);
    return;
  }
  if (other == this) return;
  color_ = other->color_;
  mode_ = other->mode_;
  Change();
}

// [SECTION] Drawing and measuring -------------------------------------------------------------

namespace {

// The first 255 characters; a character of several UTF-8 bytes is never split.
std::string CutText(const std::string& text) {
  size_t count = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (count == kMaxEffectTextLength) return text.substr(0, i);
    const auto c = static_cast<unsigned char>(text[i]);
    size_t len = 1;
    if (c >= 0xF0 && c < 0xF8) {
      len = 4;
    } else if (c >= 0xE0) {
      len = c < 0xF0 ? 3 : 1;
    } else if (c >= 0xC0) {
      len = 2;
    }
    i += len;
    ++count;
  }
  return text;
}

// 0: a plain 3D caption; 1: an Fx caption drawn upright; 2: an Fx caption drawn rotated.
int KindOf(const TZYR3DCaption* effect, const TZYRFxCaption*& fx) {
  fx = dynamic_cast<const TZYRFxCaption*>(effect);
  if (!fx) return 0;
  return fx->Angle() == 0 ? 1 : 2;
}

// Makes the canvas put its font into its DC (and the font colour as text colour).
HDC FontReady(host::TCanvas* canvas) {
  canvas->TextExtent(std::string());
  return canvas->Handle();
}

// What DrawEffectText changes on the canvas and its DC, put back on every path out.
class DrawState {
 public:
  DrawState(host::TCanvas* canvas, HDC dc) : canvas_(canvas), dc_(dc), bk_mode_(GetBkMode(dc)) {}
  DrawState(const DrawState&) = delete;
  DrawState& operator=(const DrawState&) = delete;

  ~DrawState() {
    if (rotated_) {
      // The caller's upright font comes back, so later text on this canvas is not rotated.
      if (HFONT upright = CreateFontIndirect(&upright_)) {
        try {
          canvas_->Font()->SetHandle(upright);
        } catch (...) {
          DeleteObject(upright);
        }
      }
    }
    if (extra_set_) SetTextCharacterExtra(dc_, old_extra_);
    SetBkMode(dc_, bk_mode_);
    if (clipped_) {
      SelectClipRgn(dc_, previous_clip_);
      if (previous_clip_) DeleteObject(previous_clip_);
    }
  }

  // Never draws outside r (in device coordinates), nor outside what was allowed before.
  void Clip(const RECT& r) {
    HRGN previous = CreateRectRgn(0, 0, 0, 0);
    if (previous && GetClipRgn(dc_, previous) != 1) {
      DeleteObject(previous);
      previous = nullptr;
    }
    HRGN region = CreateRectRgnIndirect(&r);
    if (!region) {
      if (previous) DeleteObject(previous);
      return;
    }
    if (previous) CombineRgn(region, region, previous, RGN_AND);
    SelectClipRgn(dc_, region);
    DeleteObject(region);
    previous_clip_ = previous;
    clipped_ = true;
  }

  void Rotate(int angle) {
    LOGFONT lf{};
    if (GetObject(canvas_->Font()->Handle(), sizeof lf, &lf) != static_cast<int>(sizeof lf)) return;
    upright_ = lf;
    lf.lfEscapement = angle * 10;
    lf.lfOrientation = angle * 10;
    HFONT rotated = CreateFontIndirect(&lf);
    if (!rotated) return;
    canvas_->Font()->SetHandle(rotated);
    rotated_ = true;
  }

  void CharacterExtra(int extra) {
    old_extra_ = SetTextCharacterExtra(dc_, extra);
    extra_set_ = true;
  }

 private:
  host::TCanvas* canvas_;
  HDC dc_;
  int bk_mode_;
  bool clipped_ = false;
  HRGN previous_clip_ = nullptr;
  bool rotated_ = false;
  LOGFONT upright_{};
  bool extra_set_ = false;
  int old_extra_ = 0;
};

struct Pass {
  int offset;
  TColor color;
};

}  // namespace

void DrawEffectText(host::TCanvas* canvas, const std::string& text, TZYR3DCaption* effect, const RECT& rect,
                    uint16_t format, TZYREffectTextOptions options, const RECT* clip_rect) {
  if (!canvas) throw host::EInvalidOperation("DrawEffectText: no canvas to draw on");
  if (!effect) throw host::EInvalidOperation("DrawEffectText: no text effect given");
  const std::string s = CutText(text);
  const RECT r = rect;
  if (s.empty() || IsRectEmpty(&r)) return;
  const TZYRFxCaption* fx = nullptr;
  const int kind = KindOf(effect, fx);

  HDC dc = canvas->Handle();
  DrawState state(canvas, dc);
  if (options.Contains(etClip)) state.Clip(clip_rect ? *clip_rect : r);

  TZYRThreeDStyle style = effect->Style();
  TColor face;
  if (options.Contains(etEnabled)) {
    // The embossed styles give the face the background colour.
    face = style == tdPColorSunken || style == tdPColorRaised ? canvas->Brush()->Color() : canvas->Font()->Color();
  } else {
    face = host::clGrayText;
    if (options.Contains(etSunkenDisabled)) style = tdSunken;
  }

  if (kind == 2) state.Rotate(fx->Angle());
  RECT t = r;
  if (kind != 0) {
    t.left += fx->PosX();
    t.top += fx->PosY();
  }
  if (effect->Tracing() != 0) state.CharacterExtra(effect->Tracing());
  canvas->Brush()->SetStyle(host::bsClear);

  const int l = effect->LightDepth();
  const int sd = effect->ShadowDepth();
  const TColor light = effect->LightColor();
  const TColor shadow = effect->ShadowColor();
  std::vector<Pass> passes;
  int narrower = 0;
  switch (style) {
    case tdSunken:
      narrower = l;
      passes = {{l, light}, {-l, face}};
      break;
    case tdRaised:
      narrower = l;
      passes = {{0, light}, {l, face}};
      break;
    case tdSunkenShadow:
    case tdPColorSunken:
      narrower = l + sd;
      passes = {{0, shadow}, {l + sd, light}, {-l, face}};
      break;
    case tdRaisedShadow:
    case tdPColorRaised:
      narrower = l + sd;
      passes = {{l + sd, shadow}, {-(l + sd), light}, {l, face}};
      break;
    case tdShadow:
      narrower = sd;
      passes = {{sd, shadow}, {-sd, face}};
      break;
    default:
      passes = {{0, face}};
      break;
  }
  t.right -= narrower;

  for (const Pass& pass : passes) {
    canvas->Font()->SetColor(pass.color);
    HDC text_dc = FontReady(canvas);
    SetBkMode(text_dc, TRANSPARENT);
    if (kind == 2) {
      t.left += pass.offset;
      t.top += pass.offset;
      ExtTextOut(text_dc, t.left, t.top, 0, nullptr, s.data(), static_cast<UINT>(s.size()), nullptr);
    } else {
      OffsetRect(&t, pass.offset, pass.offset);
      DrawText(text_dc, s.data(), static_cast<int>(s.size()), &t, format);
    }
  }
}

void CalcEffectTextRect(host::TCanvas* canvas, const std::string& text, TZYR3DCaption* effect, RECT& rect,
                        int32_t border, bool show_accel_char, bool word_wrap) {
  if (!canvas) throw host::EInvalidOperation("CalcEffectTextRect: no canvas to measure on");
  if (!effect) throw host::EInvalidOperation("CalcEffectTextRect: no text effect given");
  std::string s = CutText(text);
  const TZYRFxCaption* fx_const = nullptr;
  const int kind = KindOf(effect, fx_const);
  auto* fx = const_cast<TZYRFxCaption*>(fx_const);
  const int depth = effect->EffectDepth();

  HDC dc = FontReady(canvas);
  const int old_extra = effect->Tracing() != 0 ? SetTextCharacterExtra(dc, effect->Tracing()) : 0;
  struct ExtraBack {
    HDC dc;
    bool set;
    int old;
    ~ExtraBack() {
      if (set) SetTextCharacterExtra(dc, old);
    }
  } extra_back{dc, effect->Tracing() != 0, old_extra};

  if (kind < 2) {
    // An upright Fx caption keeps the position its user gave it: measuring does not depend on
    // it, and wiping it here would move the text the next time it is drawn.
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (word_wrap) format |= DT_WORDBREAK;
    if (!show_accel_char) format |= DT_NOPREFIX;
    // One line's height even for nothing to show.
    if (s.empty() || (show_accel_char && s == "&")) s += ' ';
    DrawText(dc, s.data(), static_cast<int>(s.size()), &rect, format);
    rect.right += depth;
    rect.bottom += depth;
  } else {
    SIZE size{0, 0};
    GetTextExtentPoint32(dc, s.data(), static_cast<int>(s.size()), &size);
    const int w = size.cx;
    const int h = size.cy;
    rect = RotatedBounds(RECT{0, 0, w + depth, h + depth}, fx->Angle());
    const double a = fx->Angle() * std::numbers::pi / 180.0;
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const int hw = w / 2;
    const int hh = h / 2;
    const int d = std::max(0, depth / 2 - 1);
    // Positions are unsigned: a start left of or above the box is taken as its edge.
    auto position = [d](double v) {
      return static_cast<uint16_t>(std::clamp<int64_t>(host::Round(v) - d, 0, 65535));
    };
    fx->SetPosX(position(cx - hw * std::cos(a) - hh * std::sin(a)));
    fx->SetPosY(position(cy + hw * std::sin(a) - hh * std::cos(a)));
  }
  rect.right += 2 * (border + 1);
  rect.bottom += 2 * (border + 1);
}

namespace {

// A canvas on the screen's device context holding a copy of font, released on every path out.
class ScreenCanvas {
 public:
  explicit ScreenCanvas(host::TFont* font) : dc_(GetDC(nullptr)) {
    if (!dc_) throw host::EOutOfResources("No device context for the screen");
    canvas_.SetHandle(dc_);
    if (font) canvas_.Font()->Assign(font);
  }
  ~ScreenCanvas() {
    canvas_.SetHandle(nullptr);
    ReleaseDC(nullptr, dc_);
  }
  ScreenCanvas(const ScreenCanvas&) = delete;
  ScreenCanvas& operator=(const ScreenCanvas&) = delete;
  host::TCanvas* operator->() { return &canvas_; }
  host::TCanvas* get() { return &canvas_; }

 private:
  HDC dc_;
  host::TCanvas canvas_;
};

}  // namespace

void CalcEffectTextRect(const std::string& text, TZYR3DCaption* effect, RECT& rect, int32_t border,
                        bool show_accel_char, bool word_wrap, host::TFont* font) {
  ScreenCanvas canvas(font);
  CalcEffectTextRect(canvas.get(), text, effect, rect, border, show_accel_char, word_wrap);
}

void AlignFxTextRect(TZYRAlignment alignment, const std::string& text, TZYRFxCaption* effect, RECT& result,
                     bool show_accel_char, bool word_wrap, host::TFont* font, const RECT& area) {
  RECT r = area;
  r.right -= 1;
  CalcEffectTextRect(text, effect, r, 0, show_accel_char, word_wrap, font);
  const int box_w = r.right - r.left;
  const int box_h = r.bottom - r.top;
  const int area_w = area.right - area.left;
  const int area_h = area.bottom - area.top;
  const int column = static_cast<int>(alignment) % 3;
  const int row = static_cast<int>(alignment) / 3;
  const int dx = column == 0 ? 0 : column == 1 ? (area_w - box_w) / 2 : area_w - box_w;
  const int dy = row == 0 ? 0 : row == 1 ? (area_h - box_h) / 2 : area_h - box_h;
  result.left = area.left + dx;
  result.top = area.top + dy;
  result.right = result.left + box_w;
  result.bottom = result.top + box_h;
}

bool IsTrueTypeFont(const std::string& face_name) {
  LOGFONT lf{};
  lf.lfHeight = 10;
  lf.lfWidth = 10;
  const size_t n = std::min(face_name.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::memcpy(lf.lfFaceName, face_name.data(), n);
  HFONT font = CreateFontIndirect(&lf);
  if (!font) return false;
  HDC dc = GetDC(nullptr);
  if (!dc) {
    DeleteObject(font);
    return false;
  }
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRIC tm{};
  const bool ok = GetTextMetrics(dc, &tm) != 0;
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return ok && (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int32_t FontTextHeight(host::TFont* font) {
  ScreenCanvas canvas(font);
  return canvas->TextHeight("W");
}

}  // namespace zyr
