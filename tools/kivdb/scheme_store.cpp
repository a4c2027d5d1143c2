#include "tools/kivdb/scheme_store.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "scheme/scheme_codes.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_fields.h"

namespace kivdb::schemes {
namespace {

using kivwz::Long;
namespace nav = scheme::nav;
namespace web = scheme::web;

// Rows per INSERT statement: fewer round trips, statements of modest size.
constexpr std::size_t kRowsPerInsert = 200;

struct ColumnTypes {
  const char* integer;
  const char* shortText;
  const char* longText;
};

ColumnTypes TypesOf(Dialect dialect) {
  switch (dialect) {
    case Dialect::Sqlite:
      return {"INTEGER", "VARCHAR(255)", "TEXT"};
    case Dialect::Postgres:
      return {"integer", "text", "text"};
    case Dialect::Plain:
      break;
  }
  return {"INTEGER", "VARCHAR(255)", "CLOB"};
}

// The column list of a table declaration: ID first as the key, then the others in their fixed
// positions, numbers where the control reads numbers.
template <class Record>
std::string Columns(const ColumnTypes& t) {
  const auto& names = kivwz::ColumnNamesOf(static_cast<const Record*>(nullptr));
  std::string list;
  for (const kivwz::SchemeField<Record>& field :
       kivwz::FieldsOf(static_cast<const Record*>(nullptr))) {
    list += list.empty() ? "(" : ", ";
    list += names[static_cast<std::size_t>(field.column)];
    list += ' ';
    list += field.IsNumber() ? t.integer : t.shortText;
    if (field.column == 0) list += " PRIMARY KEY";
  }
  return list + ")";
}

std::string StyleColumns(const ColumnTypes& t) {
  return std::string("(ID ") + t.integer + " PRIMARY KEY, nameIs " + t.shortText + ", contentIs " +
         t.longText + ")";
}

template <std::size_t N>
std::string NameList(const std::array<std::string_view, N>& names) {
  std::string list;
  for (std::string_view name : names) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

// A text between single quotes, every inner quote doubled.
std::string Literal(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
  return out;
}

// Collects the rows of one table into INSERT statements of kRowsPerInsert rows each.
class Inserts {
 public:
  Inserts(std::string table, std::string columns)
      : head_("INSERT INTO " + std::move(table) + " (" + std::move(columns) + ") VALUES ") {}
  void Row(const std::string& values) {
    if (rows_ % kRowsPerInsert == 0) {
      statements_.push_back(head_);
    } else {
      statements_.back() += ", ";
    }
    statements_.back() += "(" + values + ")";
    ++rows_;
  }
  const std::vector<std::string>& Statements() const { return statements_; }

 private:
  std::string head_;
  std::vector<std::string> statements_;
  std::size_t rows_ = 0;
};

class RowValues {
 public:
  RowValues& Number(Long value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
  }
  RowValues& Text(std::string_view value) {
    Separate();
    text_ += Literal(value);
    nul_ = nul_ || value.find('\0') != std::string_view::npos;
    return *this;
  }
  const std::string& Done() const { return text_; }
  // A text held a NUL character, which no SQL text literal carries.
  bool HeldNul() const { return nul_; }

 private:
  void Separate() {
    if (!text_.empty()) text_ += ", ";
  }
  std::string text_;
  bool nul_ = false;
};

// A text cell as the text files carry it; false for one holding a line break or a NUL, which a
// line of the file cannot hold.
bool CellText(const Variant& value, std::string& out) {
  out = value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
  return out.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

// A number cell: Null or empty reads as 0, as the files' reader reads an empty number.
bool CellNumber(const Variant& value, Long& out) {
  if (value.IsNull() || value.IsEmpty()) {
    out = 0;
    return true;
  }
  if (const std::optional<int64_t> whole = value.AsInteger()) {
    out = static_cast<Long>(*whole);
    return static_cast<int64_t>(out) == *whole;
  }
  const std::optional<double> number = value.ToDouble();
  if (!number || std::nearbyint(*number) != *number || std::fabs(*number) > 2147483647.0) {
    return false;
  }
  out = static_cast<Long>(*number);
  return true;
}

// Reads one scheme table cell by cell; `onRow` gets the cells of each row.
template <class OnRow>
bool ReadTable(DAL& dal, const std::string& query, int columns, std::string& error, OnRow onRow) {
  std::shared_ptr<Recordset> rows;
  if (!dal.ReadRecordset(query, rows) || !rows) {
    error = "cannot read: " + query + ": " + dal.LastError();
    return false;
  }
  if (rows->FieldCount() < columns) {
    error = query + " returns " + std::to_string(rows->FieldCount()) + " columns, not " +
            std::to_string(columns);
    return false;
  }
  std::vector<Variant> cells(static_cast<std::size_t>(columns));
  for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
    for (int c = 0; c < columns; ++c) cells[static_cast<std::size_t>(c)] = rows->Value(c);
    if (!onRow(cells, error)) return false;
  }
  return true;
}

// The cells of one row read as a record's fields (the source of kivwz::ReadFields); the first
// cell that the text files cannot carry names itself in `error`.
struct Cells {
  const std::vector<Variant>& row;
  const std::string_view* names;  // the table's column names, by position
  std::string where;
  std::string& error;
  bool ok = true;

  std::string Text(int column) {
    std::string out;
    if (!CellText(row[static_cast<std::size_t>(column)], out) && ok) {
      error = where + ": " + std::string(names[column]) +
              " holds a line break, which the text files cannot";
      ok = false;
    }
    return out;
  }
  Long Number(int column) {
    Long out = 0;
    if (!CellNumber(row[static_cast<std::size_t>(column)], out) && ok) {
      error = where + ": " + std::string(names[column]) + " '" +
              row[static_cast<std::size_t>(column)].ToText() + "' is not a whole number";
      ok = false;
    }
    return out;
  }
};

// Runs the statements in one transaction; on a failure rolls back and names the statement.
bool RunInTransaction(DAL& dal, const std::vector<std::string>& statements, std::string& error) {
  if (!dal.TransBegin()) {
    error = "cannot start a transaction: " + dal.LastError();
    return false;
  }
  for (const std::string& statement : statements) {
    if (!dal.ExecSQL(statement)) {
      error = dal.LastError();
      const std::string shown =
          statement.size() > 120 ? statement.substr(0, 120) + "..." : statement;
      error += " (in: " + shown + ")";
      dal.TransRollback();
      return false;
    }
  }
  if (!dal.TransCommit()) {
    error = "cannot commit: " + dal.LastError();
    dal.TransRollback();
    return false;
  }
  return true;
}

// One row per record of the collection; false, naming the record, when a text holds a NUL.
template <class Records>
bool AddRows(Inserts& inserts, const Records& records, const char* what, std::string& error) {
  for (const auto& record : records) {
    RowValues values;
    kivwz::WriteFields(*record, values);
    if (values.HeldNul()) {
      error = std::string(what) + " " + std::to_string(record->ID()) + " holds a NUL character";
      return false;
    }
    inserts.Row(values.Done());
  }
  return true;
}

}  // namespace

Dialect DialectOf(const std::string& connectionString) {
  const std::string lower = text::Lower(connectionString);
  if (lower.find("provider=sqlite") != std::string::npos) return Dialect::Sqlite;
  if (lower.find("postgres") != std::string::npos) return Dialect::Postgres;
  return Dialect::Plain;
}

bool ReadSchemes(DAL& dal, kivwz::clsNavSchemes& navs, std::string& error) {
  kivwz::clsNavSchemes read;
  const bool nodes = ReadTable(
      dal, "SELECT " + NameList(nav::kColumnNames) + " FROM XST1 ORDER BY ID", nav::ColumnCount,
      error, [&](const std::vector<Variant>& row, std::string& why) {
        Cells cells{row, nav::kColumnNames.data(), "XST1 row " + row[nav::ID].ToText(), why};
        // As the cells hold them: the record keeps no query on a node of type F or N.
        const std::string query = cells.Text(nav::queryIs);
        const std::string parm = cells.Text(nav::parmIs);
        auto node = std::make_shared<kivwz::clsNavScheme>();
        kivwz::ReadFields(*node, cells);
        if (!cells.ok) return false;
        if (node->queryIs() != query || node->parmIs() != parm) {
          why = cells.where + ": a node of type " + node->typeIs() +
                " holds no query or parameter in the wizard";
          return false;
        }
        if (read.Item(kivwz::KeyOf(node->ID()))) {
          why = cells.where + ": the ID is used twice";
          return false;
        }
        read.Add(std::move(node));
        return true;
      });
  if (!nodes) return false;
  if (read.Count() > 0 && read.NodesOutsideTree() > 0) {
    error = "XST1 has " + std::to_string(read.NodesOutsideTree()) +
            " rows that do not hang below the one root (parentIs 0)";
    return false;
  }
  const bool paragraphs = ReadTable(
      dal, "SELECT " + NameList(web::kColumnNames) + " FROM XST2 ORDER BY XST1, seqNo, ID",
      web::ColumnCount, error, [&](const std::vector<Variant>& row, std::string& why) {
        Cells cells{row, web::kColumnNames.data(), "XST2 row " + row[web::ID].ToText(), why};
        auto paragraph = std::make_shared<kivwz::clsWebScheme>();
        kivwz::ReadFields(*paragraph, cells);
        if (!cells.ok) return false;
        const Long before = read.oWebs.Count();
        read.oWebs.Add(std::move(paragraph));
        if (read.oWebs.Count() == before) {
          why = cells.where + ": the ID is used twice";
          return false;
        }
        return true;
      });
  if (!paragraphs) return false;
  if (read.Count() == 0) {
    error = "XST1 holds no rows";
    return false;
  }
  // The collections cannot be moved: the rows read replace the caller's one by one.
  std::vector<std::string> keys;
  for (const auto& node : navs) keys.push_back(kivwz::KeyOf(node->ID()));
  for (const std::string& key : keys) navs.Remove(key);
  for (const auto& node : read) navs.Add(node);
  navs.oWebs.ClearAll();
  for (const auto& paragraph : read.oWebs) navs.oWebs.Add(paragraph);
  return true;
}

bool WriteSchemeFiles(const kivwz::clsNavSchemes& navs, const std::string& folder,
                      std::string& error) {
  const std::string navFile = (std::filesystem::path(folder) / "XST1.txt").string();
  const std::string webFile = (std::filesystem::path(folder) / "XST2.txt").string();
  if (navs.oWebs.Count() == 0) {
    error = "the display scheme has no paragraphs: nothing to write to " + webFile;
    return false;
  }
  if (!navs.SaveData(navFile)) {
    error = "cannot write " + navFile;
    return false;
  }
  if (!navs.SaveWeb(webFile)) {
    error = "cannot write " + webFile;
    return false;
  }
  return true;
}

bool PushSchemes(DAL& dal, Dialect dialect, const kivwz::clsNavSchemes& navs,
                 const PageTemplate& pageTemplate, std::string& error) {
  const ColumnTypes types = TypesOf(dialect);
  const std::string navNames = NameList(nav::kColumnNames);
  const std::string webNames = NameList(web::kColumnNames);
  std::vector<std::string> statements = {
      "CREATE TABLE IF NOT EXISTS XST1 " + Columns<kivwz::clsNavScheme>(types),
      "CREATE TABLE IF NOT EXISTS XST2 " + Columns<kivwz::clsWebScheme>(types),
      "CREATE TABLE IF NOT EXISTS XST3 " + StyleColumns(types),
      "DROP TABLE IF EXISTS XST1_previous",
      "DROP TABLE IF EXISTS XST2_previous",
      "CREATE TABLE XST1_previous " + Columns<kivwz::clsNavScheme>(types),
      "CREATE TABLE XST2_previous " + Columns<kivwz::clsWebScheme>(types),
      "INSERT INTO XST1_previous (" + navNames + ") SELECT " + navNames + " FROM XST1",
      "INSERT INTO XST2_previous (" + webNames + ") SELECT " + webNames + " FROM XST2",
      "DELETE FROM XST1",
      "DELETE FROM XST2",
  };

  Inserts nodes("XST1", navNames);
  Inserts paragraphs("XST2", webNames);
  if (!AddRows(nodes, navs, "node", error) ||
      !AddRows(paragraphs, navs.oWebs, "paragraph", error)) {
    return false;
  }
  statements.insert(statements.end(), nodes.Statements().begin(), nodes.Statements().end());
  statements.insert(statements.end(), paragraphs.Statements().begin(),
                    paragraphs.Statements().end());
  // XST3 only where it has no page of that row yet: a database's own pages are never replaced.
  const std::pair<int, const std::string*> pages[] = {
      {scheme::style::kFrontPageRow, &pageTemplate.frontPage},
      {scheme::style::kPageHeadRow, &pageTemplate.pageHead}};
  for (const auto& [row, content] : pages) {
    const std::string id = std::to_string(row);
    statements.push_back("INSERT INTO XST3 (ID, nameIs, contentIs) SELECT " + id + ", " +
                         Literal(row == scheme::style::kFrontPageRow ? "front page" : "page head") +
                         ", " + Literal(*content) +
                         " WHERE NOT EXISTS (SELECT 1 FROM XST3 WHERE ID = " + id + ")");
  }
  return RunInTransaction(dal, statements, error);
}

bool UndoPush(DAL& dal, std::string& error) {
  std::shared_ptr<Recordset> probe;
  if (!dal.ReadRecordset("SELECT count(*) FROM XST1_previous", probe) ||
      !dal.ReadRecordset("SELECT count(*) FROM XST2_previous", probe)) {
    error = "there is no publish to undo (XST1_previous and XST2_previous are missing)";
    return false;
  }
  const std::string navNames = NameList(nav::kColumnNames);
  const std::string webNames = NameList(web::kColumnNames);
  return RunInTransaction(
      dal,
      {"DELETE FROM XST1", "DELETE FROM XST2",
       "INSERT INTO XST1 (" + navNames + ") SELECT " + navNames + " FROM XST1_previous",
       "INSERT INTO XST2 (" + webNames + ") SELECT " + webNames + " FROM XST2_previous",
       "DROP TABLE XST1_previous", "DROP TABLE XST2_previous"},
      error);
}

}  // namespace kivdb::schemes
