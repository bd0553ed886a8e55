#include "host/classes/form_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "host/classes/sysutils.h"

using namespace host::formtext;

namespace {

// A tree written out with every detail that matters (floats by their bits, strings byte by
// byte), so two trees compare as strings and a mismatch shows where.
std::string Dump(const Value& v, bool lines);

std::string DumpText(const std::string& s) {
  std::string out = "\"";
  for (const char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 32 && b < 127 && c != '"' && c != '\\') {
      out += c;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      out += buf;
    }
  }
  return out + "\"";
}

std::string Dump(const Value& v, bool lines) {
  std::string out = lines ? "@" + std::to_string(v.line) + " " : "";
  switch (v.kind) {
    case ValueKind::Ident: return out + "ident " + v.text;
    case ValueKind::Integer: return out + "int " + std::to_string(v.integer);
    case ValueKind::Float: {
      char buf[64];
      uint64_t bits;
      std::memcpy(&bits, &v.real, 8);
      std::snprintf(buf, sizeof buf, "real %a (%016llx)", v.real, static_cast<unsigned long long>(bits));
      return out + buf;
    }
    case ValueKind::String: return out + "str " + DumpText(v.text);
    case ValueKind::FileRef: return out + "file " + DumpText(v.text);
    case ValueKind::Set:
      out += "set [";
      for (const auto& s : v.idents) out += s + ";";
      return out + "]";
    case ValueKind::List:
      out += "list (";
      for (const auto& item : v.items) out += Dump(item, lines) + "; ";
      return out + ")";
    case ValueKind::Binary:
      out += "bin {";
      for (const uint8_t b : v.bytes) out += std::to_string(b) + " ";
      return out + "}";
  }
  return out + "?";
}

std::string Dump(const Object& o, bool lines, int level = 0) {
  const std::string pad(static_cast<size_t>(level) * 2, ' ');
  std::string out = pad + "object " + o.name + ":" + o.class_name;
  if (lines) out += " @" + std::to_string(o.line);
  out += "\n";
  for (const auto& p : o.properties) {
    out += pad + "  " + p.name + (lines ? " @" + std::to_string(p.line) : "") + " = " + Dump(p.value, lines) +
           "\n";
  }
  for (const auto& c : o.children) out += Dump(c, lines, level + 1);
  return out;
}

Value At(Value v, int line) {
  v.line = line;
  return v;
}

Property Prop(std::string name, Value v, int line = 0) {
  if (v.line == 0) v.line = line;
  return Property{std::move(name), std::move(v), line};
}

Object Obj(std::string name, std::string cls, std::vector<Property> props = {},
           std::vector<Object> children = {}, int line = 0) {
  Object o;
  o.name = std::move(name);
  o.class_name = std::move(cls);
  o.properties = std::move(props);
  o.children = std::move(children);
  o.line = line;
  return o;
}

std::string ParseError(const std::string& text) {
  try {
    Parse(text, "t.txt");
  } catch (const host::EReadError& e) {
    return e.what();
  }
  return "(parsed)";
}

std::string PrintError(const Object& o) {
  try {
    Print(o);
  } catch (const host::EWriteError& e) {
    return e.what();
  }
  return "(printed)";
}

// Exercises every kind of value, nesting and continuation.
const char kSample[] =
    "\xEF\xBB\xBF// sample\r\n"
    "object MainForm: TMainForm\r\n"
    "  Caption = 'Show''s'#13#10'second' + // joined\r\n"
    "    #$263A'\xC3\xA9'\r\n"
    "  Font.Style = [fsBold, fsItalic]\r\n"
    "  Left = -$10\r\n"
    "  Ratio = -2.5E-3\r\n"
    "  Lines.Strings = (\r\n"
    "    'one'\r\n"
    "    ( 1 [a] {0A} )\r\n"
    "    file 'x.bmp')\r\n"
    "  Picture.Data = {\r\n"
    "    0A0B 0c\r\n"
    "    FF}\r\n"
    "  object Clock1: TZYRClock\r\n"
    "    Enabled = False\r\n"
    "  end\r\n"
    "end\r\n";

}  // namespace

