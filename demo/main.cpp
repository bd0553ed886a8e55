// Showrama: the program entry. `showrama` opens the main window on the screen;
// `showrama --gallery DIR` renders its windows headless into PNG files in DIR.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "demo/showrama.h"
#include "host/forms/forms.h"
#include "library/foundation/application.h"
#include "platform/user/desktop.h"

namespace {

// Exit status when there is no screen to show the window on (make run reports it as a hint).
constexpr int kNoDisplay = 3;

int Gallery(const char* folder) {
  if (!desktop::OpenHeadless(1024, 768)) {
    std::fprintf(stderr, "showrama: cannot open the headless display\n");
    return 1;
  }
  host::InitApplication();
  zyr::InitLibrary();
  showrama::RegisterShowrama();
  int status = 0;
  try {
    for (const std::string& file : showrama::RenderGallery(folder)) std::printf("%s\n", file.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "showrama: %s\n", e.what());
    status = 1;
  }
  zyr::DoneLibrary();
  host::DoneApplication();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--gallery") == 0) return Gallery(argv[2]);
  if (argc != 1) {
    std::fprintf(stderr, "usage: showrama [--gallery DIR]\n");
    return 1;
  }
  const char* forced = std::getenv("SHOWRAMA_DISPLAY");
  std::string error;
  if (!desktop::Open(&error)) {
    std::fprintf(stderr, "showrama: %s\n", error.c_str());
    return 1;
  }
  if (display::AsHeadless(desktop::Backend()) && !(forced && std::strcmp(forced, "headless") == 0)) {
    std::fprintf(stderr,
                 "showrama: no display to show the window on (DISPLAY/WAYLAND_DISPLAY unset or unusable); "
                 "`make gallery` renders it headless into build/default/gallery/\n");
    return kNoDisplay;
  }
  host::InitApplication();
  zyr::InitLibrary();
  showrama::RegisterShowrama();
  int status = 0;
  try {
    showrama::StartUp();
    host::Application()->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "showrama: %s\n", e.what());
    status = 1;
  }
  zyr::DoneLibrary();
  host::DoneApplication();
  return status;
}
