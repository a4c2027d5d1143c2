#include "tests/control/core/scheme_fixture.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <kivdb/dal.h>

namespace kivdb::fixture {

// The tree of the shop:
//   1 Data Browser (F, the root)
//   +- 2 Regions (G: spG_Regions)          children: one N node of row 3 per region
//   |    3 Region (N)                      page: 12 H "Customer:" (form 3), 5 S "Orders" (All),
//   |                                            13 S "Customers in :" (Text parameter)
//   +- 4 Categories (G: spG_TopCategories) children: R nodes of row 5
//   |    5 Category (R: spR_SubCategories LKey)   page: 20 S "Sub-categories"
//   |      6 Products (N: spG_CategoryProducts LKey) further children at every level
//   +- 7 Managers (F, role 3 only)
//   |    8 Salaries (N)                    page: 30 S "Salaries"
//   +- 9 Diary (N)                         page: 40 E (logs a visit), 41 S "Visits" (count),
//   |                                            42 S "Today" (Today parameter)
//   +- 10 Suppliers (G: spG_Suppliers)     children: N nodes of row 11, text keys
//        11 Supplier (N)                   page: 50 H "Supplier" (CKey05)
SchemeFixture SchemeFixture::Standard() {
  SchemeFixture f;
  f.Nav({1, "Data Browser", "F", 0})
      .Nav({2, "Regions", "G", 1, "spG_Regions", "None", "globe"})
      .Nav({3, "Region", "N", 2, kNull, kNull, "pin"})
      .Nav({4, "Categories", "G", 1, "spG_TopCategories", kNull, kNull})
      .Nav({5, "Category", "R", 4, "spR_SubCategories", "LKey", "folder"})
      .Nav({6, "Products", "N", 5, "spG_CategoryProducts", "LKey", "item"})
      .Nav({7, "Managers", "F", 1, kNull, kNull, kNull, "3"})
      .Nav({8, "Salaries", "N", 7})
      .Nav({9, "Diary", "N", 1})
      .Nav({10, "Suppliers", "G", 1, "spG_Suppliers", kNull, "truck"})
      .Nav({11, "Supplier", "N", 10});

  f.Web({12, 3, 1, "Customer:", "spW_RegionHead", "LKey", "H", "3", kNull})
      .Web({5, 3, 2, "Orders", "spW_RegionOrders", "LKey", "S", kNull, "All"})
      .Web({13, 3, 3, "Customers in :", "spW_CustomersIn", "Text", "S", kNull, kNull})
      .Web({20, 5, 1, "Sub-categories", "spR_SubCategories", "LKey", "S", kNull, kNull})
      .Web({30, 8, 1, "Salaries", "spW_Salaries", kNull, "S", kNull, "2"})
      .Web({41, 9, 2, "Visits", "spW_Visits", kNull, "S", kNull, kNull})
      .Web({40, 9, 1, kNull, "spE_LogVisit", kNull, "E", kNull, kNull})
      .Web({42, 9, 3, "Today", "spW_Today", "Today", "S", kNull, kNull})
      .Web({50, 11, 1, "Supplier", "spW_Supplier", "CKey05", "H", kNull, kNull});

  f.Style(1, "<html><body><h1>Welcome</h1></body></html>")
      .Style(2,
             "<HTML><HEAD><TITLE>%mainheading%</TITLE><STYLE>.pgl{text-align:left} "
             ".pgr{text-align:right}</STYLE></HEAD><BODY><DIV>");

  f.Sql("CREATE TABLE Regions (ID INTEGER PRIMARY KEY, Name TEXT)")
      .Sql("INSERT INTO Regions VALUES (1, 'North'), (2, 'South'), (3, 'O''Brien Isles')")
      .Sql(
          "CREATE TABLE Customers (ID INTEGER PRIMARY KEY, Name TEXT, Region TEXT, "
          "Balance CURRENCY)")
      .Sql(
          "INSERT INTO Customers VALUES (7, 'Smith', 'North', 1234.5), "
          "(8, 'Jones', 'South', -5), (9, 'Lee', 'O''Brien Isles', 0)")
      .Sql(
          "CREATE TABLE Orders (ID INTEGER PRIMARY KEY, CustomerID INTEGER, Item TEXT, "
          "Qty INTEGER, Amount CURRENCY)")
      .Sql(
          "INSERT INTO Orders VALUES (1, 7, 'Pen', 2, 10.5), (2, 7, 'Ink', 3, NULL), "
          "(3, 8, 'Cap', 1, 4.25)")
      .Sql("CREATE TABLE Category (ID INTEGER PRIMARY KEY, ParentID INTEGER, Name TEXT)")
      .Sql(
          "INSERT INTO Category VALUES (1, 0, 'Food'), (2, 0, 'Tools'), (3, 1, 'Fruit'), "
          "(4, 3, 'Apples')")
      .Sql("CREATE TABLE Products (ID INTEGER PRIMARY KEY, CategoryID INTEGER, Name TEXT)")
      .Sql("INSERT INTO Products VALUES (1, 3, 'Banana'), (2, 1, 'Bread')")
      .Sql("CREATE TABLE Suppliers (Code TEXT PRIMARY KEY, Name TEXT)")
      .Sql("INSERT INTO Suppliers VALUES ('ALFKI', 'Alfreds'), ('BONAP', 'Bon app''')")
      .Sql("CREATE TABLE Salaries (ID INTEGER PRIMARY KEY, Name TEXT, Amount DOUBLE)")
      .Sql("INSERT INTO Salaries VALUES (1, 'Boss', 9000)")
      .Sql("CREATE TABLE Visits (ID INTEGER PRIMARY KEY, Note TEXT)");

  f.Query("spG_Regions", "SELECT ID, Name FROM Regions ORDER BY ID")
      .Query("spW_RegionHead",
             "SELECT c.ID, c.Name, c.Balance FROM Customers c JOIN Regions r ON r.Name = c.Region "
             "WHERE r.ID = ?1 ORDER BY c.ID")
      .Query("spW_RegionOrders",
             "SELECT o.ID, o.Item, o.Qty, o.Amount FROM Orders o "
             "JOIN Customers c ON c.ID = o.CustomerID JOIN Regions r ON r.Name = c.Region "
             "WHERE r.ID = ?1 ORDER BY o.ID")
      .Query("spW_CustomersIn", "SELECT ID, Name FROM Customers WHERE Region = ?1 ORDER BY ID")
      .Query("spG_TopCategories", "SELECT ID, Name FROM Category WHERE ParentID = 0 ORDER BY ID")
      .Query("spR_SubCategories", "SELECT ID, Name FROM Category WHERE ParentID = ?1 ORDER BY ID")
      .Query("spG_CategoryProducts",
             "SELECT ID, Name FROM Products WHERE CategoryID = ?1 ORDER BY ID")
      .Query("spW_Salaries", "SELECT ID, Name, Amount FROM Salaries ORDER BY ID")
      .Query("spE_LogVisit", "INSERT INTO Visits (Note) VALUES ('visit')")
      .Query("spW_Visits", "SELECT COUNT(*) AS Visits FROM Visits")
      .Query("spW_Today", "SELECT ?1 AS Today")
      .Query("spG_Suppliers", "SELECT Code, Name FROM Suppliers ORDER BY Code")
      .Query("spW_Supplier", "SELECT Code, Name FROM Suppliers WHERE Code = ?1");
  return f;
}

SchemeFixture& SchemeFixture::Nav(NavRow row) {
  std::erase_if(nav_, [&](const NavRow& r) { return r.id == row.id; });
  nav_.push_back(std::move(row));
  return *this;
}

SchemeFixture& SchemeFixture::Web(WebRow row) {
  RemoveWeb(row.id);
  web_.push_back(std::move(row));
  return *this;
}

SchemeFixture& SchemeFixture::Style(long id, Cell content) {
  std::erase_if(style_, [&](const auto& s) { return s.first == id; });
  style_.emplace_back(id, std::move(content));
  return *this;
}

SchemeFixture& SchemeFixture::RemoveWeb(long id) {
  std::erase_if(web_, [&](const WebRow& r) { return r.id == id; });
  return *this;
}

SchemeFixture& SchemeFixture::Sql(std::string statement) {
  data_.push_back(std::move(statement));
  return *this;
}

SchemeFixture& SchemeFixture::Query(std::string name, std::string sql) {
  std::erase_if(queries_, [&](const SavedQuery& q) { return q.name == name; });
  queries_.push_back({std::move(name), std::move(sql)});
  return *this;
}

std::string Literal(const Cell& cell) {
  if (!cell) return "NULL";
  std::string out = "'";
  for (char c : *cell) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::vector<std::string> SchemeFixture::Statements() const {
  std::vector<std::string> out = {
      "CREATE TABLE XST1 (ID INTEGER PRIMARY KEY, descriptionIs VARCHAR(100), typeIs CHAR(1), "
      "parentIs INTEGER, queryIs VARCHAR(200), parmIs VARCHAR(20), iconIs VARCHAR(50), "
      "roleIs VARCHAR(50))",
      "CREATE TABLE XST2 (ID INTEGER PRIMARY KEY, XST1 INTEGER, seqNo INTEGER, "
      "titleIs VARCHAR(200), queryIs VARCHAR(200), parmIs VARCHAR(20), typeIs CHAR(1), "
      "formIs INTEGER, colsAre VARCHAR(200), extra VARCHAR(200))",
      "CREATE TABLE XST3 (ID INTEGER PRIMARY KEY, nameIs VARCHAR(50), contentIs TEXT)",
  };
  for (const NavRow& r : nav_) {
    out.push_back("INSERT INTO XST1 VALUES (" + std::to_string(r.id) + ", " +
                  Literal(r.description) + ", " + Literal(r.type) + ", " +
                  std::to_string(r.parent) + ", " + Literal(r.query) + ", " + Literal(r.parm) +
                  ", " + Literal(r.icon) + ", " + Literal(r.roles) + ")");
  }
  for (const WebRow& r : web_) {
    out.push_back("INSERT INTO XST2 VALUES (" + std::to_string(r.id) + ", " +
                  std::to_string(r.node) + ", " + std::to_string(r.seqNo) + ", " +
                  Literal(r.title) + ", " + Literal(r.query) + ", " + Literal(r.parm) + ", " +
                  Literal(r.type) + ", " + Literal(r.form) + ", " + Literal(r.cols) + ", NULL)");
  }
  for (const auto& [id, content] : style_) {
    out.push_back("INSERT INTO XST3 VALUES (" + std::to_string(id) + ", 'row " +
                  std::to_string(id) + "', " + Literal(content) + ")");
  }
  out.insert(out.end(), data_.begin(), data_.end());
  return out;
}

std::string SchemeFixture::WriteSqlite(const std::string& path) const {
  std::filesystem::remove(path);
  DAL dal;
  dal.ConnectionString("Provider=SQLite;Data Source=" + path + ";Mode=ReadWriteCreate");
  std::vector<std::string> statements = Statements();
  statements.push_back("CREATE TABLE XSP (nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)");
  for (const SavedQuery& q : queries_) {
    statements.push_back("INSERT INTO XSP VALUES (" + Literal(q.name) + ", " + Literal(q.sql) +
                         ")");
  }
  if (!dal.TransBegin()) throw std::runtime_error("cannot open " + path + ": " + dal.LastError());
  for (const std::string& statement : statements) {
    if (!dal.ExecSQL(statement)) {
      const std::string reason = dal.LastError();
      dal.TransRollback();
      throw std::runtime_error(statement + ": " + reason);
    }
  }
  if (!dal.TransCommit()) throw std::runtime_error("commit failed: " + dal.LastError());
  return "Provider=SQLite;Data Source=" + path;
}

}  // namespace kivdb::fixture
