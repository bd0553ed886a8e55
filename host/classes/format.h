// Text formatting and conversion helpers of the host framework.
//
// One fixed locale: thousands separator ',', decimal separator '.', currency "$" in front
// with two decimals and negative amounts in parentheses ("($1,234.50)").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace host {

// One argument of Format: an integer, a floating point number or a string. Integers remember
// whether they were 32 bits or narrower so that %u and %x of a negative Integer show the
// 32-bit pattern ("FFFFFFFF"), as programs expect.
class FormatArg {
 public:
  enum class Kind : uint8_t { kInt, kFloat, kString };

  template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T v)  // NOLINT(google-explicit-constructor)
      : kind_(Kind::kInt), int_(static_cast<int64_t>(v)), narrow_(sizeof(T) <= 4) {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) == 4) narrow_ = false;  // stays positive
  }
  template <typename T>
    requires std::is_floating_point_v<T>
  FormatArg(T v) : kind_(Kind::kFloat), float_(static_cast<double>(v)) {}  // NOLINT
  FormatArg(const char* s) : kind_(Kind::kString), str_(s ? s : "") {}     // NOLINT
  FormatArg(std::string s) : kind_(Kind::kString), str_(std::move(s)) {}   // NOLINT
  FormatArg(std::string_view s) : kind_(Kind::kString), str_(s) {}         // NOLINT
  FormatArg(bool) = delete;  // a Boolean is no number; say which text is meant

  Kind kind() const { return kind_; }
  int64_t AsInt() const { return int_; }
  bool Narrow() const { return narrow_; }
  double AsFloat() const { return float_; }
  const std::string& AsString() const { return str_; }

 private:
  Kind kind_;
  int64_t int_ = 0;
  bool narrow_ = false;
  double float_ = 0;
  std::string str_;
};

// printf-like formatting: "%" ["index:"] ["-"] [width] ["." precision] type, with width and
// precision also taken from the arguments by '*'. Types: d u x X (integers; precision is the
// minimum number of digits), s (string; precision is the maximum length), f (fixed, 2
// decimals unless told), n (fixed with thousands separators), m (currency), e (scientific,
// precision = significant digits, default 15, exponent of at least three digits), g (general,
// 15 significant digits unless told, shortest form). "%%" is a percent sign. A missing
// argument, an argument of the wrong kind or a bad specifier raise EConvertError
// "Format '<format>' invalid or incompatible with argument".
std::string Format(std::string_view format, const std::vector<FormatArg>& args);
inline std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
  return Format(format, std::vector<FormatArg>(args));
}

std::string IntToStr(int64_t value);
// Upper-case hexadecimal with at least digits digits; negative values show their
// two's-complement pattern of the argument's width.
std::string IntToHex(int64_t value, int digits);
std::string IntToHex(int32_t value, int digits);
// Decimal with an optional sign, or hexadecimal after "$" or "0x". Leading blanks are
// skipped, anything else (trailing blanks included) is refused; the value must fit an
// Integer. Garbage raises EConvertError "'abc' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t fallback);
// The shortest text of value with 15 significant digits ("0.1", "1E20").
std::string FloatToStr(double value);

// Blanks are every character up to and including ' ' (control characters too).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// ASCII letters only.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// UTF-8 aware for Latin-1, Latin Extended-A, Greek and Cyrillic letters; other characters
// are kept as they are.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// Compares ignoring ASCII case: negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Compares ignoring case for the letters AnsiUpperCase knows.
int AnsiCompareText(std::string_view a, std::string_view b);

// Nearest integer, halves going to the even neighbour (Round(2.5) == 2). NaN, infinities
// and values beyond 64 bits raise EConvertError.
int64_t Round(double value);
// Towards zero; the same failures as Round.
int64_t Trunc(double value);

}  // namespace host
