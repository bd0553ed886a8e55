#include "platform/kernel/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>

namespace kernel {
namespace {

// ERROR_FILE_TOO_LARGE, kept local so this file needs nothing beyond types.h.
constexpr DWORD kFileTooLarge = 223;

std::mutex hook_mutex;
std::function<bool(const std::string&)> write_hook;

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

DWORD Win32ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    default: return ERROR_WRITE_FAULT;
  }
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t max_bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // A missing folder on the way reads as "path not found", as on Win32.
    int e = errno;
    if (e == ENOENT) {
      struct stat st;
      std::string folder = Folder(path);
      if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) e = ENOTDIR;
    }
    SetLastError(Win32ErrorFromErrno(e));
    return std::nullopt;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }
  std::string data;
  char chunk[16384];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      SetLastError(ERROR_READ_FAULT);
      return std::nullopt;
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > max_bytes) {
      close(fd);
      SetLastError(kFileTooLarge);
      return std::nullopt;
    }
    data.append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return data;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> serial{0};
  std::string temp = path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
    return false;
  }
  // Keep the permissions of the file being replaced.
  struct stat st;
  if (stat(path.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
    DWORD error = Win32ErrorFromErrno(errno);
    close(fd);
    unlink(temp.c_str());
    SetLastError(error);
    return false;
  }
  close(fd);
  {
    std::lock_guard lock(hook_mutex);
    if (write_hook && !write_hook(temp)) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    DWORD error = Win32ErrorFromErrno(errno);
    unlink(temp.c_str());
    SetLastError(error);
    return false;
  }
  // The rename itself is only durable once the folder is synced.
  int dir = open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

void SetAtomicWriteHook(std::function<bool(const std::string& temp_path)> hook) {
  std::lock_guard lock(hook_mutex);
  write_hook = std::move(hook);
}

}  // namespace kernel
