// The registry store. Each hive lives in memory once read and goes back to its file after
// every change. The file is text, one line per key or value:
//
//   showrama registry 1
//   [Software\\Vendor\\App]
//   "Name"=1:6:416c69636500
//
// a key path in brackets, then its values as "name"=type:length:hex bytes. Names escape
// backslash, quote, brackets and control bytes. A reader takes every line it can parse and
// skips the rest, so a damaged hive loses only its damaged lines.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/identity.h"
#include "platform/kernel/registry_store.h"
#include "platform/win32/registry.h"

namespace kernel {
namespace {

constexpr int kHives = 6;
constexpr const char* kHiveNames[kHives] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                             "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                             "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG"};
constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;
constexpr size_t kMaxValueBytes = 16u << 20;
constexpr size_t kMaxHiveBytes = 256u << 20;
constexpr const char* kHeader = "showrama registry 1";

std::string Fold(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

FILETIME Now() {
  // 100 ns ticks since 1601.
  auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  uint64_t ticks = static_cast<uint64_t>(since1970 / 100) + 116444736000000000ull;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;
};

struct Node {
  std::string name;
  Node* parent = nullptr;
  std::map<std::string, std::shared_ptr<Node>> children;  // by folded name, so enumeration is sorted
  std::vector<Value> values;                              // in the order they were made
  bool deleted = false;
  FILETIME written{};

  Value* FindValue(std::string_view value_name) {
    std::string f = Fold(value_name);
    for (Value& v : values)
      if (Fold(v.name) == f) return &v;
    return nullptr;
  }
  std::shared_ptr<Node> Child(std::string_view child_name) {
    auto it = children.find(Fold(child_name));
    return it == children.end() ? nullptr : it->second;
  }
  std::shared_ptr<Node> AddChild(std::string_view child_name) {
    auto node = std::make_shared<Node>();
    node->name = std::string(child_name);
    node->parent = this;
    node->written = Now();
    children[Fold(child_name)] = node;
    written = node->written;
    return node;
  }
};

void MarkDeleted(Node& node) {
  node.deleted = true;
  for (auto& [_, child] : node.children) MarkDeleted(*child);
}

struct OpenKey {
  int hive;
  std::shared_ptr<Node> node;
};

struct State {
  std::recursive_mutex mutex;
  std::shared_ptr<Node> roots[kHives];
  std::map<uintptr_t, OpenKey> open;
  uintptr_t next = 0x1000;
};

State& S() {
  static auto* s = new State;
  return *s;
}

std::string HivePath(int hive) { return RegistryFolder() + "/" + kHiveNames[hive] + ".hive"; }

// --- the file format ---

void Escape(std::string& out, std::string_view s) {
  static const char hex[] = "0123456789abcdef";
  for (unsigned char c : s) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F || c == '[' || c == ']') {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an escaped name up to the closing character; advances pos past it.
bool Unescape(std::string_view line, size_t& pos, char close, std::string& out) {
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == close) return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= line.size()) return false;
    char e = line[pos++];
    if (e == '\\' || e == '"') {
      out += e;
    } else if (e == 'x') {
      if (pos + 2 > line.size()) return false;
      int hi = HexDigit(line[pos]), lo = HexDigit(line[pos + 1]);
      if (hi < 0 || lo < 0) return false;
      out += static_cast<char>(hi * 16 + lo);
      pos += 2;
    } else {
      return false;
    }
  }
  return false;  // no closing character: a truncated line
}

bool ReadNumber(std::string_view line, size_t& pos, uint64_t limit, uint64_t& out) {
  size_t start = pos;
  out = 0;
  while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    out = out * 10 + static_cast<uint64_t>(line[pos++] - '0');
    if (out > limit || pos - start > 12) return false;
  }
  return pos > start;
}

bool KnownType(uint64_t type) { return type <= REG_QWORD && type != 8 && type != 9 && type != 10; }

void Serialize(const Node& node, const std::string& path, std::string& out) {
  out += '[';
  Escape(out, path);
  out += "]\n";
  static const char hex[] = "0123456789abcdef";
  for (const Value& v : node.values) {
    out += '"';
    Escape(out, v.name);
    out += "\"=" + std::to_string(v.type) + ":" + std::to_string(v.data.size()) + ":";
    for (unsigned char b : v.data) {
      out += hex[b >> 4];
      out += hex[b & 15];
    }
    out += '\n';
  }
  for (const auto& [_, child] : node.children)
    Serialize(*child, path.empty() ? child->name : path + "\\" + child->name, out);
}

