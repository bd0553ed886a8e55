// The Win32 entry points that need the kernel's path mapping. Kept apart from the cores so
// that programs (and tests) using only the cores do not pull the mapping in.
#include "platform/kernel/paths.h"
#include "platform/shell/opener.h"
#include "platform/win32/shell.h"

HINSTANCE ShellExecute(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT) {
  const int code = shell::Execute(operation, file, parameters, directory,
                                  [](std::string_view p) { return kernel::HostPath(p); });
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code));
}

BOOL SHGetSpecialFolderPath(HWND, LPSTR path, int csidl, BOOL create) {
  const auto env = shell::HostFolderEnvironment([](std::string_view p) { return kernel::WindowsPath(p); },
                                                kernel::DriveCRoot());
  return shell::SpecialFolderPath(env, path, csidl, create != FALSE) ? TRUE : FALSE;
}
