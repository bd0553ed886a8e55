// Open files as kernel objects, with Win32 share modes kept between this process's handles,
// and the calls that read and change files by name.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/kernel/filetime.h"
#include "platform/kernel/files_internal.h"
#include "platform/kernel/handles.h"
#include "platform/kernel/paths.h"
#include "platform/win32/file.h"

namespace kernel {
namespace {

// Attributes Linux has no bit for live in this extended attribute, as a decimal number.
constexpr const char* kAttributesXattr = "user.showrama.attributes";
constexpr DWORD kStoredAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
    FILE_ATTRIBUTE_TEMPORARY;

struct OpenFile : KernelObject {
  int fd = -1;
  dev_t dev = 0;
  ino_t ino = 0;
  bool read = false;
  bool write = false;
  DWORD share = 0;
  bool delete_on_close = false;
  std::string host;
  ~OpenFile() override {
    if (delete_on_close) unlink(host.c_str());
    if (fd >= 0) close(fd);
  }
};

struct FindState : KernelObject {
  std::vector<WIN32_FIND_DATA> entries;
  size_t next = 0;
};

struct Shares {
  std::mutex mutex;
  std::vector<std::weak_ptr<OpenFile>> files;
};
Shares& S() {
  static auto* s = new Shares;
  return *s;
}

struct WriteFault {
  std::mutex mutex;
  bool armed = false;
  size_t after = 0;
  int error = 0;
  bool cross_device = false;
};
WriteFault& Fault() {
  static auto* f = new WriteFault;
  return *f;
}

// Whether opening (dev, ino) with this access and share mode clashes with a handle already
// open; the caller holds S().mutex.
bool Conflicts(dev_t dev, ino_t ino, bool read, bool write, bool remove, DWORD share) {
  auto& files = S().files;
  std::erase_if(files, [](auto& w) { return w.expired(); });
  for (auto& w : files) {
    auto f = w.lock();
    if (!f || f->dev != dev || f->ino != ino) continue;
    if ((read && !(f->share & FILE_SHARE_READ)) || (write && !(f->share & FILE_SHARE_WRITE)) ||
        (remove && !(f->share & FILE_SHARE_DELETE)) || (f->read && !(share & FILE_SHARE_READ)) ||
        (f->write && !(share & FILE_SHARE_WRITE)) ||
        (f->delete_on_close && !(share & FILE_SHARE_DELETE)))
      return true;
  }
  return false;
}

bool ConflictsNow(const struct stat& st, bool read, bool write, bool remove, DWORD share) {
  std::lock_guard lock(S().mutex);
  return Conflicts(st.st_dev, st.st_ino, read, write, remove, share);
}

std::string BaseName(const std::string& host) { return host.substr(host.rfind('/') + 1); }
std::string DirName(const std::string& host) {
  size_t slash = host.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : host.substr(0, slash);
}

bool ReadOnly(const struct stat& st) { return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR); }

DWORD Attributes(const std::string& host, const struct stat& st) {
  DWORD a = 0;
  if (S_ISDIR(st.st_mode)) a |= FILE_ATTRIBUTE_DIRECTORY;
  if (ReadOnly(st)) a |= FILE_ATTRIBUTE_READONLY;
  char buf[16];
  ssize_t n = getxattr(host.c_str(), kAttributesXattr, buf, sizeof buf - 1);
  if (n > 0) {
    buf[n] = '\0';
    a |= static_cast<DWORD>(strtoul(buf, nullptr, 10)) & kStoredAttributes;
  } else if (!S_ISDIR(st.st_mode)) {
    a |= FILE_ATTRIBUTE_ARCHIVE;  // as a freshly written file on Win32
  }
  std::string name = BaseName(host);
  if (name.size() > 1 && name[0] == '.' && name != "..") a |= FILE_ATTRIBUTE_HIDDEN;
  return a ? a : FILE_ATTRIBUTE_NORMAL;
}

// Best effort: on file systems without user attributes the flags are dropped.
void StoreAttributes(const std::string& host, int fd, DWORD attributes) {
  std::string value = std::to_string(attributes & kStoredAttributes);
  if (fd >= 0) fsetxattr(fd, kAttributesXattr, value.data(), value.size(), 0);
  else setxattr(host.c_str(), kAttributesXattr, value.data(), value.size(), 0);
}

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

std::optional<std::string> Resolve(LPCSTR name, size_t limit = MAX_PATH) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  DWORD error = 0;
  auto host = ResolveHostPath(name, limit, &error);
  if (!host) SetLastError(error);
  return host;
}

