// The registry and INI profiles. The registry holds six hives of keys and typed values, each
// kept in its own file under the user's configuration folder and rewritten atomically after
// every change, so RegFlushKey has nothing left to do and a crash loses nothing that a call
// reported as done.
#pragma once

#include "platform/win32/sysinfo.h"
#include "platform/win32/types.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

inline HKEY PredefinedKey(uint32_t id) {
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(id)));
}
inline const HKEY HKEY_CLASSES_ROOT = PredefinedKey(0x80000000);
inline const HKEY HKEY_CURRENT_USER = PredefinedKey(0x80000001);
inline const HKEY HKEY_LOCAL_MACHINE = PredefinedKey(0x80000002);
inline const HKEY HKEY_USERS = PredefinedKey(0x80000003);
inline const HKEY HKEY_PERFORMANCE_DATA = PredefinedKey(0x80000004);
inline const HKEY HKEY_CURRENT_CONFIG = PredefinedKey(0x80000005);
// Of the old dynamic-data hive only the name remains: opening it fails.
inline const HKEY HKEY_DYN_DATA = PredefinedKey(0x80000006);

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Every call returns the error code itself (ERROR_SUCCESS on success), as on Win32.
LSTATUS RegOpenKeyEx(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyEx(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR key_class, DWORD options,
                       REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegFlushKey(HKEY key);
// With null data, *size receives the size; a string's size includes its terminator.
LSTATUS RegQueryValueEx(HKEY key, LPCSTR value_name, LPDWORD reserved, LPDWORD type, BYTE* data,
                        LPDWORD size);
LSTATUS RegSetValueEx(HKEY key, LPCSTR value_name, DWORD reserved, DWORD type, const BYTE* data,
                      DWORD size);
LSTATUS RegDeleteValue(HKEY key, LPCSTR value_name);
// Only a key without subkeys can go (ERROR_ACCESS_DENIED otherwise).
LSTATUS RegDeleteKey(HKEY key, LPCSTR sub_key);
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD reserved,
                     LPSTR key_class, LPDWORD class_size, LPFILETIME last_write);
LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD reserved,
                     LPDWORD type, BYTE* data, LPDWORD data_size);
LSTATUS RegQueryInfoKey(HKEY key, LPSTR key_class, LPDWORD class_size, LPDWORD reserved,
                        LPDWORD sub_keys, LPDWORD max_sub_key_len, LPDWORD max_class_len,
                        LPDWORD values, LPDWORD max_value_name_len, LPDWORD max_value_len,
                        LPDWORD security_descriptor_size, LPFILETIME last_write);

// Profiles (INI files). A file name without a path is in the Windows directory.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer,
                              DWORD size, LPCSTR file);
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT default_value, LPCSTR file);
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);
DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file);
DWORD GetPrivateProfileSectionNames(LPSTR buffer, DWORD size, LPCSTR file);
// The same on WIN.INI.
DWORD GetProfileString(LPCSTR section, LPCSTR key, LPCSTR default_value, LPSTR buffer, DWORD size);
UINT GetProfileInt(LPCSTR section, LPCSTR key, INT default_value);
BOOL WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value);
