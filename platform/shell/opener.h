// Starting other programs for the shell: the desktop's opener for documents, folders and
// URLs, or a program itself. Always an argument vector handed to posix_spawnp, never a
// command line a shell would read, so no character in a name or URL can run anything.
// Also the cores of ShellExecute and SHGetSpecialFolderPath, with the path mapping passed in
// (tests give fakes; the Win32 entry points give the kernel's mapping).
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

using Argv = std::vector<std::string>;
// Decides what happens to a launch; returns a ShellExecute code (> 32 success).
using LaunchHook = std::function<int(const Argv& argv)>;

// What a successful launch reports when nothing is started (any value above 32 will do).
inline constexpr int kLaunched = 42;

// Replaces the launcher (null restores the default: record only when headless, start the
// program otherwise). Returns the hook it replaces.
LaunchHook SetLaunchHook(LaunchHook hook);
// The argument vector of the last launch request, whoever handled it.
Argv LastLaunch();
// No display (SHOWRAMA_DISPLAY=headless, or neither DISPLAY nor WAYLAND_DISPLAY set).
bool IsHeadless();

// The desktop's opener, "xdg-open"; tests point it at a harmless program.
void SetOpenerProgram(std::string name);
std::string OpenerProgram();

// Hands argv to the hook, the headless recorder or SpawnDetached. directory (host path,
// empty for the current one) is the child's working directory when it is started.
// via_opener says argv[0] is the opener: its absence then means "no association".
int Launch(const Argv& argv, const std::string& directory, bool via_opener);

// Starts argv[0] (searched on PATH) in its own session with stdin, stdout and stderr on
// /dev/null, and reaps it from a background thread when it ends, so no zombie stays.
struct Spawned {
  int error = 0;  // errno of the failure, 0 when started
  pid_t pid = -1;
};
Spawned SpawnDetached(const Argv& argv, const std::string& directory);
// SpawnDetached as a ShellExecute code.
int SpawnAndReport(const Argv& argv, const std::string& directory, bool via_opener);

// Parameters as separate arguments, by the Windows command-line rules (see win32/shell.h).
std::vector<std::string> SplitParameters(std::string_view parameters);

// Windows path -> host path; nullopt when it cannot be mapped.
using ToHostPath = std::function<std::optional<std::string>(std::string_view)>;
// Host path -> Windows path.
using ToWindowsPath = std::function<std::string(std::string_view)>;

// ShellExecute's work (codes as ShellExecute returns them; SetLastError on failure).
int Execute(const char* operation, const char* file, const char* parameters, const char* directory,
            const ToHostPath& to_host);

// Where special folders live on this host: from the environment, or made up by tests.
struct FolderEnvironment {
  std::string home;             // $HOME
  std::string config_home;      // $XDG_CONFIG_HOME, or empty for ~/.config
  std::string drive_c;          // the folder behind "C:"
  ToWindowsPath to_windows;
};
FolderEnvironment HostFolderEnvironment(ToWindowsPath to_windows, std::string drive_c);
// The host folder for a CSIDL (CSIDL_FLAG_CREATE ignored here), nullopt for an unknown one.
std::optional<std::string> SpecialFolderHostPath(const FolderEnvironment& env, int csidl);
// SHGetSpecialFolderPath's work.
bool SpecialFolderPath(const FolderEnvironment& env, char* path, int csidl, bool create);

}  // namespace shell
