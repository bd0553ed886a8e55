// Reads PNG files for comparing pictures in tests (reference renderings are read at test
// time, never copied into the tree).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct PngPicture {
  int width = 0;
  int height = 0;
  int bit_depth = 0;           // of the file, per channel
  std::vector<uint32_t> argb;  // 0xAARRGGBB, top row first; 16-bit channels rounded to 8 bits
};

// Reads any PNG into 8-bit ARGB. Returns false with a reason on failure.
bool ReadPng(const std::string& path, PngPicture* out, std::string* error);

}  // namespace testsupport
