// Settings classes: TIniFile (an INI file through the platform's profile calls), TRegistry
// (keys and typed values) and TRegIniFile (the registry used like an INI file: sections are
// sub-keys, entries are values).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/classes/classes.h"
#include "platform/win32/registry.h"

namespace host {

class TStrings;

class TCustomIniFile : public TObject {
  HOST_CLASS(TCustomIniFile)
  explicit TCustomIniFile(std::string file_name) : file_name_(std::move(file_name)) {}
  const std::string& FileName() const { return file_name_; }

  virtual std::string ReadString(const std::string& section, const std::string& ident,
                                 const std::string& default_value) = 0;
  virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
  virtual void EraseSection(const std::string& section) = 0;
  virtual void ReadSection(const std::string& section, TStrings* idents) = 0;
  virtual void ReadSections(TStrings* sections) = 0;

  // Integers accept "$" hexadecimal; Booleans are stored as 1 and 0.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t default_value);
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  bool ReadBool(const std::string& section, const std::string& ident, bool default_value);
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  bool SectionExists(const std::string& section);
  bool ValueExists(const std::string& section, const std::string& ident);
  // Name=Value lines of a section.
  void ReadSectionValues(const std::string& section, TStrings* values);

 protected:
  std::string file_name_;
};

class TIniFile : public TCustomIniFile {
  HOST_CLASS(TIniFile)
  // A name without a directory is in the Windows directory, as the profile calls have it.
  explicit TIniFile(std::string file_name) : TCustomIniFile(std::move(file_name)) {}
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& default_value) override;
  // Raises EIniFileException ("Unable to write to <file>") when the file cannot be written.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void EraseSection(const std::string& section) override;
  void ReadSection(const std::string& section, TStrings* idents) override;
  void ReadSections(TStrings* sections) override;
};

class TRegistry : public TObject {
  HOST_CLASS(TRegistry)
  TRegistry();
  ~TRegistry() override;
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return root_key_; }
  void SetRootKey(HKEY key);
  HKEY CurrentKey() const { return current_key_; }
  const std::string& CurrentPath() const { return current_path_; }
  bool LazyWrite() const { return lazy_write_; }
  void SetLazyWrite(bool value) { lazy_write_ = value; }

  // Opens key (relative to the current key, or to the root when it starts with "\");
  // false when it does not exist and may not be created.
  bool OpenKey(const std::string& key, bool can_create);
  void CloseKey();
  bool KeyExists(const std::string& key);
  bool DeleteKey(const std::string& key);
  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);
  void GetKeyNames(TStrings* names);
  void GetValueNames(TStrings* names);

  // Raise ERegistryException for a value of another type or a failed write.
  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  int32_t ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int32_t value);
  bool ReadBool(const std::string& name);
  void WriteBool(const std::string& name, bool value);

 protected:
  HKEY BaseKey(bool relative) const;
  HKEY GetKey(const std::string& key);

  HKEY root_key_ = HKEY_CURRENT_USER;
  HKEY current_key_ = nullptr;
  std::string current_path_;
  bool lazy_write_ = true;
};

class TRegIniFile : public TRegistry {
  HOST_CLASS(TRegIniFile)
  // Opens (creating when missing) file_name below HKEY_CURRENT_USER.
  explicit TRegIniFile(const std::string& file_name);
  TRegIniFile(HKEY root, const std::string& file_name);
  const std::string& FileName() const { return file_name_; }

  // A section is a sub-key of the file's key; the empty section is the key itself.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& default_value);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t default_value);
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  bool ReadBool(const std::string& section, const std::string& ident, bool default_value);
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  void DeleteKey(const std::string& section, const std::string& ident);
  void EraseSection(const std::string& section);
  void ReadSection(const std::string& section, TStrings* idents);
  void ReadSections(TStrings* sections);

 private:
  template <class F>
  auto InSection(const std::string& section, bool create, F&& f) -> decltype(f());

  std::string file_name_;
};

}  // namespace host
