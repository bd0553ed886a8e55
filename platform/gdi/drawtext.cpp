// DrawText and DrawTextEx: the layout engine (text_layout.h) measured with the DC's font,
// each run drawn with ExtTextOut and the prefix underline filled in the text colour.
#include <cstring>
#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/text_layout.h"
#include "platform/win32/text.h"

namespace {

// Answers the layout engine's questions with the font selected into a DC.
class DCMeasurer final : public gdi::TextMeasurer {
 public:
  DCMeasurer(HDC hdc, const TEXTMETRIC& tm) : hdc_(hdc), tm_(tm) {}

  int Width(std::string_view run) override {
    if (run.empty()) return 0;
    SIZE size{0, 0};
    if (!GetTextExtentPoint32(hdc_, run.data(), static_cast<int>(run.size()), &size)) return 0;
    return size.cx;
  }
  int LineHeight() override { return tm_.tmHeight; }
  int ExternalLeading() override { return tm_.tmExternalLeading; }
  int AveCharWidth() override { return tm_.tmAveCharWidth; }
  int Ascent() override { return tm_.tmAscent; }

 private:
  HDC hdc_;
  TEXTMETRIC tm_;
};

// Selects the stock system font for DT_INTERNAL and puts the caller's font back after.
class InternalFont {
 public:
  InternalFont(HDC hdc, bool use) : hdc_(hdc) {
    if (use) old_ = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
  }
  ~InternalFont() {
    if (old_) SelectObject(hdc_, old_);
  }
  InternalFont(const InternalFont&) = delete;
  InternalFont& operator=(const InternalFont&) = delete;

 private:
  HDC hdc_;
  HGDIOBJ old_ = nullptr;
};

// DT_MODIFYSTRING: the caller's buffer holds count + 4 bytes (room for the ellipsis and a
// terminating zero); a longer result is cut at a character boundary.
void WriteBack(char* buffer, size_t count, const std::string& text) {
  const size_t room = count + 3;
  size_t n = text.size();
  if (n > room) {
    n = room;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

int DrawTextImpl(HDC hdc, char* text, int count, LPRECT rc, UINT format, int tab_length, DRAWTEXTPARAMS* params) {
  gdi::DeviceContext* dc = gdi::Get<gdi::DeviceContext>(hdc);
  if (!dc) return 0;
  if (!rc || (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) || count < -1 || (!text && count > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (count == 0) return 0;
  const size_t length = !text ? 0 : count < 0 ? std::strlen(text) : static_cast<size_t>(count);
  const std::string_view source = text ? std::string_view(text, length) : std::string_view();

  InternalFont internal(hdc, format & DT_INTERNAL);
  TEXTMETRIC tm{};
  if (!GetTextMetrics(hdc, &tm)) return 0;
  DCMeasurer measurer(hdc, tm);

  gdi::TextLayoutParams lp;
  lp.format = format;
  lp.rect = *rc;
  lp.tab_length = tab_length;
  if (params) {
    lp.left_margin = params->iLeftMargin;
    lp.right_margin = params->iRightMargin;
  }
  const gdi::TextLayout layout = gdi::LayoutText(source, lp, measurer);
  if (params) params->uiLengthDrawn = static_cast<UINT>(layout.length_drawn);

  if (!(format & DT_CALCRECT)) {
    // Runs are placed by their top-left corner whatever alignment the caller set.
    const UINT old_align = dc->state().text_align;
    dc->state().text_align = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    const UINT options = layout.clipped ? ETO_CLIPPED : 0;
    const RECT* clip = layout.clipped ? &layout.clip_rect : nullptr;
    for (const gdi::TextLine& line : layout.lines) {
      for (const gdi::TextRun& run : line.runs) {
        const std::string_view s = layout.RunText(run);
        ExtTextOut(hdc, run.x, line.y, options, clip, s.data(), static_cast<UINT>(s.size()), nullptr);
      }
    }
    dc->state().text_align = old_align;
    if (!layout.underlines.empty()) {
      const gdi::Ink ink = gdi::Ink::Solid(R2_COPYPEN, dc->Resolve(GetTextColor(hdc)));
      for (const gdi::TextUnderline& u : layout.underlines)
        gdi::FillLogicalRect(*dc, RECT{u.x, u.y, u.x + u.width, u.y + 1}, ink);
    }
  } else {
    *rc = layout.calc_rect;
  }
  if ((format & DT_MODIFYSTRING) && layout.modified && text) WriteBack(text, length, *layout.modified);
  return layout.height;
}

}  // namespace

int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format) {
  const gdi::DrawTextFormat split = gdi::SplitDrawTextFormat(format);
  // The string is written to only under DT_MODIFYSTRING, whose caller hands a writable buffer.
  return DrawTextImpl(hdc, const_cast<char*>(text), count, rc, split.format, split.tab_length, nullptr);
}

int DrawTextEx(HDC hdc, LPSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params) {
  // DT_TABSTOP takes its length from the parameters here; the format's high byte stays flags.
  const int tab_length = (format & DT_TABSTOP) && params ? params->iTabLength : 0;
  return DrawTextImpl(hdc, text, count, rc, format, tab_length, params);
}
