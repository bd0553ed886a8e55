#include "host/stdctrls/edits.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/graphics/brush.h"
#include "host/graphics/font.h"
#include "platform/win32/draw.h"
#include "platform/win32/text.h"

namespace host {

namespace {

constexpr int kMargin = 1;        // between the edge and the text
constexpr int kTabChars = 8;      // tab stops every eight average characters
constexpr int kWheelLines = 3;    // lines a wheel notch scrolls
constexpr UINT_PTR kRepeatTimer = 1;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsWordChar(unsigned char c) { return c >= 0x80 || std::isalnum(c) || c == '_'; }

std::string ApplyCase(std::string s, TEditCharCase cc) {
  if (cc == ecNormal) return s;
  for (char& c : s) {
    if (cc == ecUpperCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (cc == ecLowerCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return s;
}

// A memory DC with a font selected, for measuring text outside painting.
class MeasureDC {
 public:
  explicit MeasureDC(TFont* font) : dc_(CreateCompatibleDC(nullptr)) { old_ = SelectObject(dc_, font->Handle()); }
  ~MeasureDC() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

// [SECTION] TCustomEdit ------------------------------------------------------------------------

HOST_DEFINE_CLASS(TCustomEdit, TCustomControl)

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight, csOpaque};
  color_ = clWindow;
  parent_color_ = false;
  brush_->SetColor(color_);
  width_ = 121;
  height_ = 21;
  SetTabStop(true);
  SetCursor(crIBeam);
  lines_.push_back({0, 0});
}

TCustomEdit::~TCustomEdit() {
  if (caret_created_) DestroyCaret();
}

void TCustomEdit::SetMaxLength(int32_t value) {
  if (value < 0) throw EInvalidOperation(Format("MaxLength of '%s' cannot be negative (%d)", {Name(), value}));
  max_length_ = value;
}

void TCustomEdit::SetPasswordChar(char value) {
  if (value == password_char_) return;
  password_char_ = value;
  Relayout();
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle value) {
  if (value != bsNone && value != bsSingle) {
    throw EInvalidOperation(Format("BorderStyle of '%s' must be bsNone or bsSingle", {Name()}));
  }
  if (value == border_style_) return;
  border_style_ = value;
  Relayout();
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == char_case_) return;
  char_case_ = value;
  if (value != ecNormal) {
    const std::string changed = ApplyCase(text_, value);
    if (changed != text_) {
      text_ = changed;
      Relayout();
      Change();
    }
  }
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == hide_selection_) return;
  hide_selection_ = value;
  Invalidate();
}

int32_t TCustomEdit::SelStart() const { return static_cast<int32_t>(std::min(anchor_, caret_)); }
int32_t TCustomEdit::SelLength() const {
  return static_cast<int32_t>(std::max(anchor_, caret_) - std::min(anchor_, caret_));
}

namespace {
// The nearest character boundary at or before pos (and never inside a CR LF pair).
size_t Boundary(const std::string& s, size_t pos) {
  pos = std::min(pos, s.size());
  while (pos > 0 && pos < s.size() && IsContinuation(static_cast<unsigned char>(s[pos]))) --pos;
  if (pos > 0 && pos < s.size() && s[pos] == '\n' && s[pos - 1] == '\r') --pos;
  return pos;
}
size_t NextPos(const std::string& s, size_t pos) {
  if (pos >= s.size()) return s.size();
  if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') return pos + 2;
  ++pos;
  while (pos < s.size() && IsContinuation(static_cast<unsigned char>(s[pos]))) ++pos;
  return pos;
}
size_t PrevPos(const std::string& s, size_t pos) {
  if (pos == 0) return 0;
  if (pos >= 2 && s[pos - 1] == '\n' && s[pos - 2] == '\r') return pos - 2;
  --pos;
  while (pos > 0 && IsContinuation(static_cast<unsigned char>(s[pos]))) --pos;
  return pos;
}
}  // namespace

void TCustomEdit::SetSelStart(int32_t value) {
  const size_t p = Boundary(text_, static_cast<size_t>(std::max(value, 0)));
  anchor_ = caret_ = p;
  goal_x_ = -1;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SetSelLength(int32_t value) {
  const size_t start = std::min(anchor_, caret_);
  anchor_ = start;
  caret_ = Boundary(text_, start + static_cast<size_t>(std::max(value, 0)));
  ScrollToCaret();
  Invalidate();
}

std::string TCustomEdit::SelText() const {
  return text_.substr(std::min(anchor_, caret_), std::max(anchor_, caret_) - std::min(anchor_, caret_));
}

void TCustomEdit::SetSelText(const std::string& text) {
  Replace(std::min(anchor_, caret_), std::max(anchor_, caret_), text, false);
}

void TCustomEdit::Clear() { SetText(""); }

void TCustomEdit::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::ClearSelection() { SetSelText(""); }

void TCustomEdit::CopyToClipboard() {
  // A password is not given away.
  if (password_char_ != 0 || anchor_ == caret_) return;
  SetClipboardText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (read_only_ || password_char_ != 0 || anchor_ == caret_) return;
  CopyToClipboard();
  Replace(std::min(anchor_, caret_), std::max(anchor_, caret_), "", true);
}

void TCustomEdit::PasteFromClipboard() {
  if (read_only_ || !IsClipboardFormatAvailable(CF_TEXT)) return;
  Replace(std::min(anchor_, caret_), std::max(anchor_, caret_), GetClipboardText(), true);
}

std::string TCustomEdit::NormalizeInput(const std::string& s) const {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\r' || c == '\n') {
      if (!Multiline()) break;  // a one-line edit keeps the first line
      out += "\r\n";
      if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      continue;
    }
    out += c;
  }
  return ApplyCase(out, char_case_);
}

void TCustomEdit::SetTextValue(const std::string& s) {
  text_ = NormalizeInput(s);
  anchor_ = caret_ = 0;
  scroll_x_ = 0;
  top_line_ = 0;
  goal_x_ = -1;
  modified_ = false;
  Relayout();
  ScrollToCaret();
  Change();
}

void TCustomEdit::Replace(size_t from, size_t to, const std::string& with, bool by_user) {
  from = Boundary(text_, from);
  to = std::max(from, Boundary(text_, to));
  std::string insert = NormalizeInput(with);
  if (max_length_ > 0) {
    const size_t room = static_cast<size_t>(max_length_) - std::min<size_t>(max_length_, text_.size() - (to - from));
    if (insert.size() > room) insert.resize(Boundary(insert, room));
  }
  if (from == to && insert.empty()) {
    anchor_ = caret_ = from;
    ScrollToCaret();
    return;
  }
  text_.replace(from, to - from, insert);
  anchor_ = caret_ = from + insert.size();
  goal_x_ = -1;
  if (by_user) modified_ = true;
  Relayout();
  ScrollToCaret();
  Invalidate();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange && !IsLoading()) OnChange(this);
}

