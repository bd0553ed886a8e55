#include "host/stdctrls/bitbtn.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/bitmap.h"
#include "host/graphics/font.h"
#include "platform/win32/text.h"

namespace host {

namespace {

constexpr int kGlyphSize = 18;
constexpr COLORREF kClear = RGB(128, 128, 0);  // the stock glyphs' transparent colour
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(192, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);

// Pen and brush of one colour selected for the length of a drawing step.
class Paint {
 public:
  Paint(HDC dc, COLORREF color, int pen_width = 1, bool fill = true)
      : dc_(dc),
        pen_(CreatePen(PS_SOLID, pen_width, color)),
        brush_(fill ? CreateSolidBrush(color) : nullptr),
        old_pen_(SelectObject(dc, pen_)),
        old_brush_(SelectObject(dc, fill ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH))) {}
  ~Paint() {
    SelectObject(dc_, old_pen_);
    SelectObject(dc_, old_brush_);
    DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
  }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ old_pen_;
  HGDIOBJ old_brush_;
};

void Shape(HDC dc, COLORREF color, std::initializer_list<POINT> points) {
  Paint p(dc, color);
  Polygon(dc, points.begin(), static_cast<int>(points.size()));
}

void Lines(HDC dc, COLORREF color, int width, std::initializer_list<POINT> points) {
  Paint p(dc, color, width, false);
  Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

void Block(HDC dc, COLORREF color, RECT r) {
  HBRUSH b = CreateSolidBrush(color);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void CheckMark(HDC dc, int dx, int dy) {
  Shape(dc, kGreen, {{2 + dx, 8 + dy}, {4 + dx, 6 + dy}, {7 + dx, 9 + dy}, {13 + dx, 3 + dy},
                     {15 + dx, 5 + dy}, {7 + dx, 13 + dy}});
}

void Cross(HDC dc, COLORREF color, int lo, int hi) {
  Shape(dc, color, {{lo, lo + 2}, {lo + 2, lo}, {hi, hi - 2}, {hi - 2, hi}});
  Shape(dc, color, {{hi - 2, lo}, {hi, lo + 2}, {lo + 2, hi}, {lo, hi - 2}});
}

// The text on a button face: the control's font colour, or embossed when disabled.
void DrawFaceText(HDC dc, const std::string& text, RECT r, TColor color, bool enabled) {
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old = GetTextColor(dc);
  if (enabled) {
    SetTextColor(dc, ColorToRGB(color));
    DrawText(dc, text.c_str(), -1, &r, flags);
  } else {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(dc, text.c_str(), -1, &shifted, flags);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawText(dc, text.c_str(), -1, &r, flags);
  }
  SetTextColor(dc, old);
  SetBkMode(dc, old_mode);
}

bool IsCustom(const TObject* o) { return static_cast<const TBitBtn*>(o)->Kind() == bkCustom; }

}  // namespace

HOST_PUBLISHED(TBitBtn, TButton) {
  HOST_PROP(Caption).Stored(IsCustom);
  c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone).Stored(IsCustom);
  HOST_PROP(Glyph).Stored(IsCustom);
  HOST_PROP(Kind, bkCustom);
  HOST_PROP(Layout, blGlyphLeft);
  HOST_PROP(Margin, -1).Range(-1, std::numeric_limits<int32_t>::max());
  HOST_PROP(NumGlyphs, 1).Range(1, 4);
  HOST_PROP(Spacing, 4).Range(-1, std::numeric_limits<int32_t>::max());
  HOST_PROP(Style, bsAutoDetect);
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TButtonGlyph>()) {
  glyph_->OnChange = [this] {
    kind_glyph_ = false;
    Invalidate();
  };
}

TBitBtn::~TBitBtn() { glyph_->OnChange = nullptr; }

void TBitBtn::SetGlyph(TBitmap* glyph) { glyph_->SetBitmap(glyph); }

void TBitBtn::SetNumGlyphs(int32_t value) {
  if (value < 1 || value > 4) {
    throw EInvalidOperation(Format("%s.NumGlyphs must be 1 to 4, not %d", {Name(), value}));
  }
  glyph_->SetNumGlyphs(value);
}

std::string TBitBtn::KindCaption(TBitBtnKind kind) {
  switch (kind) {
    case bkCustom: return "";
    case bkOK: return "OK";
    case bkCancel: return "Cancel";
    case bkHelp: return "&Help";
    case bkYes: return "&Yes";
    case bkNo: return "&No";
    case bkClose: return "&Close";
    case bkAbort: return "Abort";
    case bkRetry: return "&Retry";
    case bkIgnore: return "&Ignore";
    case bkAll: return "&All";
  }
  return "";
}

TModalResult TBitBtn::KindModalResult(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    case bkCustom:
    case bkHelp:
    case bkClose: return mrNone;
  }
  return mrNone;
}

