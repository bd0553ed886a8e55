// The program's start-up: class registration, the entry sequence and the headless gallery.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace host {
class TBitmap;
}

namespace showrama {

class Tfrmsplash;

// Embeds the forms and pictures and registers every class the forms name; safe to call again.
void RegisterShowrama();

// What StartUp reports while the splash window is up (tests watch the order through it).
struct StartUpWatch {
  // After the splash is shown and repainted, before the delay.
  std::function<void(Tfrmsplash* splash)> splash_shown;
  // After the delay, before the splash is freed.
  std::function<void(Tfrmsplash* splash)> delay_done;
};

// Steps before the message loop: title, main window, welcome page, splash shown for
// delay_ms and freed, also when a step raises.
void StartUp(int delay_ms = 500, const StartUpWatch& watch = {});

// Renders the splash, the main window on each tab (the Exit tab with its question), and the
// help window into PNG files in folder; returns the files written. Needs the headless display
// and the library; raises host::Exception when a file cannot be written.
std::vector<std::string> RenderGallery(const std::string& folder);

}  // namespace showrama
