#pragma once
// FileSizeLimit: while it lives, no file this process (or a program it starts) writes can grow
// past `bytes`; a write beyond fails (EFBIG) as on a full disk. Unlike a read-only folder it stops
// root too. FullDiskLink makes one path a link to /dev/full, whose writes fail with ENOSPC.

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

namespace kivdb::testing_support {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    // Without this the process would be killed by SIGXFSZ instead of seeing the failed write.
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
};

inline void FullDiskLink(const std::filesystem::path& path) {
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/full", path);
}

}  // namespace kivdb::testing_support