void TBitBtn::DrawKindGlyph(TBitBtnKind kind, TBitmap* bitmap) {
  if (kind == bkCustom) {
    bitmap->SetSize(0, 0);
    return;
  }
  bitmap->SetSize(kGlyphSize, kGlyphSize);
  HDC dc = bitmap->Canvas()->Handle();
  Block(dc, kClear, {0, 0, kGlyphSize, kGlyphSize});
  switch (kind) {
    case bkOK:
    case bkYes: CheckMark(dc, 0, 1); break;
    case bkAll:
      CheckMark(dc, -1, -1);
      CheckMark(dc, 2, 3);
      break;
    case bkCancel: Cross(dc, kRed, 3, 14); break;
    case bkNo: {
      Paint ring(dc, kRed, 2, false);
      Ellipse(dc, 2, 2, 16, 16);
      Shape(dc, kRed, {{4, 5}, {5, 4}, {14, 13}, {13, 14}});
      break;
    }
    case bkAbort: {
      {
        Paint disc(dc, kRed);
        Ellipse(dc, 1, 1, 17, 17);
      }
      Cross(dc, RGB(255, 255, 255), 5, 12);
      break;
    }
    case bkHelp:
      Lines(dc, kNavy, 2, {{5, 6}, {5, 4}, {7, 2}, {11, 2}, {13, 4}, {13, 6}, {9, 9}, {9, 12}});
      Block(dc, kNavy, {8, 14, 11, 17});
      break;
    case bkClose:
      // An open door: the dark doorway, the door swung out on its left hinge, a brass knob.
      Block(dc, RGB(0, 0, 0), {5, 1, 16, 17});
      Block(dc, RGB(0, 128, 128), {6, 2, 15, 17});
      Shape(dc, RGB(128, 64, 0), {{5, 1}, {11, 4}, {11, 17}, {5, 17}});
      Block(dc, RGB(255, 255, 0), {9, 10, 10, 12});
      Block(dc, RGB(0, 0, 0), {2, 17, 18, 18});
      break;
    case bkRetry: {
      {
        Paint ring(dc, kGreen, 2, false);
        Ellipse(dc, 3, 3, 16, 16);
      }
      Block(dc, kClear, {10, 1, 18, 9});  // the gap the arrow points into
      Shape(dc, kGreen, {{7, 0}, {12, 4}, {7, 8}});
      break;
    }
    case bkIgnore:
      Block(dc, RGB(0, 0, 0), {8, 9, 10, 17});
      Lines(dc, kNavy, 2, {{2, 13}, {3, 8}, {6, 5}, {11, 5}, {14, 8}, {15, 10}});
      Shape(dc, kNavy, {{12, 11}, {17, 9}, {16, 15}});
      break;
    case bkCustom: break;
  }
  // The bottom-left pixel names the transparent colour.
  SetPixelV(dc, 0, kGlyphSize - 1, kClear);
}

