#pragma once
// SchemeFixture: the database of the end-to-end tests, a small shop with regions, customers,
// orders, suppliers and a category tree, described by XST1, XST2 and XST3, and the saved queries
// its schemes name. The content is kept here once, as portable statements plus named queries, so
// that another database edition can load the same data; WriteSqlite loads it into a new SQLite
// file through the DAL (the saved queries become rows of XSP).
//
// Tests start from Standard() and add or replace rows before writing.

#include <optional>
#include <string>
#include <vector>

namespace kivdb::fixture {

// A text or number cell; nullopt is NULL.
using Cell = std::optional<std::string>;
inline const Cell kNull = std::nullopt;

struct NavRow {
  long id;
  Cell description;
  Cell type;
  long parent;
  Cell query = kNull;
  Cell parm = kNull;
  Cell icon = kNull;
  Cell roles = kNull;
};

struct WebRow {
  long id;
  long node;  // XST1
  long seqNo;
  Cell title;
  Cell query;
  Cell parm;
  Cell type;
  Cell form = kNull;  // a number as text
  Cell cols = kNull;
};

struct SavedQuery {
  std::string name;
  std::string sql;  // parameters ?1, ?2, ...
};

class SchemeFixture {
 public:
  // The shop: see scheme_fixture.cpp for the tree and the pages.
  static SchemeFixture Standard();

  // Adds a row, or replaces the row with the same ID.
  SchemeFixture& Nav(NavRow row);
  SchemeFixture& Web(WebRow row);
  SchemeFixture& Style(long id, Cell content);
  SchemeFixture& RemoveWeb(long id);
  SchemeFixture& Sql(std::string statement);
  SchemeFixture& Query(std::string name, std::string sql);

  // Every statement that creates and fills the tables, in order (saved queries not included).
  std::vector<std::string> Statements() const;
  const std::vector<SavedQuery>& Queries() const { return queries_; }

  // Creates (or replaces) the SQLite file `path` and returns its connection string. Throws
  // std::runtime_error with the DAL's reason when a statement fails.
  std::string WriteSqlite(const std::string& path) const;

 private:
  std::vector<NavRow> nav_;
  std::vector<WebRow> web_;
  std::vector<std::pair<long, Cell>> style_;
  std::vector<std::string> data_;
  std::vector<SavedQuery> queries_;
};

// A SQL literal: NULL, or the text between single quotes with quotes doubled.
std::string Literal(const Cell& cell);

}  // namespace kivdb::fixture
