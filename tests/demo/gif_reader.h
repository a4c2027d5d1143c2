#pragma once
// A GIF reader for the tests of the demo's pictures: enough of the format to check that what the
// writer made decodes to the same pixels (one frame, global colour table, LZW data).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/gif_writer.h"

namespace kivdb::demo::testing {

// The picture, or nothing with the fault in `error`.
std::optional<IndexedImage> DecodeGif(const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kivdb::demo::testing
