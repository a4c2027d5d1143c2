#include "wizard/model/scheme_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace kivwz {

void AppendHeaderLine(std::string& out, const std::vector<std::string_view>& names) {
  RecordLine line(out);
  for (std::string_view name : names) line.Text(name);
  line.End();
}

void RecordLine::Separate() {
  if (!first_) out_ += ',';
  first_ = false;
}

RecordLine& RecordLine::Number(Long value) {
  Separate();
  out_ += KeyOf(value);
  return *this;
}

RecordLine& RecordLine::Text(std::string_view value) {
  Separate();
  out_ += '"';
  for (char c : value) {
    if (c == '"') out_ += '"';
    out_ += c;
  }
  out_ += '"';
  return *this;
}

std::string& RecordFields::NextField() {
  if (count_ == fields_.size()) fields_.emplace_back();
  std::string& field = fields_[count_++];
  field.clear();
  return field;
}

void RecordFields::Parse(std::string_view line) {
  count_ = 0;
  std::string* field = &NextField();
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        *field += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == ',' && !quoted) {
      field = &NextField();
    } else {
      *field += c;
    }
  }
}

Long RecordFields::Number(std::size_t index) const {
  if (index >= count_) return 0;
  return WholeNumber(fields_[index]).value_or(0);
}

std::string RecordFields::Text(std::size_t index) const {
  return index < count_ ? fields_[index] : std::string();
}

bool ReadWholeFile(const std::string& path, std::string& content) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string read;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    read.reserve(static_cast<std::size_t>(status.st_size));
  }
  char buffer[1 << 16];
  bool ok = true;
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;  // a folder, or a read error
      break;
    }
    if (n == 0) break;
    read.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (ok) content = std::move(read);
  return ok;
}

namespace {

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A fresh temporary file beside path, created with the usual permissions for new files; -1 when
// none can be made.
int CreateTemporaryBeside(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view content) {
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return false;
  std::string tempPath;
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, content);
  // The replaced file keeps its permissions.
  if (ok && exists) ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = std::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}

}  // namespace kivwz
