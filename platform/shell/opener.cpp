// The launcher: a hook for tests, a recorder for headless sessions, and the real spawn.
#include "platform/shell/opener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/win32/shell.h"

extern char** environ;

namespace shell {
namespace {

struct State {
  std::mutex mutex;
  LaunchHook hook;
  Argv last;
  std::string opener = "xdg-open";
};

State& S() {
  static State s;
  return s;
}

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// Waits for the child in the background: the caller never blocks on a program the user
// keeps open, and the child never lingers as a zombie after it ends.
void Reap(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

LaunchHook SetLaunchHook(LaunchHook hook) {
  std::lock_guard lock(S().mutex);
  std::swap(S().hook, hook);
  return hook;
}

Argv LastLaunch() {
  std::lock_guard lock(S().mutex);
  return S().last;
}

bool IsHeadless() {
  const char* forced = std::getenv("SHOWRAMA_DISPLAY");
  if (forced && std::string_view(forced) == "headless") return true;
  return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY");
}

void SetOpenerProgram(std::string name) {
  std::lock_guard lock(S().mutex);
  S().opener = std::move(name);
}

std::string OpenerProgram() {
  std::lock_guard lock(S().mutex);
  return S().opener;
}

int Launch(const Argv& argv, const std::string& directory, bool via_opener) {
  LaunchHook hook;
  {
    std::lock_guard lock(S().mutex);
    S().last = argv;
    hook = S().hook;
  }
  if (hook) return hook(argv);
  if (IsHeadless()) return kLaunched;
  return SpawnAndReport(argv, directory, via_opener);
}

Spawned SpawnDetached(const Argv& argv, const std::string& directory) {
  Spawned out;
  if (argv.empty() || argv[0].empty()) {
    out.error = ENOENT;
    return out;
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  if (posix_spawn_file_actions_init(&actions) != 0) {
    out.error = ENOMEM;
    return out;
  }
  if (posix_spawnattr_init(&attr) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    out.error = ENOMEM;
    return out;
  }
  int err = 0;
  for (int fd = 0; fd <= 2 && !err; ++fd)
    err = posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  if (!err && !directory.empty()) err = posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;  // its own session: it outlives us and ignores our terminal
#endif
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  if (!err) err = posix_spawnattr_setflags(&attr, flags);
  if (!err) err = posix_spawnattr_setsigmask(&attr, &none);
  if (!err) err = posix_spawnattr_setsigdefault(&attr, &all);
  pid_t pid = -1;
  if (!err) err = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (err) {
    out.error = err;
    return out;
  }
  out.pid = pid;
  Reap(pid);
  return out;
}

int SpawnAndReport(const Argv& argv, const std::string& directory, bool via_opener) {
  const Spawned s = SpawnDetached(argv, directory);
  switch (s.error) {
    case 0:
      return kLaunched;
    case ENOENT:
    case ENOTDIR:
      if (via_opener) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
      }
      SetLastError(ERROR_FILE_NOT_FOUND);
      return SE_ERR_FNF;
    case EACCES:
    case EPERM:
      SetLastError(ERROR_ACCESS_DENIED);
      return SE_ERR_ACCESSDENIED;
    case ENOMEM:
    case EAGAIN:
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return SE_ERR_OOM;
    case ENOEXEC:
      SetLastError(ERROR_BAD_FORMAT);
      return static_cast<int>(ERROR_BAD_FORMAT);
    default:
      SetLastError(ERROR_ACCESS_DENIED);
      return SE_ERR_ACCESSDENIED;
  }
}

std::vector<std::string> SplitParameters(std::string_view s) {
  std::vector<std::string> out;
  std::string cur;
  bool in_arg = false, quoted = false;
  for (size_t i = 0; i < s.size();) {
    const char c = s[i];
    if (!quoted && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
      if (in_arg) out.push_back(std::move(cur));
      cur.clear();
      in_arg = false;
      ++i;
      continue;
    }
    in_arg = true;
    if (c == '\\') {
      size_t n = 0;
      while (i < s.size() && s[i] == '\\') ++n, ++i;
      if (i < s.size() && s[i] == '"') {
        cur.append(n / 2, '\\');
        if (n % 2) {
          cur += '"';
          ++i;
        }
      } else {
        cur.append(n, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
        cur += '"';
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    cur += c;
    ++i;
  }
  if (in_arg) out.push_back(std::move(cur));
  return out;
}

}  // namespace shell
