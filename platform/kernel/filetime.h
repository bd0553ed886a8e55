// FILETIME to and from the Unix clock, for the file calls.
#pragma once

#include <cstdint>

#include "platform/win32/file.h"

namespace kernel {

uint64_t Ticks(const FILETIME& t);
FILETIME FromTicks(uint64_t ticks);
// Times before 1601 become 0.
FILETIME FromUnix(int64_t seconds, int64_t nanoseconds);
void ToUnix(const FILETIME& t, int64_t* seconds, int64_t* nanoseconds);

}  // namespace kernel
