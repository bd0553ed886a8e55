// The demo program's pictures, drawn from code so that anyone can rebuild them byte for byte:
// a fixed-seed noise, shapes rendered with GDI into oversized masks and averaged down, a
// small ray tracer for the splash picture. No file is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace art {

struct Artwork {
  std::string name;   // file name, e.g. "logo.bmp"
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // top row first, 0x00RRGGBB
};

// Every picture, in a fixed order.
std::vector<Artwork> MakeAll();

// One picture by file name; throws std::invalid_argument for an unknown name.
Artwork Make(const std::string& name);
std::vector<std::string> Names();

// A 24 bpp BMP file of the picture.
std::vector<uint8_t> EncodeBmp(const Artwork& art);

// Writes every picture into folder (as BMP, or as PNG for looking at them). Throws
// std::runtime_error naming the file that could not be written.
void WriteAll(const std::string& folder, bool png);

// Compares every picture with the BMP file of that name in folder. Returns one line per
// file that is missing or differs (empty when all match).
std::vector<std::string> Check(const std::string& folder);

}  // namespace art
