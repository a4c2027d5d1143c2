// PageTables and ExportTables: the tables of the selected node's page, written to a file with
// every row, through the same commands, parameter and data gate as the page itself.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include <kivdb/error.h>
#include "base/text.h"
#include "control/core/control_impl.h"
#include "control/core/navigation_rules.h"
#include "control/core/query_parameters.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/table_csv.h"
#include "control/render/table_file_writer.h"
#include "control/render/table_xlsx.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

namespace fs = std::filesystem;
namespace web = scheme::web;
namespace nav = scheme::nav;

// The failures an export reports to its host: its own text, never a number.
struct ExportFailure {
  std::string text;
};

// The title as a file names it: the title rule with the caption as it is (no HTML here).
std::string FileTitle(const std::string& title, const std::string& caption) {
  if (!title.empty() && title.back() == ':') return title + " " + caption;
  return title;
}

// The page's table paragraphs: S and M rows with a query.
std::optional<char> TableType(const SchemeTables& schemes, size_t r) {
  if (schemes.Web(web::queryIs, r).ToText().empty()) return std::nullopt;
  const std::string type = text::Upper(schemes.Web(web::typeIs, r).ToText());
  if (type == "S" || type == "M") return type[0];
  return std::nullopt;
}

std::optional<long> WholeNumber(const Variant& value) {
  const std::optional<double> number = value.ToDouble();
  if (!number) return std::nullopt;
  return static_cast<long>(*number);
}

// The file being written sits beside the one asked for until it is complete.
std::string WritingPath(const std::string& file) {
  return file + ".writing";
}

}  // namespace

std::vector<PageTable> KivDB::PageTables() {
  return impl_->PageTables();
}

TableExportResult KivDB::ExportTables(const TableExport& request) {
  return impl_->ExportTables(request);
}

std::vector<PageTable> KivDB::Impl::PageTables() {
  std::vector<PageTable> tables;
  try {
    const TreeNode* node = oTV ? oTV->SelectedItem() : nullptr;
    if (!node) return tables;
    const long schemeId = ParseTag(node->Tag()).schemeId;
    const std::optional<size_t> navRow = schemes.NavRowById(schemeId);
    const std::string roles = navRow ? schemes.Nav(nav::roleIs, *navRow).ToText() : "";
    if (!IsRoleAllowed(roles, userRole)) return tables;
    const std::string caption = node->Text();
    for (const size_t r : schemes.WebParagraphs(schemeId)) {
      const std::optional<char> type = TableType(schemes, r);
      const std::optional<long> id = WholeNumber(schemes.Web(web::ID, r));
      if (!type || !id) continue;
      tables.push_back({*id, FileTitle(schemes.Web(web::titleIs, r).ToText(), caption), *type});
    }
  } catch (...) {
    tables.clear();  // a tree without a readable tag has no page, so no tables
  }
  return tables;
}