std::shared_ptr<OpenFile> FileOf(HANDLE h) { return Lookup<OpenFile>(h); }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool Match(const char* p, const char* n) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*n) {
    if (*p == '?' || (*p && *p != '*' && Upper(*p) == Upper(*n))) {
      ++p;
      ++n;
    } else if (*p == '*') {
      star = p++;
      resume = n;
    } else if (star) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return !*p;
}

// "*.*" and "name.*" also match names without a dot, as on Win32.
bool MatchMask(const std::string& mask, const std::string& name) {
  if (mask == "*.*") return true;
  if (Match(mask.c_str(), name.c_str())) return true;
  return mask.size() > 2 && mask.ends_with(".*") &&
         name.find('.') == std::string::npos &&
         Match(mask.substr(0, mask.size() - 2).c_str(), name.c_str());
}

WIN32_FIND_DATA FindData(const std::string& host, const std::string& name,
                         const struct stat& st) {
  WIN32_FIND_DATA d{};
  d.dwFileAttributes = Attributes(name == "." || name == ".." ? DirName(host) : host, st);
  if (name == "." || name == "..") d.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
  d.ftCreationTime = FromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  d.ftLastAccessTime = FromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  d.ftLastWriteTime = d.ftCreationTime;
  if (!S_ISDIR(st.st_mode)) {
    d.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
    d.nFileSizeLow = static_cast<DWORD>(st.st_size);
  }
  name.copy(d.cFileName, MAX_PATH - 1);
  return d;
}

// Copies src (whose stat is st) into a temporary file beside dst, then puts it in place, so
// a failed copy never leaves dst half written. 0 or a Win32 error.
DWORD CopyContents(const std::string& src, const struct stat& st, const std::string& dst,
                   bool replace) {
  int in = open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return ErrorFromErrno(errno, src);
  std::string temp = DirName(dst) + "/." + BaseName(dst) + ".XXXXXX";
  int out = mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    int e = errno;
    close(in);
    return ErrorFromErrno(e, dst, true, true);
  }
  DWORD error = 0;
  std::vector<char> buf(1 << 16);
  for (;;) {
    ssize_t n = read(in, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = ErrorFromErrno(errno, src);
      break;
    }
    if (n == 0) break;
    size_t written = 0;
    if (!WriteAll(out, buf.data(), static_cast<size_t>(n), &written)) {
      error = ErrorFromErrno(errno, {}, false, true);
      break;
    }
  }
  close(in);
  if (!error && fsync(out) != 0) error = ErrorFromErrno(errno, {}, false, true);
  if (!error) {
    fchmod(out, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out, times);
    char attr[16];
    ssize_t n = getxattr(src.c_str(), kAttributesXattr, attr, sizeof attr);
    if (n > 0) fsetxattr(out, kAttributesXattr, attr, static_cast<size_t>(n), 0);
  }
  if (close(out) != 0 && !error) error = ErrorFromErrno(errno, {}, false, true);
  if (!error) {
    if (replace) {
      if (rename(temp.c_str(), dst.c_str()) != 0) error = ErrorFromErrno(errno, dst);
    } else if (link(temp.c_str(), dst.c_str()) != 0) {
      // link() refuses to replace atomically; without hard links, check then rename.
      struct stat existing;
      if (errno == EEXIST || lstat(dst.c_str(), &existing) == 0) error = ERROR_FILE_EXISTS;
      else if (rename(temp.c_str(), dst.c_str()) != 0) error = ErrorFromErrno(errno, dst);
    }
  }
  unlink(temp.c_str());  // after a rename this name is gone already
  return error;
}

}  // namespace