bool TCustomEdit::AcceptChar(uint32_t) { return true; }

void TCustomEdit::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ClassCursor = LoadCursor(nullptr, IDC_IBEAM);
}

RECT TCustomEdit::TextRect() {
  RECT r = ClientRect();
  int edge = 0;
  if (border_style_ == bsSingle) edge = Ctl3D() ? 2 : 1;
  r.left += edge + kMargin;
  r.top += edge + (Multiline() ? 0 : kMargin);
  r.right -= edge + kMargin + reserved_right_;
  r.bottom -= edge;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

int TCustomEdit::LineHeight() {
  MeasureDC m(Font());
  TEXTMETRIC tm{};
  GetTextMetrics(m.dc(), &tm);
  return std::max<int>(1, tm.tmHeight);
}

int TCustomEdit::VisibleLines() {
  const RECT r = TextRect();
  return std::max(1, static_cast<int>((r.bottom - r.top) / LineHeight()));
}

std::string TCustomEdit::Shown(const Line& line) const {
  std::string s = text_.substr(line.start, line.end - line.start);
  if (password_char_ != 0) {
    size_t n = 0;
    for (char c : s) n += IsContinuation(static_cast<unsigned char>(c)) ? 0 : 1;
    return std::string(n, password_char_);
  }
  std::replace(s.begin(), s.end(), '\t', ' ');
  return s;
}

// The advance of each character of a line (tabs reach the next tab stop).
std::vector<int> TCustomEdit::Advances(const Line& line) {
  const std::string shown = Shown(line);
  MeasureDC m(Font());
  std::vector<int> dx(shown.size() + 1, 0);
  SIZE size{};
  GetTextExtentExPoint(m.dc(), shown.c_str(), static_cast<int>(shown.size()), 0, nullptr, dx.data(), &size);
  TEXTMETRIC tm{};
  GetTextMetrics(m.dc(), &tm);
  const int tab = std::max<int>(1, tm.tmAveCharWidth * kTabChars);
  std::vector<int> adv;
  int x = 0, prev = 0, k = 0;
  for (size_t i = line.start; i < line.end; i = NextPos(text_, i), ++k) {
    int w = dx[static_cast<size_t>(k)] - prev;
    prev = dx[static_cast<size_t>(k)];
    if (password_char_ == 0 && text_[i] == '\t') w = (x / tab + 1) * tab - x;
    adv.push_back(w);
    x += w;
  }
  return adv;
}

int TCustomEdit::LineLeft(const Line& line) {
  const RECT r = TextRect();
  const TAlignment a = TextAlignment();
  if (a == taLeftJustify) return r.left - scroll_x_;
  int w = 0;
  for (int v : Advances(line)) w += v;
  const int room = (r.right - r.left) - w;
  return r.left - scroll_x_ + (a == taCenter ? room / 2 : room);
}

int TCustomEdit::XOf(const Line& line, size_t pos) {
  const std::vector<int> adv = Advances(line);
  int x = LineLeft(line);
  size_t k = 0;
  for (size_t i = line.start; i < line.end && i < pos; i = NextPos(text_, i), ++k) x += adv[k];
  return x;
}

size_t TCustomEdit::PosAtX(const Line& line, int x) {
  const std::vector<int> adv = Advances(line);
  int left = LineLeft(line);
  size_t k = 0;
  for (size_t i = line.start; i < line.end; i = NextPos(text_, i), ++k) {
    if (x < left + adv[k] / 2) return i;
    left += adv[k];
  }
  return line.end;
}

size_t TCustomEdit::LineOf(size_t pos) const {
  auto it = std::upper_bound(lines_.begin(), lines_.end(), pos, [](size_t p, const Line& l) { return p < l.start; });
  return it == lines_.begin() ? 0 : static_cast<size_t>(it - lines_.begin()) - 1;
}

size_t TCustomEdit::PosAtPoint(int x, int y) {
  const RECT r = TextRect();
  int line = top_line_ + (y >= r.top ? (y - r.top) / LineHeight() : -1);
  line = std::clamp(line, 0, static_cast<int>(lines_.size()) - 1);
  return PosAtX(lines_[static_cast<size_t>(line)], x);
}

void TCustomEdit::Relayout() {
  lines_.clear();
  const bool wrap = WordWrapping();
  const RECT r = TextRect();
  const int width = r.right - r.left;
  size_t start = 0;
  for (;;) {
    size_t end = Multiline() ? text_.find("\r\n", start) : std::string::npos;
    if (end == std::string::npos) end = text_.size();
    if (!wrap || width <= 0) {
      lines_.push_back({start, end});
    } else {
      // Greedy filling: break after the last blank that fits, or inside a word too long for
      // a line; blanks at a break stay at the end of the line.
      size_t line_start = start;
      const std::vector<int> adv = Advances({start, end});
      int x = 0;
      size_t last_break = std::string::npos;
      size_t k = 0;
      for (size_t i = start; i < end; i = NextPos(text_, i), ++k) {
        const bool blank = text_[i] == ' ' || text_[i] == '\t';
        if (!blank && x + adv[k] > width && i > line_start) {
          const size_t cut = last_break != std::string::npos && last_break > line_start ? last_break : i;
          lines_.push_back({line_start, cut});
          // Widths of what moves to the new line are counted again from its start.
          x = 0;
          size_t kk = k;
          for (size_t j = i; j > cut; j = PrevPos(text_, j)) x += adv[--kk];
          line_start = cut;
          last_break = std::string::npos;
        }
        x += adv[k];
        if (blank) last_break = NextPos(text_, i);
      }
      lines_.push_back({line_start, end});
    }
    if (end >= text_.size()) break;
    start = end + 2;
  }
  top_line_ = std::clamp(top_line_, 0, std::max(0, static_cast<int>(lines_.size()) - 1));
  UpdateScrollBars();
}

POINT TCustomEdit::CaretPoint() {
  const size_t line = LineOf(caret_);
  const RECT r = TextRect();
  return {XOf(lines_[line], caret_), r.top + (static_cast<int>(line) - top_line_) * LineHeight()};
}

void TCustomEdit::ShowCaretNow() {
  if (!caret_created_ || !HandleAllocated()) return;
  POINT p = CaretPoint();
  const RECT r = TextRect();
  const bool visible = p.y >= r.top && p.y + LineHeight() <= r.bottom + (Multiline() ? 0 : LineHeight()) &&
                       p.x >= r.left - 1 && p.x <= r.right;
  if (!visible) p = {-100, -100};
  SetCaretPos(p.x, p.y);
}

void TCustomEdit::ScrollToCaret() {
  const RECT r = TextRect();
  const int width = r.right - r.left;
  const int old_x = scroll_x_, old_top = top_line_;
  if (!WordWrapping() && TextAlignment() == taLeftJustify) {
    const size_t line = LineOf(caret_);
    const int x = XOf(lines_[line], caret_) + scroll_x_ - r.left;  // caret offset in the line
    // Jumps by a quarter of the width, so typing at the edge does not scroll every key.
    if (x < scroll_x_) scroll_x_ = std::max(0, x - width / 4);
    if (x > scroll_x_ + width - 1) scroll_x_ = x - width + 1 + width / 4;
    if (scroll_x_ > 0) {
      int line_width = 0;
      for (int v : Advances(lines_[line])) line_width += v;
      scroll_x_ = std::min(scroll_x_, std::max(0, std::max(line_width, x) - width + 1));
    }
  } else {
    scroll_x_ = 0;
  }
  if (Multiline()) {
    const int line = static_cast<int>(LineOf(caret_));
    const int vis = VisibleLines();
    if (line < top_line_) top_line_ = line;
    if (line >= top_line_ + vis) top_line_ = line - vis + 1;
  }
  if (old_x != scroll_x_ || old_top != top_line_) {
    UpdateScrollBars();
    Invalidate();
  }
  ShowCaretNow();
}

void TCustomEdit::ScrollLines(int delta) {
  const int max_top = std::max(0, static_cast<int>(lines_.size()) - VisibleLines());
  const int top = std::clamp(top_line_ + delta, 0, max_top);
  if (top == top_line_) return;
  top_line_ = top;
  UpdateScrollBars();
  Invalidate();
  ShowCaretNow();
}

void TCustomEdit::MoveCaret(size_t pos, bool extend) {
  caret_ = Boundary(text_, pos);
  if (!extend) anchor_ = caret_;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::MoveLines(int delta, bool extend) {
  const int line = static_cast<int>(LineOf(caret_));
  if (goal_x_ < 0) goal_x_ = XOf(lines_[static_cast<size_t>(line)], caret_) + scroll_x_;
  const int target = std::clamp(line + delta, 0, static_cast<int>(lines_.size()) - 1);
  const int goal = goal_x_;
  if (target == line) {
    MoveCaret(delta < 0 ? 0 : text_.size(), extend);
  } else {
    MoveCaret(PosAtX(lines_[static_cast<size_t>(target)], goal_x_ - scroll_x_), extend);
  }
  goal_x_ = goal;
}

void TCustomEdit::WordAt(size_t pos, size_t& from, size_t& to) const {
  from = to = pos;
  auto word = [&](size_t i) { return IsWordChar(static_cast<unsigned char>(text_[i])); };
  if (pos < text_.size() && word(pos)) {
    while (from > 0 && word(from - 1)) --from;
    while (to < text_.size() && word(to)) ++to;
  } else if (pos > 0 && word(pos - 1)) {
    to = pos;
    while (from > 0 && word(from - 1)) --from;
  } else if (pos < text_.size() && text_[pos] != '\r') {
    to = NextPos(text_, pos);
  }
}

size_t TCustomEdit::WordLeft(size_t pos) const {
  auto word = [&](size_t i) { return IsWordChar(static_cast<unsigned char>(text_[i])); };
  while (pos > 0 && !word(pos - 1)) pos = PrevPos(text_, pos);
  while (pos > 0 && word(pos - 1)) --pos;
  return pos;
}

size_t TCustomEdit::WordRight(size_t pos) const {
  auto word = [&](size_t i) { return IsWordChar(static_cast<unsigned char>(text_[i])); };
  while (pos < text_.size() && word(pos)) ++pos;
  while (pos < text_.size() && !word(pos)) pos = NextPos(text_, pos);
  return pos;
}

void TCustomEdit::DeleteBack(bool word) {
  if (read_only_) return;
  if (anchor_ != caret_) return ClearSelection();
  const size_t from = word ? WordLeft(caret_) : PrevPos(text_, caret_);
  Replace(from, caret_, "", true);
}

void TCustomEdit::DeleteForward(bool word) {
  if (read_only_) return;
  if (anchor_ != caret_) return ClearSelection();
  const size_t to = word ? WordRight(caret_) : NextPos(text_, caret_);
  Replace(caret_, to, "", true);
}

bool TCustomEdit::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  const bool ext = shift.Contains(ssShift);
  const bool ctrl = shift.Contains(ssCtrl);
  if (shift.Contains(ssAlt)) return false;
  const size_t line = LineOf(caret_);
  switch (key) {
    case VK_LEFT:
      if (!ext && anchor_ != caret_ && !ctrl) {
        MoveCaret(std::min(anchor_, caret_), false);
      } else {
        MoveCaret(ctrl ? WordLeft(caret_) : PrevPos(text_, caret_), ext);
      }
      break;
    case VK_RIGHT:
      if (!ext && anchor_ != caret_ && !ctrl) {
        MoveCaret(std::max(anchor_, caret_), false);
      } else {
        MoveCaret(ctrl ? WordRight(caret_) : NextPos(text_, caret_), ext);
      }
      break;
    case VK_HOME: MoveCaret(ctrl ? 0 : lines_[line].start, ext); break;
    case VK_END: MoveCaret(ctrl ? text_.size() : lines_[line].end, ext); break;
    case VK_DELETE:
      if (ext) {
        CutToClipboard();
      } else {
        DeleteForward(ctrl);
      }
      break;
    case VK_INSERT:
      if (ctrl) {
        CopyToClipboard();
      } else if (ext) {
        PasteFromClipboard();
      } else {
        return false;
      }
      break;
    case 'A':
    case 'C':
    case 'X':
    case 'V':
      if (!ctrl) return false;
      if (key == 'A') SelectAll();
      if (key == 'C') CopyToClipboard();
      if (key == 'X') CutToClipboard();
      if (key == 'V') PasteFromClipboard();
      break;
    default: return false;
  }
  if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT) goal_x_ = -1;
  return true;
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (!Focused() && CanFocus()) {
      mouse_focusing_ = true;
      try {
        SetFocus();
      } catch (...) {
        mouse_focusing_ = false;
        throw;
      }
      mouse_focusing_ = false;
    }
    const size_t pos = PosAtPoint(x, y);
    if (shift.Contains(ssDouble)) {
      size_t from, to;
      WordAt(pos, from, to);
      anchor_ = from;
      MoveCaret(to, true);
      selecting_ = false;
    } else {
      MoveCaret(pos, shift.Contains(ssShift));
      selecting_ = true;
    }
    goal_x_ = -1;
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
  if (selecting_) MoveCaret(PosAtPoint(x, y), true);
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) selecting_ = false;
  TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::Resize() {
  Relayout();
  if (HandleAllocated()) ScrollToCaret();
  TCustomControl::Resize();
}

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CHAR: {
      uint32_t cp = static_cast<uint32_t>(m.WParam);
      if (cp < 256) {
        char ch = static_cast<char>(cp);
        if (DoKeyPress(ch)) return;
        cp = static_cast<unsigned char>(ch);
      }
      if (cp == '\b') return DeleteBack(GetKeyState(VK_CONTROL) < 0);
      if (cp == '\r' || cp == '\t') {
        auto* memo = dynamic_cast<TMemo*>(this);
        const bool wanted = memo && (cp == '\r' ? memo->WantReturns() : memo->WantTabs());
        if (!wanted || read_only_) return;
        Replace(std::min(anchor_, caret_), std::max(anchor_, caret_), cp == '\r' ? "\r\n" : "\t", true);
        return;
      }
      if (cp < 32 || cp == 127 || read_only_ || !AcceptChar(cp)) return;
      std::string s;
      AppendUtf8(s, cp);
      Replace(std::min(anchor_, caret_), std::max(anchor_, caret_), s, true);
      return;
    }
    case CM_WANTSPECIALKEY:
      switch (m.WParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: m.Result = 1; return;
        default: m.Result = 0; return;
      }
    case WM_SETFOCUS:
      TCustomControl::Dispatch(m);
      CreateCaret(handle_, nullptr, 1, LineHeight());
      caret_created_ = true;
      if (auto_select_ && !mouse_focusing_ && !Multiline()) {
        anchor_ = 0;
        caret_ = text_.size();
      }
      ScrollToCaret();
      ShowCaret(handle_);
      Invalidate();
      return;
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      if (caret_created_) DestroyCaret();
      caret_created_ = false;
      selecting_ = false;
      Invalidate();
      return;
    case WM_GETDLGCODE: m.Result = 0; return;
    case WM_CUT: CutToClipboard(); return;
    case WM_COPY: CopyToClipboard(); return;
    case WM_PASTE: PasteFromClipboard(); return;
    case WM_CLEAR: ClearSelection(); return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Relayout();
      return;
    case CM_CTL3DCHANGED:
      TCustomControl::Dispatch(m);
      Relayout();
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: TCustomControl::Dispatch(m);
  }
}

