#include "platform/gdi/text_layout.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <unordered_map>

#include "platform/win32/text.h"

namespace gdi {
namespace {

constexpr int kDefaultTabLength = 8;
constexpr std::string_view kDot = ".";
constexpr int kEllipsisDots = 3;

// Byte length of the UTF-8 sequence at i; a malformed byte stands for one character, so a
// broken string is still laid out without reading past its end.
size_t SequenceLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (n > s.size() - i) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

int Saturate(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Measures each distinct character once per layout.
class AdvanceCache {
 public:
  explicit AdvanceCache(TextMeasurer& m) : m_(m) { ascii_.fill(-1); }

  int Of(std::string_view ch) {
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x80) {
      int& w = ascii_[static_cast<unsigned char>(ch[0])];
      if (w < 0) w = std::max(0, m_.Width(ch));
      return w;
    }
    // Packed bytes: 1-byte, 2-, 3- and 4-byte sequences fall in disjoint ranges.
    uint32_t key = 0;
    for (char c : ch) key = (key << 8) | static_cast<unsigned char>(c);
    auto it = other_.find(key);
    if (it != other_.end()) return it->second;
    const int w = std::max(0, m_.Width(ch));
    other_.emplace(key, w);
    return w;
  }

 private:
  TextMeasurer& m_;
  std::array<int, 128> ascii_;
  std::unordered_map<uint32_t, int> other_;
};

// One character of a line as it will be shown.
struct Glyph {
  std::string_view text;  // what is drawn
  size_t src_begin = 0;   // source bytes it stands for (a prefix '&' included)
  size_t src_end = 0;
  int advance = 0;  // tabs advance to the next stop instead
  bool tab = false;
  bool space = false;
  bool underlined = false;
};

class Layouter {
 public:
  Layouter(std::string_view text, const TextLayoutParams& params, TextMeasurer& m)
      : text_(text), rc_(params.rect), m_(m), cache_(m) {
    f_ = params.format;
    if (f_ & DT_SINGLELINE) f_ &= ~DT_WORDBREAK;
    if (f_ & DT_CALCRECT) f_ |= DT_NOCLIP;
    if (f_ & DT_EXPANDTABS) f_ &= ~(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
    clip_ = !(f_ & DT_NOCLIP);
    lm_ = params.left_margin;
    rm_ = params.right_margin;
    avail_ = int64_t{rc_.right} - rc_.left - lm_ - rm_;
    lh_ = int64_t{m.LineHeight()} + ((f_ & DT_EXTERNALLEADING) ? m.ExternalLeading() : 0);
    const int tabs = params.tab_length > 0 ? params.tab_length : kDefaultTabLength;
    tab_width_ = int64_t{m.AveCharWidth()} * tabs;
    prefixes_ = !(f_ & DT_NOPREFIX);
    underline_ = prefixes_ && !(f_ & DT_HIDEPREFIX);
    glyphs_shown_ = !(f_ & DT_PREFIXONLY);
  }

  TextLayout Run();

 private:
  void BuildGlyphs(size_t begin, size_t end);
  Glyph MakeGlyph(std::string_view ch, size_t src_begin, size_t src_end);
  int64_t After(int64_t x, const Glyph& g) const {
    if (!g.tab) return x + g.advance;
    return tab_width_ > 0 ? (x / tab_width_ + 1) * tab_width_ : x;
  }
  int64_t Width(const std::vector<Glyph>& line) const {
    int64_t x = 0;
    for (const Glyph& g : line) x = After(x, g);
    return x;
  }
  void Fit(size_t first, size_t* content_end, size_t* next) const;
  void EndEllipsis(std::vector<Glyph>& line);
  void PathEllipsis(std::vector<Glyph>& line);
  void AppendDots(std::vector<Glyph>& line);
  void Emit(TextLayout& out, const std::vector<Glyph>& line, int64_t y, int64_t width);

  std::string_view text_;
  RECT rc_;
  TextMeasurer& m_;
  AdvanceCache cache_;
  UINT f_;
  bool clip_;
  int64_t lm_, rm_, avail_, lh_, tab_width_;
  bool prefixes_, underline_, glyphs_shown_;
  std::vector<Glyph> glyphs_;  // the current hard line
};

Glyph Layouter::MakeGlyph(std::string_view ch, size_t src_begin, size_t src_end) {
  Glyph g;
  g.text = ch;
  g.src_begin = src_begin;
  g.src_end = src_end;
  g.tab = (f_ & DT_EXPANDTABS) && ch == "\t";
  g.space = ch == " ";
  g.advance = g.tab ? 0 : cache_.Of(ch);
  return g;
}

void Layouter::BuildGlyphs(size_t begin, size_t end) {
  glyphs_.clear();
  size_t i = begin;
  while (i < end) {
    const size_t n = std::min(SequenceLength(text_, i), end - i);
    if (prefixes_ && text_[i] == '&') {
      if (i + 1 < end) {
        const size_t j = i + 1;
        const size_t k = std::min(SequenceLength(text_, j), end - j);
        Glyph g = MakeGlyph(text_.substr(j, k), i, j + k);
        g.underlined = text_[j] != '&' && !g.tab;
        glyphs_.push_back(g);
        i = j + k;
        continue;
      }
      if (end < text_.size()) {  // a '&' before a line break prefixes nothing and goes
        i = end;
        continue;
      }
      // The text's last character: shown as it is.
    }
    glyphs_.push_back(MakeGlyph(text_.substr(i, n), i, i + n));
    i += n;
  }
}

// Where the line starting at glyph `first` ends (content_end) and where the next one
// starts (next), under DT_WORDBREAK.
void Layouter::Fit(size_t first, size_t* content_end, size_t* next) const {
  const size_t n = glyphs_.size();
  *content_end = *next = n;
  if (!(f_ & DT_WORDBREAK) || first >= n) return;
  size_t k = n;  // the first glyph reaching past the edge
  int64_t x = 0;
  for (size_t i = first; i < n; ++i) {
    x = After(x, glyphs_[i]);
    if (x > avail_) {
      k = i;
      break;
    }
  }
  if (k == n) return;
  // Spaces hanging past the edge at the end of the line break nothing.
  if (std::all_of(glyphs_.begin() + k, glyphs_.end(), [](const Glyph& g) { return g.space; })) return;

  size_t j = k;
  while (j > first && !glyphs_[j].space) --j;
  if (glyphs_[j].space) {
    size_t r = j;
    while (r > first && glyphs_[r - 1].space) --r;
    if (r > first) {  // break before the spaces, resume after them
      size_t e = j;
      while (e < n && glyphs_[e].space) ++e;
      *content_end = r;
      *next = e;
      return;
    }
  }
  // The line's first word is wider than the line.
  size_t e = std::max(k, first + 1);
  if ((f_ & (DT_EDITCONTROL | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) == DT_EDITCONTROL) {
    *content_end = *next = e;
    return;
  }
  while (e < n && !glyphs_[e].space) ++e;
  *content_end = e;
  while (e < n && glyphs_[e].space) ++e;
  *next = e;
}

void Layouter::AppendDots(std::vector<Glyph>& line) {
  for (int i = 0; i < kEllipsisDots; ++i) line.push_back(MakeGlyph(kDot, 0, 0));
}

// Drops characters from the end until the text and the ellipsis fit; the ellipsis stays
// even when it alone is too wide.
void Layouter::EndEllipsis(std::vector<Glyph>& line) {
  const int64_t dots = int64_t{kEllipsisDots} * cache_.Of(kDot);
  std::vector<int64_t> prefix(line.size() + 1, 0);
  for (size_t i = 0; i < line.size(); ++i) prefix[i + 1] = prefix[i] + line[i].advance;
  size_t n = line.size();
  while (n > 0 && prefix[n] + dots > avail_) --n;
  line.resize(n);
  AppendDots(line);
}

void Layouter::PathEllipsis(std::vector<Glyph>& line) {
  const int64_t dots = int64_t{kEllipsisDots} * cache_.Of(kDot);
  const size_t size = line.size();
  std::vector<int64_t> prefix(size + 1, 0);
  for (size_t i = 0; i < size; ++i) prefix[i + 1] = prefix[i] + line[i].advance;
  const int64_t total = prefix[size];

  size_t slash = size;
  for (size_t i = size; i-- > 0;)
    if (line[i].text == "\\") {
      slash = i;
      break;
    }
  std::vector<Glyph> out;
  if (slash < size) {
    // Keep everything from the last backslash; shorten what comes before it.
    const int64_t tail = total - prefix[slash];
    size_t n = slash;
    while (n > 0 && prefix[n] + dots + tail > avail_) --n;
    out.assign(line.begin(), line.begin() + n);
    AppendDots(out);
    out.insert(out.end(), line.begin() + slash, line.end());
  } else {
    // No path: take characters out of the middle, the head keeping the odd one.
    size_t head = 0, tail = 0;
    for (size_t kept = size; kept-- > 0;) {
      head = (kept + 1) / 2;
      tail = kept - head;
      if (prefix[head] + dots + (total - prefix[size - tail]) <= avail_) break;
    }
    out.assign(line.begin(), line.begin() + head);
    AppendDots(out);
    out.insert(out.end(), line.end() - tail, line.end());
  }
  line = std::move(out);
}

void Layouter::Emit(TextLayout& out, const std::vector<Glyph>& line, int64_t y, int64_t width) {
  TextLine& tl = out.lines.back();
  int64_t x;
  if (f_ & DT_CENTER)
    x = (int64_t{rc_.left} + lm_ + rc_.right - rm_ - width) / 2;
  else if (f_ & DT_RIGHT)
    x = int64_t{rc_.right} - rm_ - width;
  else
    x = int64_t{rc_.left} + lm_;
  tl.x = Saturate(x);
  tl.y = Saturate(y);
  tl.width = Saturate(width);

  int64_t gx = 0;
  const Glyph* underlined = nullptr;
  int64_t underline_x = 0;
  TextRun run;
  bool open = false;
  int64_t run_x = 0;
  auto close = [&](int64_t end_x) {
    if (!open) return;
    run.end = out.display.size();
    run.x = Saturate(x + run_x);
    run.width = Saturate(end_x - run_x);
    tl.runs.push_back(run);
    open = false;
  };
  for (const Glyph& g : line) {
    if (g.tab) {
      close(gx);
    } else if (glyphs_shown_) {
      if (!open) {
        open = true;
        run.begin = out.display.size();
        run_x = gx;
      }
      out.display.append(g.text);
    }
    if (g.underlined) {
      underlined = &g;
      underline_x = gx;
    }
    gx = After(gx, g);
  }
  close(gx);

  if (!underline_ || !underlined) return;
  int64_t ux0 = x + underline_x, ux1 = ux0 + underlined->advance;
  const int64_t uy = y + m_.Ascent() + 1;
  if (clip_) {
    if (uy < rc_.top || uy >= rc_.bottom) return;
    ux0 = std::max<int64_t>(ux0, rc_.left);
    ux1 = std::min<int64_t>(ux1, rc_.right);
  }
  if (ux1 <= ux0) return;
  out.underlines.push_back(TextUnderline{Saturate(ux0), Saturate(uy), Saturate(ux1 - ux0)});
}

TextLayout Layouter::Run() {
  TextLayout out;
  out.clipped = clip_;
  out.clip_rect = rc_;
  if (text_.empty()) {
    out.height = Saturate(lh_);
    out.calc_rect = RECT{rc_.left, rc_.top, rc_.left, (f_ & DT_SINGLELINE) ? Saturate(rc_.top + lh_) : rc_.top};
    return out;
  }

  int64_t y = rc_.top;
  if (f_ & DT_SINGLELINE) {
    if (f_ & DT_VCENTER)
      y = rc_.top + (int64_t{rc_.bottom} - rc_.top) / 2 - m_.LineHeight() / 2;
    else if (f_ & DT_BOTTOM)
      y = int64_t{rc_.bottom} - m_.LineHeight();
  }
  const bool modify = (f_ & DT_MODIFYSTRING) && (f_ & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS));
  std::string modified;
  size_t modified_from = 0;  // source bytes not yet copied into `modified`
  bool any_modified = false;
  int64_t max_width = 0;
  size_t consumed = 0;
  size_t pos = 0;
  bool stop = false;

  while (!stop) {
    size_t hard_end = text_.size();
    if (!(f_ & DT_SINGLELINE)) {
      hard_end = pos;
      while (hard_end < text_.size() && !IsLineBreak(text_[hard_end])) ++hard_end;
    }
    size_t after = hard_end;  // past the line break: CR, LF, CRLF or LFCR
    if (after < text_.size()) {
      ++after;
      if (after < text_.size() && IsLineBreak(text_[after]) && text_[after] != text_[hard_end]) ++after;
    }
    BuildGlyphs(pos, hard_end);

    size_t g = 0;
    do {
      const bool last = clip_ && ((f_ & DT_EDITCONTROL) ? y + 2 * lh_ > rc_.bottom : y + lh_ >= rc_.bottom);
      size_t content_end, next;
      Fit(g, &content_end, &next);
      const size_t src_end = next < glyphs_.size() ? glyphs_[next].src_begin : after;
      size_t shown_end = content_end;
      if (f_ & DT_WORDBREAK)
        while (shown_end > g && glyphs_[shown_end - 1].space) --shown_end;
      std::vector<Glyph> line(glyphs_.begin() + g, glyphs_.begin() + shown_end);

      int64_t width = Width(line);
      bool fits = line.empty() || width <= avail_;
      bool ellipsized = false;
      if (!fits && (f_ & DT_PATH_ELLIPSIS)) {
        PathEllipsis(line);
        width = Width(line);
        fits = width <= avail_;
        ellipsized = true;
      }
      const bool hidden_below = last && src_end < text_.size();
      const bool at_text_end = src_end >= text_.size();
      const bool end_ellipsis = (f_ & DT_END_ELLIPSIS) && (hidden_below || (!fits && at_text_end));
      if ((!fits && (f_ & DT_WORD_ELLIPSIS)) || end_ellipsis) {
        EndEllipsis(line);
        width = Width(line);
        ellipsized = true;
      }

      out.lines.emplace_back();
      out.lines.back().source_begin = consumed;
      out.lines.back().source_end = src_end;
      out.lines.back().ellipsized = ellipsized;
      Emit(out, line, y, width);
      max_width = std::max(max_width, width);

      if (modify && ellipsized) {
        const size_t from = g < glyphs_.size() ? glyphs_[g].src_begin : pos;
        const size_t to = shown_end < glyphs_.size() ? glyphs_[shown_end].src_begin : hard_end;
        modified.append(text_.substr(modified_from, from - modified_from));
        for (const Glyph& gl : line) modified.append(gl.text);
        modified_from = end_ellipsis && hidden_below ? text_.size() : to;
        any_modified = true;
      }

      y += lh_;
      consumed = src_end;
      g = next;
      if (last) {
        stop = true;
        break;
      }
    } while (g < glyphs_.size());
    pos = after;
    if (pos >= text_.size()) break;
  }

  if (any_modified) {
    modified.append(text_.substr(std::min(modified_from, text_.size())));
    out.modified = std::move(modified);
  }
  out.length_drawn = consumed;
  const int64_t height = y - rc_.top;
  out.height = height == 0 ? 1 : Saturate(height);
  out.calc_rect = RECT{rc_.left, rc_.top, Saturate(int64_t{rc_.left} + max_width + lm_ + rm_), Saturate(y)};
  return out;
}

}  // namespace

DrawTextFormat SplitDrawTextFormat(UINT format) {
  if (!(format & DT_TABSTOP)) return DrawTextFormat{format, 0};
  return DrawTextFormat{format & ~UINT{0xFF00}, static_cast<int>((format >> 8) & 0xFF)};
}

TextLayout LayoutText(std::string_view text, const TextLayoutParams& params, TextMeasurer& measurer) {
  return Layouter(text, params, measurer).Run();
}

}  // namespace gdi