DWORD ErrorFromErrno(int err, const std::string& host_path, bool creating, bool writing) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: {
      if (host_path.empty()) return ERROR_FILE_NOT_FOUND;
      struct stat st;
      std::string parent = DirName(host_path);
      return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EEXIST: return creating ? ERROR_FILE_EXISTS : ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EFBIG: return ERROR_FILE_TOO_LARGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EBUSY: return ERROR_BUSY;
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EFAULT: return ERROR_NOACCESS;
    case EIO: return writing ? ERROR_WRITE_FAULT : ERROR_READ_FAULT;
    default: return ERROR_GEN_FAILURE;
  }
}

bool WriteAll(int fd, const void* data, size_t size, size_t* written) {
  const char* p = static_cast<const char*>(data);
  size_t limit = size;
  int fault = 0;
  {
    WriteFault& f = Fault();
    std::lock_guard lock(f.mutex);
    if (f.armed) {
      f.armed = false;
      limit = std::min(size, f.after);
      fault = f.error;
    }
  }
  size_t done = 0;
  while (done < limit) {
    ssize_t n = write(fd, p + done, limit - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;  // no progress: the disk is full
      *written = done;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  *written = done;
  if (fault) {
    errno = fault;
    return false;
  }
  return true;
}

namespace testing {
void FailNextWrite(size_t after_bytes, int error) {
  WriteFault& f = Fault();
  std::lock_guard lock(f.mutex);
  f.armed = true;
  f.after = after_bytes;
  f.error = error;
}
void ForceCrossDevice(bool on) {
  WriteFault& f = Fault();
  std::lock_guard lock(f.mutex);
  f.cross_device = on;
}
bool CrossDeviceForced() {
  WriteFault& f = Fault();
  std::lock_guard lock(f.mutex);
  return f.cross_device;
}
}  // namespace testing

}  // namespace kernel

using namespace kernel;

HANDLE CreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                  DWORD disposition, DWORD flags, HANDLE) {
  auto host = Resolve(name);
  if (!host) return INVALID_HANDLE_VALUE;
  bool read = access & (GENERIC_READ | GENERIC_ALL);
  bool write = access & (GENERIC_WRITE | GENERIC_ALL);
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
      (disposition == TRUNCATE_EXISTING && !write)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  bool exists = stat(host->c_str(), &st) == 0;
  bool dir = exists && S_ISDIR(st.st_mode);
  bool truncating = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  DWORD refusal = 0;
  if (exists && disposition == CREATE_NEW) refusal = ERROR_FILE_EXISTS;
  else if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING))
    refusal = ErrorFromErrno(ENOENT, *host);
  else if (dir && (!(flags & FILE_FLAG_BACKUP_SEMANTICS) || truncating || write))
    refusal = ERROR_ACCESS_DENIED;
  else if (exists && ReadOnly(st) && (write || truncating)) refusal = ERROR_ACCESS_DENIED;
  if (refusal) {
    SetLastError(refusal);
    return INVALID_HANDLE_VALUE;
  }
  int oflags = O_CLOEXEC | (dir ? O_RDONLY | O_DIRECTORY : write ? (read ? O_RDWR : O_WRONLY)
                                                                 : O_RDONLY);
  if (!exists) oflags |= O_CREAT | (disposition == CREATE_NEW ? O_EXCL : 0);
  mode_t mode = (flags & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  int fd = open(host->c_str(), oflags, mode);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno, *host, true));
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_shared<OpenFile>();
  file->fd = fd;
  file->read = read;
  file->write = write;
  file->share = share;
  file->host = *host;
  fstat(fd, &st);
  file->dev = st.st_dev;
  file->ino = st.st_ino;
  std::lock_guard lock(S().mutex);
  if (Conflicts(st.st_dev, st.st_ino, read, write, false, share)) {
    if (!exists) unlink(host->c_str());
    file->host.clear();
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;  // the object closes the descriptor
  }
  if (exists && truncating && truncate(host->c_str(), 0) != 0) {
    SetLastError(ErrorFromErrno(errno, *host, false, true));
    return INVALID_HANDLE_VALUE;
  }
  if (!exists || disposition == CREATE_ALWAYS) StoreAttributes(*host, fd, flags | FILE_ATTRIBUTE_ARCHIVE);
  file->delete_on_close = flags & FILE_FLAG_DELETE_ON_CLOSE;
  HANDLE h = Register(file);
  S().files.push_back(file);
  SetLastError(exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
                   ? ERROR_ALREADY_EXISTS
                   : ERROR_SUCCESS);
  return h;
}

