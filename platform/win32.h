// The Win32-style platform layer in one include: code written against it reads like
// ordinary Win32 code. Everything here lives in the global namespace.
#pragma once

#include "platform/win32/types.h"
#include "platform/win32/gdi.h"
#include "platform/win32/draw.h"
#include "platform/win32/text.h"
#include "platform/win32/user.h"
#include "platform/win32/file.h"
#include "platform/win32/sysinfo.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
