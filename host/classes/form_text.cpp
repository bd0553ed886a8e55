#include "host/classes/form_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "host/classes/sysutils.h"

namespace host::formtext {

namespace {

constexpr int kMaxCodePoint = 0x10FFFF;
constexpr size_t kStringChunk = 64;  // bytes of printed string per line before a '+' break
constexpr size_t kBinaryLine = 32;   // bytes per line of printed binary data

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Words that open or close a block at object level, so they cannot name a property.
bool IsReservedWord(std::string_view s) {
  return SameWord(s, "object") || SameWord(s, "end") || SameWord(s, "inherited") || SameWord(s, "inline") ||
         SameWord(s, "item");
}

// Input quoted in a message: printable ASCII as it stands, any other byte as #n, so a
// damaged file cannot put control characters or broken UTF-8 into the message.
std::string Quote(std::string_view s) {
  std::string out = "'";
  for (const char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 32 && b < 127) {
      out += ch;
    } else {
      out += '#';
      out += std::to_string(b);
    }
  }
  return out + "'";
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& source) : text_(text), source_(source) {}

  Object ParseForm() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipBlank();
    if (AtEnd()) Fail("Expected 'object' but the text holds no form");
    const int line = line_;
    if (!IsIdentStart(Peek())) Fail("Expected 'object' at the start of the form but found " + Found());
    const std::string word = ReadDottedPath();
    if (!SameWord(word, "object")) {
      RefuseBlockWord(word);
      Fail("Expected 'object' at the start of the form but found " + Quote(word));
    }
    Object root = ParseObject(1, line);
    SkipBlank();
    if (!AtEnd()) Fail("Unexpected text after the end of the form");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    // At the very end a final line break would name a line that holds nothing.
    int line = line_;
    if (AtEnd() && line > 1 && !text_.empty() && text_.back() == '\n') --line;
    throw EReadError(source_ + "(" + std::to_string(line) + "): " + what);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
  bool AtLineEnd() const { return AtEnd() || Peek() == '\n'; }

  // What stands at the current position, for "but found ..." in messages.
  std::string Found() const {
    if (AtEnd()) return "the end of the text";
    if (Peek() == '\n' || Peek() == '\r') return "the end of the line";
    size_t n = 0;
    if (IsIdentStart(Peek())) {
      while (IsIdentChar(Peek(n))) ++n;
    } else {
      n = 1;
    }
    return Quote(text_.substr(pos_, std::min<size_t>(n, 32)));
  }

