#include "control/render/render_context.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <kivdb/error.h>

namespace kivdb {
namespace {

constexpr size_t kFlushAt = 1 << 20;
constexpr std::string_view kLineEnd = "\r\n";
constexpr long kDiskFull = 61;

}  // namespace

FilePageWriter::FilePageWriter(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    if (errno == ENOENT || errno == ENOTDIR || path.empty()) {
      throw Error(err::kPathNotFound, "Path not found");
    }
    throw Error(err::kFileAccess, "Path/File access error: " + path);
  }
  buffer_.reserve(kFlushAt + 4096);
}

FilePageWriter::~FilePageWriter() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    // The page is abandoned either way; the caller that wanted to know called Close().
  }
  if (fd_ >= 0) ::close(fd_);
}

void FilePageWriter::Fail(int code) {
  failedNumber_ = code == ENOSPC ? kDiskFull : err::kFileAccess;
  failedDescription_ = (code == ENOSPC ? "Disk full: " : "Path/File access error: ") + path_;
  buffer_.clear();
  buffer_.shrink_to_fit();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(path_.c_str());
  ThrowFailure();
}

void FilePageWriter::ThrowFailure() const {
  throw Error(failedNumber_, failedDescription_);
}

void FilePageWriter::WriteLine(std::string_view line) {
  if (Failed()) ThrowFailure();
  if (fd_ < 0) throw Error(err::kFileAccess, "Path/File access error: " + path_);
  buffer_.append(line);
  buffer_.append(kLineEnd);
  if (buffer_.size() >= kFlushAt) Flush();
}

void FilePageWriter::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t written = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    done += static_cast<size_t>(written);
  }
  buffer_.clear();
}

void FilePageWriter::Close() {
  if (Failed()) ThrowFailure();
  if (fd_ < 0) return;
  Flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
}

void StringPageWriter::WriteLine(std::string_view line) {
  text_.append(line);
  text_.append(kLineEnd);
}

std::vector<std::string> StringPageWriter::Lines() const {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text_.size()) {
    const size_t end = text_.find(kLineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text_.substr(start));
      break;
    }
    lines.push_back(text_.substr(start, end - start));
    start = end + kLineEnd.size();
  }
  return lines;
}

void RenderContext::Tell(const std::string& text) const {
  if (talking && message) message(text);
}

}  // namespace kivdb
