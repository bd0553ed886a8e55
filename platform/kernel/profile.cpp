// INI files. Reading takes a file line by line: "[name]" opens a section, "key=value" is an
// entry, lines starting with ';' are comments, anything else is kept but means nothing.
// Writing changes only the lines it must and keeps every other byte, line ends included;
// lines it adds end in CR LF. The new file replaces the old one atomically.
#include "platform/kernel/profile.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/kernel/atomic_file.h"

namespace kernel::profile {
namespace {

constexpr size_t kMaxFile = 16u << 20;

struct Line {
  std::string_view text;    // without its line end
  std::string_view ending;  // "\r\n", "\n" or "" (the last line)
  enum Kind { kOther, kSection, kEntry } kind = kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // entry value, trimmed
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::vector<Line> Split(std::string_view text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.text = text.substr(pos);
      pos = text.size();
    } else {
      size_t end = nl > pos && text[nl - 1] == '\r' ? nl - 1 : nl;
      line.text = text.substr(pos, end - pos);
      line.ending = text.substr(end, nl + 1 - end);
      pos = nl + 1;
    }
    std::string_view t = Trim(line.text);
    if (!t.empty() && t[0] == '[') {
      size_t close = t.find(']');
      line.kind = Line::kSection;
      line.name = Trim(t.substr(1, close == std::string_view::npos ? t.npos : close - 1));
    } else if (!t.empty() && t[0] != ';') {
      size_t eq = t.find('=');
      if (eq != std::string_view::npos && eq > 0) {
        line.kind = Line::kEntry;
        line.name = Trim(t.substr(0, eq));
        line.value = Trim(t.substr(eq + 1));
      }
    }
    lines.push_back(line);
  }
  return lines;
}

struct Ini {
  std::string bytes;
  std::vector<Line> lines;
  bool exists = false;
};

// Reads the file into ini; false when it exists but cannot be read. A missing file reads as
// empty. The lines point into ini.bytes, so an Ini is filled in place and never moved.
bool Load(const std::string& file, Ini& ini) {
  if (auto bytes = ReadWholeFile(file, kMaxFile)) {
    ini.bytes = std::move(*bytes);
    ini.exists = true;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND) {
    return false;
  }
  ini.lines = Split(ini.bytes);
  return true;
}

// Lines [begin, end) of the first section of that name: begin is its header.
bool FindSection(const std::vector<Line>& lines, std::string_view section, size_t& begin, size_t& end) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != Line::kSection || !Same(lines[i].name, section)) continue;
    begin = i;
    end = i + 1;
    while (end < lines.size() && lines[end].kind != Line::kSection) ++end;
    return true;
  }
  return false;
}

const Line* FindEntry(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  size_t begin, end;
  if (!FindSection(lines, section, begin, end)) return nullptr;
  for (size_t i = begin + 1; i < end; ++i)
    if (lines[i].kind == Line::kEntry && Same(lines[i].name, key)) return &lines[i];
  return nullptr;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return v.substr(1, v.size() - 2);
  return v;
}

// One string into the buffer, cut to fit: the length copied.
DWORD PutString(std::string_view s, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  size_t n = std::min<size_t>(s.size(), size - 1);
  std::memcpy(buffer, s.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// Zero-terminated strings closed by one more zero; when they do not fit, the last one is
// cut and the result is size - 2.
DWORD PutList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::string all;
  for (const std::string& item : items) {
    all += item;
    all += '\0';
  }
  if (all.size() + 1 <= size) {
    std::memcpy(buffer, all.data(), all.size());
    buffer[all.size()] = '\0';
    if (all.empty()) buffer[1] = '\0';
    return static_cast<DWORD>(all.size());
  }
  std::memcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string Join(const Ini& ini) {
  std::string out;
  for (const Line& l : ini.lines) {
    out += l.text;
    out += l.ending;
  }
  return out;
}

}  // namespace

DWORD GetString(const std::string& file, LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                DWORD size) {
  if (!buffer || size == 0) return 0;
  Ini store;
  Ini* ini = &store;
  if (!Load(file, store)) {
    buffer[0] = '\0';
    return 0;
  }
  if (!section) {
    std::vector<std::string> names;
    for (const Line& l : ini->lines)
      if (l.kind == Line::kSection) names.emplace_back(l.name);
    return PutList(names, buffer, size);
  }
  if (!key) {
    std::vector<std::string> names;
    size_t begin, end;
    if (FindSection(ini->lines, section, begin, end))
      for (size_t i = begin + 1; i < end; ++i)
        if (ini->lines[i].kind == Line::kEntry) names.emplace_back(ini->lines[i].name);
    return PutList(names, buffer, size);
  }
  if (const Line* entry = FindEntry(ini->lines, section, key)) return PutString(Unquote(entry->value), buffer, size);
  std::string_view fallback = default_value ? default_value : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  if (!ini->exists) SetLastError(ERROR_FILE_NOT_FOUND);
  return PutString(fallback, buffer, size);
}

UINT GetInt(const std::string& file, LPCSTR section, LPCSTR key, INT default_value) {
  if (!section || !key) return static_cast<UINT>(default_value);
  Ini store;
  Ini* ini = &store;
  if (!Load(file, store)) return static_cast<UINT>(default_value);
  const Line* entry = FindEntry(ini->lines, section, key);
  if (!entry) return static_cast<UINT>(default_value);
  std::string_view v = Unquote(entry->value);
  size_t i = 0;
  bool negative = false;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  if (i >= v.size() || v[i] < '0' || v[i] > '9') return static_cast<UINT>(default_value);
  uint32_t n = 0;  // wraps like the 32-bit conversion it stands for
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) n = n * 10 + static_cast<uint32_t>(v[i] - '0');
  return negative ? 0u - n : n;
}

