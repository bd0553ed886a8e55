// The Win32 profile calls: Windows file names become Linux paths here and nowhere else.
#include <string>

#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/win32/registry.h"

namespace {

// A bare file name lives in the Windows directory, as on Win32.
std::optional<std::string> IniPath(LPCSTR file) {
  if (!file || !*file) return std::nullopt;
  std::string name = file;
  if (name.find_first_of("\\/:") == std::string::npos) name = "C:\\WINDOWS\\" + name;
  return kernel::HostPath(name);
}

constexpr const char* kWinIni = "WIN.INI";

}  // namespace

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer, DWORD size,
                              LPCSTR file) {
  auto path = IniPath(file);
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    if (buffer && size) buffer[0] = '\0';
    return 0;
  }
  return kernel::profile::GetString(*path, section, key, default_value, buffer, size);
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT default_value, LPCSTR file) {
  auto path = IniPath(file);
  if (!path) return static_cast<UINT>(default_value);
  return kernel::profile::GetInt(*path, section, key, default_value);
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  auto path = IniPath(file);
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  return kernel::profile::WriteString(*path, section, key, value);
}

DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
  auto path = IniPath(file);
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    if (buffer && size) buffer[0] = '\0';
    return 0;
  }
  return kernel::profile::GetSection(*path, section, buffer, size);
}

DWORD GetPrivateProfileSectionNames(LPSTR buffer, DWORD size, LPCSTR file) {
  auto path = IniPath(file);
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    if (buffer && size) buffer[0] = '\0';
    return 0;
  }
  return kernel::profile::GetSectionNames(*path, buffer, size);
}

DWORD GetProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer, DWORD size) {
  return GetPrivateProfileString(section, key, default_value, buffer, size, kWinIni);
}

UINT GetProfileInt(LPCSTR section, LPCSTR key, INT default_value) {
  return GetPrivateProfileInt(section, key, default_value, kWinIni);
}

BOOL WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) {
  return WritePrivateProfileString(section, key, value, kWinIni);
}
