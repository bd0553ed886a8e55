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

// [SECTION] The about box --------------------------------------------------------------

namespace {

class About : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(desktop::OpenHeadless(640, 480)); }

  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEX wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
      wc.lpszClassName = "AboutOwner";
      ASSERT_NE(RegisterClassEx(&wc), 0);
      registered = true;
    }
    owner_ = CreateWindowEx(0, "AboutOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    SetActiveWindow(owner_);
    desktop::Pump();
  }
  void TearDown() override {
    if (IsWindow(owner_)) DestroyWindow(owner_);
    desktop::Pump();
  }

  // Runs step(box, tick) from a timer while the box's modal loop runs, until it returns false.
  static void WhileOpen(std::function<bool(HWND box, int tick)> step) {
    static std::function<bool(HWND, int)> current;
    static int tick;
    current = std::move(step);
    tick = 0;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND box = FindWindow(nullptr, "About Demo");
      if (!box || !current(box, tick++)) KillTimer(nullptr, id);
    });
  }

  // The OK button's centre in screen coordinates: centred, 12 pixels above the client bottom.
  static POINT OkButton(HWND box) {
    RECT rc;
    GetClientRect(box, &rc);
    POINT pt{rc.right / 2, rc.bottom - 12 - 23 / 2};
    ClientToScreen(box, &pt);
    return pt;
  }

  HWND owner_ = nullptr;
};

bool Inside(const RECT& rc, POINT pt) { return PtInRect(&rc, pt); }

}  // namespace

TEST_F(About, EnterClosesItAndTheOwnerComesBack) {
  display::Event down;
  down.kind = display::EventKind::KeyDown;
  down.vk = VK_RETURN;
  display::Event up = down;
  up.kind = display::EventKind::KeyUp;
  desktop::Inject(down);
  desktop::Inject(up);
  EXPECT_EQ(ShellAbout(owner_, "Demo", nullptr, nullptr), TRUE);
  EXPECT_EQ(FindWindow(nullptr, "About Demo"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(GetActiveWindow(), owner_);
}

TEST_F(About, ShowsItsTextsModallyAndClosesOnAClickOnOk) {
  bool checked = false;
  WhileOpen([&](HWND box, int) {
    checked = true;
    char title[64] = {};
    GetWindowText(box, title, sizeof title);
    EXPECT_STREQ(title, "About Demo");
    EXPECT_FALSE(IsWindowEnabled(owner_)) << "the owner must be disabled while the box is up";
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner_);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLong(box, GWL_STYLE)) & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
              WS_POPUP | WS_CAPTION | WS_SYSMENU);
    RECT wr;
    GetWindowRect(box, &wr);
    EXPECT_LE(std::abs((wr.left + wr.right) - 640), 1) << "centred across";
    EXPECT_LE(std::abs((wr.top + wr.bottom) - 480), 1) << "centred down";
    desktop::Pump();
    desktop::SaveScreen((testsupport::OutputDir() / "shell_about.png").string());
    // The button's face is the 3D face colour, the text area around it too; the button's
    // frame shows dark shadow at its bottom-right corner.
    const POINT ok = OkButton(box);
    HDC screen = GetDC(nullptr);
    RECT client;
    GetClientRect(box, &client);
    POINT corner{client.right / 2 + 75 / 2 - 1, client.bottom - 12 - 1};
    ClientToScreen(box, &corner);
    EXPECT_EQ(GetPixel(screen, corner.x, corner.y), GetSysColor(COLOR_3DDKSHADOW));
    ReleaseDC(nullptr, screen);
    desktop::MouseDown(ok.x, ok.y);
    desktop::MouseUp(ok.x, ok.y);
    return false;
  });
  EXPECT_EQ(ShellAbout(owner_, "Demo#Showrama Demo 1.0", "Rings, clocks and gauges\nsecond line", nullptr), TRUE);
  EXPECT_TRUE(checked);
  EXPECT_EQ(FindWindow(nullptr, "About Demo"), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(GetActiveWindow(), owner_);
}

