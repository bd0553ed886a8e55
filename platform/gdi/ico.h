// ICO files: reading the directory, decoding one image, choosing the image to show, and
// writing an icon back.
//
// An icon file holds several images of one picture. Each is a DIB (1, 4, 8, 16, 24 or 32
// bpp, BITMAPINFOHEADER or a later header, or a core header) whose height counts the
// colour rows and the rows of the AND mask that follows them, or a whole PNG file.
//
// Nothing in the file is trusted: the directory must lie inside the file, every image must
// fit inside the bytes its directory entry gives it, and images over 256x256 pixels, RLE
// compression, colours past the palette and damaged PNG data are refused with a reason in
// English. Only the directory's location and byte count are used; its size, colour count,
// planes and bit count are often wrong in real files and the image's own header wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gdi {

// Icons are at most 256 pixels wide and high (a directory byte of 0 means 256).
inline constexpr int kMaxIconSide = 256;

struct IconImage {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;  // of the image as stored (PNG: bit depth times channels)
  bool png = false;        // the image was a PNG
  // The pixels carry alpha: a 32 bpp image with some non-zero alpha byte, or a PNG. The AND
  // mask is then not used for drawing. Otherwise alpha is 0xFF where the mask is clear and 0
  // where it is set.
  bool alpha = false;
  std::vector<uint32_t> pixels;  // width * height, top row first, 0xAARRGGBB, not premultiplied
  // width * height, top row first: 1 where the AND mask bit is set (the screen shows through,
  // inverted by the colour bits where those are not black). PNG images: 1 where alpha is 0.
  std::vector<uint8_t> mask;
};

struct IcoEntry {
  // From the directory.
  uint32_t offset = 0;
  uint32_t bytes = 0;
  int listed_width = 0;  // 1..256
  int listed_height = 0;
  int listed_bit_count = 0;
  // From the image's own header; 0 when it cannot be read (error says why).
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  bool png = false;
  std::string error;  // why this image cannot be used; empty when its header is sound
};

struct IcoDirectory {
  std::vector<IcoEntry> entries;
  size_t extent = 0;  // bytes from the start of the file to the end of its last image
  std::string error;  // why the file is not an icon file at all
};

struct IcoResult {
  std::optional<IconImage> image;
  int entry = -1;     // which directory entry it came from
  std::string error;  // why there is no image
};

// Reads the header and directory and looks at every image's header.
IcoDirectory ReadIcoDirectory(const uint8_t* data, size_t size);

// Decodes directory entry `index` of a whole ICO file.
IcoResult DecodeIcoEntry(const uint8_t* data, size_t size, int index);

// Decodes the image nearest to 32x32 pixels, the deepest among equally near ones, the first
// among equals; an image that fails to decode gives way to the next best.
IcoResult DecodeIco(const uint8_t* data, size_t size);

// The order DecodeIco tries the usable entries in.
std::vector<int> RankIcoEntries(const IcoDirectory& directory);

// A one-image ICO file of the image: 32 bpp with its alpha when it has alpha, 24 bpp
// otherwise, and its AND mask. Empty with a reason in *error when the image is not valid.
std::vector<uint8_t> EncodeIco(const IconImage& image, std::string* error = nullptr);

}  // namespace gdi
