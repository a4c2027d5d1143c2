#include "control/render/table_csv.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include <kivdb/error.h>

namespace kivdb {
namespace {

constexpr size_t kBufferSize = 1 << 20;
constexpr long kDiskFull = 61;

void AppendTwo(std::string& out, int number) {
  out += static_cast<char>('0' + number / 10 % 10);
  out += static_cast<char>('0' + number % 10);
}

void AppendIsoDate(std::string& out, const DateTime& d) {
  const bool timeAlone = d.year == 1899 && d.month == 12 && d.day == 30;
  if (!timeAlone) {
    char year[16];
    const auto end = std::to_chars(year, year + sizeof year, d.year).ptr;
    out.append(static_cast<size_t>(4 - std::min<long>(4, end - year)), '0').append(year, end);
    out += '-';
    AppendTwo(out, d.month);
    out += '-';
    AppendTwo(out, d.day);
    if (!d.HasTime()) return;
    out += 'T';
  }
  AppendTwo(out, d.hour);
  out += ':';
  AppendTwo(out, d.minute);
  out += ':';
  AppendTwo(out, d.second);
}

template <class Number>
void AppendNumber(std::string& out, Number number) {
  char digits[64];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end);
}

bool LooksLikeFormula(std::string_view text) {
  if (text.empty()) return false;
  const char c = text.front();
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

void AppendText(std::string& out, std::string_view text) {
  const bool guard = LooksLikeFormula(text);
  const bool quote = guard || text.find_first_of(",\"\r\n") != std::string_view::npos;
  if (!quote) {
    out.append(text);
    return;
  }
  out += '"';
  if (guard) out += '\'';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendValue(std::string& out, const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
    case Variant::Kind::Binary:
    case Variant::Kind::Chapter:
      return;
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
      AppendNumber(out, *value.AsInteger());
      return;
    case Variant::Kind::Single:
    case Variant::Kind::Double:
      AppendNumber(out, *value.ToDouble());
      return;
    case Variant::Kind::Date:
      AppendIsoDate(out, *value.AsDate());
      return;
    case Variant::Kind::Text:
      AppendText(out, *value.AsText());
      return;
    default:  // Boolean, currency and decimal: their text is already plain
      out += value.ToText();
  }
}

}  // namespace

std::string CsvField(const Variant& value) {
  std::string out;
  AppendValue(out, value);
  return out;
}

CsvOutput::CsvOutput(const std::string& path, bool byteOrderMark) : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) throw Error(err::kPathNotFound, "Path not found: " + path);
  buffer_.reserve(kBufferSize + 4096);
  if (byteOrderMark) buffer_ += "\xEF\xBB\xBF";
}

CsvOutput::~CsvOutput() {
  if (file_) std::fclose(file_);
}

void CsvOutput::Flush() {
  if (buffer_.empty() || failed_) return;
  errno = 0;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
}

void CsvOutput::Indent(int level) {
  buffer_.append(static_cast<size_t>(level), ',');
}

void CsvOutput::EndRecord() {
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferSize) Flush();
}

void CsvOutput::BeginTable(const OutTable&) {}

void CsvOutput::Heading(int level, const std::vector<OutColumn>& columns) {
  Indent(level);
  for (size_t c = 0; c < columns.size(); ++c) {
    if (c) buffer_ += ',';
    AppendText(buffer_, columns[c].heading);
  }
  EndRecord();
}

void CsvOutput::Row(int level, const std::vector<OutColumn>& columns, const Variant* values) {
  Indent(level);
  for (size_t c = 0; c < columns.size(); ++c) {
    if (c) buffer_ += ',';
    AppendValue(buffer_, values[columns[c].field]);
  }
  EndRecord();
}

void CsvOutput::Totals(std::optional<size_t>, const std::vector<std::optional<double>>&) {}

void CsvOutput::Close() {
  Flush();
  const int error = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (failed_ || !closed) {
    if (error == ENOSPC) throw Error(kDiskFull, "Disk full: " + path_);
    throw Error(err::kFileAccess, "Path/File access error: " + path_);
  }
}

}  // namespace kivdb
