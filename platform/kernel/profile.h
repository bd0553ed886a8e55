// INI files ("profiles") on Linux paths: the semantics of the Win32 profile calls, without the
// translation of Windows file names (profile_api.cpp does that).
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace kernel::profile {

DWORD GetString(const std::string& file, LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                DWORD size);
UINT GetInt(const std::string& file, LPCSTR section, LPCSTR key, INT default_value);
BOOL WriteString(const std::string& file, LPCSTR section, LPCSTR key, LPCSTR value);
DWORD GetSection(const std::string& file, LPCSTR section, LPSTR buffer, DWORD size);
DWORD GetSectionNames(const std::string& file, LPSTR buffer, DWORD size);

}  // namespace kernel::profile