bool SplitPath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  if (path.empty()) return true;
  size_t start = 0;
  for (;;) {
    size_t slash = path.find('\\', start);
    std::string_view part = path.substr(start, slash == std::string_view::npos ? path.npos : slash - start);
    if (slash == std::string_view::npos) {
      if (!part.empty()) parts.push_back(part);  // one trailing backslash is tolerated
      break;
    }
    if (part.empty() || part.size() > kMaxKeyName) return false;
    parts.push_back(part);
    start = slash + 1;
  }
  for (auto p : parts)
    if (p.size() > kMaxKeyName) return false;
  return true;
}

void Parse(std::string_view text, Node& root, FILETIME stamp) {
  Node* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      current = nullptr;
      size_t p = 1;
      std::string path;
      std::vector<std::string_view> parts;
      if (!Unescape(line, p, ']', path) || p != line.size() || !SplitPath(path, parts)) continue;
      Node* node = &root;
      for (auto part : parts) {
        auto child = node->Child(part);
        if (!child) child = node->AddChild(part);
        child->written = stamp;
        node = child.get();
      }
      current = node;
    } else if (line[0] == '"' && current) {
      size_t p = 1;
      std::string name;
      uint64_t type = 0, length = 0;
      if (!Unescape(line, p, '"', name) || name.size() > kMaxValueName) continue;
      if (p >= line.size() || line[p++] != '=') continue;
      if (!ReadNumber(line, p, 0xFFFFFFFF, type) || !KnownType(type)) continue;
      if (p >= line.size() || line[p++] != ':') continue;
      if (!ReadNumber(line, p, kMaxValueBytes, length)) continue;
      if (p >= line.size() || line[p++] != ':') continue;
      if (line.size() - p != length * 2) continue;
      std::string data;
      data.reserve(length);
      bool ok = true;
      for (size_t i = 0; i < length && ok; ++i) {
        int hi = HexDigit(line[p + 2 * i]), lo = HexDigit(line[p + 2 * i + 1]);
        ok = hi >= 0 && lo >= 0;
        data += static_cast<char>(hi * 16 + lo);
      }
      if (!ok) continue;
      if (Value* v = current->FindValue(name)) {
        v->type = static_cast<DWORD>(type);
        v->data = std::move(data);
      } else {
        current->values.push_back(Value{std::move(name), static_cast<DWORD>(type), std::move(data)});
      }
    }
  }
}

void SetString(Node& node, const std::string& name, const std::string& text) {
  std::string data = text;
  data += '\0';
  if (Value* v = node.FindValue(name)) {
    v->type = REG_SZ;
    v->data = data;
  } else {
    node.values.push_back(Value{name, REG_SZ, data});
  }
}

// The machine hive starts with what every installation has.
void Seed(int hive, Node& root) {
  if (hive != 2) return;
  Node* node = &root;
  for (const char* part : {"Software", "Microsoft", "Windows", "CurrentVersion"}) {
    auto child = node->Child(part);
    if (!child) child = node->AddChild(part);
    node = child.get();
  }
  SetString(*node, "RegisteredOwner", FullUserName());
  SetString(*node, "RegisteredOrganization", "");
}

Node& Root(int hive) {
  State& s = S();
  if (!s.roots[hive]) {
    auto root = std::make_shared<Node>();
    std::string path = HivePath(hive);
    struct stat st;
    if (auto text = ReadWholeFile(path, kMaxHiveBytes)) {
      FILETIME stamp = Now();
      if (stat(path.c_str(), &st) == 0) {
        uint64_t ticks = static_cast<uint64_t>(st.st_mtime) * 10000000ull + 116444736000000000ull;
        stamp = FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
      }
      root->written = stamp;
      Parse(*text, *root, stamp);
    } else if (stat(path.c_str(), &st) != 0) {
      root->written = Now();
      Seed(hive, *root);
    }
    s.roots[hive] = root;
  }
  return *s.roots[hive];
}

bool MakeFolders(const std::string& folder) {
  std::string path;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = folder.find('/', pos + 1);
    path = folder.substr(0, pos);
    if (path.empty()) continue;
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

LSTATUS Save(int hive) {
  std::string text = std::string(kHeader) + "\n";
  Serialize(Root(hive), "", text);
  if (!MakeFolders(RegistryFolder())) return static_cast<LSTATUS>(Win32ErrorFromErrno(errno));
  if (!WriteFileAtomic(HivePath(hive), text)) return static_cast<LSTATUS>(GetLastError());
  return ERROR_SUCCESS;
}

int PredefinedHive(HKEY key) {
  auto v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(key));
  uint64_t base = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT));
  if (v >= base && v < base + kHives) return static_cast<int>(v - base);
  return -1;
}