void TCustomEdit::PaintLine(HDC dc, const Line& line, int y, const RECT& area) {
  const std::string shown = Shown(line);
  const std::vector<int> adv = Advances(line);
  const int h = LineHeight();
  const size_t sel_a = std::min(anchor_, caret_), sel_b = std::max(anchor_, caret_);
  const bool show_sel = sel_a != sel_b && (Focused() || !hide_selection_);
  // Byte offsets into shown text of each character (they differ from text_ for passwords).
  int x = LineLeft(line);
  size_t k = 0, shown_pos = 0;
  size_t i = line.start;
  while (i < line.end) {
    const bool selected = show_sel && i >= sel_a && i < sel_b;
    // A run of characters with the same selection state.
    size_t j = i, kk = k, shown_end = shown_pos;
    int w = 0;
    std::vector<INT> dx;
    while (j < line.end && (show_sel && j >= sel_a && j < sel_b) == selected) {
      const size_t next = NextPos(text_, j);
      const size_t bytes = password_char_ != 0 ? 1 : next - j;
      shown_end += bytes;
      dx.push_back(adv[kk]);
      w += adv[kk];
      ++kk;
      j = next;
    }
    RECT cell{x, y, x + w, y + h};
    IntersectRect(&cell, &cell, &area);
    if (selected) {
      SetTextColor(dc, ColorToRGB(clHighlightText));
      SetBkColor(dc, ColorToRGB(clHighlight));
    } else {
      SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
      SetBkColor(dc, ColorToRGB(Color()));
    }
    dx.resize(std::max(dx.size(), shown_end - shown_pos), 0);
    ExtTextOut(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell, shown.c_str() + shown_pos,
               static_cast<UINT>(shown_end - shown_pos), dx.data());
    x += w;
    i = j;
    k = kk;
    shown_pos = shown_end;
  }
}

