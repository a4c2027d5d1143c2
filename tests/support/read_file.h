#pragma once
// A whole file as bytes, for tests that compare what was written; empty when it cannot be read.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kivdb::testing_support {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace kivdb::testing_support
