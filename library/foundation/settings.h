// Settings persistence: TZYRIniCtrl reads and writes named string settings in an INI file or
// in the registry, working out the file, key and section from its properties.
#pragma once

#include <cstdint>
#include <string>

#include "host/classes/inifiles.h"
#include "library/foundation/objects.h"
#include "library/foundation/utils.h"

namespace zyr {

HOST_ENUM(TZYRRegRootKey, uint8_t, rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig,
          rpDynData)
HOST_ENUM(TZYRIniTarget, uint8_t, itIniFile, itRegistry, itAuto)

HKEY RootKeyOf(TZYRRegRootKey root);

// The registry used as an INI file, opened (created when missing) at a key path below a root.
class TZYRRegIniFile : public host::TRegIniFile {
  HOST_CLASS(TZYRRegIniFile)
  TZYRRegIniFile(HKEY root, const std::string& key_path);
};

class TZYRIniCtrl : public TZYRComponent {
  HOST_CLASS(TZYRIniCtrl)
  explicit TZYRIniCtrl(TComponent* owner);

  std::string ReadString(const std::string& section, const std::string& ident, const std::string& default_value);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& ident);
  // The logged-on user's name, or the library message 16501 "unknown".
  virtual std::string GetUserName();

  // What a call would use now (public so programs and tests can show it).
  std::string ResolvedIniFile();
  std::string ResolvedKeyPath() const;
  std::string ResolveSection(const std::string& section, bool registry);
  bool UsesRegistry() const { return registry_; }

  bool Common() const { return common_; }
  void SetCommon(bool value) { common_ = value; }
  bool NetUser() const { return net_user_; }
  void SetNetUser(bool value);
  const std::string& IniFile() const { return ini_file_; }
  // A name without extension gets ".INI".
  void SetIniFile(const std::string& name);
  const std::string& User() const { return user_; }
  void SetUser(const std::string& user) { user_ = user; }
  TZYRPathPrefix IniPrefix() const { return ini_prefix_; }
  void SetIniPrefix(TZYRPathPrefix prefix) { ini_prefix_ = prefix; }
  TZYRRegRootKey RegRoot() const { return reg_root_; }
  void SetRegRoot(TZYRRegRootKey root) { reg_root_ = root; }
  const std::string& RegPath() const { return reg_path_; }
  void SetRegPath(const std::string& path) { reg_path_ = path; }
  bool AlphaCounter() const { return alpha_counter_; }
  void SetAlphaCounter(bool value);
  uint8_t MaxEntries() const { return max_entries_; }
  void SetMaxEntries(uint8_t value);
  TZYRIniTarget Target() const { return target_; }
  void SetTarget(TZYRIniTarget target);
  const std::string& LastSection() const { return last_section_; }

 private:
  bool common_ = true;
  bool net_user_ = false;
  std::string ini_file_;
  std::string last_section_;
  std::string user_;
  TZYRPathPrefix ini_prefix_ = ppWindows;
  TZYRRegRootKey reg_root_ = rpCurrentUser;
  std::string reg_path_;
  bool alpha_counter_ = false;
  uint8_t max_entries_ = 16;
  bool registry_ = true;
  TZYRIniTarget target_ = itAuto;
};

}  // namespace zyr
