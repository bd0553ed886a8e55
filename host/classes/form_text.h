// The text form of stored components: a tree of `object Name: TClass ... end` blocks holding
// `Property = value` lines. This unit only knows the syntax (parse to a tree, print a tree);
// turning the tree into live components is the form reader's work (host/classes/filer.h).
//
//   object MainForm: TMainForm
//     Caption = 'Showrama'#13#10'second line'
//     Font.Style = [fsBold, fsItalic]
//     Color = clBtnFace
//     Left = -8
//     Ratio = 1.25
//     Lines.Strings = (
//       'one'
//       'two')
//     Picture.Data = {0A0B0C}
//     Logo.Data = file 'logo.bmp'
//     object Clock1: TZYRClock
//     end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host::formtext {

enum class ValueKind : uint8_t {
  Ident,    // True, clBtnFace, bvLowered, a component name (text)
  Integer,  // 12, -3, $FF (integer)
  Float,    // 1.5, -2.5E3 (real)
  String,   // 'it''s'#13#10'x' (text, decoded bytes)
  Set,      // [fsBold, fsItalic] (idents)
  List,     // ( 'a' 'b' ) (items; any values, nested lists too)
  Binary,   // { 0A0B } (bytes)
  FileRef,  // file 'logo.bmp' (text: the resource name)
};

struct Value {
  ValueKind kind = ValueKind::Integer;
  int line = 0;  // where the value starts, counted from 1
  std::string text;
  int64_t integer = 0;
  double real = 0;
  std::vector<std::string> idents;
  std::vector<Value> items;
  std::vector<uint8_t> bytes;

  static Value Ident(std::string name);
  static Value Int(int64_t v);
  static Value Real(double v);
  static Value Str(std::string s);
  static Value SetOf(std::vector<std::string> names);
  static Value ListOf(std::vector<Value> values);
  static Value Bytes(std::vector<uint8_t> data);
  static Value File(std::string name);
};

struct Property {
  std::string name;  // dotted path as written: "Bevel.StyleOuter"
  Value value;
  int line = 0;
};

struct Object {
  std::string name;        // empty for an unnamed component (`object TClass`)
  std::string class_name;  // "TZYRClock"
  int line = 0;
  std::vector<Property> properties;  // in file order
  std::vector<Object> children;      // in file order
};

// Nesting limit for objects and lists; deeper input is refused rather than risking the stack.
inline constexpr int kMaxDepth = 64;

// Parses one top-level object (surrounding blank lines and `//` comments allowed). Raises
// host::EReadError with "<source>(<line>): <what is wrong>" for any fault; never reads past
// the text, never recurses deeper than kMaxDepth.
Object Parse(std::string_view text, const std::string& source);

// Prints the tree in the canonical layout (two spaces per level, CRLF-free "\n" lines), such
// that Parse(Print(x)) gives x back (lines aside).
std::string Print(const Object& root);

// Helpers the reader and writer share.
bool IsIdent(std::string_view s);          // [A-Za-z_][A-Za-z0-9_]*
bool IsDottedPath(std::string_view s);     // Ident('.'Ident)*
std::string Describe(ValueKind kind);      // "integer", "string", ... for error messages

}  // namespace host::formtext
