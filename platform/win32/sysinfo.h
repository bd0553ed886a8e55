// System information, environment, time, messages and named mutexes, with their Win32 names
// and layouts. The emulated platform is the version-4 shell on the 32-bit consumer line
// (GetVersionEx: platform VER_PLATFORM_WIN32_WINDOWS, 4.0, build 950), so figures that
// would not fit its 32-bit fields are clamped the way that platform clamps them.
#pragma once

#include <cstdarg>

#include "platform/win32/types.h"

using SIZE_T = uintptr_t;
using LPCH = char*;

// GetSystemInfo.
inline constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
inline constexpr WORD PROCESSOR_ARCHITECTURE_ARM = 5;
inline constexpr WORD PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;
inline constexpr DWORD PROCESSOR_INTEL_386 = 386;
inline constexpr DWORD PROCESSOR_INTEL_486 = 486;
inline constexpr DWORD PROCESSOR_INTEL_PENTIUM = 586;

struct SYSTEM_INFO {
  union {
    DWORD dwOemId;
    struct {
      WORD wProcessorArchitecture;
      WORD wReserved;
    };
  };
  DWORD dwPageSize;
  LPVOID lpMinimumApplicationAddress;
  LPVOID lpMaximumApplicationAddress;
  DWORD_PTR dwActiveProcessorMask;
  DWORD dwNumberOfProcessors;
  DWORD dwProcessorType;
  DWORD dwAllocationGranularity;
  WORD wProcessorLevel;
  WORD wProcessorRevision;
};
using LPSYSTEM_INFO = SYSTEM_INFO*;
void GetSystemInfo(LPSYSTEM_INFO info);

// The byte counts are those of a 32-bit program that is not large-address aware: anything
// above 2 GB reads as 2 GB.
struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  DWORD dwTotalPhys;
  DWORD dwAvailPhys;
  DWORD dwTotalPageFile;
  DWORD dwAvailPageFile;
  DWORD dwTotalVirtual;
  DWORD dwAvailVirtual;
};
using LPMEMORYSTATUS = MEMORYSTATUS*;
void GlobalMemoryStatus(LPMEMORYSTATUS status);

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};
using LPOSVERSIONINFO = OSVERSIONINFO*;
// dwOSVersionInfoSize must be sizeof(OSVERSIONINFO). The build number carries the version
// in its high word, as on the consumer line (0x040003B6).
BOOL GetVersionEx(LPOSVERSIONINFO info);
// Version in the low word (minor in the high byte), build and the consumer-line flag above.
DWORD GetVersion();

inline constexpr DWORD UNLEN = 256;
inline constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;
// *size is the buffer size with the terminator; on success it becomes the length copied
// with the terminator, on ERROR_INSUFFICIENT_BUFFER the length needed.
BOOL GetUserName(LPSTR buffer, LPDWORD size);
// *size is the buffer size with the terminator; on success it becomes the length without
// it, on ERROR_BUFFER_OVERFLOW the size needed with it.
BOOL GetComputerName(LPSTR buffer, LPDWORD size);

// A block of "NAME=value" strings, each zero-terminated, closed by one more zero. Give it
// back with FreeEnvironmentStrings.
LPCH GetEnvironmentStrings();
BOOL FreeEnvironmentStrings(LPCH block);
// The length copied without the terminator; when the buffer is too small, the size needed
// with it; 0 with ERROR_ENVVAR_NOT_FOUND when the variable is missing. Names match
// regardless of case when no exact match exists.
DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size);
// A null value removes the variable.
BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value);

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
void Sleep(DWORD milliseconds);
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);

inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
inline constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
inline constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
inline constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;
// FORMAT_MESSAGE_FROM_SYSTEM texts for the platform's error codes, ending in CR LF as on
// Win32 (dropped under FORMAT_MESSAGE_MAX_WIDTH_MASK). Returns the length without the
// terminator, or 0 (ERROR_INSUFFICIENT_BUFFER, ERROR_MR_MID_NOT_FOUND, ERROR_NOT_SUPPORTED).
DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD message_id, DWORD language_id, LPSTR buffer,
                    DWORD size, va_list* arguments);

// Free system resources in percent, from the live GDI objects and windows.
inline constexpr UINT GFSR_SYSTEMRESOURCES = 0;
inline constexpr UINT GFSR_GDIRESOURCES = 1;
inline constexpr UINT GFSR_USERRESOURCES = 2;
UINT GetFreeSystemResources(UINT type);

// Mutexes. A named mutex is shared by every process of the user; the second CreateMutex of a
// name (in any process) gets its own handle and ERROR_ALREADY_EXISTS, and never the initial
// ownership.
HANDLE CreateMutex(LPSECURITY_ATTRIBUTES security, BOOL initial_owner, LPCSTR name);
BOOL ReleaseMutex(HANDLE mutex);