void TCustomEdit::Paint() {
  HDC dc = Canvas()->Handle();
  const bool caret = caret_created_ && Focused();
  if (caret) HideCaret(handle_);
  RECT r = ClientRect();
  if (border_style_ == bsSingle) {
    if (Ctl3D()) {
      DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&r, -1, -1);
    }
  }
  const HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(dc, &r, back);
  DeleteObject(back);
  const RECT area = TextRect();
  RECT clip = r;
  clip.right -= reserved_right_;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  SelectObject(dc, Font()->Handle());
  SetBkMode(dc, OPAQUE);
  const int h = LineHeight();
  const int count = static_cast<int>(lines_.size());
  for (int i = top_line_; i < count; ++i) {
    const int y = area.top + (i - top_line_) * h;
    if (y >= area.bottom) break;
    PaintLine(dc, lines_[static_cast<size_t>(i)], y, clip);
  }
  RestoreDC(dc, saved);
  if (caret) {
    ShowCaretNow();
    ShowCaret(handle_);
  }
}

// [SECTION] TEdit ----------------------------------------------------------------------------

HOST_PUBLISHED(TEdit, TCustomEdit) {
  HOST_PROP(Align, alNone);
  HOST_PROP(AutoSelect, true);
  HOST_PROP(AutoSize, true);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_PROP(CharCase, ecNormal);
  HOST_COLOR_PROP(Color, clWindow);
  HOST_PROP(Ctl3D, true);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(HideSelection, true);
  HOST_PROP(MaxLength, 0).Range(0, 0x7FFFFFFF);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentCtl3D, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PasswordChar, '\0');
  HOST_PROP(PopupMenu);
  HOST_PROP(ReadOnly, false);
  HOST_PROP(ShowHint, false);
  HOST_PROP(TabStop, true);
  HOST_PROP(Text);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnChange);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  AdjustHeight();
}

// The classic height: the font's cell plus the edge and a margin above and below.
void TEdit::AdjustHeight() {
  if (!auto_size_ || IsLoading()) return;
  int extra = 0;
  if (border_style_ == bsSingle) extra = Ctl3D() ? 8 : 6;
  SetHeight(LineHeight() + extra);
}

void TEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_CTL3DCHANGED:
      TCustomEdit::Dispatch(m);
      AdjustHeight();
      return;
    default: TCustomEdit::Dispatch(m);
  }
}

// [SECTION] TMemo ----------------------------------------------------------------------------

// The memo's lines as a string list: every change goes straight to the memo's text.
class TMemoStrings : public TStrings {
  HOST_CLASS(TMemoStrings)
  explicit TMemoStrings(TMemo* memo) : memo_(memo) {}

