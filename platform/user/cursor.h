// The cursor state shared with input handling and the display.
#pragma once

#include <functional>

#include "platform/display/display.h"
#include "platform/win32/user.h"

namespace user {

// Where cursor changes and pointer warps go (the display).
void SetCursorSink(std::function<void(const display::CursorImage*)> on_change, std::function<void(int, int)> on_warp);
// A point moved inside the cursor clip and the screen.
POINT ClipPoint(POINT p);
// Records a pointer move from the display (already clipped by the caller).
void MovePointer(POINT p);
const display::CursorImage* CursorImageOf(HCURSOR cursor);

}  // namespace user
