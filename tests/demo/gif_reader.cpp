#include "tests/demo/gif_reader.h"

namespace kivdb::demo::testing {
namespace {

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  bool Has(size_t n) const { return at_ + n <= bytes_.size(); }
  uint8_t Byte() { return Has(1) ? bytes_[at_++] : (failed_ = true, 0); }
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }
  bool Failed() const { return failed_; }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t at_ = 0;
  bool failed_ = false;
};

// Decodes LZW codes into palette indexes.
bool Decompress(const std::vector<uint8_t>& data, int minCodeSize, size_t pixelCount,
                std::vector<uint8_t>& pixels, std::string& error) {
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  std::vector<std::vector<uint8_t>> table;
  auto reset = [&] {
    table.clear();
    for (int i = 0; i < clearCode; ++i) table.push_back({static_cast<uint8_t>(i)});
    table.emplace_back();  // clear
    table.emplace_back();  // end
  };
  reset();
  int codeSize = minCodeSize + 1;
  size_t bit = 0;
  int previous = -1;
  while (bit + static_cast<size_t>(codeSize) <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < codeSize; ++i, ++bit) {
      code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    }
    if (code == clearCode) {
      reset();
      codeSize = minCodeSize + 1;
      previous = -1;
      continue;
    }
    if (code == endCode) return pixels.size() == pixelCount || (error = "pixel count", false);
    std::vector<uint8_t> entry;
    if (code < static_cast<int>(table.size())) {
      entry = table[static_cast<size_t>(code)];
      if (previous >= 0) {
        std::vector<uint8_t> added = table[static_cast<size_t>(previous)];
        added.push_back(entry.front());
        table.push_back(std::move(added));
      }
    } else if (code == static_cast<int>(table.size()) && previous >= 0) {
      entry = table[static_cast<size_t>(previous)];
      entry.push_back(entry.front());
      table.push_back(entry);
    } else {
      error = "a code beyond the table";
      return false;
    }
    pixels.insert(pixels.end(), entry.begin(), entry.end());
    previous = code;
    if (static_cast<int>(table.size()) == (1 << codeSize) && codeSize < 12) ++codeSize;
  }
  error = "no end code";
  return false;
}

}  // namespace

std::optional<IndexedImage> DecodeGif(const std::vector<uint8_t>& bytes, std::string& error) {
  Reader in(bytes);
  std::string signature;
  for (int i = 0; i < 6; ++i) signature += static_cast<char>(in.Byte());
  if (signature != "GIF89a" && signature != "GIF87a") {
    error = "no GIF signature";
    return std::nullopt;
  }
  IndexedImage image;
  in.Word();  // the screen's size; the frame's own is used
  in.Word();
  const uint8_t flags = in.Byte();
  in.Byte();
  in.Byte();
  if (!(flags & 0x80)) {
    error = "no global colour table";
    return std::nullopt;
  }
  const int colours = 1 << ((flags & 7) + 1);
  for (int i = 0; i < colours; ++i) {
    const uint8_t r = in.Byte();
    const uint8_t g = in.Byte();
    image.palette.push_back({r, g, in.Byte()});
  }
  for (;;) {
    const uint8_t block = in.Byte();
    if (in.Failed()) break;
    if (block == 0x21) {  // an extension: the graphic control one says which colour is clear
      const uint8_t label = in.Byte();
      std::vector<uint8_t> body;
      for (uint8_t n = in.Byte(); n != 0 && !in.Failed(); n = in.Byte()) {
        for (int i = 0; i < n; ++i) body.push_back(in.Byte());
      }
      if (label == 0xF9 && body.size() >= 4 && (body[0] & 1)) image.transparent = body[3];
      continue;
    }
    if (block != 0x2C) break;
    in.Word();
    in.Word();
    image.width = in.Word();
    image.height = in.Word();
    if (in.Byte() & 0x80) {
      error = "a local colour table";
      return std::nullopt;
    }
    const int minCodeSize = in.Byte();
    std::vector<uint8_t> data;
    for (uint8_t n = in.Byte(); n != 0 && !in.Failed(); n = in.Byte()) {
      for (int i = 0; i < n; ++i) data.push_back(in.Byte());
    }
    if (in.Failed() || minCodeSize < 2 || minCodeSize > 8 ||
        !Decompress(data, minCodeSize, static_cast<size_t>(image.width) * image.height,
                    image.pixels, error)) {
      if (error.empty()) error = "broken pixel data";
      return std::nullopt;
    }
    if (in.Byte() != 0x3B) {
      error = "no trailer after the frame";
      return std::nullopt;
    }
    return image;
  }
  error = "no frame";
  return std::nullopt;
}

}  // namespace kivdb::demo::testing
