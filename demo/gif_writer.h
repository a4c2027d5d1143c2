#pragma once
// A GIF89a writer for palette images, enough for the demo's page pictures and product photos:
// one frame, a global colour table, an optional transparent colour, LZW-compressed pixels.

#include <cstdint>
#include <vector>

namespace kivdb::demo {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

// Pixels are palette indexes, row by row from the top left.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;     // 1 to 256 colours
  std::vector<uint8_t> pixels;  // width * height indexes into the palette
  int transparent = -1;         // palette index drawn see-through, or -1
};

// The bytes of a GIF file. Throws std::invalid_argument for an image whose size is not 1 to
// 65535 on each side, whose pixel count does not match, whose palette is empty or larger than
// 256 colours, or whose pixels or transparent index lie outside the palette.
std::vector<uint8_t> EncodeGif(const IndexedImage& image);

}  // namespace kivdb::demo
