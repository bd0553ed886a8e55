#include "platform/kernel/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/kernel/files_internal.h"
#include "platform/win32/file.h"

namespace kernel {
namespace {

// HostPath has no Win32 caller to answer to, so it allows what Linux allows.
constexpr size_t kHostPathLimit = 4096;

std::mutex& CwdMutex() {
  static auto* m = new std::mutex;
  return *m;
}
std::string& Cwd() {
  static auto* s = new std::string;
  return *s;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find(sep, start);
    if (end == std::string_view::npos) end = s.size();
    if (end > start) parts.emplace_back(s.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Applies "." and ".." ("..", at the root, stays there as on Win32).
void Push(std::vector<std::string>& parts, std::string part) {
  if (part == ".") return;
  if (part == "..") {
    if (!parts.empty()) parts.pop_back();
    return;
  }
  parts.push_back(std::move(part));
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool BadNameChar(unsigned char c) {
  return c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' ||
         c == ':';
}

std::string LexicalHost(std::string_view path) {
  std::string abs;
  if (path.empty() || path[0] != '/') {
    char buf[4096];
    abs = getcwd(buf, sizeof buf) ? buf : "/";
    abs += '/';
  }
  abs += path;
  std::vector<std::string> parts;
  for (auto& p : Split(abs, '/')) Push(parts, p);
  std::string out;
  for (auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

void MakeDir(const std::string& path) { mkdir(path.c_str(), 0777); }

std::string CurrentDirectory() {
  std::lock_guard lock(CwdMutex());
  if (Cwd().empty()) {
    char buf[4096];
    Cwd() = WindowsPath(getcwd(buf, sizeof buf) ? buf : "/");
  }
  return Cwd();
}

// Copies a string out the way most Win32 "get a path" calls do: the length without the
// terminator on success, the size needed (with it) when the buffer is too small.
DWORD CopyOut(const std::string& s, LPSTR buffer, DWORD size) {
  if (!buffer || s.size() + 1 > size) return static_cast<DWORD>(s.size() + 1);
  s.copy(buffer, s.size());
  buffer[s.size()] = '\0';
  return static_cast<DWORD>(s.size());
}

}  // namespace

std::optional<std::string> FullWindowsPath(std::string_view path, size_t max_length,
                                           DWORD* error) {
  auto fail = [&](DWORD code) -> std::optional<std::string> {
    *error = code;
    return std::nullopt;
  };
  if (path.empty() || path.find('\0') != std::string_view::npos) return fail(ERROR_INVALID_NAME);
  if (path.size() >= kHostPathLimit) return fail(ERROR_FILENAME_EXCED_RANGE);
  std::string p(path);
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') return fail(ERROR_BAD_PATHNAME);

  std::string cwd = CurrentDirectory();
  char drive;
  std::vector<std::string> parts;
  std::string_view rest = p;
  if (p.size() >= 2 && p[1] == ':' && IsDriveLetter(p[0])) {
    drive = Upper(p[0]);
    rest.remove_prefix(2);
    // Drive-relative: against the current directory when it is on that drive, else the root.
    if ((rest.empty() || rest[0] != '\\') && Upper(cwd[0]) == drive)
      parts = Split(std::string_view(cwd).substr(2), '\\');
  } else {
    drive = Upper(cwd[0]);
    if (rest[0] != '\\') parts = Split(std::string_view(cwd).substr(2), '\\');
  }
  for (auto& part : Split(rest, '\\')) {
    for (unsigned char c : part)
      if (BadNameChar(c)) return fail(ERROR_INVALID_NAME);
    // Win32 drops trailing dots and spaces from a name.
    if (part != "." && part != "..") {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (part.empty()) continue;
    }
    Push(parts, std::move(part));
  }
  std::string out{drive, ':', '\\'};
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
  // A path that named a folder with a trailing separator keeps it (GetFullPathName does).
  if (!parts.empty() && (p.back() == '\\') && rest.size() > 0) out += '\\';
  if (out.size() >= max_length) return fail(ERROR_FILENAME_EXCED_RANGE);
  return out;
}

std::optional<std::string> ResolveHostPath(std::string_view path, size_t max_length,
                                           DWORD* error) {
  auto full = FullWindowsPath(path, max_length, error);
  if (!full) return std::nullopt;
  std::string host;
  if ((*full)[0] == 'C') {
    host = DriveCRoot();
  } else if ((*full)[0] != 'Z') {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  bool parent_exists = true;
  for (auto& part : Split(std::string_view(*full).substr(3), '\\')) {
    std::string exact = host + "/" + part;
    struct stat st;
    if (parent_exists && lstat(exact.c_str(), &st) != 0) {
      std::string found;
      if (DIR* dir = opendir(host.empty() ? "/" : host.c_str())) {
        while (dirent* e = readdir(dir)) {
          if (SameNoCase(e->d_name, part)) {
            found = e->d_name;
            break;
          }
        }
        closedir(dir);
      }
      if (found.empty()) parent_exists = false;
      else exact = host + "/" + found;
    }
    host = std::move(exact);
  }
  return host.empty() ? "/" : host;
}

std::optional<std::string> HostPath(std::string_view windows_path) {
  DWORD error = 0;
  auto host = ResolveHostPath(windows_path, kHostPathLimit, &error);
  if (!host) SetLastError(error);
  return host;
}

std::string WindowsPath(std::string_view host_path) {
  std::string path = LexicalHost(host_path);
  std::string croot = LexicalHost(DriveCRoot());
  std::string rest;
  char drive = 'Z';
  if (croot != "/" && (path == croot || path.starts_with(croot + "/"))) {
    drive = 'C';
    rest = path.substr(croot.size());
  } else {
    rest = path;
  }
  std::string out{drive, ':'};
  for (char c : rest) out += c == '/' ? '\\' : c;
  if (out.size() == 2) out += '\\';
  return out;
}

std::string DriveCRoot() {
  std::string root;
  if (const char* env = std::getenv("SHOWRAMA_DRIVE_C"); env && *env) {
    root = env;
  } else {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') {
      root = xdg;
    } else {
      const char* home = std::getenv("HOME");
      root = std::string(home && *home ? home : "/tmp") + "/.local/share";
    }
    root += "/showrama/drive_c";
  }
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  // Creates the whole chain; each step fails harmlessly when it exists.
  for (size_t i = 1; i <= root.size(); ++i)
    if (i == root.size() || root[i] == '/') MakeDir(root.substr(0, i));
  MakeDir(root + "/WINDOWS");
  MakeDir(root + "/WINDOWS/SYSTEM");
  MakeDir(root + "/TEMP");
  return root;
}

}  // namespace kernel

using kernel::CopyOut;

DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size) {
  if (module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  char exe[4096];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) {
    SetLastError(ERROR_GEN_FAILURE);
    return 0;
  }
  std::string path = kernel::WindowsPath(std::string_view(exe, static_cast<size_t>(n)));
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // Unlike the other path calls this one truncates, terminates and returns the size.
  if (path.size() + 1 > size) {
    path.copy(buffer, size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return CopyOut(path, buffer, size);
}

UINT GetWindowsDirectory(LPSTR buffer, UINT size) {
  kernel::DriveCRoot();
  return CopyOut("C:\\WINDOWS", buffer, size);
}

UINT GetSystemDirectory(LPSTR buffer, UINT size) {
  kernel::DriveCRoot();
  return CopyOut("C:\\WINDOWS\\SYSTEM", buffer, size);
}

DWORD GetTempPath(DWORD size, LPSTR buffer) {
  kernel::DriveCRoot();
  return CopyOut("C:\\TEMP\\", buffer, size);
}

DWORD GetCurrentDirectory(DWORD size, LPSTR buffer) {
  return CopyOut(kernel::CurrentDirectory(), buffer, size);
}

BOOL SetCurrentDirectory(LPCSTR path) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD error = 0;
  auto host = kernel::ResolveHostPath(path, MAX_PATH, &error);
  if (!host) {
    SetLastError(error);
    return FALSE;
  }
  struct stat st;
  if (stat(host->c_str(), &st) != 0) {
    SetLastError(kernel::ErrorFromErrno(errno, *host) == ERROR_FILE_NOT_FOUND
                     ? ERROR_FILE_NOT_FOUND
                     : ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  // Kept in the names found on disk, so later lookups need no case fallback.
  std::string windows = kernel::WindowsPath(*host);
  std::lock_guard lock(kernel::CwdMutex());
  kernel::Cwd() = windows;
  return TRUE;
}

DWORD GetFullPathName(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part) {
  if (file_part) *file_part = nullptr;
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD error = 0;
  auto full = kernel::FullWindowsPath(path, MAX_PATH, &error);
  if (!full) {
    SetLastError(error);
    return 0;
  }
  DWORD n = CopyOut(*full, buffer, size);
  if (n == full->size() && file_part && full->back() != '\\')
    *file_part = buffer + full->rfind('\\') + 1;
  return n;
}

DWORD GetLogicalDrives() { return (1u << ('C' - 'A')) | (1u << ('Z' - 'A')); }