  // Spaces, tabs and a comment up to (not over) the line break.
  void SkipSpaces() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && Peek(1) == '/') {
        while (!AtEnd() && Peek() != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  // Whitespace, comments and line breaks.
  void SkipBlank() {
    for (;;) {
      SkipSpaces();
      if (AtEnd() || Peek() != '\n') return;
      ++pos_;
      ++line_;
    }
  }

  void ExpectLineEnd(const std::string& after) {
    SkipSpaces();
    if (!AtLineEnd()) Fail("Unexpected text " + Found() + " " + after);
  }

  std::string ReadIdent() {
    const size_t start = pos_;
    while (IsIdentChar(Peek())) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string ReadDottedPath() {
    std::string path = ReadIdent();
    while (Peek() == '.') {
      ++pos_;
      if (!IsIdentStart(Peek())) Fail("Expected a name after '.' in " + Quote(path + "."));
      path += '.';
      path += ReadIdent();
    }
    return path;
  }

  // Block kinds of other dialects that this reader knows by name but does not take.
  void RefuseBlockWord(std::string_view word) const {
    if (SameWord(word, "inherited") || SameWord(word, "inline"))
      Fail("'" + std::string(word) + "' blocks are not supported; only 'object' blocks can be read");
    if (SameWord(word, "item")) Fail("Collection items ('item') are not supported");
  }

  static std::string Label(const Object& o) { return o.name.empty() ? o.class_name : o.name; }

  // Reads the rest of an object block; the `object` keyword on `line` is already read.
  Object ParseObject(int depth, int line) {
    if (depth > kMaxDepth) Fail("Nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    Object obj;
    obj.line = line;
    SkipSpaces();
    if (!IsIdentStart(Peek()))
      Fail("Expected an object name or class name after 'object' but found " + Found());
    std::string first = ReadIdent();
    SkipSpaces();
    if (Peek() == ':') {
      ++pos_;
      SkipSpaces();
      if (!IsIdentStart(Peek())) Fail("Expected a class name after '" + first + ":' but found " + Found());
      obj.name = std::move(first);
      obj.class_name = ReadIdent();
    } else {
      obj.class_name = std::move(first);
    }
    ExpectLineEnd("after the header of object " + Label(obj));

    for (;;) {
      SkipBlank();
      if (AtEnd()) {
        Fail("Missing 'end' for object " + Label(obj) + " (opened on line " + std::to_string(line) + ")");
      }
      const int item_line = line_;
      if (Peek() == '<') Fail("Collection items ('<') are not supported");
      if (!IsIdentStart(Peek())) {
        Fail("Expected a property name, 'object' or 'end' in object " + Label(obj) + " but found " + Found());
      }
      std::string path = ReadDottedPath();
      if (path.find('.') == std::string::npos) {
        if (SameWord(path, "end")) {
          ExpectLineEnd("after 'end' of object " + Label(obj));
          return obj;
        }
        if (SameWord(path, "object")) {
          obj.children.push_back(ParseObject(depth + 1, item_line));
          continue;
        }
        RefuseBlockWord(path);
      }
      SkipSpaces();
      if (Peek() != '=') Fail("Expected '=' after property name " + path);
      ++pos_;
      SkipSpaces();
      if (AtLineEnd()) Fail("Expected a value after '" + path + " ='");
      Property prop;
      prop.line = item_line;
      prop.value = ParseValue(1);
      ExpectLineEnd("after the value of " + path);
      prop.name = std::move(path);
      obj.properties.push_back(std::move(prop));
    }
  }

  // `depth` counts the lists this value sits in, plus one.
  Value ParseValue(int depth) {
    const int line = line_;
    const char c = Peek();
    Value v;
    if (c == '\'' || c == '#') {
      v = Value::Str(ParseString());
    } else if (c == '[') {
      v = ParseSet();
    } else if (c == '(') {
      v = ParseList(depth);
    } else if (c == '{') {
      v = ParseBinary();
    } else if (IsDigit(c) || c == '-' || c == '+' || c == '$') {
      v = ParseNumber();
    } else if (IsIdentStart(c)) {
      std::string word = ReadDottedPath();
      SkipSpaces();
      // `file` names a resource only when a name follows on the same line; alone it is an
      // ordinary identifier, which keeps every identifier printable.
      if (SameWord(word, "file") && (Peek() == '\'' || Peek() == '#')) {
        v = Value::File(ParseString());
      } else {
        v = Value::Ident(std::move(word));
      }
    } else if (c == '<') {
      Fail("Collection items ('<') are not supported");
    } else {
      Fail("Expected a value but found " + Found());
    }
    v.line = line;
    return v;
  }

  // Quoted parts, #n codes and `+` continuations, up to the first thing that is none of them.
  std::string ParseString() {
    std::string out;
    for (;;) {
      if (Peek() == '\'') {
        ++pos_;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("Unterminated string");
          if (Peek() == '\'') {
            if (Peek(1) != '\'') break;
            ++pos_;
          }
          out += Peek();
          ++pos_;
        }
        ++pos_;
      } else if (Peek() == '#') {
        AppendUtf8(out, ReadCharCode());
      } else {
        SkipSpaces();
        if (Peek() != '+') return out;
        ++pos_;
        SkipBlank();
        if (Peek() != '\'' && Peek() != '#') Fail("Expected a string after '+' but found " + Found());
      }
    }
  }

  uint32_t ReadCharCode() {
    const size_t start = pos_;
    ++pos_;  // '#'
    const bool hex = Peek() == '$';
    if (hex) ++pos_;
    uint32_t code = 0;
    size_t digits = 0;
    for (;; ++pos_, ++digits) {
      const int d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
      if (d < 0) break;
      // Capped so a long run of digits cannot overflow; anything above the cap is refused.
      code = std::min<uint32_t>(code * (hex ? 16 : 10) + static_cast<uint32_t>(d), kMaxCodePoint + 1);
    }
    while (IsIdentChar(Peek()) && pos_ - start < 32) ++pos_;
    const std::string text(text_.substr(start, pos_ - start));
    if (digits == 0 || IsIdentChar(Peek()) || text.size() != (hex ? 2 : 1) + digits) {
      Fail("Invalid character code " + Quote(text));
    }
    if (code > kMaxCodePoint) Fail("Character code out of range " + Quote(text));
    if (code >= 0xD800 && code <= 0xDFFF)
      Fail("Character code " + Quote(text) + " is a surrogate, not a character");
    return code;
  }

  Value ParseSet() {
    const int open_line = line_;
    ++pos_;  // '['
    std::vector<std::string> names;
    SkipBlank();
    if (Peek() == ']') {
      ++pos_;
      return Value::SetOf({});
    }
    for (;;) {
      SkipBlank();
      if (AtEnd()) Fail("Missing ']' for the set opened on line " + std::to_string(open_line));
      if (!IsIdentStart(Peek())) Fail("Expected an identifier in the set but found " + Found());
      names.push_back(ReadIdent());
      SkipBlank();
      if (AtEnd()) Fail("Missing ']' for the set opened on line " + std::to_string(open_line));
      if (Peek() == ']') {
        ++pos_;
        return Value::SetOf(std::move(names));
      }
      if (Peek() != ',') Fail("Expected ',' or ']' in the set but found " + Found());
      ++pos_;
    }
  }

  Value ParseList(int depth) {
    if (depth > kMaxDepth) Fail("Nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    const int open_line = line_;
    ++pos_;  // '('
    std::vector<Value> items;
    for (;;) {
      SkipBlank();
      if (AtEnd()) Fail("Missing ')' for the list opened on line " + std::to_string(open_line));
      if (Peek() == ')') {
        ++pos_;
        return Value::ListOf(std::move(items));
      }
      items.push_back(ParseValue(depth + 1));
    }
  }

  Value ParseBinary() {
    const int open_line = line_;
    ++pos_;  // '{'
    std::vector<uint8_t> bytes;
    int high = -1;
    for (;;) {
      SkipBlank();
      if (AtEnd()) Fail("Missing '}' for the binary data opened on line " + std::to_string(open_line));
      if (Peek() == '}') break;
      const int d = HexValue(Peek());
      if (d < 0) Fail("Invalid character " + Quote(text_.substr(pos_, 1)) + " in binary data");
      ++pos_;
      if (high < 0) {
        high = d;
      } else {
        bytes.push_back(static_cast<uint8_t>(high * 16 + d));
        high = -1;
      }
    }
    if (high >= 0) Fail("Odd number of hex digits in binary data");
    ++pos_;
    return Value::Bytes(std::move(bytes));
  }

  Value ParseNumber() {
    // The token runs over everything a number could be made of, so "12ab" is reported
    // whole instead of as a number followed by stray text.
    const size_t start = pos_;
    if (Peek() == '-' || Peek() == '+') ++pos_;
    const bool hex = Peek() == '$';
    if (hex) ++pos_;
    for (;;) {
      const char c = Peek();
      if (IsIdentChar(c) || c == '.' || c == '$') {
        ++pos_;
      } else if ((c == '+' || c == '-') && !hex && pos_ > start &&
                 (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E')) {
        ++pos_;
      } else {
        break;
      }
    }
    const std::string_view token = text_.substr(start, pos_ - start);
    const bool negative = token[0] == '-';
    const size_t sign = (token[0] == '-' || token[0] == '+') ? 1 : 0;
    if (hex) return Value::Int(ParseHex(token, sign, negative));

    // [sign] digits [. digits] [E [sign] digits]
    std::string_view body = token.substr(sign);
    size_t i = 0;
    auto digits = [&] {
      const size_t from = i;
      while (i < body.size() && IsDigit(body[i])) ++i;
      return i > from;
    };
    bool ok = digits();
    bool real = false;
    if (ok && i < body.size() && body[i] == '.') {
      ++i;
      real = true;
      ok = digits();
    }
    if (ok && i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
      ++i;
      real = true;
      if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
      ok = digits();
    }
    if (!ok || i != body.size()) Fail("Invalid number " + Quote(token));

    // from_chars takes a '-' but no '+', and reads the same whatever the locale says.
    const std::string_view plain = token[0] == '+' ? token.substr(1) : token;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    if (real) {
      double d = 0;
      const auto r = std::from_chars(first, last, d);
      if (r.ec == std::errc::result_out_of_range) Fail("Number out of range " + Quote(token));
      if (r.ec != std::errc() || r.ptr != last) Fail("Invalid number " + Quote(token));
      return Value::Real(d);
    }
    int64_t n = 0;
    const auto r = std::from_chars(first, last, n);
    if (r.ec == std::errc::result_out_of_range) Fail("Integer out of range " + Quote(token));
    if (r.ec != std::errc() || r.ptr != last) Fail("Invalid number " + Quote(token));
    return Value::Int(n);
  }

  // Up to 16 hex digits give the 64 bits as they stand ($FFFFFFFFFFFFFFFF is -1); a minus
  // sign negates them in two's complement.
  int64_t ParseHex(std::string_view token, size_t sign, bool negative) const {
    std::string_view digits = token.substr(sign + 1);
    if (digits.empty()) Fail("Invalid number " + Quote(token));
    for (const char c : digits) {
      if (HexValue(c) < 0) Fail("Invalid number " + Quote(token));
    }
    while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
    if (digits.size() > 16) Fail("Integer out of range " + Quote(token));
    uint64_t u = 0;
    for (const char c : digits) u = u * 16 + static_cast<uint64_t>(HexValue(c));
    if (negative) u = 0 - u;
    return static_cast<int64_t>(u);
  }

  std::string_view text_;
  const std::string& source_;
  size_t pos_ = 0;
  int line_ = 1;
};

// ---- printing ----

class Printer {
 public:
  std::string Take() { return std::move(out_); }

  void PrintObject(const Object& o, int depth) {
    if (depth > kMaxDepth) Fail("Nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    if (!o.name.empty() && !IsIdent(o.name)) Fail("Invalid object name " + Quote(o.name));
    if (!IsIdent(o.class_name)) Fail("Invalid class name " + Quote(o.class_name) + " of object " + o.name);
    Indent(depth - 1);
    out_ += "object ";
    if (!o.name.empty()) out_ += o.name + ": ";
    out_ += o.class_name + "\n";
    for (const Property& p : o.properties) {
      if (!IsDottedPath(p.name)) Fail("Invalid property name " + Quote(p.name));
      if (IsReservedWord(p.name)) Fail("Property name " + p.name + " is a reserved word");
      property_ = &p.name;
      Indent(depth);
      out_ += p.name + " = ";
      PrintValue(p.value, depth, 1);
      out_ += '\n';
    }
    for (const Object& child : o.children) PrintObject(child, depth + 1);
    Indent(depth - 1);
    out_ += "end\n";
  }

 private:
  [[noreturn]] static void Fail(const std::string& what) { throw EWriteError(what); }

  void Indent(int level) { out_.append(static_cast<size_t>(level) * 2, ' '); }

  // `level` is the indent of the line the value starts on; continuation lines go one deeper.
  void PrintValue(const Value& v, int level, int depth) {
    switch (v.kind) {
      case ValueKind::Ident:
        if (!IsDottedPath(v.text))
          Fail("Invalid identifier " + Quote(v.text) + " in the value of " + *property_);
        out_ += v.text;
        break;
      case ValueKind::Integer: out_ += std::to_string(v.integer); break;
      case ValueKind::Float: PrintReal(v.real); break;
      case ValueKind::String: PrintString(v.text, level + 1); break;
      case ValueKind::Set:
        out_ += '[';
        for (size_t i = 0; i < v.idents.size(); ++i) {
          if (!IsIdent(v.idents[i]))
            Fail("Invalid set element " + Quote(v.idents[i]) + " in the value of " + *property_);
          if (i > 0) out_ += ", ";
          out_ += v.idents[i];
        }
        out_ += ']';
        break;
      case ValueKind::List:
        if (depth > kMaxDepth) Fail("Nesting deeper than " + std::to_string(kMaxDepth) + " levels");
        out_ += '(';
        for (const Value& item : v.items) {
          out_ += '\n';
          Indent(level + 1);
          PrintValue(item, level + 1, depth + 1);
        }
        out_ += ')';
        break;
      case ValueKind::Binary: PrintBinary(v.bytes, level + 1); break;
      case ValueKind::FileRef:
        out_ += "file ";
        PrintString(v.text, level + 1);
        break;
    }
  }

  void PrintReal(double d) {
    if (!std::isfinite(d))
      Fail("The value of " + *property_ + " is not a finite number and has no text form");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    std::string s(buf, r.ptr);
    bool marked = false;
    for (char& c : s) {
      if (c == 'e') c = 'E';
      if (c == '.' || c == 'E') marked = true;
    }
    // Without a point or exponent it would read back as an integer.
    if (!marked) s += ".0";
    out_ += s;
  }

  void PrintString(const std::string& s, int continuation_level) {
    if (s.empty()) {
      out_ += "''";
      return;
    }
    bool quoted = false;
    size_t chunk = 0;
    for (const char ch : s) {
      const auto b = static_cast<unsigned char>(ch);
      // Breaks only where a character starts, never inside a UTF-8 sequence.
      if (chunk >= kStringChunk && (b & 0xC0) != 0x80) {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += " +\n";
        Indent(continuation_level);
        chunk = 0;
      }
      const size_t before = out_.size();
      if (b < 32 || b == 127) {
        if (quoted) out_ += '\'';
        quoted = false;
        out_ += '#';
        out_ += std::to_string(b);
      } else {
        if (!quoted) out_ += '\'';
        quoted = true;
        out_ += ch;
        if (ch == '\'') out_ += '\'';
      }
      chunk += out_.size() - before;
    }
    if (quoted) out_ += '\'';
  }

  void PrintBinary(const std::vector<uint8_t>& bytes, int level) {
    static const char kHex[] = "0123456789ABCDEF";
    out_ += '{';
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % kBinaryLine == 0) {
        out_ += '\n';
        Indent(level);
      }
      out_ += kHex[bytes[i] >> 4];
      out_ += kHex[bytes[i] & 15];
    }
    out_ += '}';
  }

  std::string out_;
  const std::string* property_ = nullptr;
};

}  // namespace

Value Value::Ident(std::string name) {
  Value v;
  v.kind = ValueKind::Ident;
  v.text = std::move(name);
  return v;
}

Value Value::Int(int64_t n) {
  Value v;
  v.kind = ValueKind::Integer;
  v.integer = n;
  return v;
}

Value Value::Real(double d) {
  Value v;
  v.kind = ValueKind::Float;
  v.real = d;
  return v;
}

Value Value::Str(std::string s) {
  Value v;
  v.kind = ValueKind::String;
  v.text = std::move(s);
  return v;
}

Value Value::SetOf(std::vector<std::string> names) {
  Value v;
  v.kind = ValueKind::Set;
  v.idents = std::move(names);
  return v;
}

Value Value::ListOf(std::vector<Value> values) {
  Value v;
  v.kind = ValueKind::List;
  v.items = std::move(values);
  return v;
}

Value Value::Bytes(std::vector<uint8_t> data) {
  Value v;
  v.kind = ValueKind::Binary;
  v.bytes = std::move(data);
  return v;
}

Value Value::File(std::string name) {
  Value v;
  v.kind = ValueKind::FileRef;
  v.text = std::move(name);
  return v;
}

Object Parse(std::string_view text, const std::string& source) { return Parser(text, source).ParseForm(); }

std::string Print(const Object& root) {
  Printer printer;
  printer.PrintObject(root, 1);
  return printer.Take();
}

bool IsIdent(std::string_view s) {
  if (s.empty() || !IsIdentStart(s[0])) return false;
  for (const char c : s) {
    if (!IsIdentChar(c)) return false;
  }
  return true;
}

bool IsDottedPath(std::string_view s) {
  for (;;) {
    const size_t dot = s.find('.');
    if (!IsIdent(s.substr(0, dot))) return false;
    if (dot == std::string_view::npos) return true;
    s.remove_prefix(dot + 1);
  }
}

std::string Describe(ValueKind kind) {
  switch (kind) {
    case ValueKind::Ident: return "identifier";
    case ValueKind::Integer: return "integer";
    case ValueKind::Float: return "floating point number";
    case ValueKind::String: return "string";
    case ValueKind::Set: return "set";
    case ValueKind::List: return "list";
    case ValueKind::Binary: return "binary data";
    case ValueKind::FileRef: return "file reference";
  }
  return "value";
}

}  // namespace host::formtext