// The node behind a key handle.
LSTATUS Resolve(HKEY key, int& hive, std::shared_ptr<Node>& node) {
  State& s = S();
  int predefined = PredefinedHive(key);
  if (predefined >= 0) {
    hive = predefined;
    Root(hive);
    node = s.roots[hive];
    return ERROR_SUCCESS;
  }
  auto it = s.open.find(reinterpret_cast<uintptr_t>(key));
  if (it == s.open.end()) return ERROR_INVALID_HANDLE;
  if (it->second.node->deleted) return ERROR_KEY_DELETED;
  hive = it->second.hive;
  node = it->second.node;
  return ERROR_SUCCESS;
}

HKEY NewHandle(int hive, std::shared_ptr<Node> node) {
  State& s = S();
  s.next += 4;
  s.open[s.next] = OpenKey{hive, std::move(node)};
  return reinterpret_cast<HKEY>(s.next);
}

std::string_view NameOrDefault(LPCSTR name) { return name ? std::string_view(name) : std::string_view(); }

}  // namespace

std::string RegistryFolder() {
  if (const char* dir = std::getenv("SHOWRAMA_CONFIG_DIR"); dir && *dir) return std::string(dir) + "/registry";
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::string(xdg) + "/showrama/registry";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.config/showrama/registry";
}

void ReloadRegistry() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  for (auto& root : s.roots) {
    if (root) MarkDeleted(*root);
    root.reset();
  }
}

}  // namespace kernel

using namespace kernel;

