// TZYRSysInfo: facts about the running system as read-only published properties, computed
// from the platform on every read. None is stored with a form; stored values are ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "library/foundation/objects.h"
#include "platform/win32/types.h"

namespace host {
class TStringList;
class TReader;
}  // namespace host

namespace zyr {

class TZYRSysInfo : public TZYRComponent {
  HOST_CLASS(TZYRSysInfo)
  explicit TZYRSysInfo(TComponent* owner);
  ~TZYRSysInfo() override;

  // The screen's font names in sorted order (a fresh copy on every read).
  host::TStringList* AllFonts() const;
  // The printers the platform knows, sorted (a fresh copy on every read).
  host::TStringList* AllPrinters() const;
  std::string CurrentUser() const;
  std::string RegisteredCompany() const;
  std::string RegisteredOwner() const;
  // Minutes.
  int32_t ScreenSaverDelay() const;
  std::string VersionWIN() const;
  std::string WinPath() const;
  std::string WinSysPath() const;
  // "NAME=value" lines as the platform listed them when the component was made.
  host::TStringList* Environment() const { return environment_.get(); }
  std::string FreeSysRes() const;
  std::string FreeGdiRes() const;
  std::string FreeUsrRes() const;
  int32_t BuildNumber() const;
  // Kilobytes.
  int32_t MemPhysTotal() const;
  int32_t MemPhysFree() const;
  int32_t MemVirtTotal() const;
  int32_t MemVirtFree() const;
  int32_t MemPageTotal() const;
  int32_t MemPageFree() const;
  std::string MemoryLoaded() const;
  std::string Platform() const;
  std::string TempPath() const;
  std::string Computername() const;
  uint8_t ProcessorNumber() const;
  std::string ProcessorType() const;

  // Keeps the environment the constructor read when a stored form names its lines.
  void ReadState(host::TReader& reader) override;

 private:
  // What a stored form gives these properties goes nowhere.
  template <class V>
  void Ignore(V) {}
  void FillEnvironment();

  std::unique_ptr<host::TStringList> environment_;
  mutable std::unique_ptr<host::TStringList> fonts_;
  mutable std::unique_ptr<host::TStringList> printers_;
};

// The rules behind the properties, apart from the platform calls that feed them.
namespace sysinfo_detail {

// Text of a platform identifier of GetVersionEx ("Windows 95", or "unknown").
std::string PlatformName(DWORD platform_id);
// Text of a processor type of GetSystemInfo ("Intel Pentium", "Mips R4000", "12345").
std::string ProcessorTypeName(DWORD type);
// The key below HKEY_LOCAL_MACHINE that holds the registered owner and company.
std::string VersionKey(DWORD platform_id);
// A free-resources figure in percent: 0 on NT, else the low 7 bits of what the platform says.
UINT FreeResourcePercent(DWORD platform_id, UINT type);
// Calls a GetUserName-like function with a buffer of buffer_size characters; the name, or
// "unknown" when the call fails (a name that does not fit included).
using NameCall = BOOL (*)(LPSTR buffer, LPDWORD size);
std::string NameOrUnknown(NameCall call, DWORD buffer_size);
// A string value of the key HKEY_LOCAL_MACHINE\key, opened for reading only: "" when the
// value is missing, "unknown" when the key cannot be opened or the value is no string.
std::string MachineString(const std::string& key, const std::string& name);

}  // namespace sysinfo_detail

}  // namespace zyr
