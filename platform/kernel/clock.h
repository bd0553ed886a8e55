// The one clock of the platform: GetTickCount, timers and waits all read it. Normally the
// monotonic clock; tests may switch to a virtual clock that only moves when told to (or when
// the message loop would otherwise sleep until a timer is due).
#pragma once

#include <cstdint>

namespace kernel {

// Milliseconds since an arbitrary start.
uint64_t NowMs();
void UseVirtualClock(bool on);
bool VirtualClock();
// Moves the virtual clock forward (no effect on the real clock).
void AdvanceClock(uint64_t ms);

}  // namespace kernel
