// PNG output of surfaces, for tests, the gallery and screenshots.
#pragma once

#include <string>

#include "platform/gdi/surface.h"

namespace gdi {

// Writes the surface as an 8-bit RGB PNG. Returns false (and sets an error text) on failure.
bool WritePng(const std::string& path, const Surface& surface, std::string* error = nullptr);
bool WritePng(const std::string& path, HBITMAP bitmap, std::string* error = nullptr);

}  // namespace gdi
