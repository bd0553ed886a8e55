// Input handling shared by the desktop and tests.
#pragma once

#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/user/window.h"

namespace user {

// Turns one display event into messages (queued as input; nothing is dispatched here).
void ProcessEvent(const display::Event& e);

// A drop handle for WM_DROPFILES: the files and the drop point in the client coordinates of
// the window dropped on.
HDROP MakeDrop(const std::vector<std::string>& files, POINT client_point, bool in_client);

// The program's main window: the first top-level window created that still exists. The host
// window's close button closes it.
Window* MainWindow();
void SetMainWindow(HWND hwnd);

}  // namespace user
