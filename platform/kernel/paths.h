// Windows paths on one Linux tree. "Z:" is the Linux root; "C:" is a per-user folder under
// the XDG data directory holding WINDOWS, WINDOWS\SYSTEM and TEMP, so GetWindowsDirectory is
// "C:\WINDOWS" and nothing written there touches real system folders. Both separators are
// accepted on input; lookups fall back to a case-insensitive match when the exact name is
// missing. This file is the one place the two kinds of path meet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kernel {

// A Windows path (absolute, drive-relative or relative to the current directory) as a Linux
// path; nullopt for a drive that does not exist or a malformed path.
std::optional<std::string> HostPath(std::string_view windows_path);
// A Linux path as a Windows path ("C:\..." inside the per-user drive, "Z:\..." elsewhere).
std::string WindowsPath(std::string_view host_path);
// The folder behind "C:" (created on first use with WINDOWS, WINDOWS\SYSTEM and TEMP).
std::string DriveCRoot();

}  // namespace kernel