TEST(FormText, GoodInputsGiveTheExpectedTreesWithLines) {
  struct Case {
    const char* text;
    Object tree;
  };
  const std::vector<Case> cases = {
      {kSample, Obj("MainForm", "TMainForm",
                    {Prop("Caption", Value::Str("Show's\r\nsecond\xE2\x98\xBA\xC3\xA9"), 3),
                     Prop("Font.Style", Value::SetOf({"fsBold", "fsItalic"}), 5),
                     Prop("Left", Value::Int(-16), 6), Prop("Ratio", Value::Real(-2.5e-3), 7),
                     Prop("Lines.Strings",
                          Value::ListOf({At(Value::Str("one"), 9),
                                         At(Value::ListOf({At(Value::Int(1), 10), At(Value::SetOf({"a"}), 10),
                                                           At(Value::Bytes({10}), 10)}),
                                            10),
                                         At(Value::File("x.bmp"), 11)}),
                          8),
                     Prop("Picture.Data", Value::Bytes({0x0A, 0x0B, 0x0C, 0xFF}), 12)},
                    {Obj("Clock1", "TZYRClock", {Prop("Enabled", Value::Ident("False"), 16)}, {}, 15)}, 2)},
      // Keywords in any case; an unnamed object; `file` alone is an identifier.
      {"OBJECT TForm\n  A = FILE 'a'\n  B = file\n  C = Frame1.Edit1\n  Object X: TX\n  END\nEnd",
       Obj("", "TForm",
           {Prop("A", Value::File("a"), 2), Prop("B", Value::Ident("file"), 3),
            Prop("C", Value::Ident("Frame1.Edit1"), 4)},
           {Obj("X", "TX", {}, {}, 5)}, 1)},
      // Properties after a child keep file order among themselves; blank lines and comments count.
      {"\n\nobject A: T // head\n  P1 = 1\n\n  object B: T\n  end\n  // note\n  P2 = 2\nend\n\n// tail\n",
       Obj("A", "T", {Prop("P1", Value::Int(1), 4), Prop("P2", Value::Int(2), 9)}, {Obj("B", "T", {}, {}, 6)},
           3)},
      {"object A: T\n"
       "  I1 = 0\n  I2 = +7\n  I3 = $ff\n  I4 = $FFFFFFFFFFFFFFFF\n"
       "  I5 = 9223372036854775807\n  I6 = -9223372036854775808\n  I7 = $00000000000000000001\n"
       "  I8 = -$8000000000000000\n"
       "end",
       Obj("A", "T",
           {Prop("I1", Value::Int(0), 2), Prop("I2", Value::Int(7), 3), Prop("I3", Value::Int(255), 4),
            Prop("I4", Value::Int(-1), 5), Prop("I5", Value::Int(INT64_MAX), 6),
            Prop("I6", Value::Int(INT64_MIN), 7), Prop("I7", Value::Int(1), 8),
            Prop("I8", Value::Int(INT64_MIN), 9)},
           {}, 1)},
      {"object A: T\n  F1 = 1.25\n  F2 = 1E5\n  F3 = +0.5\n  F4 = -0.0\n  F5 = 4.9E-324\n  F6 = 1e+2\nend",
       Obj("A", "T",
           {Prop("F1", Value::Real(1.25), 2), Prop("F2", Value::Real(1e5), 3),
            Prop("F3", Value::Real(0.5), 4), Prop("F4", Value::Real(-0.0), 5),
            Prop("F5", Value::Real(4.9e-324), 6), Prop("F6", Value::Real(100), 7)},
           {}, 1)},
      {"object A: T\n"
       "  S1 = ''\n  S2 = #0#127#$7f\n  S3 = #128#255#$10FFFF\n  S4 = 'tab\there'\n"
       "  S5 = 'a' +\n\n    // between\n    'b'+'c'\n  S6 = ''''\nend",
       Obj("A", "T",
           {Prop("S1", Value::Str(""), 2), Prop("S2", Value::Str(std::string("\0\x7F\x7F", 3)), 3),
            Prop("S3", Value::Str("\xC2\x80\xC3\xBF\xF4\x8F\xBF\xBF"), 4),
            Prop("S4", Value::Str("tab\there"), 5), Prop("S5", Value::Str("abc"), 6),
            Prop("S6", Value::Str("'"), 10)},
           {}, 1)},
      {"object A: T\n  E1 = []\n  E2 = [ a ,\n    b]\n  E3 = ()\n  E4 = {}\n  E5 = ((()))\nend",
       Obj("A", "T",
           {Prop("E1", Value::SetOf({}), 2), Prop("E2", Value::SetOf({"a", "b"}), 3),
            Prop("E3", Value::ListOf({}), 5), Prop("E4", Value::Bytes({}), 6),
            Prop("E5", Value::ListOf({At(Value::ListOf({At(Value::ListOf({}), 7)}), 7)}), 7)},
           {}, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Dump(Parse(c.text, "t.txt"), true), Dump(c.tree, true));
  }
}

TEST(FormText, DamagedInputsNameTheLineAndTheFault) {
  const std::string deep_objects = [] {
    std::string s;
    for (int i = 0; i < 65; ++i) s += "object T\n";
    return s;
  }();
  const std::string deep_lists =
      "object A: T\n  L = " + std::string(65, '(') + std::string(65, ')') + "\nend";
  const std::string ok_lists = "object A: T\n  L = " + std::string(64, '(') + std::string(64, ')') + "\nend";
  EXPECT_EQ(ParseError(ok_lists), "(parsed)");

  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", "t.txt(1): Expected 'object' but the text holds no form"},
      {"\n// only a comment\n", "t.txt(2): Expected 'object' but the text holds no form"},
      {"object A: T\n  Caption = 'abc\nend\n", "t.txt(2): Unterminated string"},
      {"object A: T\r\n  Caption = 'abc\r\nend\r\n", "t.txt(2): Unterminated string"},
      {"object A: T\n  Caption = 'abc", "t.txt(2): Unterminated string"},
      {"object A: T\n  Caption 'x'\nend", "t.txt(2): Expected '=' after property name Caption"},
      {"object A: T\n\n\n  object Panel1: TPanel\n    Left = 1\n",
       "t.txt(5): Missing 'end' for object Panel1 (opened on line 4)"},
      {"object TForm\n", "t.txt(1): Missing 'end' for object TForm (opened on line 1)"},
      {"object A: T\n  Left = 12ab\nend", "t.txt(2): Invalid number '12ab'"},
      {"object A: T\n  Left = 1.\nend", "t.txt(2): Invalid number '1.'"},
      {"object A: T\n  Left = -\nend", "t.txt(2): Invalid number '-'"},
      {"object A: T\n  Left = $\nend", "t.txt(2): Invalid number '$'"},
      {"object A: T\n  Left = $FG\nend", "t.txt(2): Invalid number '$FG'"},
      {"object A: T\n  Left = 1E\nend", "t.txt(2): Invalid number '1E'"},
      {"object A: T\n  Left = 9223372036854775808\nend",
       "t.txt(2): Integer out of range '9223372036854775808'"},
      {"object A: T\n  Left = $10000000000000000\nend",
       "t.txt(2): Integer out of range '$10000000000000000'"},
      {"object A: T\n  Left = 1E999\nend", "t.txt(2): Number out of range '1E999'"},
      {"object A: T\n  Left = -1E-400\nend", "t.txt(2): Number out of range '-1E-400'"},
      {"object A: T\n  D = {\n    0A0\n  }\nend", "t.txt(4): Odd number of hex digits in binary data"},
      {"object A: T\n  D = {0G}\nend", "t.txt(2): Invalid character 'G' in binary data"},
      {"object A: T\n  D = {\n  0A\n", "t.txt(3): Missing '}' for the binary data opened on line 2"},
      {"object A: T\n  L = (\n  1\n", "t.txt(3): Missing ')' for the list opened on line 2"},
      {"object A: T\n  S = [a,\n", "t.txt(2): Missing ']' for the set opened on line 2"},
      {"object A: T\n  S = [a,]\nend", "t.txt(2): Expected an identifier in the set but found ']'"},
      {"object A: T\n  S = [a b]\nend", "t.txt(2): Expected ',' or ']' in the set but found 'b'"},
      {"object A: T\n  S = [1]\nend", "t.txt(2): Expected an identifier in the set but found '1'"},
      {"object A: T\n  S = [a.b]\nend", "t.txt(2): Expected ',' or ']' in the set but found '.'"},
      {deep_objects, "t.txt(65): Nesting deeper than 64 levels"},
      {deep_lists, "t.txt(2): Nesting deeper than 64 levels"},
      {"object A: T\nend\nobject B: T\nend\n", "t.txt(3): Unexpected text after the end of the form"},
      {"inherited A: T\nend",
       "t.txt(1): 'inherited' blocks are not supported; only 'object' blocks can be read"},
      {"object A: T\n  inline B: T\n  end\nend",
       "t.txt(2): 'inline' blocks are not supported; only 'object' blocks can be read"},
      {"object A: T\n  item\n  end\nend", "t.txt(2): Collection items ('item') are not supported"},
      {"object A: T\n  Items = <\n  item\n  end>\nend", "t.txt(2): Collection items ('<') are not supported"},
      {"form A: T\nend", "t.txt(1): Expected 'object' at the start of the form but found 'form'"},
      {"object A: T\n  Caption =\nend", "t.txt(2): Expected a value after 'Caption ='"},
      {"object A: T\n  Caption = // none\nend", "t.txt(2): Expected a value after 'Caption ='"},
      {"object A: T\n  Left = 1 2\nend", "t.txt(2): Unexpected text '2' after the value of Left"},
      {"object A: T\n  S = 'a' 'b'\nend", "t.txt(2): Unexpected text ''' after the value of S"},
      {"object A: T\n  S = 'a' +\n  Left = 1\nend", "t.txt(3): Expected a string after '+' but found 'Left'"},
      {"object A: T\n  S = #1114112\nend", "t.txt(2): Character code out of range '#1114112'"},
      {"object A: T\n  S = #99999999999999999999\nend",
       "t.txt(2): Character code out of range '#99999999999999999999'"},
      {"object A: T\n  S = #$D800\nend", "t.txt(2): Character code '#$D800' is a surrogate, not a character"},
      {"object A: T\n  S = #\nend", "t.txt(2): Invalid character code '#'"},
      {"object A: T\n  S = #$'a'\nend", "t.txt(2): Invalid character code '#$'"},
      {"object A: T\n  S = #13a\nend", "t.txt(2): Invalid character code '#13a'"},
      {"object A: T\n  S = ?\nend", "t.txt(2): Expected a value but found '?'"},
      {"object\nend",
       "t.txt(1): Expected an object name or class name after 'object' but found the end of the line"},
      {"object A:\nend", "t.txt(1): Expected a class name after 'A:' but found the end of the line"},
      {"object A: T X\nend", "t.txt(1): Unexpected text 'X' after the header of object A"},
      {"object A: T\nend end", "t.txt(2): Unexpected text 'end' after 'end' of object A"},
      {"object A: T\n  Font. = 1\nend", "t.txt(2): Expected a name after '.' in 'Font.'"},
      {"object A: T\n  \x01 = 1\nend",
       "t.txt(2): Expected a property name, 'object' or 'end' in object A but found '#1'"},
      {"object A: T\n  = 1\nend",
       "t.txt(2): Expected a property name, 'object' or 'end' in object A but found '='"},
      {"\xEF\xBB object A: T\nend", "t.txt(1): Expected 'object' at the start of the form but found '#239'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseError(c.text), c.message);
  }
}

TEST(FormText, EveryPrefixAndEveryDamagedByteIsRefusedOrRead) {
  const std::string sample = kSample;
  EXPECT_NO_THROW(Parse(sample, "t.txt"));
  int parsed = 0;
  for (size_t n = 0; n < sample.size(); ++n) {
    try {
      Parse(std::string_view(sample).substr(0, n), "t.txt");
      ++parsed;
    } catch (const host::EReadError& e) {
      ASSERT_EQ(std::string(e.what()).rfind("t.txt(", 0), 0u) << e.what();
    } catch (...) {
      FAIL() << "prefix of " << n << " bytes raised something other than EReadError";
    }
  }
  // Only the cuts inside the final line break leave a whole form.
  EXPECT_EQ(parsed, 2);
  const char kNasty[] = {'\'', '#', '$',  '(',  ')',    '{', '}', '[',
                         ']',  '+', '\n', '\0', '\xFF', '/', '=', 'e'};
  for (size_t i = 0; i < sample.size(); ++i) {
    for (const char c : kNasty) {
      std::string damaged = sample;
      damaged[i] = c;
      try {
        const Object tree = Parse(damaged, "t.txt");
        EXPECT_EQ(Print(Parse(Print(tree), "again")), Print(tree));
      } catch (const host::EReadError&) {
      } catch (...) {
        FAIL() << "byte " << i << " set to " << int(c) << " raised something other than EReadError";
      }
    }
  }
}

TEST(FormText, PrintsTheCanonicalLayout) {
  const std::string long_text(70, 'x');
  std::vector<uint8_t> data(40);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  const Object tree =
      Obj("MainForm", "TMainForm",
          {Prop("Caption", Value::Str("it's\r\nx\x7F")), Prop("Left", Value::Int(-8)),
           Prop("Ratio", Value::Real(1)), Prop("Big", Value::Real(1e300)), Prop("Small", Value::Real(0.1)),
           Prop("Style", Value::SetOf({"a", "b"})), Prop("Empty", Value::SetOf({})),
           Prop("Ref", Value::Ident("Frame1.Edit1")),
           Prop("Lines.Strings",
                Value::ListOf({Value::Str("one"), Value::ListOf({Value::Int(2)}), Value::ListOf({})})),
           Prop("Data", Value::Bytes(data)), Prop("None", Value::Bytes({})),
           Prop("Logo", Value::File("logo.bmp")), Prop("Long", Value::Str(long_text))},
          {Obj("", "TZYRClock", {}, {Obj("Inner", "TX")})});
  const std::string expected =
      "object MainForm: TMainForm\n"
      "  Caption = 'it''s'#13#10'x'#127\n"
      "  Left = -8\n"
      "  Ratio = 1.0\n"
      "  Big = 1E+300\n"
      "  Small = 0.1\n"
      "  Style = [a, b]\n"
      "  Empty = []\n"
      "  Ref = Frame1.Edit1\n"
      "  Lines.Strings = (\n"
      "    'one'\n"
      "    (\n"
      "      2)\n"
      "    ())\n"
      "  Data = {\n"
      "    00070E151C232A31383F464D545B626970777E858C939AA1A8AFB6BDC4CBD2D9\n"
      "    E0E7EEF5FC030A11}\n"
      "  None = {}\n"
      "  Logo = file 'logo.bmp'\n"
      "  Long = '" +
      std::string(63, 'x') +
      "' +\n"
      "    'xxxxxxx'\n"
      "  object TZYRClock\n"
      "    object Inner: TX\n"
      "    end\n"
      "  end\n"
      "end\n";
  EXPECT_EQ(Print(tree), expected);
  EXPECT_EQ(Dump(Parse(expected, "t.txt"), false), Dump(tree, false));
}

TEST(FormText, LongStringsBreakBetweenCharactersOnly) {
  std::string text;
  for (int i = 0; i < 50; ++i)
    text +=
        "\xE2\x98\xBA"
        "a";  // three-byte smiles between letters
  text += std::string(100, '\'');
  const std::string printed = Print(Obj("A", "T", {Prop("S", Value::Str(text))}));
  size_t breaks = 0;
  for (size_t at = printed.find("+\n"); at != std::string::npos; at = printed.find("+\n", at + 1)) {
    ++breaks;
    const size_t quote = printed.find_first_of("'#", at + 2);
    ASSERT_NE(quote, std::string::npos);
    ASSERT_NE(static_cast<unsigned char>(printed[quote + 1]) & 0xC0, 0x80) << "split inside a character";
    EXPECT_EQ(printed.substr(at + 2, 4), "    ");
  }
  EXPECT_GE(breaks, 5u);
  EXPECT_EQ(Parse(printed, "t.txt").properties.at(0).value.text, text);
}

TEST(FormText, PrintRefusesTreesWithNoTextForm) {
  const auto with = [](Value v) { return Obj("A", "T", {Prop("P", std::move(v))}); };
  EXPECT_EQ(PrintError(with(Value::Real(std::nan("")))),
            "The value of P is not a finite number and has no text form");
  EXPECT_EQ(PrintError(with(Value::Real(-INFINITY))),
            "The value of P is not a finite number and has no text form");
  EXPECT_EQ(PrintError(with(Value::Ident("a b"))), "Invalid identifier 'a b' in the value of P");
  EXPECT_EQ(PrintError(with(Value::SetOf({"a", "b.c"}))), "Invalid set element 'b.c' in the value of P");
  EXPECT_EQ(PrintError(Obj("A", "T", {Prop("End", Value::Int(1))})), "Property name End is a reserved word");
  EXPECT_EQ(PrintError(Obj("A", "T", {Prop("Font.", Value::Int(1))})), "Invalid property name 'Font.'");
  EXPECT_EQ(PrintError(Obj("1A", "T")), "Invalid object name '1A'");
  EXPECT_EQ(PrintError(Obj("A", "")), "Invalid class name '' of object A");
  Object deep = Obj("", "T");
  for (int i = 1; i < kMaxDepth; ++i) deep = Obj("", "T", {}, {deep});
  EXPECT_EQ(PrintError(deep), "(printed)");
  EXPECT_EQ(PrintError(Obj("", "T", {}, {deep})), "Nesting deeper than 64 levels");
  Value list = Value::ListOf({});
  for (int i = 1; i < kMaxDepth; ++i) list = Value::ListOf({list});
  EXPECT_EQ(PrintError(with(list)), "(printed)");
  EXPECT_EQ(PrintError(with(Value::ListOf({list}))), "Nesting deeper than 64 levels");
}

namespace {

// A random tree touching every value kind, awkward bytes and doubles of any bit pattern.
class TreeMaker {
 public:
  explicit TreeMaker(uint32_t seed) : rng_(seed) {}

  Object MakeObject(int depth) {
    Object o = Obj(Pick(3) == 0 ? "" : Name(), Name());
    const int props = Pick(6);
    for (int i = 0; i < props; ++i) {
      std::string path = Name();
      if (Pick(3) == 0) path += "." + Name();
      o.properties.push_back(Prop(path, MakeValue(1)));
    }
    if (depth < 4) {
      const int kids = Pick(3);
      for (int i = 0; i < kids; ++i) o.children.push_back(MakeObject(depth + 1));
    }
    return o;
  }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

  std::string Name() {
    static const char kFirst[] = "ABCxyz_";
    static const char kRest[] = "aZ09_q";
    std::string s(1, kFirst[Pick(7)]);
    const int n = Pick(8);
    for (int i = 0; i < n; ++i) s += kRest[Pick(6)];
    return s;
  }

  std::string Bytes() {
    std::string s;
    const int n = Pick(4) == 0 ? Pick(200) : Pick(12);
    static const char* const kPieces[] = {
        "'", "''", "\r\n", "\x7F", "\xC3\xA9", "\xE2\x98\xBA", "\xF0\x9F\x98\x80", "\x80", "\xFF",
        "#", "+",  " ",    "a",    "//"};
    for (int i = 0; i < n; ++i) {
      if (Pick(4) == 0) {
        s += static_cast<char>(Pick(256));
      } else {
        s += kPieces[Pick(14)];
      }
    }
    return s;
  }

  Value MakeValue(int depth) {
    switch (Pick(depth < 5 ? 9 : 8)) {
      case 0: return Value::Ident(Pick(5) == 0 ? "file" : Pick(2) ? Name() : Name() + "." + Name());
      case 1: {
        const int64_t n = static_cast<int64_t>((uint64_t{rng_()} << 32) | rng_());
        return Value::Int(Pick(2) ? n : n % 1000);
      }
      case 2: {
        double d;
        do {
          const uint64_t bits = (uint64_t{rng_()} << 32) | rng_();
          std::memcpy(&d, &bits, 8);
        } while (!std::isfinite(d));
        static const double kPlain[] = {0.0, -0.0, 1.0, 0.1, 1e21, 123456.0, -2.5e-3, 5e-324};
        return Value::Real(Pick(2) ? d : kPlain[Pick(8)]);
      }
      case 3: return Value::Str(Bytes());
      case 4: {
        std::vector<std::string> names(static_cast<size_t>(Pick(4)));
        for (auto& n : names) n = Name();
        return Value::SetOf(names);
      }
      case 5: {
        std::vector<uint8_t> data(static_cast<size_t>(Pick(3) == 0 ? Pick(100) : Pick(5)));
        for (auto& b : data) b = static_cast<uint8_t>(Pick(256));
        return Value::Bytes(data);
      }
      case 6: return Value::File(Bytes());
      case 7: return Value::Str("");
      default: {
        std::vector<Value> items(static_cast<size_t>(Pick(5)));
        for (auto& item : items) item = MakeValue(depth + 1);
        return Value::ListOf(std::move(items));
      }
    }
  }

  std::mt19937 rng_;
};

}  // namespace

TEST(FormText, RandomTreesSurvivePrintAndParse) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    const Object tree = TreeMaker(seed).MakeObject(1);
    const std::string text = Print(tree);
    Object back;
    try {
      back = Parse(text, "random");
    } catch (const host::EReadError& e) {
      FAIL() << "seed " << seed << ": " << e.what() << "\n" << text;
    }
    ASSERT_EQ(Dump(back, false), Dump(tree, false)) << "seed " << seed << "\n" << text;
    ASSERT_EQ(Print(back), text) << "seed " << seed;
  }
}

