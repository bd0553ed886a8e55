#include "host/classes/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "host/classes/sysutils.h"

namespace host {

namespace {

[[noreturn]] void BadFormat(std::string_view format) {
  throw EConvertError("Format '" + std::string(format) +
                      "' invalid or incompatible with argument");
}

std::string Printf(const char* fmt, int precision, double value) {
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, fmt, precision, value);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), fmt, precision, value);
  big.resize(static_cast<size_t>(n));
  return big;
}

// Puts ',' between groups of three digits of the integer part of a plain "-123456.78".
std::string Group(const std::string& fixed) {
  size_t start = fixed.empty() || fixed[0] != '-' ? 0 : 1;
  size_t end = fixed.find('.');
  if (end == std::string::npos) end = fixed.size();
  std::string out = fixed.substr(0, start);
  for (size_t i = start; i < end; ++i) {
    out += fixed[i];
    const size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) out += ',';
  }
  out += fixed.substr(end);
  return out;
}

std::string Digits(uint64_t v, unsigned base, bool upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string s;
  do {
    s.insert(s.begin(), set[v % base]);
    v /= base;
  } while (v);
  return s;
}

// Exponents as "E+003" (minimum three digits) for %e, or "E20"/"E-5" for the general form.
std::string FixExponent(const std::string& s, bool general) {
  const size_t e = s.find('E');
  if (e == std::string::npos) return s;
  char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  if (general) return s.substr(0, e + 1) + (sign == '-' ? "-" : "") + digits;
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return s.substr(0, e + 1) + sign + digits;
}

std::string General(double v, int precision) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (precision <= 0 || precision > 18) precision = 15;
  return FixExponent(Printf("%.*G", precision, v), true);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Letters of AnsiUpperCase: maps one code point, up or down.
char32_t MapCase(char32_t c, bool upper) {
  if (upper) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x137 && (c & 1)) return c - 1;
    if (c >= 0x139 && c <= 0x148 && !(c & 1)) return c - 1;
    if (c >= 0x14A && c <= 0x177 && (c & 1)) return c - 1;
    if (c == 0x17A || c == 0x17C || c == 0x17E) return c - 1;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  } else {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x137 && !(c & 1)) return c + 1;
    if (c >= 0x139 && c <= 0x148 && (c & 1)) return c + 1;
    if (c >= 0x14A && c <= 0x177 && !(c & 1)) return c + 1;
    if (c == 0x179 || c == 0x17B || c == 0x17D) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  }
  return c;
}

// Re-encodes s with MapCase applied; malformed UTF-8 bytes are kept as they are.
std::string AnsiCase(std::string_view s, bool upper) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
    if (len == 0 || i + len > s.size()) {
      out += s[i++];
      continue;
    }
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : (b & 0x0F);
    bool ok = true;
    for (size_t k = 1; k < len; ++k) {
      const auto cb = static_cast<unsigned char>(s[i + k]);
      if ((cb & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (cb & 0x3F);
    }
    if (!ok || c >= 0x800) {  // only two-byte letters change case here
      out.append(s.substr(i, len));
      i += len;
      continue;
    }
    c = MapCase(c, upper);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    i += len;
  }
  return out;
}

void CheckWhole(double value) {
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0)
    throw EConvertError("Invalid floating point operation");
}

}  // namespace

