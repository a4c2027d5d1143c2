#pragma once
// The comma-separated form both scheme files share: a header line of quoted column names, then one
// record per line with numbers bare and texts between double quotes, every line ending in CR LF.
// Texts are written with inner double quotes doubled; reading is quote-aware (a comma between
// quotes belongs to the text, a doubled quote is one quote) and otherwise lenient: quotes around
// or inside unquoted fields are dropped, so files written with or without quotes read the same.

#include <string>
#include <string_view>
#include <vector>

#include "wizard/model/numbers.h"

namespace kivwz {

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends a header line: every name quoted, joined by commas.
void AppendHeaderLine(std::string& out, const std::vector<std::string_view>& names);

// Builds one record line field by field.
class RecordLine {
 public:
  explicit RecordLine(std::string& out) : out_(out) {}
  RecordLine& Number(Long value);
  RecordLine& Text(std::string_view value);
  void End() { out_ += kLineEnd; }

 private:
  void Separate();
  std::string& out_;
  bool first_ = true;
};

// The fields of one data line, counted from 0. Parse again for the next line: the buffers are
// reused.
class RecordFields {
 public:
  void Parse(std::string_view line);
  // The field read as a whole number (surrounding spaces allowed); 0 when missing, empty or not
  // a number.
  Long Number(std::size_t index) const;
  // The field as written, spaces included; "" when missing.
  std::string Text(std::size_t index) const;
  std::size_t Count() const { return count_; }

 private:
  std::string& NextField();

  std::vector<std::string> fields_;
  std::size_t count_ = 0;
};

// Calls onLine with every data line of a file's content: lines (ended by CR LF, LF or CR, the last
// one needing no end) stripped of leading and trailing spaces whose first character is a decimal
// digit. The header, empty lines and any other text are skipped.
template <class OnLine>
void ForEachDataLine(std::string_view content, OnLine onLine);

// Calls onRecord with the RecordFields of every data line of a file's content.
template <class OnRecord>
void ForEachRecord(std::string_view content, OnRecord onRecord);

// Reads a scheme file and calls onRecord with the RecordFields of every data line. onRead runs
// once the file has been read, before the first record, so that a file that cannot be read
// leaves what the caller holds as it was. False when the file cannot be read.
template <class OnRead, class OnRecord>
bool ReadRecords(const std::string& path, OnRead onRead, OnRecord onRecord);

// Far above any real scheme file; a larger file, or a device that never ends, is refused rather
// than read until memory runs out.
inline constexpr long long kMaxSchemeFileBytes = 64LL << 20;

// Reads the whole file; false when it cannot be opened or read, is no regular file or is larger
// than kMaxSchemeFileBytes, with the reason in plain words in `why` when given.
bool ReadWholeFile(const std::string& path, std::string& content, std::string* why = nullptr);

// False for content no scheme file has: nothing but spaces and line ends, or bytes of binary data
// (NUL and the other control characters but tab, CR and LF).
bool LooksLikeSchemeText(std::string_view content);

// Replaces two files together (the navigation and the web display scheme): both contents go to
// temporary files first, then both are renamed into place; when the second rename fails the
// first file is put back. So either both files are replaced or neither is. False on failure, with
// `why` naming the file and the system's reason.
bool ReplaceBothFiles(const std::string& firstPath, std::string_view firstContent,
                      const std::string& secondPath, std::string_view secondContent,
                      std::string& why);

// Replaces the file with content: written to a temporary file beside it, then renamed over it, so
// a failed write leaves the previous file as it was. False on any failure.
bool ReplaceFile(const std::string& path, std::string_view content);

template <class OnLine>
void ForEachDataLine(std::string_view content, OnLine onLine) {
  // A byte-order mark some editors put first is no part of the first line.
  std::size_t start = content.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (start < content.size()) {
    std::size_t end = start;
    while (end < content.size() && content[end] != '\r' && content[end] != '\n') ++end;
    std::string_view line = content.substr(start, end - start);
    start = end;
    if (start < content.size() && content[start] == '\r') ++start;
    if (start < content.size() && content[start] == '\n') ++start;
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    if (!line.empty() && line.front() >= '0' && line.front() <= '9') onLine(line);
  }
}

template <class OnRecord>
void ForEachRecord(std::string_view content, OnRecord onRecord) {
  RecordFields fields;
  ForEachDataLine(content, [&fields, &onRecord](std::string_view line) {
    fields.Parse(line);
    onRecord(static_cast<const RecordFields&>(fields));
  });
}

template <class OnRead, class OnRecord>
bool ReadRecords(const std::string& path, OnRead onRead, OnRecord onRecord) {
  std::string content;
  if (!ReadWholeFile(path, content)) return false;
  onRead();
  ForEachRecord(content, onRecord);
  return true;
}

}  // namespace kivwz
