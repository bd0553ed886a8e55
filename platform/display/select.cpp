// Choosing a backend and the virtual screen size from the environment.
#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/display/display.h"
#include "platform/display/sdl_map.h"

namespace display {
namespace {

bool EnvSet(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0';
}

// "WxH" with decimal digits only, inside the sizes the window manager is laid out for.
bool ParseSize(std::string_view s, SIZE* out) {
  const size_t cross = s.find_first_of("xX");
  if (cross == std::string_view::npos || cross == 0 || cross + 1 >= s.size()) return false;
  auto number = [](std::string_view part, LONG* value) {
    if (part.size() > 5 || part.find_first_not_of("0123456789") != std::string_view::npos) return false;
    return std::from_chars(part.data(), part.data() + part.size(), *value).ec == std::errc{};
  };
  SIZE size{};
  if (!number(s.substr(0, cross), &size.cx) || !number(s.substr(cross + 1), &size.cy)) return false;
  if (size.cx < 320 || size.cy < 200 || size.cx > 4096 || size.cy > 4096) return false;
  *out = size;
  return true;
}

}  // namespace

SIZE ScreenSize() {
  constexpr SIZE kDefault{1024, 768};
  const char* value = std::getenv("SHOWRAMA_SCREEN");
  if (value == nullptr || *value == '\0') return kDefault;
  SIZE size{};
  if (ParseSize(value, &size)) return size;
  static std::atomic<bool> warned{false};
  if (!warned.exchange(true))
    std::fprintf(stderr, "SHOWRAMA_SCREEN=%s: expected WxH between 320x200 and 4096x4096; using 1024x768\n", value);
  return kDefault;
}

std::unique_ptr<Backend> SelectBackend(std::string* error) {
  const char* forced = std::getenv("SHOWRAMA_DISPLAY");
  if (forced != nullptr && *forced != '\0') {
    if (std::strcmp(forced, "headless") == 0) return CreateHeadless();
    if (std::strcmp(forced, "sdl") == 0) {
      std::string why;
      if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY")) {
        why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
      } else if (SdlVideoAvailable(&why)) {
        return CreateSdl();
      }
      if (error) *error = "SHOWRAMA_DISPLAY=sdl but no display is available: " + why;
      return nullptr;
    }
    if (error) *error = std::string("SHOWRAMA_DISPLAY=") + forced + ": expected headless or sdl";
    return nullptr;
  }
  if ((EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY")) && SdlVideoAvailable(nullptr)) return CreateSdl();
  return CreateHeadless();
}

}  // namespace display