std::string Format(std::string_view format, const std::vector<FormatArg>& args) {
  std::string out;
  size_t next = 0;  // the argument the next specifier takes
  size_t i = 0;
  auto take = [&]() -> const FormatArg& {
    if (next >= args.size()) BadFormat(format);
    return args[next++];
  };
  auto number = [&](int& dest) {
    if (i < format.size() && format[i] == '*') {
      const FormatArg& a = take();
      if (a.kind() != FormatArg::Kind::kInt) BadFormat(format);
      dest = static_cast<int>(std::clamp<int64_t>(a.AsInt(), -1, 1 << 20));
      ++i;
      return true;
    }
    if (i >= format.size() || format[i] < '0' || format[i] > '9') return false;
    int64_t v = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      v = std::min<int64_t>(v * 10 + (format[i] - '0'), 1 << 20);
      ++i;
    }
    dest = static_cast<int>(v);
    return true;
  };
  while (i < format.size()) {
    const char c = format[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i >= format.size()) BadFormat(format);
    if (format[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    int width = -1, precision = -1;
    bool left = false;
    // An index "n:" picks the argument; it is a number followed by a colon.
    {
      size_t j = i;
      while (j < format.size() && format[j] >= '0' && format[j] <= '9') ++j;
      if (j > i && j < format.size() && format[j] == ':') {
        int index = 0;
        number(index);
        next = static_cast<size_t>(index);
        ++i;
      }
    }
    if (i < format.size() && format[i] == '-') {
      left = true;
      ++i;
    }
    number(width);
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!number(precision)) precision = 0;
    }
    if (i >= format.size()) BadFormat(format);
    const char type = static_cast<char>(format[i++] | 0x20);
    const bool upperHex = format[i - 1] == 'X';
    const FormatArg& a = take();
    std::string text;
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        if (a.kind() != FormatArg::Kind::kInt) BadFormat(format);
        const int64_t v = a.AsInt();
        bool negative = false;
        uint64_t magnitude;
        if (type == 'd') {
          negative = v < 0;
          magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        } else {
          magnitude = a.Narrow() ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
        }
        text = Digits(magnitude, type == 'x' ? 16 : 10, upperHex || type != 'x');
        if (precision > 0 && text.size() < static_cast<size_t>(precision))
          text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
        if (negative) text.insert(text.begin(), '-');
        break;
      }
      case 's':
        if (a.kind() != FormatArg::Kind::kString) BadFormat(format);
        text = a.AsString();
        if (precision >= 0 && text.size() > static_cast<size_t>(precision))
          text.resize(static_cast<size_t>(precision));
        break;
      case 'f':
      case 'n':
      case 'm':
      case 'e':
      case 'g': {
        if (a.kind() != FormatArg::Kind::kFloat) BadFormat(format);
        const double v = a.AsFloat();
        if (!std::isfinite(v)) {
          text = General(v, 15);
          break;
        }
        if (type == 'g') {
          text = General(v, precision);
        } else if (type == 'e') {
          const int digits = precision <= 0 || precision > 18 ? 15 : precision;
          text = FixExponent(Printf("%.*E", digits - 1, v), false);
        } else {
          const int decimals = precision < 0 ? 2 : std::min(precision, 18);
          const double shown = type == 'm' ? std::fabs(v) : v;
          text = Printf("%.*f", decimals, shown);
          if (text == "-" + Printf("%.*f", decimals, 0.0)) text.erase(0, 1);  // no "-0.00"
          if (type != 'f') text = Group(text);
          if (type == 'm')
            text = v < 0 && text.find_first_of("123456789") != std::string::npos
                       ? "($" + text + ")"
                       : "$" + text;
        }
        break;
      }
      default:
        BadFormat(format);
    }
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
      const std::string pad(static_cast<size_t>(width) - text.size(), ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

std::string IntToStr(int64_t value) { return Format("%d", {value}); }

std::string IntToHex(int64_t value, int digits) {
  std::string s = Digits(static_cast<uint64_t>(value), 16, true);
  if (digits > 0 && s.size() < static_cast<size_t>(std::min(digits, 64)))
    s.insert(0, static_cast<size_t>(std::min(digits, 64)) - s.size(), '0');
  return s;
}

std::string IntToHex(int32_t value, int digits) {
  return IntToHex(static_cast<int64_t>(static_cast<uint32_t>(value)), digits);
}

int64_t StrToInt64(std::string_view s) {
  const std::string quoted = "'" + std::string(s) + "' is not a valid integer value";
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  unsigned base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) throw EConvertError(quoted);
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else throw EConvertError(quoted);
    if (v > (std::numeric_limits<uint64_t>::max() - d) / base) throw EConvertError(quoted);
    v = v * base + d;
  }
  // Hexadecimal may spell a negative value by its bit pattern ("$FFFFFFFFFFFFFFFF").
  if (base == 16 && !negative) return static_cast<int64_t>(v);
  if (negative) {
    if (v > uint64_t{1} << 63) throw EConvertError(quoted);
    return static_cast<int64_t>(0 - v);
  }
  if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) throw EConvertError(quoted);
  return static_cast<int64_t>(v);
}

int32_t StrToInt(std::string_view s) {
  const int64_t v = StrToInt64(s);
  // "$FFFFFFFF" is the bit pattern of -1, as for a 32-bit reader.
  const bool hex = s.find('$') != std::string_view::npos || s.find('x') != std::string_view::npos ||
                   s.find('X') != std::string_view::npos;
  if (hex && v >= 0 && v <= 0xFFFFFFFFll) return static_cast<int32_t>(static_cast<uint32_t>(v));
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return static_cast<int32_t>(v);
}

int32_t StrToIntDef(std::string_view s, int32_t fallback) {
  try {
    return StrToInt(s);
  } catch (const EConvertError&) {
    return fallback;
  }
}

std::string FloatToStr(double value) { return General(value, 15); }

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

std::string AnsiUpperCase(std::string_view s) { return AnsiCase(s, true); }
std::string AnsiLowerCase(std::string_view s) { return AnsiCase(s, false); }

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

int AnsiCompareText(std::string_view a, std::string_view b) {
  const int r = AnsiLowerCase(a).compare(AnsiLowerCase(b));
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

int64_t Round(double value) {
  CheckWhole(value);
  const double floor = std::floor(value);
  const double diff = value - floor;
  double r = floor;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0)) r = floor + 1;
  CheckWhole(r);
  return static_cast<int64_t>(r);
}

int64_t Trunc(double value) {
  CheckWhole(value);
  return static_cast<int64_t>(std::trunc(value));
}

}  // namespace host
