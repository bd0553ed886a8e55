// System information as the emulated platform reports it, drawn from the real machine.
#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>

#include "platform/gdi/object.h"
#include "platform/kernel/identity.h"
#include "platform/user/window.h"
#include "platform/win32/sysinfo.h"

extern char** environ;

namespace kernel {
namespace {

passwd* Account(passwd& entry, std::string& storage) {
  storage.resize(16384);
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, storage.data(), storage.size(), &found) != 0) return nullptr;
  return found;
}

// A figure from /proc/meminfo in bytes, or -1.
int64_t MemInfo(const std::string& text, const char* field) {
  std::string key = std::string("\n") + field + ":";
  size_t at = ("\n" + text).find(key);
  if (at == std::string::npos) return -1;
  const char* p = text.c_str() + at + key.size() - 1;
  char* end = nullptr;
  long long kb = std::strtoll(p, &end, 10);
  if (end == p || kb < 0) return -1;
  return static_cast<int64_t>(kb) * 1024;
}

// Byte counts as a 32-bit program that is not large-address aware sees them.
DWORD Clamp2G(int64_t bytes) {
  if (bytes <= 0) return 0;
  return static_cast<DWORD>(std::min<int64_t>(bytes, int64_t{1} << 31));
}

std::mutex env_mutex;
std::set<char*>& Blocks() {
  static auto* blocks = new std::set<char*>;
  return *blocks;
}

void Copy(LPSTR buffer, const std::string& s) { std::memcpy(buffer, s.c_str(), s.size() + 1); }

size_t CountWindows(const std::vector<user::Window*>& list) {
  size_t n = 0;
  for (const user::Window* w : list) n += 1 + CountWindows(w->children);
  return n;
}

}  // namespace

std::string LoginName() {
  passwd entry;
  std::string storage;
  if (passwd* p = Account(entry, storage); p && p->pw_name && *p->pw_name) return p->pw_name;
  if (const char* user = std::getenv("USER"); user && *user) return user;
  return "user";
}

std::string FullUserName() {
  passwd entry;
  std::string storage;
  if (passwd* p = Account(entry, storage); p && p->pw_gecos) {
    std::string gecos = p->pw_gecos;
    gecos = gecos.substr(0, gecos.find(','));
    if (!gecos.empty()) return gecos;
  }
  return LoginName();
}

}  // namespace kernel

void GetSystemInfo(LPSYSTEM_INFO info) {
  if (!info) return;
  *info = SYSTEM_INFO{};
  long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  if (cpus < 1) cpus = 1;
  long page = sysconf(_SC_PAGESIZE);
  info->dwNumberOfProcessors = static_cast<DWORD>(cpus);
  info->dwActiveProcessorMask = cpus >= 64 ? ~DWORD_PTR{0} : ((DWORD_PTR{1} << cpus) - 1);
  info->dwPageSize = page > 0 ? static_cast<DWORD>(page) : 4096;
  info->dwAllocationGranularity = 65536;
  // The user part of a 32-bit address space.
  info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x00010000);
  info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFEFFFF);
#if defined(__i386__) || defined(__x86_64__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
  info->dwProcessorType = PROCESSOR_INTEL_PENTIUM;
  info->wProcessorLevel = 5;
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  int model = -1, stepping = -1;
  while (std::getline(cpuinfo, line) && (model < 0 || stepping < 0)) {
    auto field = [&](const char* name, int& out) {
      if (line.rfind(name, 0) == 0 && line.find(':') != std::string::npos) out = std::atoi(line.c_str() + line.find(':') + 1);
    };
    field("model\t", model);
    field("stepping", stepping);
  }
  if (model >= 0 && stepping >= 0) info->wProcessorRevision = static_cast<WORD>(((model & 0xFF) << 8) | (stepping & 0xFF));
#elif defined(__arm__) || defined(__aarch64__)
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM;
#else
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
}

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
  if (!status) return;
  std::ifstream file("/proc/meminfo");
  std::stringstream buffer;
  buffer << file.rdbuf();
  std::string text = buffer.str();
  int64_t total = kernel::MemInfo(text, "MemTotal");
  int64_t avail = kernel::MemInfo(text, "MemAvailable");
  if (avail < 0) avail = kernel::MemInfo(text, "MemFree");
  int64_t swap_total = std::max<int64_t>(0, kernel::MemInfo(text, "SwapTotal"));
  int64_t swap_free = std::max<int64_t>(0, kernel::MemInfo(text, "SwapFree"));
  if (total <= 0) {
    // No /proc: what sysconf knows.
    total = static_cast<int64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    avail = static_cast<int64_t>(sysconf(_SC_AVPHYS_PAGES)) * sysconf(_SC_PAGESIZE);
  }
  avail = std::clamp<int64_t>(avail, 0, std::max<int64_t>(total, 0));
  *status = MEMORYSTATUS{};
  status->dwLength = sizeof(MEMORYSTATUS);
  status->dwMemoryLoad = total > 0 ? static_cast<DWORD>((total - avail) * 100 / total) : 0;
  status->dwTotalPhys = kernel::Clamp2G(total);
  status->dwAvailPhys = kernel::Clamp2G(avail);
  status->dwTotalPageFile = kernel::Clamp2G(total + swap_total);
  status->dwAvailPageFile = kernel::Clamp2G(avail + swap_free);
  // A 2 GB user address space less the 64 KB guard areas at each end, less what we use.
  constexpr int64_t kVirtual = 0x7FFE0000;
  int64_t used = 0;
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  if (statm >> pages) used = static_cast<int64_t>(pages) * sysconf(_SC_PAGESIZE);
  status->dwTotalVirtual = static_cast<DWORD>(kVirtual);
  status->dwAvailVirtual = static_cast<DWORD>(std::clamp<int64_t>(kVirtual - used, 0, kVirtual));
}

