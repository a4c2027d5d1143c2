// Connection strings of any bytes: the parser never crashes or throws, refuses with a message,
// gives lower-case, trimmed, non-empty keys, and what it accepts reads back the same when every
// value is written out again between braces.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "control/data/connection_string.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto pairs = kivdb::ParseConnectionString(input, error);
  if (!pairs) {
    FUZZ_CHECK(!error.empty(), input);
    return 0;
  }
  std::string written;
  for (const auto& [key, value] : *pairs) {
    FUZZ_CHECK(!key.empty(), input);
    FUZZ_CHECK(key == kivdb::text::Lower(key), input);
    FUZZ_CHECK(key == kivdb::text::Trim(key), input);
    FUZZ_CHECK(key.find_first_of("=;") == std::string::npos, input);
    written += key + "={";
    for (char c : value) {
      written += c;
      if (c == '}') written += '}';
    }
    written += "};";
  }
  std::string again;
  const auto reread = kivdb::ParseConnectionString(written, again);
  FUZZ_CHECK(reread.has_value(), written + "\n" + again);
  FUZZ_CHECK(*reread == *pairs, written);
  return 0;
}
