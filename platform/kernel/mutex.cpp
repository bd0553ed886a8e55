// Mutexes. A named mutex exists while any process of the user holds a handle to it: each
// holder keeps a shared flock on a lock file named after it, so the kernel drops a crashed
// holder's share by itself. Whoever can take the lock exclusively finds nobody else holding
// it and is the creator; a guard file makes that test and the step down to a shared lock one
// move, so two creators racing cannot both believe they came first.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/handles.h"
#include "platform/win32/sysinfo.h"

namespace kernel {
namespace {

constexpr size_t kMaxName = 260;

// The state every handle to one mutex in this process shares.
struct MutexCore {
  std::mutex lock;
  std::thread::id owner;
  unsigned count = 0;
  int fd = -1;  // the lock file, for named mutexes
  std::string name;
  ~MutexCore();
};

struct MutexHandle : KernelObject {
  std::shared_ptr<MutexCore> core;
};

std::mutex names_mutex;
std::map<std::string, std::weak_ptr<MutexCore>>& Names() {
  static auto* names = new std::map<std::string, std::weak_ptr<MutexCore>>;
  return *names;
}

MutexCore::~MutexCore() {
  if (fd >= 0) close(fd);  // lets go of the shared lock
}

std::string LockFolder() {
  if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run == '/') return run;
  std::string folder = "/tmp/showrama-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  return folder;
}

// The name as a file name: anything but letters, digits, '-', '_' and '.' is escaped.
std::string FileName(const std::string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "showrama-mutex-";
  for (size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (std::isalnum(c) || c == '-' || c == '_' || (c == '.' && i > 0)) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

int OpenLock(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) SetLastError(Win32ErrorFromErrno(errno));
  return fd;
}

int Flock(int fd, int op) {
  int r;
  while ((r = flock(fd, op)) != 0 && errno == EINTR) {
  }
  return r;
}

// Joins the mutex across processes: true in `first` when nobody else held it.
bool JoinNamed(MutexCore& core, bool& first) {
  std::string base = LockFolder() + "/" + FileName(core.name);
  int guard = OpenLock(base + ".guard");
  if (guard < 0) return false;
  int fd = OpenLock(base + ".lock");
  if (fd < 0) {
    close(guard);
    return false;
  }
  bool ok = Flock(guard, LOCK_EX) == 0;
  if (ok) {
    first = Flock(fd, LOCK_EX | LOCK_NB) == 0;
    // Under the guard nobody else holds it exclusively, so the shared lock comes at once.
    ok = Flock(fd, LOCK_SH) == 0;
    Flock(guard, LOCK_UN);
  }
  close(guard);
  if (!ok) {
    SetLastError(Win32ErrorFromErrno(errno));
    close(fd);
    return false;
  }
  core.fd = fd;
  return true;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES, BOOL initial_owner, LPCSTR name) {
  std::shared_ptr<MutexCore> core;
  bool existed = false;
  if (name && *name) {
    std::string key = name;
    if (key.size() > kMaxName) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return nullptr;
    }
    std::lock_guard lock(names_mutex);
    core = Names()[key].lock();
    if (core) {
      existed = true;
    } else {
      core = std::make_shared<MutexCore>();
      core->name = key;
      bool first = false;
      if (!JoinNamed(*core, first)) return nullptr;
      existed = !first;
      Names()[key] = core;
    }
  } else {
    core = std::make_shared<MutexCore>();
  }
  if (initial_owner && !existed) {
    core->owner = std::this_thread::get_id();
    core->count = 1;
  }
  auto handle = std::make_shared<MutexHandle>();
  handle->core = core;
  HANDLE h = Register(handle);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

BOOL ReleaseMutex(HANDLE mutex) {
  auto handle = Lookup<MutexHandle>(mutex);
  if (!handle) return FALSE;
  MutexCore& core = *handle->core;
  std::lock_guard lock(core.lock);
  if (core.count == 0 || core.owner != std::this_thread::get_id()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--core.count == 0) core.owner = std::thread::id();
  return TRUE;
}