TEST_F(About, OnlyOkClosesItAndEscapeDoesToo) {
  int ticks = 0;
  WhileOpen([&](HWND box, int tick) {
    ticks = tick + 1;
    RECT wr;
    GetWindowRect(box, &wr);
    const POINT ok = OkButton(box);
    if (tick == 0) {  // a click on the text, and a press on OK dragged off before release
      desktop::MouseDown(wr.left + 20, wr.top + 40);
      desktop::MouseUp(wr.left + 20, wr.top + 40);
      desktop::MouseDown(ok.x, ok.y);
      desktop::MoveMouse(ok.x + 100, ok.y);
      desktop::MouseUp(ok.x + 100, ok.y);
      return true;
    }
    EXPECT_TRUE(Inside(wr, ok));
    display::Event esc;
    esc.kind = display::EventKind::KeyDown;
    esc.vk = VK_ESCAPE;
    desktop::Inject(esc);
    esc.kind = display::EventKind::KeyUp;
    desktop::Inject(esc);
    return false;
  });
  EXPECT_EQ(ShellAbout(owner_, "Demo", "x", nullptr), TRUE);
  EXPECT_EQ(ticks, 2) << "the box closed before Escape";
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(About, KeepsADisabledOwnerDisabledPassesQuitOnAndRejectsBadInput) {
  EnableWindow(owner_, FALSE);
  PostQuitMessage(7);
  EXPECT_EQ(ShellAbout(owner_, "Demo", nullptr, nullptr), TRUE);
  EXPECT_FALSE(IsWindowEnabled(owner_)) << "the box must not enable what it did not disable";
  EXPECT_EQ(FindWindow(nullptr, "About Demo"), nullptr);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);

  SetLastError(0);
  EXPECT_EQ(ShellAbout(owner_, nullptr, nullptr, nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ShellAbout(reinterpret_cast<HWND>(0x1234), "Demo", nullptr, nullptr), FALSE);
}

// [SECTION] Special folders ------------------------------------------------------------

TEST(SpecialFolders, FollowTheUserDirsFileAndCreateOnRequest) {
  Scratch s;
  shell::FolderEnvironment env;
  env.home = s.root() + "/home";
  env.drive_c = s.root() + "/drive_c";
  env.to_windows = [](std::string_view p) {
    std::string w = "Z:";
    for (char c : p) w += c == '/' ? '\\' : c;
    return w;
  };
  fs::create_directories(env.home);
  char path[260];
  auto Win = [&](const std::string& host) { return env.to_windows(host); };

  // No user-dirs.dirs: ~/Desktop (missing until asked to create) and ~.
  SetLastError(0);
  EXPECT_FALSE(shell::SpecialFolderPath(env, path, CSIDL_DESKTOP, false));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_DESKTOP | CSIDL_FLAG_CREATE, false));
  EXPECT_EQ(path, Win(env.home + "/Desktop"));
  EXPECT_TRUE(fs::is_directory(env.home + "/Desktop"));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_PERSONAL, false));
  EXPECT_EQ(path, Win(env.home));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_APPDATA, true));
  EXPECT_EQ(path, Win(env.home + "/.config"));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_SYSTEM, true));
  EXPECT_EQ(path, Win(env.drive_c + "/WINDOWS/SYSTEM"));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_WINDOWS, false));
  EXPECT_EQ(path, Win(env.drive_c + "/WINDOWS"));

  // The file names them; comments, unquoted and relative values are passed over; the last
  // valid assignment wins.
  s.Write("home/.config/user-dirs.dirs",
          "# XDG_DESKTOP_DIR=\"$HOME/Commented\"\n"
          "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
          "XDG_DOCUMENTS_DIR=\"" + s.root() + "/docs\"\n"
          "XDG_DOCUMENTS_DIR=relative/ignored\n"
          "XDG_DOCUMENTS_DIR=\"relative\"\n"
          "  XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_DESKTOP, true));
  EXPECT_EQ(path, Win(env.home + "/Schreibtisch"));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_PERSONAL, true));
  EXPECT_EQ(path, Win(s.root() + "/docs"));

  // XDG_CONFIG_HOME moves both the file and the application data folder.
  env.config_home = s.root() + "/cfg";
  s.Write("cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME\"\n");
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_DESKTOP, false));
  EXPECT_EQ(path, Win(env.home));
  EXPECT_TRUE(shell::SpecialFolderPath(env, path, CSIDL_APPDATA, false));
  EXPECT_EQ(path, Win(s.root() + "/cfg"));

  // Bad input fails the Win32 way and leaves an empty string.
  SetLastError(0);
  EXPECT_FALSE(shell::SpecialFolderPath(env, path, 0x0099, true));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_STREQ(path, "");
  EXPECT_FALSE(shell::SpecialFolderPath(env, nullptr, CSIDL_DESKTOP, true));
  env.home = s.root() + "/" + std::string(100, 'h') + "/" + std::string(100, 'i') + "/" + std::string(100, 'j');
  env.config_home.clear();
  SetLastError(0);
  EXPECT_FALSE(shell::SpecialFolderPath(env, path, CSIDL_PERSONAL, true));
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(fs::exists(env.home)) << "nothing is created for a path the caller cannot hold";
}