TEST(FormText, NamesAndDescriptions) {
  EXPECT_TRUE(IsIdent("_a1"));
  EXPECT_TRUE(IsIdent("clBtnFace"));
  EXPECT_FALSE(IsIdent(""));
  EXPECT_FALSE(IsIdent("1a"));
  EXPECT_FALSE(IsIdent("a.b"));
  EXPECT_FALSE(IsIdent("a-b"));
  EXPECT_FALSE(IsIdent("\xC3\xA9"));
  EXPECT_TRUE(IsDottedPath("Font.Name"));
  EXPECT_TRUE(IsDottedPath("A.b.C_1"));
  EXPECT_TRUE(IsDottedPath("A"));
  EXPECT_FALSE(IsDottedPath(""));
  EXPECT_FALSE(IsDottedPath("."));
  EXPECT_FALSE(IsDottedPath("Font."));
  EXPECT_FALSE(IsDottedPath(".Font"));
  EXPECT_FALSE(IsDottedPath("A..B"));
  EXPECT_FALSE(IsDottedPath("A.1B"));
  const std::pair<ValueKind, const char*> kinds[] = {{ValueKind::Ident, "identifier"},
                                                     {ValueKind::Integer, "integer"},
                                                     {ValueKind::Float, "floating point number"},
                                                     {ValueKind::String, "string"},
                                                     {ValueKind::Set, "set"},
                                                     {ValueKind::List, "list"},
                                                     {ValueKind::Binary, "binary data"},
                                                     {ValueKind::FileRef, "file reference"}};
  for (const auto& [kind, text] : kinds) EXPECT_EQ(Describe(kind), text);
}
