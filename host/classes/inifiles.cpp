#include "host/classes/inifiles.h"

#include <vector>

#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/strings.h"
#include "host/classes/sysutils.h"

namespace host {

HOST_DEFINE_CLASS(TCustomIniFile, TObject)
HOST_DEFINE_CLASS(TIniFile, TCustomIniFile)
HOST_DEFINE_CLASS(TRegistry, TObject)
HOST_DEFINE_CLASS(TRegIniFile, TRegistry)

namespace {

// Splits a buffer of NUL-terminated strings ended by an empty one.
void AddMultiString(const std::vector<char>& buffer, DWORD length, TStrings* out) {
  size_t i = 0;
  while (i < length && buffer[i] != '\0') {
    std::string item(&buffer[i]);
    out->Add(item);
    i += item.size() + 1;
  }
}

// The profile calls report a buffer too small by returning size - 2; grow until it fits.
template <class F>
std::vector<char> ReadMulti(F&& call, DWORD& length) {
  std::vector<char> buffer(4096);
  for (;;) {
    length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length + 2 < buffer.size() || buffer.size() > (64u << 20)) return buffer;
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

// ---- TCustomIniFile ----------------------------------------------------------------------

int32_t TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t default_value) {
  const std::string text = ReadString(section, ident, "");
  return text.empty() ? default_value : StrToIntDef(text, default_value);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool default_value) {
  return ReadInteger(section, ident, default_value ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& section) {
  TStringList idents;
  ReadSection(section, &idents);
  return idents.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
  TStringList idents;
  ReadSection(section, &idents);
  return idents.IndexOf(ident) >= 0;
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings* values) {
  TStringList idents;
  ReadSection(section, &idents);
  values->BeginUpdate();
  values->Clear();
  for (int32_t i = 0; i < idents.Count(); ++i) {
    values->Add(idents.Strings(i) + "=" + ReadString(section, idents.Strings(i), ""));
  }
  values->EndUpdate();
}

// ---- TIniFile ----------------------------------------------------------------------------

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& default_value) {
  std::vector<char> buffer(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileString(section.c_str(), ident.c_str(), default_value.c_str(), buffer.data(),
                                            static_cast<DWORD>(buffer.size()), file_name_.c_str());
    if (n + 1 < buffer.size() || buffer.size() > (64u << 20)) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (!WritePrivateProfileString(section.c_str(), ident.c_str(), value.c_str(), file_name_.c_str())) {
    throw EIniFileException("Unable to write to " + file_name_);
  }
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  WritePrivateProfileString(section.c_str(), ident.c_str(), nullptr, file_name_.c_str());
}

void TIniFile::EraseSection(const std::string& section) {
  if (!WritePrivateProfileString(section.c_str(), nullptr, nullptr, file_name_.c_str())) {
    throw EIniFileException("Unable to write to " + file_name_);
  }
}

void TIniFile::ReadSection(const std::string& section, TStrings* idents) {
  DWORD length = 0;
  auto buffer = ReadMulti(
      [&](char* data, DWORD size) {
        return GetPrivateProfileString(section.c_str(), nullptr, nullptr, data, size, file_name_.c_str());
      },
      length);
  idents->BeginUpdate();
  idents->Clear();
  AddMultiString(buffer, length, idents);
  idents->EndUpdate();
}

void TIniFile::ReadSections(TStrings* sections) {
  DWORD length = 0;
  auto buffer = ReadMulti(
      [&](char* data, DWORD size) { return GetPrivateProfileSectionNames(data, size, file_name_.c_str()); }, length);
  sections->BeginUpdate();
  sections->Clear();
  AddMultiString(buffer, length, sections);
  sections->EndUpdate();
}

// ---- TRegistry ---------------------------------------------------------------------------

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY key) {
  if (key == root_key_) return;
  CloseKey();
  root_key_ = key;
}

HKEY TRegistry::BaseKey(bool relative) const { return relative && current_key_ ? current_key_ : root_key_; }

bool TRegistry::OpenKey(const std::string& key, bool can_create) {
  const bool relative = key.empty() || key[0] != '\\';
  std::string sub = relative ? key : key.substr(1);
  HKEY opened = nullptr;
  LSTATUS status;
  if (can_create && !sub.empty()) {
    status = RegCreateKeyEx(BaseKey(relative), sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &opened, nullptr);
  } else {
    status = RegOpenKeyEx(BaseKey(relative), sub.c_str(), 0, KEY_ALL_ACCESS, &opened);
  }
  if (status != ERROR_SUCCESS) return false;
  std::string path = relative && !current_path_.empty() && !sub.empty() ? current_path_ + "\\" + sub
                     : relative && sub.empty()                           ? current_path_
                                                                         : sub;
  CloseKey();
  current_key_ = opened;
  current_path_ = path;
  return true;
}

void TRegistry::CloseKey() {
  if (!current_key_) return;
  if (!lazy_write_) RegFlushKey(current_key_);
  RegCloseKey(current_key_);
  current_key_ = nullptr;
  current_path_.clear();
}

HKEY TRegistry::GetKey(const std::string& key) {
  const bool relative = key.empty() || key[0] != '\\';
  const std::string sub = relative ? key : key.substr(1);
  HKEY opened = nullptr;
  if (RegOpenKeyEx(BaseKey(relative), sub.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return nullptr;
  return opened;
}

bool TRegistry::KeyExists(const std::string& key) {
  HKEY k = GetKey(key);
  if (!k) return false;
  RegCloseKey(k);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  // Sub-keys go first: a key with sub-keys cannot be deleted.
  HKEY k = GetKey(key);
  if (k) {
    std::vector<std::string> subs;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyEx(k, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      subs.emplace_back(name, size);
    }
    RegCloseKey(k);
    const std::string prefix = key.empty() ? "" : key + "\\";
    for (const auto& s : subs) DeleteKey(prefix + s);
  }
  const bool relative = key.empty() || key[0] != '\\';
  const std::string sub = relative ? key : key.substr(1);
  return RegDeleteKey(BaseKey(relative), sub.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) {
  DWORD size = 0;
  return current_key_ && RegQueryValueEx(current_key_, name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_key_ && RegDeleteValue(current_key_, name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStrings* names) {
  names->BeginUpdate();
  names->Clear();
  if (current_key_) {
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyEx(current_key_, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names->Add(std::string(name, size));
    }
  }
  names->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* names) {
  names->BeginUpdate();
  names->Clear();
  if (current_key_) {
    char name[16384];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumValue(current_key_, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names->Add(std::string(name, size));
    }
  }
  names->EndUpdate();
}

std::string TRegistry::ReadString(const std::string& name) {
  if (!current_key_) return "";
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueEx(current_key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
  std::string value(size, '\0');
  if (RegQueryValueEx(current_key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS) {
    throw ERegistryException("Failed to get data for '" + name + "'");
  }
  value.resize(size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  if (!current_key_ || RegSetValueEx(current_key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS) {
    throw ERegistryException("Failed to set data for '" + name + "'");
  }
}

int32_t TRegistry::ReadInteger(const std::string& name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!current_key_ ||
      RegQueryValueEx(current_key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS) {
    throw ERegistryException("Failed to get data for '" + name + "'");
  }
  if (type != REG_DWORD) throw ERegistryException("Invalid data type for '" + name + "'");
  return static_cast<int32_t>(value);
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  const DWORD v = static_cast<DWORD>(value);
  if (!current_key_ ||
      RegSetValueEx(current_key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) !=
          ERROR_SUCCESS) {
    throw ERegistryException("Failed to set data for '" + name + "'");
  }
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

// ---- TRegIniFile -------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const std::string& file_name) : TRegIniFile(HKEY_CURRENT_USER, file_name) {}

TRegIniFile::TRegIniFile(HKEY root, const std::string& file_name) : file_name_(file_name) {
  SetRootKey(root);
  if (!OpenKey(file_name, true)) throw ERegistryException("Failed to create key " + file_name);
}

template <class F>
auto TRegIniFile::InSection(const std::string& section, bool create, F&& f) -> decltype(f()) {
  if (section.empty()) return f();
  HKEY saved = current_key_;
  HKEY key = nullptr;
  LSTATUS status = create ? RegCreateKeyEx(saved, section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, &key, nullptr)
                          : RegOpenKeyEx(saved, section.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) {
    if (create) throw ERegistryException("Failed to create key " + section);
    return decltype(f())();
  }
  current_key_ = key;
  try {
    if constexpr (std::is_void_v<decltype(f())>) {
      f();
      current_key_ = saved;
      RegCloseKey(key);
      return;
    } else {
      auto result = f();
      current_key_ = saved;
      RegCloseKey(key);
      return result;
    }
  } catch (...) {
    current_key_ = saved;
    RegCloseKey(key);
    throw;
  }
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& default_value) {
  std::string result = default_value;
  InSection(section, false, [&] {
    if (ValueExists(ident)) result = TRegistry::ReadString(ident);
  });
  return result;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  InSection(section, true, [&] { TRegistry::WriteString(ident, value); });
}

int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t default_value) {
  int32_t result = default_value;
  InSection(section, false, [&] {
    if (!ValueExists(ident)) return;
    DWORD type = 0;
    DWORD size = 0;
    RegQueryValueEx(current_key_, ident.c_str(), nullptr, &type, nullptr, &size);
    result = type == REG_DWORD ? TRegistry::ReadInteger(ident) : StrToIntDef(TRegistry::ReadString(ident), default_value);
  });
  return result;
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool default_value) {
  return ReadInteger(section, ident, default_value ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  InSection(section, false, [&] { DeleteValue(ident); });
}

void TRegIniFile::EraseSection(const std::string& section) { TRegistry::DeleteKey(section); }

void TRegIniFile::ReadSection(const std::string& section, TStrings* idents) {
  idents->Clear();
  InSection(section, false, [&] { GetValueNames(idents); });
}

void TRegIniFile::ReadSections(TStrings* sections) { GetKeyNames(sections); }

}  // namespace host
