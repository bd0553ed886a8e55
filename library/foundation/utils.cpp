#include "library/foundation/utils.h"

#include <algorithm>
#include <cmath>

#include "host/classes/format.h"
#include "host/forms/forms.h"
#include "platform/win32.h"

namespace zyr {

namespace {
std::string& ProgramOverride() {
  static std::string path;
  return path;
}
}  // namespace

void Delay(int32_t milliseconds) {
  if (milliseconds <= 0) return;
  const DWORD entry = GetTickCount();
  const DWORD deadline = entry + static_cast<DWORD>(milliseconds);
  // A thread timer wakes the wait at the deadline; the loop sleeps in WaitMessage otherwise.
  const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds) + 1, nullptr);
  while (static_cast<int32_t>(GetTickCount() - deadline) <= 0) {
    host::Application()->ProcessMessages();
    if (static_cast<int32_t>(GetTickCount() - deadline) > 0) break;
    WaitMessage();
  }
  if (timer) KillTimer(nullptr, timer);
}

bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

std::string AddBackslash(const std::string& s) {
  if (IsBlank(s)) return "\\";
  return s.back() == '\\' ? s : s + "\\";
}

std::string RemoveBackslash(const std::string& s) {
  if (IsBlank(s) || s.back() != '\\') return s;
  return s.substr(0, s.size() - 1);
}

std::string ProgramFileName() {
  if (!ProgramOverride().empty()) return ProgramOverride();
  char buffer[4096];
  const DWORD n = GetModuleFileName(nullptr, buffer, sizeof buffer);
  return std::string(buffer, n);
}

void SetProgramFileName(const std::string& path) { ProgramOverride() = path; }

std::string ExtractFilePath(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? "" : path.substr(0, cut + 1);
}

std::string ExtractFileName(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const std::string name = ExtractFileName(path);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? "" : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const std::string old = ExtractFileExt(path);
  return path.substr(0, path.size() - old.size()) + ext;
}

std::string GetPrefixPath(TZYRPathPrefix prefix, bool with_backslash) {
  std::string dir;
  char buffer[260];
  switch (prefix) {
    case ppWindows: dir.assign(buffer, GetWindowsDirectory(buffer, sizeof buffer)); break;
    case ppSystem: dir.assign(buffer, GetSystemDirectory(buffer, sizeof buffer)); break;
    case ppProgram: dir = ExtractFilePath(ProgramFileName()); break;
    case ppFixed: return "";
  }
  return with_backslash ? AddBackslash(dir) : RemoveBackslash(dir);
}

std::string ReplaceChar(const std::string& s, char old_char, char new_char) {
  std::string out = s;
  std::replace(out.begin(), out.end(), old_char, new_char);
  return out;
}

std::string FillString(int32_t count, char ch) { return count < 1 ? "" : std::string(static_cast<size_t>(count), ch); }

std::string JoinStrings(const std::vector<std::string>& items, int32_t count, char delimiter) {
  std::string out;
  const size_t n = std::min(items.size(), static_cast<size_t>(std::max(count, 0)));
  for (size_t i = 0; i < n; ++i) {
    if (i) out += delimiter;
    out += items[i];
  }
  return out;
}

std::string JoinStrings(const std::vector<int32_t>& items, int32_t count, char delimiter) {
  std::vector<std::string> texts;
  for (int32_t v : items) texts.push_back(host::IntToStr(v));
  return JoinStrings(texts, count, delimiter);
}

int32_t MaxOf(std::initializer_list<int32_t> values) { return values.size() ? std::max(values) : 0; }
int32_t MinOf(std::initializer_list<int32_t> values) { return values.size() ? std::min(values) : 0; }
double MaxOfFloat(std::initializer_list<double> values) { return values.size() ? std::max(values) : 0.0; }

int32_t Midpoint(int32_t a, int32_t b) { return static_cast<int32_t>((static_cast<int64_t>(a) + b) / 2); }

RECT GrowRect(const RECT& r, int n) { return {r.left - n, r.top - n, r.right + n, r.bottom + n}; }

RECT GrowRectExt(const RECT& r, int dx_left, int dy_top, int dx_right, int dy_bottom) {
  return {r.left - dx_left, r.top - dy_top, r.right + dx_right, r.bottom + dy_bottom};
}

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }

void MovePoints(POINT* points, int count, int dx, int dy) {
  for (int i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
}

void SwapInt(int32_t& a, int32_t& b) { std::swap(a, b); }

RECT RotatedBounds(const RECT& r, int angle) {
  if (angle == 0) return r;
  const double a = angle * M_PI / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double cx = (r.left + r.right) / 2.0;
  const double cy = (r.top + r.bottom) / 2.0;
  const double xs[4] = {double(r.left), double(r.right), double(r.right), double(r.left)};
  const double ys[4] = {double(r.top), double(r.top), double(r.bottom), double(r.bottom)};
  long min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  for (int i = 0; i < 4; ++i) {
    const double dx = xs[i] - cx;
    const double dy = ys[i] - cy;
    const long x = host::Round(cx + dx * c - dy * s);
    const long y = host::Round(cy + dx * s + dy * c);
    if (i == 0 || x < min_x) min_x = x;
    if (i == 0 || x > max_x) max_x = x;
    if (i == 0 || y < min_y) min_y = y;
    if (i == 0 || y > max_y) max_y = y;
  }
  return {0, 0, static_cast<LONG>(max_x - min_x), static_cast<LONG>(max_y - min_y)};
}

RECT FitRect(const RECT& src, const RECT& dest) {
  const double sw = RectWidth(src);
  const double sh = RectHeight(src);
  if (sw <= 0 || sh <= 0) return {dest.left, dest.top, dest.left, dest.top};
  const double f = std::min(RectWidth(dest) / sw, RectHeight(dest) / sh);
  return {dest.left, dest.top, dest.left + static_cast<LONG>(std::trunc(sw * f)),
          dest.top + static_cast<LONG>(std::trunc(sh * f))};
}

}  // namespace zyr
