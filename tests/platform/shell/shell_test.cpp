// The shell: what ShellExecute starts for each kind of target and how it fails, that hostile
// characters reach the opener as one untouched argument, that real children are detached and
// reaped, the about box as a user meets it, and the special folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/shell/opener.h"
#include "platform/user/desktop.h"
#include "platform/win32.h"
#include "support/testdata.h"

namespace fs = std::filesystem;
using shell::Argv;

namespace {

// A scratch folder standing in for drive C:, mapped by a fake path conversion.
class Scratch {
 public:
  Scratch() {
    char tmpl[] = "/tmp/shell_test_XXXXXX";
    root_ = mkdtemp(tmpl);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const std::string& root() const { return root_; }
  void Write(const std::string& rel, const std::string& text, bool executable = false) const {
    fs::create_directories(fs::path(root_ + "/" + rel).parent_path());
    std::ofstream(root_ + "/" + rel) << text;
    if (executable) chmod((root_ + "/" + rel).c_str(), 0755);
  }
  // "C:\a\b" -> root/a/b; any other drive does not exist.
  shell::ToHostPath ToHost() const {
    return [root = root_](std::string_view w) -> std::optional<std::string> {
      if (w.size() < 2 || (w[0] != 'C' && w[0] != 'c') || w[1] != ':') return std::nullopt;
      std::string out = root;
      for (char c : w.substr(2)) out += c == '\\' ? '/' : c;
      return out;
    };
  }

 private:
  std::string root_;
};

// Records every launch and says it worked.
class Recording {
 public:
  Recording() {
    previous_ = shell::SetLaunchHook([this](const Argv& argv) {
      calls.push_back(argv);
      return shell::kLaunched;
    });
  }
  ~Recording() { shell::SetLaunchHook(previous_); }
  std::vector<Argv> calls;

