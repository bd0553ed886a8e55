#include "library/services/sysinfo.h"

#include <cstring>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/format.h"
#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "host/classes/strings.h"
#include "host/forms/forms.h"
#include "library/foundation/messages.h"
#include "platform/win32.h"

namespace zyr {

namespace sysinfo_detail {

std::string PlatformName(DWORD platform_id) {
  switch (platform_id) {
    case VER_PLATFORM_WIN32s: return "Win32s";
    case VER_PLATFORM_WIN32_WINDOWS: return "Windows 95";
    case VER_PLATFORM_WIN32_NT: return "Windows NT";
    default: return host::LoadStr(kMsgUnknown);
  }
}

std::string ProcessorTypeName(DWORD type) {
  switch (type) {
    case 386: return "Intel 386";
    case 486: return "Intel 486";
    case 586: return "Intel Pentium";
    case 21064: return "Alpha 21064";
    case 2000:
    case 3000:
    case 4000: return "Mips R" + host::IntToStr(type);
    default: return host::IntToStr(type);
  }
}

std::string VersionKey(DWORD platform_id) {
  return std::string("\\SOFTWARE\\Microsoft") + "\\" +
         (platform_id == VER_PLATFORM_WIN32_NT ? "Windows NT" : "Windows") + "\\CurrentVersion";
}

UINT FreeResourcePercent(DWORD platform_id, UINT type) {
  // NT has no shared 16-bit heaps to report on.
  if (platform_id == VER_PLATFORM_WIN32_NT) return 0;
  return GetFreeSystemResources(type) & 0x7F;
}

std::string NameOrUnknown(NameCall call, DWORD buffer_size) {
  std::vector<char> buffer(buffer_size + 1, '\0');  // one spare zero: the call may fill it all
  DWORD size = buffer_size;
  if (!call(buffer.data(), &size)) return host::LoadStr(kMsgUnknown);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer_size));
}

std::string MachineString(const std::string& key, const std::string& name) {
  // The key is written from the root; the platform wants it without the leading separator.
  const std::string sub = !key.empty() && key[0] == '\\' ? key.substr(1) : key;
  HKEY opened = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, sub.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return host::LoadStr(kMsgUnknown);
  }
  std::string result;
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueEx(opened, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
      result = host::LoadStr(kMsgUnknown);
    } else {
      std::vector<char> data(size + 1, '\0');
      if (RegQueryValueEx(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
          ERROR_SUCCESS) {
        result.assign(data.data(), strnlen(data.data(), size));
      }
    }
  }
  RegCloseKey(opened);
  return result;
}

}  // namespace sysinfo_detail

namespace {

OSVERSIONINFO Version() {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionEx(&info)) {
    info = OSVERSIONINFO{};
    info.dwOSVersionInfoSize = sizeof info;
  }
  return info;
}

MEMORYSTATUS Memory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status;
}

int32_t Kilobytes(DWORD bytes) { return static_cast<int32_t>(bytes / 1024); }

std::string Percent(UINT value) { return host::Format("%d %%", {value}); }

// A directory call with a MAX_PATH buffer; "" when it fails or the path does not fit.
template <class Call>
std::string Directory(Call call) {
  char buffer[MAX_PATH] = {};
  const DWORD length = call(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  return std::string(buffer, strnlen(buffer, MAX_PATH));
}

std::string FreeResource(UINT type) {
  return Percent(sysinfo_detail::FreeResourcePercent(Version().dwPlatformId, type));
}

std::string Registered(const char* name) {
  return sysinfo_detail::MachineString(sysinfo_detail::VersionKey(Version().dwPlatformId), name);
}

}  // namespace

#define SYSINFO_PROP(Name, Type) c.Property(#Name, &TZYRSysInfo::Name, &TZYRSysInfo::Ignore<Type>).Never()

HOST_PUBLISHED(TZYRSysInfo, TZYRComponent) {
  SYSINFO_PROP(AllFonts, host::TStringList*);
  SYSINFO_PROP(AllPrinters, host::TStringList*);
  SYSINFO_PROP(CurrentUser, std::string);
  SYSINFO_PROP(RegisteredCompany, std::string);
  SYSINFO_PROP(RegisteredOwner, std::string);
  SYSINFO_PROP(ScreenSaverDelay, int32_t);
  SYSINFO_PROP(VersionWIN, std::string);
  SYSINFO_PROP(WinPath, std::string);
  SYSINFO_PROP(WinSysPath, std::string);
  SYSINFO_PROP(Environment, host::TStringList*);
  SYSINFO_PROP(FreeSysRes, std::string);
  SYSINFO_PROP(FreeGdiRes, std::string);
  SYSINFO_PROP(FreeUsrRes, std::string);
  SYSINFO_PROP(BuildNumber, int32_t);
  SYSINFO_PROP(MemPhysTotal, int32_t);
  SYSINFO_PROP(MemPhysFree, int32_t);
  SYSINFO_PROP(MemVirtTotal, int32_t);
  SYSINFO_PROP(MemVirtFree, int32_t);
  SYSINFO_PROP(MemPageTotal, int32_t);
  SYSINFO_PROP(MemPageFree, int32_t);
  SYSINFO_PROP(MemoryLoaded, std::string);
  SYSINFO_PROP(Platform, std::string);
  SYSINFO_PROP(TempPath, std::string);
  SYSINFO_PROP(Computername, std::string);
  SYSINFO_PROP(ProcessorNumber, uint8_t);
  SYSINFO_PROP(ProcessorType, std::string);
}

