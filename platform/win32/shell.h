// SHELL: opening documents, folders and URLs with the desktop's own programs, the about box
// and the special folders, with Win32 names, signatures and constant values.
#pragma once

#include "platform/win32/user.h"

// ShellExecute results: a value above 32 (as an HINSTANCE) is success; these are failures.
inline constexpr int SE_ERR_FNF = 2;
inline constexpr int SE_ERR_PNF = 3;
inline constexpr int SE_ERR_ACCESSDENIED = 5;
inline constexpr int SE_ERR_OOM = 8;
inline constexpr int SE_ERR_SHARE = 26;
inline constexpr int SE_ERR_ASSOCINCOMPLETE = 27;
inline constexpr int SE_ERR_DDETIMEOUT = 28;
inline constexpr int SE_ERR_DDEFAIL = 29;
inline constexpr int SE_ERR_DDEBUSY = 30;
inline constexpr int SE_ERR_NOASSOC = 31;
inline constexpr int SE_ERR_DLLNOTFOUND = 32;


// operation: NULL, "" or "open" opens a URL (http:, https:, mailto:, ftp:, file:), a
// document, a folder or a program; "explore" opens a folder; anything else is SE_ERR_NOASSOC.
// Documents, folders and URLs go to the desktop's opener as one untouched argument. For a
// program (an executable file), parameters become its arguments by the Windows command-line
// rules: whitespace separates, double quotes group, 2n backslashes before a quote give n and
// the quote toggles grouping, 2n+1 give n and a literal quote, "" inside a group is a literal
// quote, other backslashes are literal. directory (optional) is the working directory.
// Nothing is launched in a headless session: the request is only recorded.
HINSTANCE ShellExecute(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCmd);

// The platform's about box, modal to hwnd. app "Title#First line" splits the title-bar part
// from the first line; without '#' both show app. TRUE when the box was shown and closed.
INT ShellAbout(HWND hwnd, LPCSTR app, LPCSTR otherStuff, HICON icon);

inline constexpr int CSIDL_DESKTOP = 0x0000;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_APPDATA = 0x001A;
inline constexpr int CSIDL_WINDOWS = 0x0024;
inline constexpr int CSIDL_SYSTEM = 0x0025;
inline constexpr int CSIDL_FLAG_CREATE = 0x8000;

// A special folder as a Windows path in path (which must hold 260 characters, MAX_PATH).
// create makes a missing folder; without it a missing folder fails with
// ERROR_PATH_NOT_FOUND. An unknown csidl fails with ERROR_INVALID_PARAMETER.
BOOL SHGetSpecialFolderPath(HWND hwnd, LPSTR path, int csidl, BOOL create);
