// Basic Win32 types, handles and structures, with their Win32 names and layouts.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using UINT = uint32_t;
using INT = int;
using SHORT = int16_t;
using USHORT = uint16_t;
using CHAR = char;
using WCHAR = char16_t;
using COLORREF = DWORD;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT_PTR = uintptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPDWORD = DWORD*;
using LPINT = int*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Handles are distinct opaque pointer types, as with STRICT.
#define SHOWRAMA_DECLARE_HANDLE(name) \
  struct name##__;                    \
  using name = name##__*
using HANDLE = void*;
using HGDIOBJ = void*;
SHOWRAMA_DECLARE_HANDLE(HDC);
SHOWRAMA_DECLARE_HANDLE(HPEN);
SHOWRAMA_DECLARE_HANDLE(HBRUSH);
SHOWRAMA_DECLARE_HANDLE(HFONT);
SHOWRAMA_DECLARE_HANDLE(HBITMAP);
SHOWRAMA_DECLARE_HANDLE(HPALETTE);
SHOWRAMA_DECLARE_HANDLE(HRGN);
SHOWRAMA_DECLARE_HANDLE(HWND);
SHOWRAMA_DECLARE_HANDLE(HINSTANCE);
SHOWRAMA_DECLARE_HANDLE(HICON);
SHOWRAMA_DECLARE_HANDLE(HCURSOR);
SHOWRAMA_DECLARE_HANDLE(HMENU);
using HMODULE = HINSTANCE;
#undef SHOWRAMA_DECLARE_HANDLE

struct POINT {
  LONG x;
  LONG y;
  friend bool operator==(const POINT&, const POINT&) = default;
};
using LPPOINT = POINT*;

struct POINTS {
  SHORT x;
  SHORT y;
};

struct SIZE {
  LONG cx;
  LONG cy;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};
using LPSIZE = SIZE*;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
  friend bool operator==(const RECT&, const RECT&) = default;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr LONG MAKELONG(WORD lo, WORD hi) {
  return static_cast<LONG>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}

// Error codes reported through GetLastError.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_BAD_FORMAT = 11;
inline constexpr DWORD ERROR_INVALID_DATA = 13;
inline constexpr DWORD ERROR_OUTOFMEMORY = 14;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;

// The calling thread's last error.
DWORD GetLastError();
void SetLastError(DWORD code);
