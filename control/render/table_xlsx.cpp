#include "control/render/table_xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

#include <kivdb/error.h>
#include "control/render/sheet_format.h"

namespace kivdb {
namespace {

constexpr unsigned kSheetRows = LXW_ROW_MAX;  // rows a sheet holds, the heading included
constexpr size_t kWidestColumn = 60;
constexpr size_t kLongestText = 32767;                 // characters a cell holds
constexpr double kExactIntegers = 9007199254740992.0;  // 2^53: beyond it a double loses digits

size_t CodePoints(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The width a number takes in a "#,##0"-like format: its digits, the separators, two decimals.
size_t NumberWidth(double number, FieldClass fieldClass) {
  const double magnitude = std::fabs(number);
  const size_t digits = magnitude < 10 ? 1 : static_cast<size_t>(std::log10(magnitude)) + 1;
  size_t width = digits + (digits - 1) / 3 + (number < 0);
  if (fieldClass == FieldClass::Decimal) width += 3;
  if (fieldClass == FieldClass::Other) width += 4;  // General shows some decimals
  return width;
}

// The column letters of a zero-based column: 0 "A", 25 "Z", 26 "AA".
std::string ColumnLetters(unsigned col) {
  std::string letters;
  for (unsigned n = col + 1; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

std::string QuotedSheet(const std::string& name) {
  std::string quoted = "'";
  for (const char c : name) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

}  // namespace

XlsxOutput::XlsxOutput(const std::string& path, const WorkbookProperties& properties,
                       std::string dateFormat)
    : path_(path), dateFormat_(std::move(dateFormat)) {
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  workbook_ = workbook_new_opt(path.c_str(), &options);
  if (!workbook_) throw Error(err::kPathNotFound, "Path not found: " + path);
  lxw_doc_properties doc{};
  doc.title = const_cast<char*>(properties.title.c_str());
  doc.subject = const_cast<char*>(properties.subject.c_str());
  doc.comments = const_cast<char*>(properties.subject.c_str());
  workbook_set_properties(workbook_, &doc);
  bold_ = workbook_add_format(workbook_);
  format_set_bold(bold_);
}

XlsxOutput::~XlsxOutput() {
  // A workbook never closed (the export failed half-way) is dropped with its temporary files;
  // the caller removes the partial file.
  if (workbook_) lxw_workbook_free(workbook_);
}

lxw_format* XlsxOutput::NumberFormat(std::string_view code, bool bold) {
  const std::string key = std::string(bold ? "b:" : "n:") + std::string(code);
  auto found = formats_.find(key);
  if (found != formats_.end()) return found->second;
  lxw_format* format = workbook_add_format(workbook_);
  if (!code.empty()) format_set_num_format(format, std::string(code).c_str());
  if (bold) format_set_bold(format);
  return formats_.emplace(key, format).first->second;
}

lxw_format* XlsxOutput::DateFormatFor(bool hasTime) {
  return NumberFormat(SheetDateFormat(dateFormat_, hasTime), false);
}

void XlsxOutput::BeginTable(const OutTable& table) {
  table_ = table;
  topColumns_.clear();
  parts_.clear();
  StartSheet();
}

void XlsxOutput::StartSheet() {
  const std::string name = SheetName(table_.title, table_.id, usedNames_);
  sheet_ = workbook_add_worksheet(workbook_, name.c_str());
  if (!sheet_) throw Error(err::kFileAccess, "Path/File access error: " + path_);
  parts_.push_back({name, 1, 0});
  widths_.clear();
  row_ = 0;
  deepest_ = 0;
  if (!topColumns_.empty()) Heading(0, topColumns_);
}

void XlsxOutput::Widen(unsigned col, size_t width) {
  if (widths_.size() <= col) widths_.resize(col + 1, 0);
  widths_[col] = std::max(widths_[col], std::min(width, kWidestColumn));
}

void XlsxOutput::Outline(int level) {
  if (level == 0 || !table_.shaped) return;
  lxw_row_col_options options{};
  options.level = static_cast<uint8_t>(std::min(level, 7));
  worksheet_set_row_opt(sheet_, row_, LXW_DEF_ROW_HEIGHT, nullptr, &options);
  deepest_ = std::max(deepest_, level);
}

void XlsxOutput::Heading(int level, const std::vector<OutColumn>& columns) {
  if (level == 0 && topColumns_.empty()) topColumns_ = columns;
  Outline(level);
  for (size_t c = 0; c < columns.size(); ++c) {
    const auto col = static_cast<lxw_col_t>(static_cast<size_t>(level) + c);
    worksheet_write_string(sheet_, row_, col, columns[c].heading.c_str(), bold_);
    Widen(col, CodePoints(columns[c].heading) + (level == 0 && !table_.shaped ? 3 : 1));
  }
  if (level == 0 && !table_.shaped && !columns.empty()) {
    worksheet_autofilter(sheet_, row_, 0, row_, static_cast<lxw_col_t>(columns.size() - 1));
  }
  ++row_;
  if (level == 0) parts_.back().firstRow = row_;
}

void XlsxOutput::WriteValue(unsigned col, const Variant& value, FieldClass fieldClass) {
  const auto row = static_cast<lxw_row_t>(row_);
  const auto column = static_cast<lxw_col_t>(col);
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
    case Variant::Kind::Binary:
    case Variant::Kind::Chapter:
      return;
    case Variant::Kind::Boolean:
      worksheet_write_boolean(sheet_, row, column, *value.AsBoolean(), nullptr);
      Widen(col, 5);
      return;
    case Variant::Kind::Date: {
      const DateTime date = *value.AsDate();
      if (const std::optional<double> serial = SheetSerial(date)) {
        worksheet_write_number(sheet_, row, column, *serial, DateFormatFor(date.HasTime()));
        Widen(col, date.HasTime() ? 19 : 10);
        return;
      }
      const std::string text = DateTimeToText(date);  // a date no sheet holds stays readable
      worksheet_write_string(sheet_, row, column, text.c_str(), nullptr);
      Widen(col, text.size());
      return;
    }
    case Variant::Kind::Text: {
      const std::string& text = *value.AsText();
      const size_t length = CodePoints(text);
      if (length <= kLongestText) {
        worksheet_write_string(sheet_, row, column, text.c_str(), nullptr);
      } else {  // a cell holds at most 32,767 characters: keep the whole ones that fit
        size_t cut = 0;
        for (size_t seen = 0; cut < text.size(); ++cut) {
          if ((static_cast<unsigned char>(text[cut]) & 0xC0) != 0x80 && seen++ == kLongestText)
            break;
        }
        worksheet_write_string(sheet_, row, column, text.substr(0, cut).c_str(), nullptr);
      }
      Widen(col, length);
      return;
    }
    default: {
      const double number = *value.ToDouble();
      const std::optional<int64_t> integer = value.AsInteger();
      if (integer && std::fabs(static_cast<double>(*integer)) > kExactIntegers) {
        // Beyond 2^53 a sheet's number would change the value: keep its digits as text.
        const std::string digits = std::to_string(*integer);
        worksheet_write_string(sheet_, row, column, digits.c_str(), nullptr);
        Widen(col, digits.size());
        return;
      }
      const std::string_view code = SheetNumberFormat(fieldClass);
      worksheet_write_number(sheet_, row, column, number,
                             code.empty() ? nullptr : NumberFormat(code, false));
      Widen(col, NumberWidth(number, fieldClass));
    }
  }
}

void XlsxOutput::Row(int level, const std::vector<OutColumn>& columns, const Variant* values) {
  if (row_ + 1 >= kSheetRows) {  // one row stays free for the totals
    FinishSheet();
    StartSheet();
  }
  Outline(level);
  for (size_t c = 0; c < columns.size(); ++c) {
    WriteValue(static_cast<unsigned>(static_cast<size_t>(level) + c), values[columns[c].field],
               columns[c].fieldClass);
  }
  parts_.back().lastRow = row_;
  ++row_;
}

void XlsxOutput::Totals(std::optional<size_t> labelColumn,
                        const std::vector<std::optional<double>>& sums) {
  const auto row = static_cast<lxw_row_t>(row_);
  if (labelColumn) {
    worksheet_write_string(sheet_, row, static_cast<lxw_col_t>(*labelColumn), "Total:", bold_);
  }
  for (size_t c = 0; c < sums.size() && c < topColumns_.size(); ++c) {
    if (!sums[c] || (labelColumn && *labelColumn == c)) continue;
    const std::string letters = ColumnLetters(static_cast<unsigned>(c));
    std::string formula = "=SUM(";
    for (size_t p = 0; p < parts_.size(); ++p) {
      const Part& part = parts_[p];
      if (part.lastRow < part.firstRow) continue;
      if (formula.back() != '(') formula += ',';
      if (p + 1 < parts_.size()) formula += QuotedSheet(part.name) + "!";
      formula += letters + std::to_string(part.firstRow + 1) + ":" + letters +
                 std::to_string(part.lastRow + 1);
    }
    if (formula.back() == '(') formula += '0';
    formula += ')';
    const std::string_view code = SheetNumberFormat(topColumns_[c].fieldClass);
    worksheet_write_formula_num(sheet_, row, static_cast<lxw_col_t>(c), formula.c_str(),
                                NumberFormat(code, true), *sums[c]);
    Widen(static_cast<unsigned>(c), NumberWidth(*sums[c], topColumns_[c].fieldClass));
  }
  ++row_;
}

void XlsxOutput::FinishSheet() {
  for (size_t c = 0; c < widths_.size(); ++c) {
    const auto col = static_cast<lxw_col_t>(c);
    worksheet_set_column(sheet_, col, col, static_cast<double>(std::max<size_t>(widths_[c], 4)) + 1,
                         nullptr);
  }
  if (topColumns_.empty()) return;
  worksheet_freeze_panes(sheet_, 1, 0);
  const Part& part = parts_.back();
  if (!table_.shaped) {
    // In constant-memory mode a range can only be given while its first row is being written,
    // before the rows below exist: the heading set it, and here it grows over the data rows.
    sheet_->autofilter.last_row = static_cast<lxw_row_t>(std::max(part.lastRow, 0u));
  } else if (deepest_ > 0) {
    worksheet_outline_settings(sheet_, LXW_TRUE, LXW_FALSE, LXW_TRUE, LXW_FALSE);
  }
}

void XlsxOutput::EndTable() {
  FinishSheet();
  sheet_ = nullptr;
}

void XlsxOutput::Close() {
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;
  const lxw_error error = workbook_close(workbook);
  if (error != LXW_NO_ERROR) {
    throw Error(err::kFileAccess, "Path/File access error: " + path_ + ": " + lxw_strerror(error));
  }
}

}  // namespace kivdb
