// The layout engine behind DrawText: breaks UTF-8 text into lines, places them in a
// rectangle, expands tabs, applies the '&' prefix, ellipses and the DT_CALCRECT sizing.
// It knows nothing of fonts or pixels: a TextMeasurer answers every width question, so the
// rules can be checked exactly with a fixed-width measurer.
//
// Rules (Win32 DrawText) as this engine applies them:
// - DT_SINGLELINE keeps CR and LF as ordinary characters; otherwise CR, LF, CRLF and LFCR
//   each end a line. A line break at the very end of the text adds no empty line.
// - DT_WORDBREAK breaks at spaces. The spaces at a break are dropped: they neither end the
//   line's width nor start the next line. A word wider than the line overflows and is
//   clipped; DT_EDITCONTROL breaks it after the last character that fits instead.
// - DT_VCENTER and DT_BOTTOM only act with DT_SINGLELINE.
// - Prefixes: "&x" underlines x, "&&" shows one '&', a '&' ending the text is shown, one
//   before a line break is dropped. Only the last prefixed character of a line is
//   underlined. DT_HIDEPREFIX drops the underline, DT_PREFIXONLY draws only the underline.
// - Tab stops every tab_length average character widths from the line's start.
//   The ellipsis flags are ignored with DT_EXPANDTABS (they cannot be combined).
// - Ellipses are three periods. DT_END_ELLIPSIS ellipsizes the end of the text when it
//   does not fit, and the last visible line when text below it is hidden. DT_WORD_ELLIPSIS
//   ellipsizes every line that does not fit. DT_PATH_ELLIPSIS keeps the text from the last
//   backslash on and shortens what precedes it; without a backslash it takes characters
//   out of the middle.
// - With clipping, layout stops after the last line that reaches the bottom edge, or
//   (DT_EDITCONTROL) after the last line that is fully visible. DT_CALCRECT implies
//   DT_NOCLIP: every line is laid out.
// - The height returned is the bottom of the last line minus rect.top (at least 1).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/types.h"

namespace gdi {

// Widths and metrics of the font text is laid out in.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The advance of a run of UTF-8 text, character extra included.
  virtual int Width(std::string_view run) = 0;
  // Cell height (tmHeight), external leading, average character width, ascent.
  virtual int LineHeight() = 0;
  virtual int ExternalLeading() = 0;
  virtual int AveCharWidth() = 0;
  virtual int Ascent() = 0;
};

struct TextLayoutParams {
  UINT format = 0;       // DT_* flags; DT_TABSTOP's length is in tab_length, not in the flags
  RECT rect{0, 0, 0, 0};  // logical coordinates
  int tab_length = 0;     // average character widths per tab stop; 0 (or less) means 8
  int left_margin = 0;    // pixels (DrawTextEx's margins are pixels, whatever the docs say)
  int right_margin = 0;
};

// DrawText's format word: with DT_TABSTOP, bits 15-8 hold the tab length and are no flags.
struct DrawTextFormat {
  UINT format;
  int tab_length;
};
DrawTextFormat SplitDrawTextFormat(UINT format);

// A stretch of one line drawn by one text-out call.
struct TextRun {
  size_t begin = 0;  // bytes of TextLayout::display
  size_t end = 0;
  int x = 0;  // logical left edge
  int width = 0;
};

// A 1-pixel-high underline below a prefixed character.
struct TextUnderline {
  int x = 0;
  int y = 0;
  int width = 0;
};

struct TextLine {
  int x = 0;      // left edge of the line's content
  int y = 0;      // top
  int width = 0;  // content width (trailing spaces left out under DT_WORDBREAK)
  size_t source_begin = 0;  // bytes of the source this line consumed, line break included
  size_t source_end = 0;
  bool ellipsized = false;
  std::vector<TextRun> runs;
};

struct TextLayout {
  std::string display;  // the characters to draw; runs index into it
  std::vector<TextLine> lines;
  std::vector<TextUnderline> underlines;  // already clipped to the rectangle when clipping
  bool clipped = true;                    // runs are to be clipped to clip_rect
  RECT clip_rect{0, 0, 0, 0};
  int height = 0;                 // what DrawText returns
  RECT calc_rect{0, 0, 0, 0};     // what DT_CALCRECT writes back
  size_t length_drawn = 0;        // bytes processed (DRAWTEXTPARAMS::uiLengthDrawn)
  std::optional<std::string> modified;  // the text DT_MODIFYSTRING writes back, when changed

  std::string_view RunText(const TextRun& run) const {
    return std::string_view(display).substr(run.begin, run.end - run.begin);
  }
};

// Lays out text (UTF-8; an empty text is DrawText's empty string, not a zero count).
TextLayout LayoutText(std::string_view text, const TextLayoutParams& params, TextMeasurer& measurer);

}  // namespace gdi
