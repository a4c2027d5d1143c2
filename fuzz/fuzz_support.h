#pragma once
// What the fuzz harnesses share: a failed property aborts with a message (libFuzzer then keeps
// the input as a crash), and parsers that read files get the input through a scratch file.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kivfuzz {

[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "property failed: %s\n%.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

#define FUZZ_CHECK(condition, detail)                        \
  do {                                                       \
    if (!(condition)) ::kivfuzz::Fail(#condition, (detail)); \
  } while (false)

// A file of this process in memory-backed /dev/shm when there is one (saves sync their files),
// else in the temporary folder; the same path for every input, removed when the run ends.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view tag) {
    const char* folder = std::getenv("TMPDIR");
    std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                       : folder && *folder             ? folder
                                                       : "/tmp";
    path_ = base + "/kivdb-fuzz-" + std::to_string(::getpid()) + "-" + std::string(tag);
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, std::string_view content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) Fail("cannot write the scratch file", path);
  if (!content.empty() && std::fwrite(content.data(), 1, content.size(), file) != content.size()) {
    Fail("cannot write the scratch file", path);
  }
  std::fclose(file);
}

inline bool ReadFile(const std::string& path, std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  content.clear();
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, n);
  std::fclose(file);
  return true;
}

}  // namespace kivfuzz
