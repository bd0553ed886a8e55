// System information: buffer rules, the environment block, versions, messages, mutexes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/sysinfo.h"
#include "temp_folder.h"

TEST(SysInfo, UserAndComputerNameBufferRules) {
  DWORD size = 0;
  EXPECT_FALSE(GetUserName(nullptr, &size));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  DWORD needed = size;
  ASSERT_GT(needed, 1u);
  std::string buf(needed, '#');
  size = needed - 1;
  EXPECT_FALSE(GetUserName(buf.data(), &size));
  EXPECT_EQ(size, needed);
  size = needed;
  EXPECT_TRUE(GetUserName(buf.data(), &size));
  EXPECT_EQ(size, needed);  // with the terminator
  EXPECT_EQ(std::strlen(buf.c_str()), needed - 1);

  char name[MAX_COMPUTERNAME_LENGTH + 1];
  size = 1;
  EXPECT_FALSE(GetComputerName(name, &size));
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  ASSERT_GT(size, 1u);
  ASSERT_LE(size, MAX_COMPUTERNAME_LENGTH + 1);
  DWORD want = size;
  size = sizeof name;
  EXPECT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(size, want - 1);  // without the terminator
  for (DWORD i = 0; i < size; ++i) EXPECT_FALSE(name[i] >= 'a' && name[i] <= 'z');
}

TEST(SysInfo, EnvironmentBlockAndVariables) {
  ASSERT_TRUE(SetEnvironmentVariable("SHOWRAMA_T_VAR", "v1"));
  LPCH block = GetEnvironmentStrings();
  ASSERT_NE(block, nullptr);
  bool seen = false;
  const char* p = block;
  while (*p) {
    std::string entry = p;
    EXPECT_NE(entry.find('='), std::string::npos);
    seen |= entry == "SHOWRAMA_T_VAR=v1";
    p += entry.size() + 1;
  }
  EXPECT_TRUE(seen);
  EXPECT_TRUE(FreeEnvironmentStrings(block));
  EXPECT_FALSE(FreeEnvironmentStrings(block));

  char buf[3];
  EXPECT_EQ(GetEnvironmentVariable("showrama_t_var", buf, 1), 3u);  // needed, with terminator
  EXPECT_EQ(GetEnvironmentVariable("SHOWRAMA_T_VAR", buf, sizeof buf), 2u);
  EXPECT_STREQ(buf, "v1");
  EXPECT_TRUE(SetEnvironmentVariable("SHOWRAMA_T_VAR", nullptr));
  EXPECT_EQ(GetEnvironmentVariable("SHOWRAMA_T_VAR", buf, sizeof buf), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
}

TEST(SysInfo, VersionMemoryAndProcessors) {
  OSVERSIONINFO v{};
  EXPECT_FALSE(GetVersionEx(&v));
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionEx(&v));
  EXPECT_EQ(v.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(v.dwMajorVersion, 4u);
  EXPECT_EQ(v.dwMinorVersion, 0u);
  EXPECT_EQ(LOWORD(v.dwBuildNumber), 950);
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  EXPECT_EQ(si.dwNumberOfProcessors, static_cast<DWORD>(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_EQ(si.dwPageSize, static_cast<DWORD>(sysconf(_SC_PAGESIZE)));
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(si.dwProcessorType, PROCESSOR_INTEL_PENTIUM);
#endif
  MEMORYSTATUS m;
  GlobalMemoryStatus(&m);
  EXPECT_EQ(m.dwLength, sizeof m);
  EXPECT_LE(m.dwMemoryLoad, 100u);
  EXPECT_GT(m.dwTotalPhys, 0u);
  EXPECT_LE(m.dwTotalPhys, 0x80000000u);
  EXPECT_LE(m.dwAvailPhys, m.dwTotalPhys);
  SYSTEMTIME t;
  GetSystemTime(&t);
  EXPECT_GE(t.wYear, 2024);
  EXPECT_LE(t.wDayOfWeek, 6);
  UINT gdi = GetFreeSystemResources(GFSR_GDIRESOURCES);
  EXPECT_LE(gdi, 100u);
  EXPECT_LE(GetFreeSystemResources(GFSR_SYSTEMRESOURCES), gdi);
}

TEST(SysInfo, FormatMessageFromSystem) {
  char buf[128];
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buf, sizeof buf, nullptr), 44u);
  EXPECT_STREQ(buf, "The system cannot find the file specified.\r\n");
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, ERROR_ACCESS_DENIED, 0,
                          buf, sizeof buf, nullptr),
            17u);
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, buf, 5, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xBEEF, 0, buf, sizeof buf, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
}

namespace {

// Runs CreateMutex(name) in a child process; reports its GetLastError, and keeps the handle
// until told to go (or exits at once, handle and all, when hold is false).
struct Child {
  pid_t pid = -1;
  int report = -1, release = -1;
};

Child Spawn(const char* name, bool hold) {
  int up[2], down[2];
  if (pipe(up) != 0 || pipe(down) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    HANDLE h = CreateMutex(nullptr, FALSE, name);
    DWORD e = h ? GetLastError() : 0xFFFFFFFF;
    (void)!write(up[1], &e, sizeof e);
    if (hold) {
      char c;
      (void)!read(down[0], &c, 1);
    }
    _exit(0);
  }
  close(up[1]);
  close(down[0]);
  return Child{pid, up[0], down[1]};
}

DWORD Report(const Child& c) {
  DWORD e = 0xDEAD;
  (void)!read(c.report, &e, sizeof e);
  return e;
}

void Finish(Child& c) {
  close(c.release);
  int status;
  waitpid(c.pid, &status, 0);
  close(c.report);
}

}  // namespace

TEST(Mutex, NamedMutexIsSharedAcrossProcesses) {
  TempFolder run;
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  std::string saved_value = saved ? saved : "";
  setenv("XDG_RUNTIME_DIR", run.path().c_str(), 1);
  std::string name = "ShowramaTest" + std::to_string(getpid());

  Child holder = Spawn(name.c_str(), true);
  EXPECT_EQ(Report(holder), ERROR_SUCCESS);  // the first creator
  HANDLE h = CreateMutex(nullptr, TRUE, name.c_str());
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(ReleaseMutex(h));  // initial ownership is not granted to a late comer
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  HANDLE h2 = CreateMutex(nullptr, FALSE, name.c_str());
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(CloseHandle(h2));
  EXPECT_TRUE(CloseHandle(h));

  // The holder dies without closing anything: the next creator is the first again.
  kill(holder.pid, SIGKILL);
  Finish(holder);
  h = CreateMutex(nullptr, TRUE, name.c_str());
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_TRUE(ReleaseMutex(h));
  EXPECT_FALSE(ReleaseMutex(h));
  Child late = Spawn(name.c_str(), false);
  EXPECT_EQ(Report(late), ERROR_ALREADY_EXISTS);  // we still hold it
  Finish(late);
  EXPECT_TRUE(CloseHandle(h));
  Child after = Spawn(name.c_str(), false);
  EXPECT_EQ(Report(after), ERROR_SUCCESS);
  Finish(after);

  EXPECT_FALSE(ReleaseMutex(reinterpret_cast<HANDLE>(0x7777)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  if (saved) setenv("XDG_RUNTIME_DIR", saved_value.c_str(), 1); else unsetenv("XDG_RUNTIME_DIR");
}
