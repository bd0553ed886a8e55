// Special folders: the desktop and documents folders the user's desktop names in
// user-dirs.dirs (read, never by running a helper), the configuration folder, and the
// Windows folders on drive C:.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/shell/opener.h"
#include "platform/win32/shell.h"

namespace shell {
namespace {

constexpr size_t kMaxPath = 260;  // MAX_PATH: what the caller's buffer holds

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  std::string out;
  if (v) out.assign(v);
  return out;
}

std::string ConfigHome(const FolderEnvironment& env) {
  // The XDG rule: a relative value is invalid and ignored.
  if (!env.config_home.empty() && env.config_home[0] == '/') return env.config_home;
  return env.home + "/.config";
}

// XDG_<key>_DIR from user-dirs.dirs: a double-quoted "$HOME/..." or absolute path.
std::optional<std::string> UserDir(const FolderEnvironment& env, std::string_view key) {
  std::ifstream in(ConfigHome(env) + "/user-dirs.dirs");
  if (!in) return std::nullopt;
  const std::string want = "XDG_" + std::string(key) + "_DIR=";
  std::string line, found;
  bool have = false;
  while (std::getline(in, line)) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] == '#') continue;
    if (line.compare(i, want.size(), want) != 0) continue;
    std::string_view v(line);
    v.remove_prefix(i + want.size());
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r')) v.remove_suffix(1);
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') continue;
    v = v.substr(1, v.size() - 2);
    std::string value;
    if (v.substr(0, 5) == "$HOME" && (v.size() == 5 || v[5] == '/')) value = env.home + std::string(v.substr(5));
    else if (!v.empty() && v[0] == '/') value = std::string(v);
    else continue;
    found = value;  // the last assignment wins, as when the file is sourced
    have = true;
  }
  if (!have) return std::nullopt;
  while (found.size() > 1 && found.back() == '/') found.pop_back();
  return found;
}

}  // namespace

FolderEnvironment HostFolderEnvironment(ToWindowsPath to_windows, std::string drive_c) {
  FolderEnvironment env;
  env.home = Env("HOME");
  if (env.home.empty()) env.home = "/";
  env.config_home = Env("XDG_CONFIG_HOME");
  env.drive_c = std::move(drive_c);
  env.to_windows = std::move(to_windows);
  return env;
}

std::optional<std::string> SpecialFolderHostPath(const FolderEnvironment& env, int csidl) {
  switch (csidl & ~CSIDL_FLAG_CREATE) {
    case CSIDL_DESKTOP:
      if (auto d = UserDir(env, "DESKTOP")) return d;
      return env.home + (env.home.back() == '/' ? "" : "/") + "Desktop";
    case CSIDL_PERSONAL:
      if (auto d = UserDir(env, "DOCUMENTS")) return d;
      return env.home;
    case CSIDL_APPDATA:
      return ConfigHome(env);
    case CSIDL_WINDOWS:
      return env.drive_c + "/WINDOWS";
    case CSIDL_SYSTEM:
      return env.drive_c + "/WINDOWS/SYSTEM";
    default:
      return std::nullopt;
  }
}

bool SpecialFolderPath(const FolderEnvironment& env, char* path, int csidl, bool create) {
  if (!path || !env.to_windows) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  path[0] = '\0';
  const auto host = SpecialFolderHostPath(env, csidl);
  if (!host) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // Too long for the caller's buffer: fail before creating anything.
  const std::string windows = env.to_windows(*host);
  if (windows.empty() || windows.size() >= kMaxPath) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  create = create || (csidl & CSIDL_FLAG_CREATE);
  std::error_code ec;
  if (!std::filesystem::is_directory(*host, ec)) {
    if (!create || !std::filesystem::create_directories(*host, ec) || ec) {
      SetLastError(create ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
      return false;
    }
  }
  std::memcpy(path, windows.c_str(), windows.size() + 1);
  return true;
}

}  // namespace shell
