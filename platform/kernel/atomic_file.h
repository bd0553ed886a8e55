// Whole-file reads and crash-safe whole-file writes for the settings stores (registry hives,
// INI files): the new contents go to a temporary file beside the target, are synced, and
// replace the target by rename, so a reader sees either the old file or the new one, never a
// half-written mix.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/types.h"

namespace kernel {

// The file's bytes; nullopt (with the Win32 error set) when it cannot be read. Files larger
// than max_bytes are refused with ERROR_FILE_TOO_LARGE rather than read into memory.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t max_bytes = 64u << 20);
// Replaces the file's contents atomically; false with the Win32 error set on failure (the
// old file is then untouched and no temporary file is left behind).
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Tests only: called once the temporary file is written and synced, just before the rename.
// Returning false abandons the write there, as a crash at that moment would (the temporary
// file stays, the target keeps its old contents). An empty function removes the hook.
void SetAtomicWriteHook(std::function<bool(const std::string& temp_path)> hook);

// errno as the nearest Win32 error code.
DWORD Win32ErrorFromErrno(int error);

}  // namespace kernel