  int32_t Count() const override {
    const auto lines = Split();
    int32_t n = static_cast<int32_t>(lines.size());
    if (lines.back().empty()) --n;  // the empty line after a final line break is no line
    return n;
  }
  std::string Strings(int32_t index) const override {
    Check(index, Count());
    return Split()[static_cast<size_t>(index)];
  }
  void Put(int32_t index, const std::string& s) override {
    Check(index, Count());
    auto lines = Split();
    lines[static_cast<size_t>(index)] = s;
    Store(lines);
  }
  TObject* Objects(int32_t index) const override {
    Check(index, Count());
    return nullptr;
  }
  void PutObject(int32_t index, TObject*) override { Check(index, Count()); }
  void Insert(int32_t index, const std::string& s) override {
    const int32_t count = Count();
    Check(index, count + 1);
    auto lines = Split();
    if (index == count) {
      // Appending keeps the text ending in a line break.
      if (!lines.back().empty()) lines.push_back(std::string());
      lines.back() = s;
      lines.push_back(std::string());
    } else {
      lines.insert(lines.begin() + index, s);
    }
    Store(lines);
  }
  void Delete(int32_t index) override {
    Check(index, Count());
    auto lines = Split();
    lines.erase(lines.begin() + index);
    if (lines.empty()) lines.push_back(std::string());
    Store(lines);
  }
  void Clear() override { memo_->SetText(""); }

 private:
  std::vector<std::string> Split() const {
    std::vector<std::string> lines;
    const std::string& t = memo_->text_;
    size_t start = 0;
    for (;;) {
      const size_t end = t.find("\r\n", start);
      lines.push_back(t.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return lines;
  }
  void Store(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) text += "\r\n";
      text += lines[i];
    }
    memo_->SetText(text);
  }
  static void Check(int32_t index, int32_t count) {
    if (index < 0 || index >= count) throw EStringListError(Format("List index out of bounds (%d)", {index}));
  }
  TMemo* memo_;
};
HOST_DEFINE_CLASS(TMemoStrings, TStrings)

HOST_PUBLISHED(TMemo, TCustomEdit) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Alignment, taLeftJustify);
  HOST_PROP(BorderStyle, bsSingle);
  HOST_COLOR_PROP(Color, clWindow);
  HOST_PROP(Ctl3D, true);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(HideSelection, true);
  HOST_OBJECT_PROP(Lines);
  HOST_PROP(MaxLength, 0).Range(0, 0x7FFFFFFF);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentCtl3D, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ReadOnly, false);
  HOST_PROP(ScrollBars, ssNone);
  HOST_PROP(ShowHint, false);
  HOST_PROP(TabStop, true);
  HOST_PROP(Visible, true);
  HOST_PROP(WantReturns, true);
  HOST_PROP(WantTabs, false);
  HOST_PROP(WordWrap, true);
  HOST_EVENT(OnChange);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnDblClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_strings_(std::make_unique<TMemoStrings>(this)) {
  control_style_.Exclude(csFixedHeight);
  width_ = 185;
  height_ = 89;
  auto_select_ = false;
}

TMemo::~TMemo() = default;

void TMemo::SetLines(TStrings* value) { lines_strings_->Assign(value); }

void TMemo::SetWordWrap(bool value) {
  if (value == word_wrap_) return;
  word_wrap_ = value;
  scroll_x_ = 0;
  Relayout();
  ScrollToCaret();
  Invalidate();
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == scroll_bars_) return;
  scroll_bars_ = value;
  if (HandleAllocated()) RecreateWnd();
  Relayout();
}

void TMemo::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

std::pair<int32_t, int32_t> TMemo::VisualLine(int32_t index) const {
  if (index < 0 || index >= VisualLineCount()) {
    throw EInvalidOperation(Format("Line index out of bounds (%d)", {index}));
  }
  const Line& l = lines_[static_cast<size_t>(index)];
  return {static_cast<int32_t>(l.start), static_cast<int32_t>(l.end)};
}

void TMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TMemo::UpdateScrollBars() {
  if (!HandleAllocated() || scroll_bars_ == ssNone) return;
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) {
    SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(0, VisualLineCount() - 1),
                  static_cast<UINT>(VisibleLines()), top_line_, 0};
    SetScrollInfo(handle_, SB_VERT, &si, TRUE);
  }
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) {
    int widest = 0;
    for (const Line& l : lines_) {
      int w = 0;
      for (int v : Advances(l)) w += v;
      widest = std::max(widest, w);
    }
    const RECT r = TextRect();
    SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, widest, static_cast<UINT>(r.right - r.left),
                  scroll_x_, 0};
    SetScrollInfo(handle_, SB_HORZ, &si, TRUE);
  }
}

void TMemo::OnScrollMessage(TMessage& m, bool vertical) {
  const int page = vertical ? VisibleLines() : std::max<int>(1, TextRect().right - TextRect().left);
  const int line = vertical ? 1 : 8;
  const int current = vertical ? top_line_ : scroll_x_;
  int next = current;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: next -= line; break;
    case SB_LINEDOWN: next += line; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = HIWORD(m.WParam); break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = 1 << 30; break;
    default: return;
  }
  if (vertical) {
    ScrollLines(next - current);
  } else {
    int widest = 0;
    for (const Line& l : lines_) {
      int w = 0;
      for (int v : Advances(l)) w += v;
      widest = std::max(widest, w);
    }
    scroll_x_ = std::clamp(next, 0, std::max(0, widest - page + 1));
    UpdateScrollBars();
    Invalidate();
  }
}

bool TMemo::DoKeyDown(WORD& key, TShiftState shift) {
  if (TWinControl::DoKeyDown(key, shift)) return true;
  const bool ext = shift.Contains(ssShift);
  const bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_UP:
    case VK_DOWN:
      if (ctrl) {
        ScrollLines(key == VK_UP ? -1 : 1);
      } else {
        MoveLines(key == VK_UP ? -1 : 1, ext);
      }
      return true;
    case VK_PRIOR:
    case VK_NEXT: {
      const int page = VisibleLines();
      ScrollLines(key == VK_PRIOR ? -page : page);
      MoveLines(key == VK_PRIOR ? -page : page, ext);
      return true;
    }
    default: break;
  }
  // The edit's own keys, without asking OnKeyDown a second time.
  auto saved = std::move(OnKeyDown);
  bool used = false;
  try {
    used = TCustomEdit::DoKeyDown(key, shift);
  } catch (...) {
    OnKeyDown = std::move(saved);
    throw;
  }
  OnKeyDown = std::move(saved);
  return used;
}

