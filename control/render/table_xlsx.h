#pragma once
// XlsxOutput: tables as sheets of one workbook, written in the workbook library's constant-memory
// mode, so rows leave memory as soon as they are written. One sheet per table, named after its
// title (made valid and unique); numbers as numbers in the page's number format, dates as dates
// in the control's DateFormat, text always as text (never read as a number or a formula); a bold
// heading row that stays in view, an autofilter over the rows, column widths from the data, the
// page's total row as SUM formulas. A multi-chapter table shows each chapter's heading and rows
// below its parent row, one cell further right and one outline level deeper per level. A table
// longer than a sheet goes on in a further sheet of the same name with " (2)", ... and its totals
// add every sheet of the table.
//
// Close() writes the workbook; failures (a folder that is missing, a full disk) throw Error 75
// "Path/File access error: " + path + ": " + the library's reason.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "control/render/table_output.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace kivdb {

struct WorkbookProperties {
  std::string title;    // the page's node caption, or the one table's title
  std::string subject;  // the node's full path
};

class XlsxOutput : public TableOutput {
 public:
  // Error 76 "Path not found: " + path when the workbook cannot be started.
  XlsxOutput(const std::string& path, const WorkbookProperties& properties, std::string dateFormat);
  ~XlsxOutput() override;
  XlsxOutput(const XlsxOutput&) = delete;
  XlsxOutput& operator=(const XlsxOutput&) = delete;

  void BeginTable(const OutTable& table) override;
  void Heading(int level, const std::vector<OutColumn>& columns) override;
  void Row(int level, const std::vector<OutColumn>& columns, const Variant* values) override;
  void Totals(std::optional<size_t> labelColumn,
              const std::vector<std::optional<double>>& sums) override;
  void EndTable() override;
  void Close();

 private:
  struct Part {  // one sheet of a table: its name and its first and last data row
    std::string name;
    unsigned firstRow = 1, lastRow = 0;
  };
  void StartSheet();
  void FinishSheet();
  void Outline(int level);
  void WriteValue(unsigned col, const Variant& value, FieldClass fieldClass);
  void Widen(unsigned col, size_t width);
  lxw_format* DateFormatFor(bool hasTime);
  lxw_format* NumberFormat(std::string_view code, bool bold);

  std::string path_;
  std::string dateFormat_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* bold_ = nullptr;
  std::map<std::string, lxw_format*> formats_;
  std::set<std::string> usedNames_;
  OutTable table_;
  std::vector<OutColumn> topColumns_;
  std::vector<Part> parts_;
  std::vector<size_t> widths_;
  unsigned row_ = 0;
  int deepest_ = 0;
};

}  // namespace kivdb