BOOL WriteString(const std::string& file, LPCSTR section, LPCSTR key, LPCSTR value) {
  if (!section) {
    if (!key && !value) return TRUE;  // "flush the cache": there is none
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Ini store;
  Ini* ini = &store;
  if (!Load(file, store)) return FALSE;
  std::vector<Line>& lines = ini->lines;
  constexpr std::string_view kNewLine = "\r\n";
  std::vector<std::string> made;  // storage for the lines this write adds
  made.reserve(3);
  auto make_line = [&](std::string text) {
    made.push_back(std::move(text));
    Line l;
    l.text = made.back();
    l.ending = kNewLine;
    return l;
  };
  size_t begin, end;
  bool has_section = FindSection(lines, section, begin, end);
  if (!key) {
    if (!has_section) return TRUE;
    lines.erase(lines.begin() + static_cast<ptrdiff_t>(begin), lines.begin() + static_cast<ptrdiff_t>(end));
  } else if (!value) {
    if (!has_section) return TRUE;
    size_t i = begin + 1;
    while (i < end && !(lines[i].kind == Line::kEntry && Same(lines[i].name, key))) ++i;
    if (i == end) return TRUE;
    lines.erase(lines.begin() + static_cast<ptrdiff_t>(i));
  } else if (has_section) {
    size_t i = begin + 1;
    while (i < end && !(lines[i].kind == Line::kEntry && Same(lines[i].name, key))) ++i;
    if (i < end) {
      // The key keeps the spelling it has in the file.
      std::string_view ending = lines[i].ending;
      lines[i] = make_line(std::string(lines[i].name) + "=" + value);
      lines[i].ending = ending;
    } else {
      size_t after = end;  // after the section's last line that is not blank
      while (after > begin + 1 && Trim(lines[after - 1].text).empty()) --after;
      if (lines[after - 1].ending.empty()) lines[after - 1].ending = kNewLine;
      lines.insert(lines.begin() + static_cast<ptrdiff_t>(after), make_line(std::string(key) + "=" + value));
    }
  } else {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = kNewLine;
    lines.push_back(make_line(std::string("[").append(section).append("]")));
    lines.push_back(make_line(std::string(key) + "=" + value));
  }
  return WriteFileAtomic(file, Join(*ini)) ? TRUE : FALSE;
}

DWORD GetSection(const std::string& file, LPCSTR section, LPSTR buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  Ini store;
  Ini* ini = &store;
  std::vector<std::string> pairs;
  size_t begin, end;
  if (Load(file, store) && section && FindSection(ini->lines, section, begin, end))
    for (size_t i = begin + 1; i < end; ++i)
      if (ini->lines[i].kind == Line::kEntry)
        pairs.push_back(std::string(ini->lines[i].name) + "=" + std::string(ini->lines[i].value));
  return PutList(pairs, buffer, size);
}

DWORD GetSectionNames(const std::string& file, LPSTR buffer, DWORD size) {
  return GetString(file, nullptr, nullptr, nullptr, buffer, size);
}

}  // namespace kernel::profile
