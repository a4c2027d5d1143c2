#include "control/core/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <kivdb/error.h>

namespace kivdb {
namespace {

constexpr long kDiskFull = 61;

[[noreturn]] void ThrowWriteError(int code, const std::string& path) {
  if (code == ENOSPC) throw Error(kDiskFull, "Disk full: " + path);
  throw Error(err::kFileAccess, "Path/File access error: " + path);
}

// A fresh temporary file beside `path`; -1 with errno set when none can be made.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// 0, or the errno of the first failure.
int WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    content.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

}  // namespace

void ReplaceFileWith(const std::string& path, std::string_view content) {
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) ThrowWriteError(errno, path);
  int failure = WriteAll(fd, content);
  // The replaced file keeps its permissions.
  struct stat existing {};
  if (failure == 0 && ::stat(path.c_str(), &existing) == 0 &&
      ::fchmod(fd, existing.st_mode & 07777) != 0) {
    failure = errno;
  }
  if (failure == 0 && ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && std::rename(tempPath.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(tempPath.c_str());
    ThrowWriteError(failure, path);
  }
}

}  // namespace kivdb