TBitBtnKind TBitBtn::Kind() const {
  if (kind_ == bkCustom) return bkCustom;
  if (!kind_glyph_ || Caption() != KindCaption(kind_) || ModalResult() != KindModalResult(kind_)) return bkCustom;
  return kind_;
}

void TBitBtn::SetKind(TBitBtnKind value) {
  kind_ = value;
  if (value == bkCustom) {
    Invalidate();
    return;
  }
  TBitmap stock;
  DrawKindGlyph(value, &stock);
  glyph_->SetNumGlyphs(1);
  glyph_->SetBitmap(&stock);
  kind_glyph_ = true;
  SetCaption(KindCaption(value));
  SetModalResult(KindModalResult(value));
  // A stored form keeps Default and Cancel itself.
  if (!IsLoading()) {
    if (value == bkOK) SetDefault(true);
    if (value == bkCancel) SetCancel(true);
  }
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TBitBtn::SetMargin(int32_t value) {
  value = std::max(value, -1);
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TBitBtn::SetSpacing(int32_t value) {
  value = std::max(value, -1);
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TBitBtn::SetStyle(TButtonStyle value) {
  if (value == style_) return;
  style_ = value;
  Invalidate();
}

void TBitBtn::Click() {
  const bool closes = Kind() == bkClose;
  TButton::Click();
  if (closes) {
    if (TCustomForm* form = GetParentForm()) form->Close();
  }
}

void TBitBtn::ContentPlace(POINT& glyph_at, RECT& text_rect) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) throw EOutOfResources("Out of system resources: no device context to place a button's glyph");
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  glyph_->Place(dc, ClientRect(), Caption(), layout_, margin_, spacing_, glyph_at, text_rect);
  SelectObject(dc, old);
  DeleteDC(dc);
}

RECT TBitBtn::DrawWin31Face(HDC dc) {
  RECT r = ClientRect();
  HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
  // The outline leaves the four corner pixels out, which rounds the button.
  const RECT sides[] = {{r.left + 1, r.top, r.right - 1, r.top + 1},
                        {r.left + 1, r.bottom - 1, r.right - 1, r.bottom},
                        {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                        {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
  for (const RECT& side : sides) FillRect(dc, &side, frame);
  InflateRect(&r, -1, -1);
  if (IsDefaultLook()) {
    FrameRect(dc, &r, frame);
    InflateRect(&r, -1, -1);
  }
  HBRUSH face = CreateSolidBrush(ColorToRGB(Color()));
  if (IsPushed()) {
    Frame3D(dc, r, clBtnShadow, Color(), 1);
    FillRect(dc, &r, face);
    InflateRect(&r, -1, -1);
  } else {
    Frame3D(dc, r, clBtnHighlight, clBtnShadow, 2);
    FillRect(dc, &r, face);
  }
  DeleteObject(face);
  return r;
}

void TBitBtn::PaintWindow(HDC dc) {
  const RECT face = style_ == bsWin31 ? DrawWin31Face(dc) : DrawButtonFace(dc);
  HGDIOBJ old_font = SelectObject(dc, Font()->Handle());
  POINT glyph_at{};
  RECT text{};
  glyph_->Place(dc, ClientRect(), Caption(), layout_, margin_, spacing_, glyph_at, text);
  const bool pushed = IsPushed();
  const int shift = pushed ? 1 : 0;
  const TButtonState state = !Enabled() ? bsDisabled : (pushed ? bsDown : bsUp);
  glyph_->Draw(dc, glyph_at.x + shift, glyph_at.y + shift, state);
  if (!Caption().empty()) {
    OffsetRect(&text, shift, shift);
    DrawFaceText(dc, Caption(), text, Font()->Color(), Enabled());
  }
  SelectObject(dc, old_font);
  if (Focused()) {
    RECT focus = face;
    InflateRect(&focus, -1, -1);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
  }
}

void RegisterBitBtn() { RegisterClasses({TBitBtn::StaticClass()}); }

}  // namespace host