TableExportResult KivDB::Impl::ExportTables(const TableExport& request) {
  TableExportResult result;
  const std::string writing = WritingPath(request.file);
  std::error_code ignored;
  try {
    if (request.file.empty()) throw ExportFailure{"No file was named for the tables"};
    const TreeNode* node = oTV ? oTV->SelectedItem() : nullptr;
    if (!node) throw ExportFailure{"No node is selected"};
    const long schemeId = ParseTag(node->Tag()).schemeId;
    const std::optional<size_t> navRow = schemes.NavRowById(schemeId);
    if (!IsRoleAllowed(navRow ? schemes.Nav(nav::roleIs, *navRow).ToText() : "", userRole)) {
      throw ExportFailure{"UserRole " + std::to_string(userRole) + " may not open " + node->Text()};
    }
    const std::vector<PageTable> available = PageTables();
    std::vector<PageTable> chosen;
    if (request.paragraphs.empty()) {
      chosen = available;
    } else {
      for (const long id : request.paragraphs) {
        const PageTable* found = nullptr;
        for (const PageTable& table : available) {
          if (table.id == id) found = &table;
        }
        if (!found) {
          throw ExportFailure{"Paragraph " + std::to_string(id) + " is no table of the page of " +
                              node->Text()};
        }
        chosen.push_back(*found);
      }
    }
    if (chosen.empty()) throw ExportFailure{"The page of " + node->Text() + " has no tables"};
    if (request.format == TableFormat::Csv && chosen.size() > 1) {
      throw ExportFailure{"A CSV file holds one table: choose one of the page's " +
                          std::to_string(chosen.size()) + " tables"};
    }

    const std::optional<SelectedNode> selected = SelectedNodeOf(node);
    const DateTime today = Today();
    std::unique_ptr<CsvOutput> csv;
    std::unique_ptr<XlsxOutput> xlsx;
    TableOutput* output = nullptr;
    if (request.format == TableFormat::Csv) {
      csv = std::make_unique<CsvOutput>(writing, request.byteOrderMark);
      output = csv.get();
    } else {
      const std::string title =
          chosen.size() == 1 && !chosen.front().title.empty() ? chosen.front().title : node->Text();
      xlsx = std::make_unique<XlsxOutput>(writing, WorkbookProperties{title, node->FullPath()},
                                          dateFormat);
      output = xlsx.get();
    }

    // The running count over every table, for the host's progress.
    const TableProgress progress = [&](long rows) {
      return !request.progress || request.progress(result.rows + rows);
    };
    for (const PageTable& table : chosen) {
      size_t row = 0;
      for (const size_t r : schemes.WebParagraphs(schemeId)) {
        if (WholeNumber(schemes.Web(web::ID, r)) == table.id) row = r;
      }
      const std::string command =
          BuildCommand(schemes.Web(web::queryIs, row).ToText(),
                       schemes.Web(web::parmIs, row).ToText(), selected, today);
      const OutTable out{table.id, table.title, table.type == 'M'};
      const std::string readFailed =
          "The rows of paragraph " + std::to_string(table.id) + " could not be read: " + command;
      long rows = 0;
      bool complete = true;
      if (table.type == 'S') {
        TableSink sink(*output, out, FormatValue(schemes.Web(web::colsAre, row), kKindBlank),
                       progress);
        if (!ReadDataForward(command, sink)) throw ExportFailure{readFailed};
        sink.Finish();
        rows = sink.Rows();
        complete = !sink.Cancelled();
      } else {
        std::shared_ptr<Recordset> read;
        if (!ReadData(command, read) || !read) throw ExportFailure{readFailed};
        if (read->RecordCount() == 0) throw ExportFailure{BlankRecordsetMessage(table.title)};
        if (read->RecordCount() > 1) throw ExportFailure{"Improper Shape SQL: " + table.title};
        read->MoveFirst();
        const std::string shapeCommand = read->Value(0).ToText();
        std::shared_ptr<Recordset> shaped;
        if (!ReadData(shapeCommand, shaped) || !shaped) {
          throw ExportFailure{"The rows of paragraph " + std::to_string(table.id) +
                              " could not be read: " + shapeCommand};
        }
        complete = WriteShaped(*output, out, *shaped, progress, rows);
      }
      result.rows += rows;
      ++result.tables;
      if (!complete) {
        result.cancelled = true;
        throw ExportFailure{"The export was cancelled"};
      }
    }
    if (csv) csv->Close();
    if (xlsx) xlsx->Close();
    std::error_code error;
    fs::rename(writing, request.file, error);
    if (error) throw ExportFailure{"Cannot write " + request.file + ": " + error.message()};
    result.ok = true;
  } catch (const ExportFailure& failure) {
    result.error = failure.text;
  } catch (...) {
    const Failure failure = CurrentFailure(true);
    result.error = failure.description;
  }
  if (!result.ok) {
    fs::remove(writing, ignored);
    Tell(result.error);
  }
  return result;
}

}  // namespace kivdb