#undef SYSINFO_PROP

TZYRSysInfo::TZYRSysInfo(TComponent* owner)
    : TZYRComponent(owner),
      environment_(std::make_unique<host::TStringList>()),
      fonts_(std::make_unique<host::TStringList>()),
      printers_(std::make_unique<host::TStringList>()) {
  FillEnvironment();
}

TZYRSysInfo::~TZYRSysInfo() = default;

void TZYRSysInfo::FillEnvironment() {
  environment_->BeginUpdate();
  environment_->Clear();
  if (LPCH block = GetEnvironmentStrings()) {
    for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) environment_->Add(entry);
    FreeEnvironmentStrings(block);
  }
  environment_->EndUpdate();
}

void TZYRSysInfo::ReadState(host::TReader& reader) {
  host::TStringList kept;
  kept.Assign(environment_.get());
  TZYRComponent::ReadState(reader);
  environment_->Assign(&kept);
}

host::TStringList* TZYRSysInfo::AllFonts() const {
  // A copy: what a caller (or a stored form) does to it must not reach the screen's list.
  fonts_->SetSorted(false);
  fonts_->Assign(host::Screen()->Fonts());
  fonts_->SetSorted(true);
  return fonts_.get();
}

host::TStringList* TZYRSysInfo::AllPrinters() const {
  // The platform has no print spooler, so no printer is ever installed.
  printers_->Clear();
  printers_->SetSorted(true);
  return printers_.get();
}

std::string TZYRSysInfo::CurrentUser() const { return sysinfo_detail::NameOrUnknown(&GetUserName, 63); }

std::string TZYRSysInfo::RegisteredCompany() const { return Registered("RegisteredOrganization"); }

std::string TZYRSysInfo::RegisteredOwner() const { return Registered("RegisteredOwner"); }

int32_t TZYRSysInfo::ScreenSaverDelay() const {
  INT seconds = 0;
  if (!SystemParametersInfo(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0)) return 0;
  return seconds / 60;
}

std::string TZYRSysInfo::VersionWIN() const {
  const OSVERSIONINFO info = Version();
  return host::Format("%d.%d", {info.dwMajorVersion, info.dwMinorVersion});
}

std::string TZYRSysInfo::WinPath() const {
  return Directory([](LPSTR buffer, UINT size) -> DWORD { return GetWindowsDirectory(buffer, size); });
}

std::string TZYRSysInfo::WinSysPath() const {
  return Directory([](LPSTR buffer, UINT size) -> DWORD { return GetSystemDirectory(buffer, size); });
}

std::string TZYRSysInfo::TempPath() const {
  return Directory([](LPSTR buffer, DWORD size) { return GetTempPath(size, buffer); });
}

std::string TZYRSysInfo::FreeSysRes() const { return FreeResource(GFSR_SYSTEMRESOURCES); }
std::string TZYRSysInfo::FreeGdiRes() const { return FreeResource(GFSR_GDIRESOURCES); }
std::string TZYRSysInfo::FreeUsrRes() const { return FreeResource(GFSR_USERRESOURCES); }

int32_t TZYRSysInfo::BuildNumber() const { return static_cast<int32_t>(Version().dwBuildNumber & 0xFFFF); }

int32_t TZYRSysInfo::MemPhysTotal() const { return Kilobytes(Memory().dwTotalPhys); }
int32_t TZYRSysInfo::MemPhysFree() const { return Kilobytes(Memory().dwAvailPhys); }
int32_t TZYRSysInfo::MemVirtTotal() const { return Kilobytes(Memory().dwTotalVirtual); }
int32_t TZYRSysInfo::MemVirtFree() const { return Kilobytes(Memory().dwAvailVirtual); }
int32_t TZYRSysInfo::MemPageTotal() const { return Kilobytes(Memory().dwTotalPageFile); }
int32_t TZYRSysInfo::MemPageFree() const { return Kilobytes(Memory().dwAvailPageFile); }

std::string TZYRSysInfo::MemoryLoaded() const { return Percent(Memory().dwMemoryLoad); }

std::string TZYRSysInfo::Platform() const { return sysinfo_detail::PlatformName(Version().dwPlatformId); }

std::string TZYRSysInfo::Computername() const {
  return sysinfo_detail::NameOrUnknown(&GetComputerName, MAX_COMPUTERNAME_LENGTH + 1);
}

uint8_t TZYRSysInfo::ProcessorNumber() const {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  // A Byte cannot count further; a machine with more reads as full rather than wrapping round.
  return static_cast<uint8_t>(info.dwNumberOfProcessors > 255 ? 255 : info.dwNumberOfProcessors);
}

std::string TZYRSysInfo::ProcessorType() const {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return sysinfo_detail::ProcessorTypeName(info.dwProcessorType);
}

}  // namespace zyr
