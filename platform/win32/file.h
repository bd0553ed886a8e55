// Drives, paths and files: Win32's file calls on the Linux tree through the drive mapping of
// platform/kernel/paths.h. Strings are UTF-8; paths longer than MAX_PATH are refused.
#pragma once

#include "platform/win32/types.h"

using ULONGLONG = uint64_t;
using LONGLONG = int64_t;
using PLONG = LONG*;

inline constexpr DWORD MAX_PATH = 260;

union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
};
using PULARGE_INTEGER = ULARGE_INTEGER*;

struct WIN32_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATA = WIN32_FIND_DATA*;

// Asynchronous I/O is not offered; the parameter exists so calls read as on Win32.
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

// Access rights.
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD GENERIC_EXECUTE = 0x20000000;
inline constexpr DWORD GENERIC_ALL = 0x10000000;
// Share modes.
inline constexpr DWORD FILE_SHARE_READ = 0x1;
inline constexpr DWORD FILE_SHARE_WRITE = 0x2;
inline constexpr DWORD FILE_SHARE_DELETE = 0x4;
// Creation dispositions.
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;
// Attributes and flags.
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x100;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
inline constexpr DWORD FILE_FLAG_WRITE_THROUGH = 0x80000000;
inline constexpr DWORD FILE_FLAG_BACKUP_SEMANTICS = 0x02000000;
inline constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;
// File pointer.
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
// MoveFileEx.
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x2;
inline constexpr DWORD MOVEFILE_DELAY_UNTIL_REBOOT = 0x4;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
// Drive types.
inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;
// Volume flags.
inline constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x1;
inline constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x2;
inline constexpr DWORD FILE_UNICODE_ON_DISK = 0x4;

// Paths and drives.
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size);
UINT GetWindowsDirectory(LPSTR buffer, UINT size);
UINT GetSystemDirectory(LPSTR buffer, UINT size);
DWORD GetTempPath(DWORD size, LPSTR buffer);
DWORD GetCurrentDirectory(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectory(LPCSTR path);
DWORD GetFullPathName(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part);
DWORD GetLogicalDrives();
UINT GetDriveType(LPCSTR root);
BOOL GetVolumeInformation(LPCSTR root, LPSTR volume_name, DWORD volume_name_size,
                          LPDWORD serial, LPDWORD max_component, LPDWORD flags,
                          LPSTR file_system_name, DWORD file_system_name_size);
BOOL GetDiskFreeSpaceEx(LPCSTR directory, PULARGE_INTEGER free_to_caller,
                        PULARGE_INTEGER total, PULARGE_INTEGER total_free);

// Files.
HANDLE CreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                  DWORD disposition, DWORD flags, HANDLE template_file);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written,
               LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distance_high, DWORD method);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, LPDWORD size_high);
DWORD GetFileAttributes(LPCSTR name);
BOOL SetFileAttributes(LPCSTR name, DWORD attributes);
BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME access, LPFILETIME write);
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* access,
                 const FILETIME* write);
BOOL CopyFile(LPCSTR existing, LPCSTR target, BOOL fail_if_exists);
BOOL MoveFile(LPCSTR existing, LPCSTR target);
BOOL MoveFileEx(LPCSTR existing, LPCSTR target, DWORD flags);
BOOL DeleteFile(LPCSTR name);
BOOL CreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectory(LPCSTR name);

// Finding files (* and ? match case-insensitively).
HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data);
BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATA data);
BOOL FindClose(HANDLE find);

// Times: FILETIME counts 100 ns since 1601-01-01; DOS times have 2-second steps, 1980..2107.
BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* dos_date, WORD* dos_time);
BOOL DosDateTimeToFileTime(WORD dos_date, WORD dos_time, LPFILETIME time);
BOOL FileTimeToSystemTime(const FILETIME* time, LPSYSTEMTIME system);
BOOL SystemTimeToFileTime(const SYSTEMTIME* system, LPFILETIME time);
BOOL FileTimeToLocalFileTime(const FILETIME* time, LPFILETIME local);
BOOL LocalFileTimeToFileTime(const FILETIME* local, LPFILETIME time);
