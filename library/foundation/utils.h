// Small routines the library's units share: waiting, strings and paths, numbers, rectangles.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/classes/enuminfo.h"
#include "platform/win32/types.h"

namespace zyr {

HOST_ENUM(TZYRPathPrefix, uint8_t, ppWindows, ppSystem, ppProgram, ppFixed)

// Waits until the tick count exceeds the tick count at entry plus milliseconds, handling the
// program's messages meanwhile (so windows keep painting and timers keep firing) without
// keeping a processor busy. Returns at once for 0 or less.
void Delay(int32_t milliseconds);

bool IsBlank(const std::string& s);
// Adds a trailing backslash unless the string is non-blank and ends with one already.
std::string AddBackslash(const std::string& s);
// Removes one trailing backslash from a non-blank string.
std::string RemoveBackslash(const std::string& s);
// The Windows, system or program directory (empty for ppFixed), with or without a trailing
// backslash.
std::string GetPrefixPath(TZYRPathPrefix prefix, bool with_backslash);

// The program's own file as a Windows path ("Z:\...\showrama"); a program may set another
// (tests name an imaginary "C:\APP\DEMO.EXE").
std::string ProgramFileName();
void SetProgramFileName(const std::string& path);
// Path parts in the Windows manner: the directory with its trailing backslash, the file
// name, and the name with its extension replaced (".INI").
std::string ExtractFilePath(const std::string& path);
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);

std::string ReplaceChar(const std::string& s, char old_char, char new_char);
std::string FillString(int32_t count, char ch);
std::string JoinStrings(const std::vector<std::string>& items, int32_t count, char delimiter);
std::string JoinStrings(const std::vector<int32_t>& items, int32_t count, char delimiter);
int32_t MaxOf(std::initializer_list<int32_t> values);
int32_t MinOf(std::initializer_list<int32_t> values);
double MaxOfFloat(std::initializer_list<double> values);
// (a + b) / 2 rounded toward zero.
int32_t Midpoint(int32_t a, int32_t b);

RECT GrowRect(const RECT& r, int n);
RECT GrowRectExt(const RECT& r, int dx_left, int dy_top, int dx_right, int dy_bottom);
int RectWidth(const RECT& r);
int RectHeight(const RECT& r);
void MovePoints(POINT* points, int count, int dx, int dy);
void SwapInt(int32_t& a, int32_t& b);

// The bounds of r rotated by angle degrees about its centre, moved to (0, 0); r itself for 0.
RECT RotatedBounds(const RECT& r, int angle);
// src scaled by one factor to fit dest, placed at dest's top-left corner.
RECT FitRect(const RECT& src, const RECT& dest);

}  // namespace zyr
