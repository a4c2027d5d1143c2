#include "demo/gif_writer.h"

#include <stdexcept>
#include <unordered_map>

namespace kivdb::demo {
namespace {

constexpr int kMaxCode = 4095;  // codes are at most 12 bits wide

void PutWord(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// Packs variable-width codes least significant bit first, as GIF wants them.
class BitPacker {
 public:
  void Put(int code, int width) {
    buffer_ |= static_cast<uint32_t>(code) << used_;
    used_ += width;
    while (used_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      used_ -= 8;
    }
  }
  std::vector<uint8_t> Finish() {
    if (used_ > 0) bytes_.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
    buffer_ = 0;
    used_ = 0;
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
  uint32_t buffer_ = 0;
  int used_ = 0;
};

std::vector<uint8_t> Compress(const std::vector<uint8_t>& pixels, int minCodeSize) {
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  BitPacker packer;
  // A string of the table is known by its prefix code and its last pixel.
  std::unordered_map<uint32_t, int> table;
  int codeSize = minCodeSize + 1;
  int lastCode = endCode;
  auto reset = [&] {
    table.clear();
    codeSize = minCodeSize + 1;
    lastCode = endCode;
  };

  packer.Put(clearCode, codeSize);
  int current = pixels.front();
  for (size_t i = 1; i < pixels.size(); ++i) {
    const uint32_t key = (static_cast<uint32_t>(current) << 8) | pixels[i];
    if (const auto found = table.find(key); found != table.end()) {
      current = found->second;
      continue;
    }
    packer.Put(current, codeSize);
    table.emplace(key, ++lastCode);
    if (lastCode >= (1 << codeSize) && codeSize < 12) ++codeSize;
    if (lastCode == kMaxCode) {
      packer.Put(clearCode, codeSize);
      reset();
    }
    current = pixels[i];
  }
  packer.Put(current, codeSize);
  packer.Put(endCode, codeSize);
  return packer.Finish();
}

void Check(const IndexedImage& image) {
  if (image.width < 1 || image.width > 0xFFFF || image.height < 1 || image.height > 0xFFFF) {
    throw std::invalid_argument("a GIF picture is 1 to 65535 pixels on each side");
  }
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height) {
    throw std::invalid_argument("the pixel count does not match the picture's size");
  }
  if (image.palette.empty() || image.palette.size() > 256) {
    throw std::invalid_argument("a GIF palette holds 1 to 256 colours");
  }
  for (const uint8_t p : image.pixels) {
    if (p >= image.palette.size()) throw std::invalid_argument("a pixel lies outside the palette");
  }
  if (image.transparent >= static_cast<int>(image.palette.size())) {
    throw std::invalid_argument("the transparent colour lies outside the palette");
  }
}

}  // namespace

std::vector<uint8_t> EncodeGif(const IndexedImage& image) {
  Check(image);
  // The colour table holds a power of two entries, at least 4 so LZW starts at 2-bit codes.
  int tableBits = 2;
  while ((1u << tableBits) < image.palette.size()) ++tableBits;

  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.push_back(static_cast<uint8_t>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));
  out.push_back(0);  // background colour
  out.push_back(0);  // square pixels
  for (int i = 0; i < (1 << tableBits); ++i) {
    const Rgb c = i < static_cast<int>(image.palette.size()) ? image.palette[i] : Rgb{};
    out.insert(out.end(), {c.r, c.g, c.b});
  }
  if (image.transparent >= 0) {
    out.insert(out.end(),
               {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, static_cast<uint8_t>(image.transparent), 0x00});
  }
  out.push_back(0x2C);  // image descriptor: whole screen, no local table, not interlaced
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, image.width);
  PutWord(out, image.height);
  out.push_back(0);

  out.push_back(static_cast<uint8_t>(tableBits));
  const std::vector<uint8_t> data = Compress(image.pixels, tableBits);
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);     // end of the pixel data
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace kivdb::demo