BOOL ReadFile(HANDLE h, LPVOID buffer, DWORD count, LPDWORD read_count, LPOVERLAPPED overlapped) {
  if (read_count) *read_count = 0;
  auto f = FileOf(h);
  if (!f) return FALSE;
  if (overlapped || (!buffer && count)) return Fail(ERROR_INVALID_PARAMETER);
  if (!f->read) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  while (done < count) {
    ssize_t n = read(f->fd, static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (read_count) *read_count = done;
      return Fail(ErrorFromErrno(errno));
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (read_count) *read_count = done;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL WriteFile(HANDLE h, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
  if (written) *written = 0;
  auto f = FileOf(h);
  if (!f) return FALSE;
  if (overlapped || (!buffer && count)) return Fail(ERROR_INVALID_PARAMETER);
  if (!f->write) return Fail(ERROR_ACCESS_DENIED);
  size_t done = 0;
  bool ok = WriteAll(f->fd, buffer, count, &done);
  if (written) *written = static_cast<DWORD>(done);
  if (!ok) return Fail(ErrorFromErrno(errno, {}, false, true));
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

DWORD SetFilePointer(HANDLE h, LONG distance, PLONG distance_high, DWORD method) {
  auto f = FileOf(h);
  if (!f) return INVALID_SET_FILE_POINTER;
  int64_t move = distance_high
                     ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(*distance_high)) << 32) |
                                            static_cast<DWORD>(distance))
                     : distance;
  int64_t base = 0;
  struct stat st;
  if (method == FILE_CURRENT) {
    base = lseek(f->fd, 0, SEEK_CUR);
  } else if (method == FILE_END) {
    base = fstat(f->fd, &st) == 0 ? st.st_size : -1;
  } else if (method != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  int64_t target = base + move;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the position must fit in 32 bits.
  if (!distance_high && target > 0xFFFFFFFELL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (lseek(f->fd, target, SEEK_SET) < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distance_high) *distance_high = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target);
}

BOOL SetEndOfFile(HANDLE h) {
  auto f = FileOf(h);
  if (!f) return FALSE;
  if (!f->write) return Fail(ERROR_ACCESS_DENIED);
  off_t at = lseek(f->fd, 0, SEEK_CUR);
  if (at < 0 || ftruncate(f->fd, at) != 0) return Fail(ErrorFromErrno(errno, {}, false, true));
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE h) {
  auto f = FileOf(h);
  if (!f) return FALSE;
  if (!f->write) return Fail(ERROR_ACCESS_DENIED);
  if (fsync(f->fd) != 0) return Fail(ErrorFromErrno(errno, {}, false, true));
  return TRUE;
}

DWORD GetFileSize(HANDLE h, LPDWORD size_high) {
  auto f = FileOf(h);
  if (!f) return INVALID_FILE_SIZE;
  struct stat st;
  if (fstat(f->fd, &st) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(st.st_size);
  if (size_high) *size_high = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

DWORD GetFileAttributes(LPCSTR name) {
  auto host = Resolve(name);
  if (!host) return INVALID_FILE_ATTRIBUTES;
  struct stat st;
  if (stat(host->c_str(), &st) != 0) {
    SetLastError(ErrorFromErrno(errno, *host));
    return INVALID_FILE_ATTRIBUTES;
  }
  return Attributes(*host, st);
}

BOOL SetFileAttributes(LPCSTR name, DWORD attributes) {
  auto host = Resolve(name);
  if (!host) return FALSE;
  struct stat st;
  if (stat(host->c_str(), &st) != 0) return Fail(ErrorFromErrno(errno, *host));
  if (!S_ISDIR(st.st_mode)) {
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? mode & ~mode_t(0222) : mode | S_IWUSR;
    if (mode != (st.st_mode & 07777) && chmod(host->c_str(), mode) != 0)
      return Fail(ErrorFromErrno(errno, *host));
  }
  StoreAttributes(*host, -1, attributes);
  return TRUE;
}

BOOL GetFileTime(HANDLE h, LPFILETIME creation, LPFILETIME access, LPFILETIME write) {
  auto f = FileOf(h);
  if (!f) return FALSE;
  struct statx sx;
  if (statx(f->fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
    return Fail(ErrorFromErrno(errno));
  auto ft = [](const struct statx_timestamp& t) { return FromUnix(t.tv_sec, t.tv_nsec); };
  // Without a birth time the file is as old as its contents.
  if (creation) *creation = ft((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime);
  if (access) *access = ft(sx.stx_atime);
  if (write) *write = ft(sx.stx_mtime);
  return TRUE;
}

BOOL SetFileTime(HANDLE h, const FILETIME*, const FILETIME* access, const FILETIME* write) {
  auto f = FileOf(h);
  if (!f) return FALSE;
  if (!f->write) return Fail(ERROR_ACCESS_DENIED);
  // Linux keeps no settable creation time; a null or all-zero (or all-ones) time stays.
  auto to_timespec = [](const FILETIME* t) {
    struct timespec ts{0, UTIME_OMIT};
    if (t && Ticks(*t) != 0 && Ticks(*t) != ~0ull) {
      int64_t s, ns;
      ToUnix(*t, &s, &ns);
      ts = {static_cast<time_t>(s), static_cast<long>(ns)};
    }
    return ts;
  };
  const struct timespec times[2] = {to_timespec(access), to_timespec(write)};
  if (futimens(f->fd, times) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL CopyFile(LPCSTR existing, LPCSTR target, BOOL fail_if_exists) {
  auto src = Resolve(existing);
  if (!src) return FALSE;
  auto dst = Resolve(target);
  if (!dst) return FALSE;
  struct stat s, d;
  if (stat(src->c_str(), &s) != 0) return Fail(ErrorFromErrno(errno, *src));
  if (S_ISDIR(s.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (stat(dst->c_str(), &d) == 0) {
    if (d.st_dev == s.st_dev && d.st_ino == s.st_ino) return Fail(ERROR_SHARING_VIOLATION);
    if (fail_if_exists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(d.st_mode) || ReadOnly(d)) return Fail(ERROR_ACCESS_DENIED);
    if (ConflictsNow(d, false, true, true, 0)) return Fail(ERROR_SHARING_VIOLATION);
  } else if (errno != ENOENT) {
    return Fail(ErrorFromErrno(errno, *dst));
  }
  if (ConflictsNow(s, true, false, false, FILE_SHARE_READ | FILE_SHARE_WRITE))
    return Fail(ERROR_SHARING_VIOLATION);
  if (DWORD error = CopyContents(*src, s, *dst, !fail_if_exists)) return Fail(error);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL MoveFileEx(LPCSTR existing, LPCSTR target, DWORD flags) {
  if (!target || (flags & MOVEFILE_DELAY_UNTIL_REBOOT)) return Fail(ERROR_INVALID_PARAMETER);
  auto src = Resolve(existing);
  if (!src) return FALSE;
  auto dst = Resolve(target);
  if (!dst) return FALSE;
  struct stat s, d;
  if (lstat(src->c_str(), &s) != 0) return Fail(ErrorFromErrno(errno, *src));
  const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  if (ConflictsNow(s, false, false, true, all)) return Fail(ERROR_SHARING_VIOLATION);
  bool replace = flags & MOVEFILE_REPLACE_EXISTING;
  bool exists = lstat(dst->c_str(), &d) == 0;
  if (exists && d.st_dev == s.st_dev && d.st_ino == s.st_ino) {
    // The case fallback found the source itself: a rename that changes only the case takes
    // the last name as the caller spelled it.
    DWORD error = 0;
    auto full = FullWindowsPath(target, MAX_PATH, &error);
    if (full && full->back() != '\\')
      *dst = DirName(*dst) + "/" + full->substr(full->rfind('\\') + 1);
  } else if (exists) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(d.st_mode) || S_ISDIR(s.st_mode) || ReadOnly(d)) return Fail(ERROR_ACCESS_DENIED);
    if (ConflictsNow(d, false, false, true, all)) return Fail(ERROR_SHARING_VIOLATION);
  }
  int err = kernel::testing::CrossDeviceForced() ? EXDEV : 0;
  if (!err && rename(src->c_str(), dst->c_str()) != 0) err = errno;
  if (err == EXDEV) {
    if (!(flags & MOVEFILE_COPY_ALLOWED) || !S_ISREG(s.st_mode))
      return Fail(ERROR_NOT_SAME_DEVICE);
    // The copy is complete and on disk before the source goes; a failed copy keeps it.
    if (DWORD error = CopyContents(*src, s, *dst, replace)) return Fail(error);
    if (unlink(src->c_str()) != 0) return Fail(ErrorFromErrno(errno, *src));
  } else if (err) {
    return Fail(ErrorFromErrno(err, *src));
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL MoveFile(LPCSTR existing, LPCSTR target) {
  return MoveFileEx(existing, target, MOVEFILE_COPY_ALLOWED);
}

BOOL DeleteFile(LPCSTR name) {
  auto host = Resolve(name);
  if (!host) return FALSE;
  struct stat st;
  if (lstat(host->c_str(), &st) != 0) return Fail(ErrorFromErrno(errno, *host));
  if (S_ISDIR(st.st_mode) || ReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
  const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  if (ConflictsNow(st, false, false, true, all)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(host->c_str()) != 0) return Fail(ErrorFromErrno(errno, *host));
  return TRUE;
}

BOOL CreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES) {
  // Win32 leaves room for an 8.3 name below a new folder.
  auto host = Resolve(name, MAX_PATH - 12);
  if (!host) return FALSE;
  if (mkdir(host->c_str(), 0777) != 0) {
    if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
    return Fail(ErrorFromErrno(errno, *host));
  }
  return TRUE;
}

BOOL RemoveDirectory(LPCSTR name) {
  auto host = Resolve(name);
  if (!host) return FALSE;
  if (rmdir(host->c_str()) != 0) {
    if (errno == ENOTDIR) return Fail(ERROR_DIRECTORY);
    if (errno == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);
    return Fail(ErrorFromErrno(errno, *host));
  }
  return TRUE;
}

HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data) {
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string p = pattern;
  std::replace(p.begin(), p.end(), '/', '\\');
  std::string dir, mask;
  size_t cut = p.rfind('\\');
  if (cut != std::string::npos) {
    dir = p.substr(0, cut + 1);
    mask = p.substr(cut + 1);
  } else if (p.size() >= 2 && p[1] == ':') {
    dir = p.substr(0, 2);
    mask = p.substr(2);
  } else {
    dir = ".";
    mask = p;
  }
  if (p.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return INVALID_HANDLE_VALUE;
  }
  if (mask.empty() || mask.find_first_of("<>\"|:") != std::string::npos ||
      mask.find('\0') != std::string::npos) {
    SetLastError(mask.empty() ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  DWORD error = 0;
  auto full = FullWindowsPath(dir, MAX_PATH, &error);
  auto host = full ? ResolveHostPath(*full, MAX_PATH, &error) : std::nullopt;
  struct stat st;
  if (!host) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  if (stat(host->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  bool root = full->size() == 3;
  auto state = std::make_shared<FindState>();
  if (DIR* d = opendir(host->c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.size() >= MAX_PATH || (root && (name == "." || name == ".."))) continue;
      if (!MatchMask(mask, name)) continue;
      std::string path = (*host == "/" ? "" : *host) + "/" + name;
      if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) continue;
      state->entries.push_back(FindData(path, name, st));
    }
    closedir(d);
  }
  if (state->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::sort(state->entries.begin(), state->entries.end(), [](const auto& a, const auto& b) {
    return strcasecmp(a.cFileName, b.cFileName) < 0;
  });
  *data = state->entries[0];
  state->next = 1;
  SetLastError(ERROR_SUCCESS);
  return Register(state);
}

BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATA data) {
  auto state = Lookup<FindState>(find);
  if (!state) return FALSE;
  if (!data) return Fail(ERROR_INVALID_PARAMETER);
  if (state->next >= state->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  *data = state->entries[state->next++];
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  if (!Lookup<FindState>(find)) return FALSE;
  return Close(find) ? TRUE : FALSE;
}