void TMemo::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_WANTSPECIALKEY:
      if ((m.WParam == VK_RETURN && want_returns_) || (m.WParam == VK_TAB && want_tabs_)) {
        m.Result = 1;
        return;
      }
      TCustomEdit::Dispatch(m);
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (m.LParam == 0) return OnScrollMessage(m, m.Msg == WM_VSCROLL);
      TCustomEdit::Dispatch(m);
      return;
    case WM_MOUSEWHEEL: {
      const int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
      ScrollLines(-notches * kWheelLines);
      m.Result = 1;
      return;
    }
    default: TCustomEdit::Dispatch(m);
  }
}

// [SECTION] TSpinButton ----------------------------------------------------------------------

HOST_PUBLISHED(TSpinButton, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Enabled, true);
  HOST_PROP(FocusControl);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(ShowHint, false);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnDownClick);
  HOST_EVENT(OnUpClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
}

TSpinButton::TSpinButton(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csCaptureMouse, csOpaque, csFixedWidth};
  color_ = clBtnFace;
  parent_color_ = false;
  brush_->SetColor(color_);
  width_ = 20;
  height_ = 25;
}

TSpinButton::~TSpinButton() { StopTimer(); }

void TSpinButton::SetFocusControl(TWinControl* value) {
  focus_control_ = value;
  if (value) value->FreeNotification(this);
}

void TSpinButton::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == focus_control_) focus_control_ = nullptr;
}

int TSpinButton::ButtonAt(int x, int y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return 0;
  return y < height_ / 2 ? 1 : 2;
}

void TSpinButton::Fire(int button) {
  if (button == 1 && OnUpClick) OnUpClick(this);
  if (button == 2 && OnDownClick) OnDownClick(this);
}

void TSpinButton::StopTimer() {
  if (timer_ && HandleAllocated()) KillTimer(handle_, kRepeatTimer);
  timer_ = 0;
}

void TSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (focus_control_ && focus_control_->CanFocus() && !focus_control_->Focused()) focus_control_->SetFocus();
  tracking_ = pressed_ = ButtonAt(x, y);
  if (!pressed_) return;
  Invalidate();
  Fire(pressed_);
  timer_ = SetTimer(handle_, kRepeatTimer, kInitialRepeatMs, nullptr);
}

void TSpinButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!tracking_) return;
  const int now = ButtonAt(x, y) == tracking_ ? tracking_ : 0;
  if (now != pressed_) {
    pressed_ = now;
    Invalidate();
  }
}

void TSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && tracking_) {
    StopTimer();
    tracking_ = pressed_ = 0;
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TSpinButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_TIMER:
      if (m.WParam != kRepeatTimer) break;
      if (!tracking_) {
        StopTimer();
        return;
      }
      // After the first delay the repeats come faster.
      SetTimer(handle_, kRepeatTimer, kRepeatMs, nullptr);
      if (pressed_) Fire(pressed_);
      return;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (tracking_ && GetCapture() != handle_) {
        StopTimer();
        tracking_ = pressed_ = 0;
        Invalidate();
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TSpinButton::Paint() {
  HDC dc = Canvas()->Handle();
  const UINT off = Enabled() ? 0 : DFCS_INACTIVE;
  RECT up{0, 0, width_, height_ / 2};
  RECT down{0, height_ / 2, width_, height_};
  DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | off | (pressed_ == 1 ? DFCS_PUSHED | DFCS_FLAT : 0));
  DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | off | (pressed_ == 2 ? DFCS_PUSHED | DFCS_FLAT : 0));
}

// [SECTION] TSpinEdit ------------------------------------------------------------------------

HOST_PUBLISHED(TSpinEdit, TCustomEdit) {
  HOST_PROP(AutoSelect, true);
  HOST_COLOR_PROP(Color, clWindow);
  HOST_PROP(Ctl3D, true);
  HOST_PROP(EditorEnabled, true);
  HOST_PROP(Enabled, true);
  HOST_OBJECT_PROP(Font);
  HOST_PROP(Increment, 1);
  HOST_PROP(MaxLength, 0).Range(0, 0x7FFFFFFF);
  HOST_PROP(MaxValue, 0);
  HOST_PROP(MinValue, 0);
  HOST_PROP(ParentColor, false);
  HOST_PROP(ParentCtl3D, true);
  HOST_PROP(ParentFont, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(PopupMenu);
  HOST_PROP(ReadOnly, false);
  HOST_PROP(ShowHint, false);
  HOST_PROP(TabStop, true);
  HOST_PROP(Value, 0);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnChange);
  HOST_EVENT(OnClick);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnMouseDown);
  HOST_EVENT(OnMouseMove);
  HOST_EVENT(OnMouseUp);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner), button_(new TSpinButton(this)) {
  button_->SetParent(this);
  button_->SetFocusControl(this);
  button_->OnUpClick = [this](TObject*) { Step(increment_); };
  button_->OnDownClick = [this](TObject*) { Step(-increment_); };
  text_ = "0";
  Relayout();
  PlaceButton();
}

void TSpinEdit::PlaceButton() {
  const int edge = border_style_ == bsSingle ? (Ctl3D() ? 2 : 1) : 0;
  const int w = 15;
  reserved_right_ = w;
  button_->SetBounds(width_ - edge - w, edge, w, std::max(0, height_ - 2 * edge));
}

void TSpinEdit::Resize() {
  PlaceButton();
  TCustomEdit::Resize();
}

int32_t TSpinEdit::Clamp(int32_t value) const {
  if (min_value_ == 0 && max_value_ == 0) return value;
  return std::clamp(value, std::min(min_value_, max_value_), max_value_ < min_value_ ? min_value_ : max_value_);
}

void TSpinEdit::SetMinValue(int32_t value) {
  min_value_ = value;
  if (!IsLoading()) SetValue(Value());
}

void TSpinEdit::SetMaxValue(int32_t value) {
  max_value_ = value;
  if (!IsLoading()) SetValue(Value());
}

int32_t TSpinEdit::Value() const {
  char* end = nullptr;
  const long v = std::strtol(text_.c_str(), &end, 10);
  if (text_.empty() || end == text_.c_str() || *end != '\0') return Clamp(min_value_);
  return Clamp(static_cast<int32_t>(std::clamp<long>(v, INT32_MIN, INT32_MAX)));
}

void TSpinEdit::SetValue(int32_t value) {
  const std::string s = std::to_string(Clamp(value));
  if (s == text_) return;
  const bool focused = Focused();
  SetText(s);
  if (focused) SelectAll();
}