BOOL GetVersionEx(LPOSVERSIONINFO info) {
  if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = 4;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = (4u << 24) | (0u << 16) | 950u;
  info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

DWORD GetVersion() { return 0x80000000u | (950u << 16) | (0u << 8) | 4u; }

BOOL GetUserName(LPSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string name = kernel::LoginName();
  DWORD needed = static_cast<DWORD>(name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  kernel::Copy(buffer, name);
  *size = needed;
  return TRUE;
}

BOOL GetComputerName(LPSTR buffer, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0 || !host[0]) std::strcpy(host, "localhost");
  std::string name(host);
  name = name.substr(0, name.find('.'));  // the host, not the domain
  if (name.size() > MAX_COMPUTERNAME_LENGTH) name.resize(MAX_COMPUTERNAME_LENGTH);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  DWORD needed = static_cast<DWORD>(name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  kernel::Copy(buffer, name);
  *size = needed - 1;
  return TRUE;
}

LPCH GetEnvironmentStrings() {
  std::lock_guard lock(kernel::env_mutex);
  std::string block;
  for (char** e = environ; e && *e; ++e) {
    block += *e;
    block += '\0';
  }
  if (block.empty()) block += '\0';  // an empty block still ends with two zeros
  block += '\0';
  auto* copy = static_cast<char*>(std::malloc(block.size()));
  if (!copy) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::memcpy(copy, block.data(), block.size());
  kernel::Blocks().insert(copy);
  return copy;
}

BOOL FreeEnvironmentStrings(LPCH block) {
  std::lock_guard lock(kernel::env_mutex);
  if (!kernel::Blocks().erase(block)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::free(block);
  return TRUE;
}

DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size) {
  if (!name || !*name) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  std::string value;
  bool found = false;
  {
    std::lock_guard lock(kernel::env_mutex);
    if (const char* v = std::getenv(name)) {
      value = v;
      found = true;
    } else {
      size_t n = std::strlen(name);
      for (char** e = environ; e && *e && !found; ++e) {
        if (strncasecmp(*e, name, n) == 0 && (*e)[n] == '=') {
          value = *e + n + 1;
          found = true;
        }
      }
    }
  }
  if (!found) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  if (!buffer || size < value.size() + 1) return static_cast<DWORD>(value.size() + 1);
  kernel::Copy(buffer, value);
  return static_cast<DWORD>(value.size());
}

BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value) {
  if (!name || !*name || std::strchr(name, '=')) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(kernel::env_mutex);
  int r = value ? setenv(name, value, 1) : unsetenv(name);
  if (r != 0) {
    SetLastError(errno == ENOMEM ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  if (milliseconds == INFINITE) {
    for (;;) pause();
  }
  timespec left{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

namespace {
void FillTime(LPSYSTEMTIME time, bool local) {
  if (!time) return;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  if (local)
    localtime_r(&now.tv_sec, &parts);
  else
    gmtime_r(&now.tv_sec, &parts);
  time->wYear = static_cast<WORD>(parts.tm_year + 1900);
  time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  time->wDay = static_cast<WORD>(parts.tm_mday);
  time->wHour = static_cast<WORD>(parts.tm_hour);
  time->wMinute = static_cast<WORD>(parts.tm_min);
  time->wSecond = static_cast<WORD>(std::min(parts.tm_sec, 59));  // no leap seconds on Win32
  time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

const char* SystemMessage(DWORD id) {
  switch (id) {
    case ERROR_SUCCESS: return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.";
    case ERROR_TOO_MANY_OPEN_FILES: return "The system cannot open the file.";
    case ERROR_ACCESS_DENIED: return "Access is denied.";
    case ERROR_INVALID_HANDLE: return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY: return "Not enough storage is available to process this command.";
    case ERROR_BAD_FORMAT: return "An attempt was made to load a program with an incorrect format.";
    case ERROR_INVALID_DATA: return "The data is invalid.";
    case ERROR_OUTOFMEMORY: return "Not enough storage is available to complete this operation.";
    case ERROR_INVALID_DRIVE: return "The system cannot find the drive specified.";
    case ERROR_NOT_SAME_DEVICE: return "The system cannot move the file to a different disk drive.";
    case ERROR_NO_MORE_FILES: return "There are no more files.";
    case ERROR_WRITE_FAULT: return "The system cannot write to the specified device.";
    case ERROR_READ_FAULT: return "The system cannot read from the specified device.";
    case ERROR_SHARING_VIOLATION:
      return "The process cannot access the file because it is being used by another process.";
    case ERROR_LOCK_VIOLATION:
      return "The process cannot access the file because another process has locked a portion of the file.";
    case ERROR_HANDLE_EOF: return "Reached the end of the file.";
    case ERROR_NOT_SUPPORTED: return "The request is not supported.";
    case ERROR_FILE_EXISTS: return "The file exists.";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
    case ERROR_BUFFER_OVERFLOW: return "The file name is too long.";
    case ERROR_DISK_FULL: return "There is not enough space on the disk.";
    case ERROR_INSUFFICIENT_BUFFER: return "The data area passed to a system call is too small.";
    case ERROR_INVALID_NAME: return "The filename, directory name, or volume label syntax is incorrect.";
    case ERROR_DIR_NOT_EMPTY: return "The directory is not empty.";
    case ERROR_BAD_PATHNAME: return "The specified path is invalid.";
    case ERROR_ALREADY_EXISTS: return "Cannot create a file when that file already exists.";
    case ERROR_ENVVAR_NOT_FOUND: return "The system could not find the environment option that was entered.";
    case ERROR_FILENAME_EXCED_RANGE: return "The filename or extension is too long.";
    case ERROR_MORE_DATA: return "More data is available.";
    case ERROR_NO_MORE_ITEMS: return "No more data is available.";
    case ERROR_DIRECTORY: return "The directory name is invalid.";
    case ERROR_NOT_OWNER: return "Attempt to release mutex not owned by caller.";
    case ERROR_MR_MID_NOT_FOUND:
      return "The system cannot find message text for message number 0x%1 in the message file for %2.";
    case ERROR_BADDB: return "The configuration registry database is corrupt.";
    case ERROR_BADKEY: return "The configuration registry key is invalid.";
    case ERROR_KEY_DELETED: return "Illegal operation attempted on a registry key that has been marked for deletion.";
    case ERROR_INVALID_WINDOW_HANDLE: return "Invalid window handle.";
    case ERROR_CANNOT_FIND_WND_CLASS: return "Cannot find window class.";
    case ERROR_CLASS_ALREADY_EXISTS: return "Class already exists.";
    case ERROR_CLASS_DOES_NOT_EXIST: return "Class does not exist.";
    case ERROR_INVALID_PIXEL_FORMAT: return "The pixel format is invalid.";
    default: return nullptr;
  }
}
}  // namespace

void GetLocalTime(LPSYSTEMTIME time) { FillTime(time, true); }
void GetSystemTime(LPSYSTEMTIME time) { FillTime(time, false); }

DWORD FormatMessage(DWORD flags, LPCVOID, DWORD message_id, DWORD, LPSTR buffer, DWORD size, va_list*) {
  // Only the system's own texts are offered, into the caller's buffer.
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || (flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER))) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  const char* text = SystemMessage(message_id);
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  std::string message = text;
  if ((flags & FORMAT_MESSAGE_MAX_WIDTH_MASK) != FORMAT_MESSAGE_MAX_WIDTH_MASK) message += "\r\n";
  if (!buffer || size < message.size() + 1) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  kernel::Copy(buffer, message);
  return static_cast<DWORD>(message.size());
}

UINT GetFreeSystemResources(UINT type) {
  // The two 64 KB heaps of the consumer line: each GDI object and each window takes its share,
  // and a freshly started system already has some of them in use.
  constexpr size_t kGdiCapacity = 2000, kUserCapacity = 800, kBaseUsedPercent = 8;
  auto percent = [&](size_t used, size_t capacity) {
    size_t taken = kBaseUsedPercent + (used * 100 + capacity - 1) / capacity;
    return static_cast<UINT>(taken >= 100 ? 0 : 100 - taken);
  };
  UINT gdi = percent(gdi::LiveHandleCount(), kGdiCapacity);
  UINT usr = percent(kernel::CountWindows(user::TopLevel()), kUserCapacity);
  switch (type) {
    case GFSR_GDIRESOURCES: return gdi;
    case GFSR_USERRESOURCES: return usr;
    case GFSR_SYSTEMRESOURCES: return std::min(gdi, usr);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}
