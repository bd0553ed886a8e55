// Pieces shared by the path and file calls, and the hooks tests use to make the disk fail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/types.h"

namespace kernel {

// A Windows path made absolute and tidy ("C:\A\B", "C:\" for a root) against the current
// directory, without touching the disk; nullopt with *error set for bad input or a path of
// max_length characters or more.
std::optional<std::string> FullWindowsPath(std::string_view path, size_t max_length,
                                           DWORD* error);
// The Linux path behind a Windows path, with the case-insensitive fallback; nullopt with
// *error set when the path is bad, too long or on a drive that does not exist.
std::optional<std::string> ResolveHostPath(std::string_view path, size_t max_length,
                                           DWORD* error);

// The one translation of errno into Win32 codes. host_path decides between "file" and "path"
// not found; creating says EEXIST means ERROR_FILE_EXISTS rather than ERROR_ALREADY_EXISTS.
DWORD ErrorFromErrno(int err, const std::string& host_path = {}, bool creating = false,
                     bool writing = false);

// Writes everything or reports failure (errno set; *written holds what did reach the file).
bool WriteAll(int fd, const void* data, size_t size, size_t* written);

namespace testing {
// The next write through WriteAll stores at most after_bytes, then fails with error.
void FailNextWrite(size_t after_bytes, int error);
// Renames behave as if source and target were on different file systems.
void ForceCrossDevice(bool on);
bool CrossDeviceForced();
}  // namespace testing

}  // namespace kernel
