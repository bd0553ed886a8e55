#include "library/foundation/settings.h"

#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "library/foundation/application.h"
#include "library/foundation/messages.h"
#include "platform/win32.h"

namespace zyr {

HKEY RootKeyOf(TZYRRegRootKey root) {
  switch (root) {
    case rpClassesRoot: return HKEY_CLASSES_ROOT;
    case rpCurrentUser: return HKEY_CURRENT_USER;
    case rpLocalMachine: return HKEY_LOCAL_MACHINE;
    case rpUsers: return HKEY_USERS;
    case rpCurrentConfig: return HKEY_CURRENT_CONFIG;
    case rpDynData: return HKEY_DYN_DATA;
  }
  return HKEY_CURRENT_USER;
}

HOST_DEFINE_CLASS(TZYRRegIniFile, host::TRegIniFile)

TZYRRegIniFile::TZYRRegIniFile(HKEY root, const std::string& key_path) : host::TRegIniFile(root, key_path) {
  SetLazyWrite(true);
}

HOST_PUBLISHED(TZYRIniCtrl, TZYRComponent) {
  HOST_PROP(Common, true);
  HOST_PROP(NetUser, false);
  HOST_PROP(IniFile);
  HOST_PROP(User);
  HOST_PROP(IniPrefix, ppWindows);
  HOST_PROP(RegRoot, rpCurrentUser);
  HOST_PROP(RegPath);
  HOST_PROP(AlphaCounter, false);
  HOST_PROP(MaxEntries, uint8_t{16});
  HOST_PROP(Target, itAuto);
}

TZYRIniCtrl::TZYRIniCtrl(TComponent* owner) : TZYRComponent(owner) {}

std::string TZYRIniCtrl::GetUserName() {
  char buffer[64];
  DWORD size = 63;
  if (!::GetUserName(buffer, &size)) return host::LoadStr(kMsgUnknown);
  return std::string(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
}

void TZYRIniCtrl::SetNetUser(bool value) {
  if (value == net_user_) return;
  net_user_ = value;
  if (value) user_ = GetUserName();
}

void TZYRIniCtrl::SetIniFile(const std::string& name) {
  ini_file_ = IsBlank(ExtractFileExt(name)) ? ChangeFileExt(name, ".INI") : name;
}

void TZYRIniCtrl::SetAlphaCounter(bool value) {
  if (value == alpha_counter_) return;
  alpha_counter_ = value;
  if (value && max_entries_ > 26) max_entries_ = 26;
}

void TZYRIniCtrl::SetMaxEntries(uint8_t value) {
  if (value == max_entries_) return;
  if (!alpha_counter_ || value <= 26) max_entries_ = value;
}

void TZYRIniCtrl::SetTarget(TZYRIniTarget target) {
  target_ = target;
  registry_ = target != itIniFile;
}

std::string TZYRIniCtrl::ResolvedIniFile() {
  if (ini_file_.empty()) ini_file_ = ChangeFileExt(ProgramFileName(), ".INI");
  if (ini_prefix_ == ppFixed) return ini_file_;
  return GetPrefixPath(ini_prefix_, true) + ExtractFileName(ini_file_);
}

std::string TZYRIniCtrl::ResolvedKeyPath() const {
  if (IsBlank(reg_path_)) return ZYRApplication ? ZYRApplication->RegistryPath() : "Software\\";
  return reg_path_.back() == '\\' ? reg_path_ : reg_path_ + "\\";
}

std::string TZYRIniCtrl::ResolveSection(const std::string& section, bool registry) {
  if (IsBlank(section)) return last_section_.empty() ? "Common" : last_section_;
  std::string result = section;
  if (registry) {
    if (section == "#ROOT") result.clear();
  } else if (!common_) {
    result += "." + (net_user_ ? GetUserName() : user_);
  }
  last_section_ = result;
  return result;
}

// Registry key paths end in a backslash; the platform wants none at the end.
static std::string KeyForOpen(const std::string& path) { return RemoveBackslash(path); }

std::string TZYRIniCtrl::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& default_value) {
  if (registry_) {
    TZYRRegIniFile reg(RootKeyOf(reg_root_), KeyForOpen(ResolvedKeyPath()));
    return reg.ReadString(ResolveSection(section, true), ident, default_value);
  }
  host::TIniFile ini(ResolvedIniFile());
  return ini.ReadString(ResolveSection(section, false), ident, default_value);
}

void TZYRIniCtrl::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (registry_) {
    TZYRRegIniFile reg(RootKeyOf(reg_root_), KeyForOpen(ResolvedKeyPath()));
    reg.WriteString(ResolveSection(section, true), ident, value);
    return;
  }
  host::TIniFile ini(ResolvedIniFile());
  ini.WriteString(ResolveSection(section, false), ident, value);
}

void TZYRIniCtrl::DeleteKey(const std::string& section, const std::string& ident) {
  if (registry_) {
    TZYRRegIniFile reg(RootKeyOf(reg_root_), KeyForOpen(ResolvedKeyPath()));
    reg.DeleteKey(ResolveSection(section, true), ident);
    return;
  }
  host::TIniFile ini(ResolvedIniFile());
  ini.DeleteKey(ResolveSection(section, false), ident);
}

}  // namespace zyr