void TSpinEdit::Step(int32_t delta) {
  if (read_only_) return;
  const int64_t next = static_cast<int64_t>(Value()) + delta;
  SetValue(static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
  modified_ = true;
}

bool TSpinEdit::AcceptChar(uint32_t ch) {
  if (!editor_enabled_) return false;
  if (ch >= '0' && ch <= '9') return true;
  // A minus sign only where a negative number can stand.
  return ch == '-' && std::min(anchor_, caret_) == 0 && (min_value_ < 0 || (min_value_ == 0 && max_value_ == 0));
}

bool TSpinEdit::DoKeyDown(WORD& key, TShiftState shift) {
  if (key == VK_UP || key == VK_DOWN) {
    if (TWinControl::DoKeyDown(key, shift)) return true;
    Step(key == VK_UP ? increment_ : -increment_);
    return true;
  }
  if (!editor_enabled_ && (key == VK_DELETE || ((key == 'X' || key == 'V') && shift.Contains(ssCtrl)))) {
    return TWinControl::DoKeyDown(key, shift) || true;
  }
  return TCustomEdit::DoKeyDown(key, shift);
}

void TSpinEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CHAR:
      if (!editor_enabled_ && m.WParam == '\b') return;
      TCustomEdit::Dispatch(m);
      return;
    case WM_PASTE:
      if (!editor_enabled_) return;
      TCustomEdit::Dispatch(m);
      return;
    case WM_KILLFOCUS:
      TCustomEdit::Dispatch(m);
      // What was typed is checked on leaving: out of range or unreadable becomes a value.
      SetValue(Value());
      if (std::to_string(Value()) != text_) SetText(std::to_string(Value()));
      return;
    case CM_CTL3DCHANGED:
      TCustomEdit::Dispatch(m);
      PlaceButton();
      return;
    default: TCustomEdit::Dispatch(m);
  }
}

// [SECTION] TScrollBar -----------------------------------------------------------------------

HOST_PUBLISHED(TScrollBar, TCustomControl) {
  HOST_PROP(Align, alNone);
  HOST_PROP(Ctl3D, true);
  HOST_PROP(Enabled, true);
  HOST_PROP(Kind, sbHorizontal);
  HOST_PROP(LargeChange, 1);
  HOST_PROP(Max, 100);
  HOST_PROP(Min, 0);
  HOST_PROP(PageSize, 0);
  HOST_PROP(ParentCtl3D, true);
  HOST_PROP(ParentShowHint, true);
  HOST_PROP(Position, 0);
  HOST_PROP(ShowHint, false);
  HOST_PROP(SmallChange, 1);
  HOST_PROP(TabStop, true);
  HOST_PROP(Visible, true);
  HOST_EVENT(OnChange);
  HOST_EVENT(OnEnter);
  HOST_EVENT(OnExit);
  HOST_EVENT(OnKeyDown);
  HOST_EVENT(OnKeyPress);
  HOST_EVENT(OnKeyUp);
  HOST_EVENT(OnScroll);
}

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner) {
  control_style_ = {csCaptureMouse, csOpaque, csDoubleClicks};
  color_ = clBtnFace;
  parent_color_ = false;
  brush_->SetColor(color_);
  width_ = 121;
  height_ = GetSystemMetrics(SM_CYHSCROLL);
  SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (!IsLoading()) SetBounds(left_, top_, height_, width_);
  Invalidate();
}

int32_t TScrollBar::MaxPosition() const { return std::max(min_, max_ - std::max(page_size_ - 1, 0)); }

void TScrollBar::SetParams(int32_t position, int32_t min, int32_t max) {
  if (max < min) throw EInvalidOperation(Format("Scroll bar property out of range: Max %d is below Min %d", {max, min}));
  min_ = min;
  max_ = max;
  page_size_ = std::min(page_size_, max_ - min_ + 1);
  position = std::clamp(position, min_, MaxPosition());
  const bool changed = position != position_;
  position_ = position;
  Invalidate();
  if (changed) Change();
}

void TScrollBar::SetPageSize(int32_t value) {
  if (value < 0 || value > max_ - min_ + 1) {
    throw EInvalidOperation(Format("Scroll bar property out of range: PageSize %d", {value}));
  }
  page_size_ = value;
  SetParams(position_, min_, max_);
  Invalidate();
}

void TScrollBar::Change() {
  if (OnChange && !IsLoading()) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int32_t& pos) {
  if (OnScroll) OnScroll(this, code, pos);
}

