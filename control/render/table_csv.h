#pragma once
// CsvOutput: one table as a CSV file (RFC 4180: fields separated by commas, quoted when they hold
// a comma, a quote or a line end, records ended by CR LF), in UTF-8, optionally after a byte-order
// mark. Values are written for machines, not for reading: numbers unformatted with a point,
// dates ISO 8601 ("2024-03-05", "2024-03-05T14:07:09", "14:07:09" for a time alone), Null and
// binary data empty, True/False as such. A text cell that begins with "=", "+", "-", "@", a tab
// or a CR gets a leading "'", so no spreadsheet takes it for a formula. The total row of the page
// is left out: every record stays data. A multi-chapter table keeps its layout: each chapter's
// heading and rows below its parent row, one empty cell further right per level.
//
// The file is written through a buffer of its own; Close() reports a failed write by throwing
// Error 61 "Disk full: " + path or 75 "Path/File access error: " + path.

#include <cstdio>
#include <string>

#include "control/render/table_output.h"

namespace kivdb {

class CsvOutput : public TableOutput {
 public:
  // Creates or truncates `path`; Error 76 "Path not found: " + path when it cannot.
  CsvOutput(const std::string& path, bool byteOrderMark);
  ~CsvOutput() override;
  CsvOutput(const CsvOutput&) = delete;
  CsvOutput& operator=(const CsvOutput&) = delete;

  void BeginTable(const OutTable& table) override;
  void Heading(int level, const std::vector<OutColumn>& columns) override;
  void Row(int level, const std::vector<OutColumn>& columns, const Variant* values) override;
  void Totals(std::optional<size_t> labelColumn,
              const std::vector<std::optional<double>>& sums) override;
  void EndTable() override {}
  void Close();

 private:
  void Flush();
  void Indent(int level);
  void EndRecord();

  std::string path_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
  bool failed_ = false;
};

// The CSV field of one value as CsvOutput writes it (quoted and guarded as needed); exposed for
// the tests of the quoting rules.
std::string CsvField(const Variant& value);

}  // namespace kivdb
