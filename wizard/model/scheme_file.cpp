#include "wizard/model/scheme_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

namespace {

bool Refuse(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return false;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& content, std::string* why) {
  // Not blocking on open, so that a pipe with no writer is refused rather than waited for.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Refuse(why, std::strerror(errno));
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    return Refuse(why, std::strerror(error));
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd);
    return Refuse(why, S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a regular file");
  }
  const std::string tooLarge =
      "it is larger than " + std::to_string(kMaxSchemeFileBytes >> 20) + " MB";
  if (status.st_size > kMaxSchemeFileBytes) {
    ::close(fd);
    return Refuse(why, tooLarge);
  }
  std::string read;
  read.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[1 << 16];
  std::string reason;
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = std::strerror(errno);
      break;
    }
    if (n == 0) break;
    read.append(buffer, static_cast<std::size_t>(n));
    // A file that grows while it is read is held to the same limit.
    if (static_cast<long long>(read.size()) > kMaxSchemeFileBytes) {
      reason = tooLarge;
      break;
    }
  }
  ::close(fd);
  if (!reason.empty()) return Refuse(why, reason);
  content = std::move(read);
  return true;
}

bool LooksLikeSchemeText(std::string_view content) {
  bool text = false;
  for (const char c : content) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') text = true;
  }
  return text;
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

// Writes content to a fresh temporary file beside path, on disk and with the permissions of the
// file it is to replace. False, with nothing left behind and the reason in `why`, on failure.
bool WriteTemporaryBeside(const std::string& path, std::string_view content, std::string& tempPath,
                          std::string& why) {
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    why = "it is a folder";
    return false;
  }
  const int fd = CreateTemporaryBeside(path, tempPath);
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  bool ok = WriteAll(fd, content);
  // The replaced file keeps its permissions.
  if (ok && exists) ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (!ok) why = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = std::strerror(errno);
  }
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view content) {
  std::string tempPath, why;
  if (!WriteTemporaryBeside(path, content, tempPath, why)) return false;
  const bool ok = std::rename(tempPath.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}

bool ReplaceBothFiles(const std::string& firstPath, std::string_view firstContent,
                      const std::string& secondPath, std::string_view secondContent,
                      std::string& why) {
  std::string firstTemp, secondTemp, reason;
  if (!WriteTemporaryBeside(firstPath, firstContent, firstTemp, reason)) {
    why = "cannot write " + firstPath + ": " + reason;
    return false;
  }
  if (!WriteTemporaryBeside(secondPath, secondContent, secondTemp, reason)) {
    ::unlink(firstTemp.c_str());
    why = "cannot write " + secondPath + ": " + reason;
    return false;
  }
  auto dropTemporaries = [&] {
    ::unlink(firstTemp.c_str());
    ::unlink(secondTemp.c_str());
  };
  // The first file's old content stays reachable under a second name until the second rename
  // has succeeded, so that it can be put back.
  std::string keptFirst;
  struct stat existing {};
  if (::stat(firstPath.c_str(), &existing) == 0) {
    const int fd = CreateTemporaryBeside(firstPath, keptFirst);
    if (fd >= 0) ::close(fd);
    if (fd < 0 || ::unlink(keptFirst.c_str()) != 0 ||
        ::link(firstPath.c_str(), keptFirst.c_str()) != 0) {
      why = "cannot keep the old " + firstPath + " while replacing it: " + std::strerror(errno);
      dropTemporaries();
      return false;
    }
  }
  if (std::rename(firstTemp.c_str(), firstPath.c_str()) != 0) {
    why = "cannot replace " + firstPath + ": " + std::strerror(errno);
    dropTemporaries();
    if (!keptFirst.empty()) ::unlink(keptFirst.c_str());
    return false;
  }
  if (std::rename(secondTemp.c_str(), secondPath.c_str()) != 0) {
    why = "cannot replace " + secondPath + ": " + std::strerror(errno);
    ::unlink(secondTemp.c_str());
    const bool restored = keptFirst.empty()
                              ? ::unlink(firstPath.c_str()) == 0
                              : std::rename(keptFirst.c_str(), firstPath.c_str()) == 0;
    if (!restored) why += "; and " + firstPath + " could not be put back: " + std::strerror(errno);
    return false;
  }
  if (!keptFirst.empty()) ::unlink(keptFirst.c_str());
  return true;
}

}  // namespace kivwz