LSTATUS RegOpenKeyEx(HKEY key, LPCSTR sub_key, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  std::string_view path = NameOrDefault(sub_key);
  if (!path.empty() && path[0] == '\\') return ERROR_BAD_PATHNAME;
  std::vector<std::string_view> parts;
  if (!SplitPath(path, parts)) return ERROR_FILE_NOT_FOUND;
  for (auto part : parts) {
    node = node->Child(part);
    if (!node) return ERROR_FILE_NOT_FOUND;
  }
  *result = NewHandle(hive, node);
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY key, LPCSTR sub_key, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                       PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  std::string_view path = NameOrDefault(sub_key);
  std::vector<std::string_view> parts;
  if ((!path.empty() && path[0] == '\\') || !SplitPath(path, parts)) return ERROR_BAD_PATHNAME;
  bool created = false;
  for (auto part : parts) {
    auto child = node->Child(part);
    if (!child) {
      child = node->AddChild(part);
      created = true;
    }
    node = child;
  }
  if (created) {
    if (LSTATUS r = Save(hive); r != ERROR_SUCCESS) return r;
  }
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(hive, node);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (PredefinedHive(key) >= 0) return ERROR_SUCCESS;
  State& s = S();
  std::lock_guard lock(s.mutex);
  return s.open.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegFlushKey(HKEY key) {
  // Every change is already on disk; all that is left is to check the handle.
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  return Resolve(key, hive, node);
}

LSTATUS RegQueryValueEx(HKEY key, LPCSTR value_name, LPDWORD, LPDWORD type, BYTE* data, LPDWORD size) {
  if (data && !size) return ERROR_INVALID_PARAMETER;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  Value* v = node->FindValue(NameOrDefault(value_name));
  if (!v) return ERROR_FILE_NOT_FOUND;
  if (type) *type = v->type;
  DWORD needed = static_cast<DWORD>(v->data.size());
  if (!size) return ERROR_SUCCESS;
  if (data) {
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    std::memcpy(data, v->data.data(), needed);
  }
  *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueEx(HKEY key, LPCSTR value_name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if ((!data && size) || size > kMaxValueBytes || !KnownType(type)) return ERROR_INVALID_PARAMETER;
  std::string_view name = NameOrDefault(value_name);
  if (name.size() > kMaxValueName) return ERROR_INVALID_PARAMETER;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  std::string bytes(reinterpret_cast<const char*>(data ? data : reinterpret_cast<const BYTE*>("")), size);
  // A string stored without its terminator would read back unterminated: supply it.
  if ((type == REG_SZ || type == REG_EXPAND_SZ) && (bytes.empty() || bytes.back() != '\0')) bytes += '\0';
  if (type == REG_MULTI_SZ) {
    if (bytes.empty() || bytes.back() != '\0') bytes += '\0';
    if (bytes.size() < 2 || bytes[bytes.size() - 2] != '\0') bytes += '\0';
  }
  if (Value* v = node->FindValue(name)) {
    v->type = type;
    v->data = std::move(bytes);
  } else {
    node->values.push_back(Value{std::string(name), type, std::move(bytes)});
  }
  node->written = Now();
  return Save(hive);
}

LSTATUS RegDeleteValue(HKEY key, LPCSTR value_name) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  Value* v = node->FindValue(NameOrDefault(value_name));
  if (!v) return ERROR_FILE_NOT_FOUND;
  node->values.erase(node->values.begin() + (v - node->values.data()));
  node->written = Now();
  return Save(hive);
}

LSTATUS RegDeleteKey(HKEY key, LPCSTR sub_key) {
  if (!sub_key) return ERROR_INVALID_PARAMETER;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  std::vector<std::string_view> parts;
  if (!SplitPath(sub_key, parts)) return ERROR_FILE_NOT_FOUND;
  for (auto part : parts) {
    node = node->Child(part);
    if (!node) return ERROR_FILE_NOT_FOUND;
  }
  if (!node->parent) return ERROR_ACCESS_DENIED;  // a hive's root stays
  if (!node->children.empty()) return ERROR_ACCESS_DENIED;
  Node* parent = node->parent;
  MarkDeleted(*node);
  parent->children.erase(Fold(node->name));
  parent->written = Now();
  return Save(hive);
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD, LPSTR key_class,
                     LPDWORD class_size, LPFILETIME last_write) {
  if (!name || !name_size) return ERROR_INVALID_PARAMETER;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
  auto it = node->children.begin();
  std::advance(it, index);
  const Node& child = *it->second;
  if (child.name.size() + 1 > *name_size) return ERROR_MORE_DATA;
  std::memcpy(name, child.name.c_str(), child.name.size() + 1);
  *name_size = static_cast<DWORD>(child.name.size());
  if (key_class && class_size && *class_size) key_class[0] = '\0';
  if (class_size) *class_size = 0;
  if (last_write) *last_write = child.written;
  return ERROR_SUCCESS;
}

LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD, LPDWORD type,
                     BYTE* data, LPDWORD data_size) {
  if (!name || !name_size || (data && !data_size)) return ERROR_INVALID_PARAMETER;
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& v = node->values[index];
  if (v.name.size() + 1 > *name_size) return ERROR_MORE_DATA;
  DWORD needed = static_cast<DWORD>(v.data.size());
  if (data && *data_size < needed) {
    *data_size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(name, v.name.c_str(), v.name.size() + 1);
  *name_size = static_cast<DWORD>(v.name.size());
  if (type) *type = v.type;
  if (data) std::memcpy(data, v.data.data(), needed);
  if (data_size) *data_size = needed;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKey(HKEY key, LPSTR key_class, LPDWORD class_size, LPDWORD, LPDWORD sub_keys,
                        LPDWORD max_sub_key_len, LPDWORD max_class_len, LPDWORD values,
                        LPDWORD max_value_name_len, LPDWORD max_value_len,
                        LPDWORD security_descriptor_size, LPFILETIME last_write) {
  State& s = S();
  std::lock_guard lock(s.mutex);
  int hive;
  std::shared_ptr<Node> node;
  if (LSTATUS r = Resolve(key, hive, node); r != ERROR_SUCCESS) return r;
  if (key_class && class_size && *class_size) key_class[0] = '\0';
  if (class_size) *class_size = 0;
  DWORD longest_key = 0, longest_name = 0, longest_data = 0;
  for (const auto& [_, child] : node->children) longest_key = std::max(longest_key, static_cast<DWORD>(child->name.size()));
  for (const Value& v : node->values) {
    longest_name = std::max(longest_name, static_cast<DWORD>(v.name.size()));
    longest_data = std::max(longest_data, static_cast<DWORD>(v.data.size()));
  }
  if (sub_keys) *sub_keys = static_cast<DWORD>(node->children.size());
  if (max_sub_key_len) *max_sub_key_len = longest_key;
  if (max_class_len) *max_class_len = 0;
  if (values) *values = static_cast<DWORD>(node->values.size());
  if (max_value_name_len) *max_value_name_len = longest_name;
  if (max_value_len) *max_value_len = longest_data;
  if (security_descriptor_size) *security_descriptor_size = 0;
  if (last_write) *last_write = node->written;
  return ERROR_SUCCESS;
}