TScrollBar::Parts TScrollBar::Layout() const {
  const bool vert = kind_ == sbVertical;
  const int length = vert ? height_ : width_;
  const int thick = vert ? width_ : height_;
  const int arrow = std::min(GetSystemMetrics(vert ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
  const int track = length - 2 * arrow;
  int thumb_len = 0, thumb_at = 0;
  const int range = max_ - min_;
  if (track >= 8 && range > 0 && Enabled()) {
    thumb_len = page_size_ > 0 ? std::max(8, static_cast<int>(static_cast<int64_t>(track) * page_size_ / (range + 1)))
                               : GetSystemMetrics(vert ? SM_CYVTHUMB : SM_CXHTHUMB);
    thumb_len = std::min(thumb_len, track);
    const int span = MaxPosition() - min_;
    thumb_at = span > 0 ? static_cast<int>(static_cast<int64_t>(track - thumb_len) * (position_ - min_) / span) : 0;
  }
  auto along = [&](int a, int b) { return vert ? RECT{0, a, thick, b} : RECT{a, 0, b, thick}; };
  Parts p;
  p.arrow1 = along(0, arrow);
  p.arrow2 = along(length - arrow, length);
  p.track = along(arrow, length - arrow);
  p.thumb = thumb_len ? along(arrow + thumb_at, arrow + thumb_at + thumb_len) : RECT{0, 0, 0, 0};
  return p;
}

int32_t TScrollBar::PositionAt(int offset) const {
  const Parts p = Layout();
  const bool vert = kind_ == sbVertical;
  const int track = vert ? p.track.bottom - p.track.top : p.track.right - p.track.left;
  const int thumb = vert ? p.thumb.bottom - p.thumb.top : p.thumb.right - p.thumb.left;
  const int room = track - thumb;
  if (room <= 0) return min_;
  const int64_t span = MaxPosition() - min_;
  const int64_t pos = min_ + (static_cast<int64_t>(std::clamp(offset, 0, room)) * span + room / 2) / room;
  return static_cast<int32_t>(pos);
}

TScrollBar::Part TScrollBar::PartAt(int x, int y) const {
  const Parts p = Layout();
  const POINT pt{x, y};
  if (PtInRect(&p.arrow1, pt)) return kArrow1;
  if (PtInRect(&p.arrow2, pt)) return kArrow2;
  if (PtInRect(&p.thumb, pt)) return kThumb;
  if (!PtInRect(&p.track, pt) || IsRectEmpty(&p.thumb)) return kNone;
  const bool before = kind_ == sbVertical ? y < p.thumb.top : x < p.thumb.left;
  return before ? kPage1 : kPage2;
}

void TScrollBar::Notify(WORD code, int32_t pos) {
  const UINT msg = kind_ == sbVertical ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM wp = MAKEWPARAM(code, static_cast<WORD>(pos));
  const HWND parent = parent_ && parent_->HandleAllocated() ? parent_->Handle() : nullptr;
  if (parent) {
    SendMessage(parent, msg, wp, reinterpret_cast<LPARAM>(Handle()));
  } else {
    Perform(CN_BASE + msg, wp, reinterpret_cast<LPARAM>(Handle()));
  }
}

void TScrollBar::HandleScroll(WORD code, int32_t thumb) {
  int32_t pos = position_;
  TScrollCode sc = scEndScroll;
  switch (code) {
    case SB_LINEUP: sc = scLineUp; pos -= small_change_; break;
    case SB_LINEDOWN: sc = scLineDown; pos += small_change_; break;
    case SB_PAGEUP: sc = scPageUp; pos -= large_change_; break;
    case SB_PAGEDOWN: sc = scPageDown; pos += large_change_; break;
    case SB_THUMBPOSITION: sc = scPosition; pos = thumb; break;
    case SB_THUMBTRACK: sc = scTrack; pos = thumb; break;
    case SB_TOP: sc = scTop; pos = min_; break;
    case SB_BOTTOM: sc = scBottom; pos = MaxPosition(); break;
    case SB_ENDSCROLL: sc = scEndScroll; break;
    default: return;
  }
  pos = std::clamp(pos, min_, MaxPosition());
  Scroll(sc, pos);
  SetPosition(pos);
}

void TScrollBar::StopTimer() {
  if (timer_ && HandleAllocated()) KillTimer(handle_, kRepeatTimer);
  timer_ = 0;
}

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (TabStop() && CanFocus() && !Focused()) SetFocus();
  tracking_ = pressed_ = PartAt(x, y);
  const Parts p = Layout();
  switch (pressed_) {
    case kThumb:
      drag_offset_ = kind_ == sbVertical ? y - p.thumb.top : x - p.thumb.left;
      drag_pos_ = position_;
      break;
    case kArrow1: Notify(SB_LINEUP, 0); break;
    case kArrow2: Notify(SB_LINEDOWN, 0); break;
    case kPage1: Notify(SB_PAGEUP, 0); break;
    case kPage2: Notify(SB_PAGEDOWN, 0); break;
    case kNone: return;
  }
  if (pressed_ != kThumb) timer_ = SetTimer(handle_, kRepeatTimer, TSpinButton::kInitialRepeatMs, nullptr);
  Invalidate();
}

void TScrollBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (tracking_ == kThumb) {
    const Parts p = Layout();
    const int offset = (kind_ == sbVertical ? y - p.track.top : x - p.track.left) - drag_offset_;
    const int32_t pos = PositionAt(offset);
    if (pos != drag_pos_) {
      drag_pos_ = pos;
      Notify(SB_THUMBTRACK, pos);
    }
  } else if (tracking_ != kNone) {
    const Part now = PartAt(x, y) == tracking_ ? tracking_ : kNone;
    if (now != pressed_) {
      pressed_ = now;
      Invalidate();
    }
  }
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && tracking_ != kNone) {
    StopTimer();
    if (tracking_ == kThumb) Notify(SB_THUMBPOSITION, drag_pos_);
    tracking_ = pressed_ = kNone;
    Notify(SB_ENDSCROLL, 0);
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

bool TScrollBar::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift)) return true;
  switch (key) {
    case VK_LEFT:
    case VK_UP: Notify(SB_LINEUP, 0); break;
    case VK_RIGHT:
    case VK_DOWN: Notify(SB_LINEDOWN, 0); break;
    case VK_PRIOR: Notify(SB_PAGEUP, 0); break;
    case VK_NEXT: Notify(SB_PAGEDOWN, 0); break;
    case VK_HOME: Notify(SB_TOP, 0); break;
    case VK_END: Notify(SB_BOTTOM, 0); break;
    default: return false;
  }
  Notify(SB_ENDSCROLL, 0);
  return true;
}

void TScrollBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      HandleScroll(LOWORD(m.WParam), static_cast<SHORT>(HIWORD(m.WParam)));
      return;
    case CM_WANTSPECIALKEY:
      m.Result = m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN;
      return;
    case WM_TIMER:
      if (m.WParam != kRepeatTimer) break;
      if (tracking_ == kNone || tracking_ == kThumb) {
        StopTimer();
        return;
      }
      SetTimer(handle_, kRepeatTimer, TSpinButton::kRepeatMs, nullptr);
      // A page click repeats only while the thumb has not reached the pointer.
      if (pressed_ != kNone) {
        POINT p;
        GetCursorPos(&p);
        p = ScreenToClient(p);
        if (PartAt(p.x, p.y) != pressed_) return;
        static const WORD codes[] = {0, SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
        Notify(codes[pressed_], 0);
      }
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

void TScrollBar::Paint() {
  HDC dc = Canvas()->Handle();
  const Parts p = Layout();
  const bool vert = kind_ == sbVertical;
  const UINT off = Enabled() && max_ > min_ ? 0 : DFCS_INACTIVE;
  RECT a1 = p.arrow1, a2 = p.arrow2;
  DrawFrameControl(dc, &a1, DFC_SCROLL,
                   (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | off | (pressed_ == kArrow1 ? DFCS_PUSHED | DFCS_FLAT : 0));
  DrawFrameControl(dc, &a2, DFC_SCROLL,
                   (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | off | (pressed_ == kArrow2 ? DFCS_PUSHED | DFCS_FLAT : 0));
  // The track: a 50% mix of face and highlight, the held page part dark.
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH track = CreatePatternBrush(pattern);
  const COLORREF old_text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF old_back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &p.track, track);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
  DeleteObject(track);
  DeleteObject(pattern);
  if ((pressed_ == kPage1 || pressed_ == kPage2) && !IsRectEmpty(&p.thumb)) {
    RECT held = p.track;
    if (pressed_ == kPage1) {
      (vert ? held.bottom : held.right) = vert ? p.thumb.top : p.thumb.left;
    } else {
      (vert ? held.top : held.left) = vert ? p.thumb.bottom : p.thumb.right;
    }
    FillRect(dc, &held, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
  if (!IsRectEmpty(&p.thumb)) {
    RECT t = p.thumb;
    DrawEdge(dc, &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (Focused()) {
      RECT f = p.thumb;
      InflateRect(&f, -3, -3);
      DrawFocusRect(dc, &f);
    }
  }
}

void RegisterEditControls() {
  RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass(), TSpinButton::StaticClass(),
                   TSpinEdit::StaticClass(), TScrollBar::StaticClass()});
}

}  // namespace host