 private:
  shell::LaunchHook previous_;
};

// Sets or clears an environment variable for one scope.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~EnvVar() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Waits (bounded) until pid is neither running nor a zombie; false if it never went.
bool GoneForGood(pid_t pid) {
  const std::string stat = "/proc/" + std::to_string(pid);
  for (int i = 0; i < 500; ++i) {
    if (!fs::exists(stat)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

TEST(ShellExecute, HostileUrlReachesTheOpenerAsOneUntouchedArgument) {
  Recording rec;
  Scratch s;
  const std::string url = "http://example.com/a b?q=\"x\";rm -rf ~ && echo $(id) `id` 'y'|z>w";
  EXPECT_GT(shell::Execute("open", url.c_str(), "ignored params", nullptr, s.ToHost()), 32);
  EXPECT_GT(shell::Execute(nullptr, "MAILTO:someone@example.com?subject=a;b", nullptr, nullptr, s.ToHost()), 32);
  EXPECT_GT(shell::Execute("", "ftp://host/$(reboot)", nullptr, nullptr, s.ToHost()), 32);
  EXPECT_GT(shell::Execute("Open", "file:///etc/passwd", nullptr, nullptr, s.ToHost()), 32);
  ASSERT_EQ(rec.calls.size(), 4u);
  EXPECT_EQ(rec.calls[0], (Argv{"xdg-open", url}));
  EXPECT_EQ(rec.calls[1], (Argv{"xdg-open", "MAILTO:someone@example.com?subject=a;b"}));
  EXPECT_EQ(rec.calls[2], (Argv{"xdg-open", "ftp://host/$(reboot)"}));
  EXPECT_EQ(shell::LastLaunch(), (Argv{"xdg-open", "file:///etc/passwd"}));
}

TEST(ShellExecute, ClassifiesTargetsAndFailsWithWin32Codes) {
  Recording rec;
  Scratch s;
  s.Write("docs/readme.txt", "hello");
  s.Write("bin/tool", "#!/bin/sh\n", true);
  const auto host = s.ToHost();
  const std::string docs = s.root() + "/docs";

  // Folders open and explore; documents open without their parameters.
  EXPECT_GT(shell::Execute("open", "C:\\docs", nullptr, nullptr, host), 32);
  EXPECT_GT(shell::Execute("explore", "C:\\docs", nullptr, nullptr, host), 32);
  EXPECT_GT(shell::Execute(nullptr, "C:\\docs\\readme.txt", "a b", nullptr, host), 32);
  ASSERT_EQ(rec.calls.size(), 3u);
  EXPECT_EQ(rec.calls[0], (Argv{"xdg-open", docs}));
  EXPECT_EQ(rec.calls[1], (Argv{"xdg-open", docs}));
  EXPECT_EQ(rec.calls[2], (Argv{"xdg-open", docs + "/readme.txt"}));

  // A program gets its parameters as separate arguments, started directly.
  EXPECT_GT(shell::Execute("open", "C:\\bin\\tool", "-v \"two words\" x;y", "C:\\docs", host), 32);
  EXPECT_EQ(rec.calls.back(), (Argv{s.root() + "/bin/tool", "-v", "two words", "x;y"}));
  const size_t launched = rec.calls.size();

  struct Case {
    const char* verb;
    const char* file;
    const char* dir;
    int code;
    DWORD error;
  };
  const Case cases[] = {
      {"open", "C:\\docs\\missing.txt", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"open", "C:\\nowhere\\missing.txt", nullptr, SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"open", "C:\\nowhere\\", nullptr, SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"explore", "C:\\nowhere", nullptr, SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"open", "Q:\\docs", nullptr, SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"explore", "C:\\docs\\readme.txt", nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"explore", "http://example.com", nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"print", "C:\\docs\\readme.txt", nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"edit", "http://example.com", nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"open", "javascript:alert(1)", nullptr, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
      {"open", "C:\\bin\\tool", "C:\\nowhere", SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
      {"open", "", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
      {"open", nullptr, nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(shell::Execute(c.verb, c.file, nullptr, c.dir, host), c.code) << c.verb << " " << (c.file ? c.file : "(null)");
    EXPECT_EQ(GetLastError(), c.error) << c.verb << " " << (c.file ? c.file : "(null)");
  }
  EXPECT_EQ(rec.calls.size(), launched) << "a failure must not launch anything";
}

TEST(ShellExecute, ParametersSplitByTheWindowsCommandLineRules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(shell::SplitParameters(""), V{});
  EXPECT_EQ(shell::SplitParameters("  \t "), V{});
  EXPECT_EQ(shell::SplitParameters(" a  b\tc "), (V{"a", "b", "c"}));
  EXPECT_EQ(shell::SplitParameters("\"a b\" c"), (V{"a b", "c"}));
  EXPECT_EQ(shell::SplitParameters("x\"y z\"w"), (V{"xy zw"}));
  EXPECT_EQ(shell::SplitParameters("\"\" b"), (V{"", "b"}));
  EXPECT_EQ(shell::SplitParameters("a\\\\b c:\\dir\\"), (V{"a\\\\b", "c:\\dir\\"}));  // lone backslashes stay
  EXPECT_EQ(shell::SplitParameters("a\\\"b"), (V{"a\"b"}));                            // 1 -> literal quote
  EXPECT_EQ(shell::SplitParameters("a\\\\\"b c\""), (V{"a\\b c"}));                    // 2 -> one, quote groups
  EXPECT_EQ(shell::SplitParameters("a\\\\\\\"b"), (V{"a\\\"b"}));                      // 3 -> one and a quote
  EXPECT_EQ(shell::SplitParameters("\"say \"\"hi\"\"\" x"), (V{"say \"hi\"", "x"}));
  EXPECT_EQ(shell::SplitParameters("\"open end"), (V{"open end"}));
  EXPECT_EQ(shell::SplitParameters("$(id);&&|`x`"), (V{"$(id);&&|`x`"}));
}

TEST(ShellLauncher, SpawnsDetachedWithNullStdioAndReapsTheChild) {
  Scratch s;
  const std::string out = s.root() + "/report";
  const auto spawned = shell::SpawnDetached(
      {"/bin/sh", "-c",
       "r=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2); echo $r > \"$0\"; pwd >> \"$0\"; "
       "echo $$ $(cut -d' ' -f6 /proc/$$/stat) >> \"$0\"",
       out},
      s.root());
  ASSERT_EQ(spawned.error, 0);
  ASSERT_GT(spawned.pid, 0);
  ASSERT_TRUE(GoneForGood(spawned.pid)) << "the child stays as a zombie";
  std::ifstream in(out);
  std::string fd0, fd1, fd2, cwd, pid, session;
  in >> fd0 >> fd1 >> fd2 >> cwd >> pid >> session;
  EXPECT_EQ(fd0, "/dev/null");
  EXPECT_EQ(fd1, "/dev/null");
  EXPECT_EQ(fd2, "/dev/null");
  EXPECT_EQ(fs::canonical(cwd), fs::canonical(s.root()));
  EXPECT_EQ(pid, session) << "the child leads its own session";

  EXPECT_EQ(shell::SpawnDetached({"/no/such/program"}, "").error, ENOENT);
  EXPECT_EQ(shell::SpawnDetached({}, "").error, ENOENT);
}

TEST(ShellLauncher, StartsTheOpenerOnlyWhenADisplayIsThere) {
  Scratch s;
  // "Opening" this document with /bin/sh as the opener leaves a mark we can look for.
  const std::string mark = s.root() + "/opened";
  s.Write("doc.txt", "echo opened > '" + mark + "'\n");
  shell::SetOpenerProgram("/bin/sh");
  const auto host = s.ToHost();
  {
    EnvVar forced("SHOWRAMA_DISPLAY", "headless");
    EnvVar display("DISPLAY", ":42");
    EXPECT_TRUE(shell::IsHeadless());
    EXPECT_EQ(shell::Execute("open", "C:\\doc.txt", nullptr, nullptr, host), shell::kLaunched);
    EXPECT_EQ(shell::LastLaunch(), (Argv{"/bin/sh", s.root() + "/doc.txt"}));
  }
  {
    EnvVar forced("SHOWRAMA_DISPLAY", nullptr);
    EnvVar display("DISPLAY", nullptr);
    EnvVar wayland("WAYLAND_DISPLAY", "");
    EXPECT_TRUE(shell::IsHeadless());
    EXPECT_GT(shell::Execute("open", "C:\\doc.txt", nullptr, nullptr, host), 32);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(fs::exists(mark)) << "a headless run started a program";
  {
    EnvVar forced("SHOWRAMA_DISPLAY", nullptr);
    EnvVar display("DISPLAY", ":42");
    EXPECT_FALSE(shell::IsHeadless());
    EXPECT_GT(shell::Execute("open", "C:\\doc.txt", nullptr, nullptr, host), 32);
    for (int i = 0; i < 500 && !fs::exists(mark); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(fs::exists(mark));
    shell::SetOpenerProgram("/no/such/opener");
    SetLastError(0);
    EXPECT_EQ(shell::Execute("open", "https://example.com", nullptr, nullptr, host), SE_ERR_NOASSOC);
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    SetLastError(0);
    s.Write("bad.bin", std::string("\x7f" "ELF garbage", 12), true);
    EXPECT_EQ(shell::Execute("open", "C:\\bad.bin", nullptr, nullptr, host), static_cast<int>(ERROR_BAD_FORMAT));
  }
  shell::SetOpenerProgram("xdg-open");
}
