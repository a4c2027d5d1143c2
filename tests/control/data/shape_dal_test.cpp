// SHAPE commands read through DAL on real SQLite files: saved queries inside braces, three levels,
// one connection per read (or the transaction's), and failures that leave no result behind.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "temp_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

class ShapeDalTest : public ::testing::Test {
 protected:
  ShapeDalTest() {
    DalAccess::UseFactory(dal_, [this](const std::string& text, std::string& error) {
      ++opened_;
      return OpenDefaultConnection(text, error);
    });
    const std::string path = folder_.File("shop.db");
    CreateDatabase(
        path,
        "CREATE TABLE Customers(ID INTEGER PRIMARY KEY, Name TEXT);"
        "CREATE TABLE Orders(ID INTEGER PRIMARY KEY, customerId INTEGER, Total REAL);"
        // orderId is REAL: its 17.0 must still find order 17.
        "CREATE TABLE Lines(ID INTEGER PRIMARY KEY, orderId REAL, Item TEXT, Qty INTEGER);"
        "CREATE TABLE XSP(nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT);"
        "INSERT INTO XSP VALUES ('qLines', 'SELECT ID, orderId, Item FROM Lines WHERE Qty >= ?1 "
        "ORDER BY ID');"
        "INSERT INTO Customers VALUES (1, 'Ann'), (2, 'Bob');"
        "INSERT INTO Orders VALUES (17, 1, 250.5), (18, 2, 12), (19, 1, NULL);"
        "INSERT INTO Lines VALUES (1, 17, 'Pen', 5), (2, 17, 'Ink', 1), (3, 18, 'Pad', 2),"
        " (4, 18, 'Tiny', 0);");
    dal_.ConnectionString(SqliteConnectionString(path));
  }

  // The items of the chapter `field` of the current record, joined by blanks.
  static std::string Items(Recordset& records, const char* field, const char* column = "Item") {
    const auto chapter = records.Fields(field).Value().AsChapter();
    if (!chapter) return "<no chapter>";
    std::string text;
    for (chapter->MoveFirst(); !chapter->Eof(); chapter->MoveNext()) {
      text += (text.empty() ? "" : " ") + chapter->Fields(column).Value().ToText();
    }
    return text;
  }

  TempFolder folder_;
  int opened_ = 0;
  DAL dal_;
};

TEST_F(ShapeDalTest, ReadsAShapedRecordsetWithSavedQueriesInBraces) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(
      "SHAPE {SELECT ID, Total FROM Orders ORDER BY ID} APPEND ({EXEC qLines 1} RELATE ID TO "
      "orderId) AS Lines",
      rs))
      << dal_.LastError();
  EXPECT_EQ(opened_, 1);
  ASSERT_EQ(rs->RecordCount(), 3);
  ASSERT_EQ(rs->FieldCount(), 3);
  EXPECT_EQ(rs->Fields(2).Type(), type::kChapter);
  rs->MoveFirst();
  EXPECT_EQ(rs->Fields("Total").Value().ToText(), "250.5");
  EXPECT_EQ(Items(*rs, "Lines"), "Pen Ink");
  rs->MoveNext();
  EXPECT_EQ(Items(*rs, "Lines"), "Pad");  // "Tiny" has Qty 0, below the argument
  rs->MoveNext();
  EXPECT_EQ(Items(*rs, "Lines"), "");
  EXPECT_EQ(rs->Fields("Lines").Value().AsChapter()->FieldCount(), 3);
}

TEST_F(ShapeDalTest, ReadsThreeLevels) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(
      "SHAPE {SELECT * FROM Customers ORDER BY ID} APPEND ((SHAPE {SELECT ID, customerId FROM "
      "Orders ORDER BY ID} APPEND ({SELECT * FROM Lines ORDER BY ID} RELATE ID TO orderId) AS "
      "Lines) RELATE ID TO customerId) AS Orders",
      rs))
      << dal_.LastError();
  EXPECT_EQ(opened_, 1);
  rs->MoveFirst();
  EXPECT_EQ(Items(*rs, "Orders", "ID"), "17 19");
  const auto annsOrders = rs->Fields("Orders").Value().AsChapter();
  annsOrders->MoveFirst();
  EXPECT_EQ(Items(*annsOrders, "Lines"), "Pen Ink");
  rs->MoveNext();
  const auto bobsOrders = rs->Fields("Orders").Value().AsChapter();
  bobsOrders->MoveFirst();
  EXPECT_EQ(Items(*bobsOrders, "Lines"), "Pad Tiny");
}

TEST_F(ShapeDalTest, AFailingPartFailsTheReadAndLeavesNoConnection) {
  struct Case {
    const char* name;
    const char* text;
    const char* fault;
  } cases[] = {
      {"unknown table in a child",
       "SHAPE {SELECT * FROM Orders} APPEND ({SELECT * FROM Nowhere} RELATE ID TO orderId)",
       "SHAPE: the command {SELECT * FROM Nowhere} failed: no such table: Nowhere"},
      {"unknown saved query", "SHAPE {EXEC qNothing 1} APPEND ({EXEC qLines 0} RELATE ID TO x)",
       "No saved query named qNothing"},
      {"unknown column", "SHAPE {SELECT * FROM Orders} APPEND ({EXEC qLines 0} RELATE ID TO oid)",
       "the child command returns no column named 'oid'"},
      {"unbalanced braces", "SHAPE {SELECT * FROM Orders APPEND ({EXEC qLines 0} RELATE ID TO x)",
       "Malformed SHAPE command: unbalanced braces"},
      {"missing APPEND", "SHAPE {SELECT * FROM Orders}", "missing APPEND"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto rs = std::make_shared<Recordset>();
    EXPECT_FALSE(dal_.ReadRecordset(c.text, rs));
    EXPECT_EQ(rs, nullptr);
    EXPECT_NE(dal_.LastError().find(c.fault), std::string::npos) << dal_.LastError();
    // The failed read left no connection behind: the next one opens its own and succeeds.
    EXPECT_TRUE(dal_.ReadRecordset("SELECT 1", rs)) << dal_.LastError();
    EXPECT_FALSE(dal_.IsInTransaction());
  }
}

TEST_F(ShapeDalTest, InsideATransactionEveryPartUsesItsConnection) {
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO Lines VALUES (9, 19, 'Fresh', 3)"));
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(
      "SHAPE {SELECT * FROM Orders WHERE ID = 19} APPEND ({EXEC qLines 0} RELATE ID TO orderId) "
      "AS Lines",
      rs))
      << dal_.LastError();
  EXPECT_EQ(opened_, 1);
  rs->MoveFirst();
  EXPECT_EQ(Items(*rs, "Lines"), "Fresh");  // seen only through the transaction's connection
  ASSERT_TRUE(dal_.TransRollback());
}

TEST_F(ShapeDalTest, ReadValueAndGetRecordsetUnderstandShapeToo) {
  EXPECT_EQ(dal_.ReadValue("SHAPE {SELECT Name FROM Customers ORDER BY ID DESC} APPEND "
                           "({SELECT * FROM Orders} RELATE Name TO customerId)")
                .ToText(),
            "Bob");
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(
      dal_.GetRecordset("shape {select * from Orders} append ({select * from Lines} "
                        "relate id to orderid) as L",
                        rs))
      << dal_.LastError();
  EXPECT_EQ(rs->Fields("L").Type(), type::kChapter);
}

}  // namespace
}  // namespace kivdb
