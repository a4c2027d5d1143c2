// GetRecordset / PutRecordset on SQLite and PostgreSQL: writing back by key, re-reading,
// conflicts.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "temp_database.h"
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

// Moves to the record whose first field equals `id`.
void Find(Recordset& rs, int64_t id) {
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
    if (rs.Value(0).AsInteger() == id) return;
  }
  FAIL() << "no record " << id;
}

// The values of the first field of a query, as text joined by commas.
std::string Column(DAL& dal, const std::string& query) {
  std::shared_ptr<Recordset> rs;
  EXPECT_TRUE(dal.ReadRecordset(query, rs)) << query << ": " << dal.LastError();
  std::string out;
  if (!rs) return out;
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
    out += (out.empty() ? "" : ",") + rs->Value(0).ToText();
  }
  return out;
}

class BatchTest : public testing_support::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    Reset();
    dal_.ConnectionString(db().ConnectionString());
    other_.ConnectionString(db().ConnectionString());
  }

  // Creates the tables anew, with their first rows.
  void Reset() {
    Create({"DROP TABLE IF EXISTS item", "DROP TABLE IF EXISTS tag", "DROP TABLE IF EXISTS loose",
            Sql("CREATE TABLE item(id INTEGER PRIMARY KEY, name TEXT NOT NULL, price REAL, "
                "added DATE DEFAULT '2001-01-01')",
                "CREATE TABLE item(id serial PRIMARY KEY, name text NOT NULL, price real, "
                "added date DEFAULT '2001-01-01')"),
            "INSERT INTO item(name, price, added) VALUES ('pen', 1.5, '2004-03-05'), "
            "('ink', 0.1, '2004-03-06'), ('pad', NULL, '2004-03-07')",
            "CREATE TABLE tag(code TEXT, lang TEXT, label TEXT, PRIMARY KEY(code, lang))",
            "INSERT INTO tag VALUES ('a', 'en', 'one'), ('a', 'de', 'eins')",
            "CREATE TABLE loose(v TEXT)", "INSERT INTO loose VALUES ('x'), ('y')"});
  }

  // "id:name:price" of every item in key order, "-" for a missing price.
  std::string Items() {
    std::shared_ptr<Recordset> rs;
    EXPECT_TRUE(dal_.ReadRecordset("SELECT id, name, price FROM item ORDER BY id", rs))
        << dal_.LastError();
    std::string out;
    if (!rs) return out;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      const Variant& price = rs->Value(2);
      out += (out.empty() ? "" : " ") + rs->Value(0).ToText() + ":" + rs->Value(1).ToText() + ":" +
             (price.IsNull() ? "-" : price.ToText());
    }
    return out;
  }

  DAL dal_;
  DAL other_;  // another user of the same database
};

TEST_P(BatchTest, WritesChangesAdditionsAndDeletionsThenRereads) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name, price, added FROM item", rs)) << dal_.LastError();
  Find(*rs, 2);
  rs->Fields("price").SetValue(0.25);
  Find(*rs, 3);
  rs->Delete();
  rs->AddNew();
  rs->Fields("name").SetValue("cap");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();

  // SQLite reuses the highest key; a PostgreSQL sequence never does.
  const int64_t added = IsPostgres() ? 4 : 3;
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.25 " + std::to_string(added) + ":cap:-");
  // The new record got its key and default from the database.
  EXPECT_FALSE(rs->HasPendingChanges());
  EXPECT_EQ(rs->RecordCount(), 3);
  Find(*rs, added);
  EXPECT_EQ(rs->Fields("name").Value(), Variant("cap"));
  EXPECT_EQ(rs->Fields("added").Value(), Variant(DateTime{2001, 1, 1, 0, 0, 0}));
  // Values the database holds differently from what was written are re-read: 0.25 as a single.
  Find(*rs, 2);
  EXPECT_EQ(rs->Fields("price").Value(), Variant(0.25f));
}

TEST_P(BatchTest, ConflictRollsBackTheWholeBatch) {
  struct Case {
    const char* name;
    const char* otherChange;
    bool deleteInsteadOfUpdate;
  } cases[] = {
      {"changed row", "UPDATE item SET name = 'INK' WHERE id = 2", false},
      {"deleted row", "DELETE FROM item WHERE id = 2", false},
      {"changed row to delete", "UPDATE item SET price = 9 WHERE id = 2", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    std::shared_ptr<Recordset> rs;
    ASSERT_TRUE(dal_.GetRecordset("SELECT id, name, price FROM item", rs)) << dal_.LastError();
    Find(*rs, 1);
    rs->Fields("name").SetValue("PEN");  // would succeed on its own
    rs->AddNew();
    rs->Fields("name").SetValue("new");
    Find(*rs, 2);
    if (c.deleteInsteadOfUpdate) {
      rs->Delete();
    } else {
      rs->Fields("price").SetValue(2.0);
    }
    ASSERT_TRUE(other_.ExecSQL(c.otherChange)) << other_.LastError();
    const std::string before = Items();

    EXPECT_FALSE(dal_.PutRecordset(rs));
    EXPECT_NE(dal_.LastError().find("Conflict"), std::string::npos) << dal_.LastError();
    EXPECT_EQ(Items(), before);
    EXPECT_TRUE(rs->HasPendingChanges());
  }
}

TEST_P(BatchTest, ConflictInsideTransactionKeepsTheTransaction) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO item(name) VALUES ('tx')"));
  ASSERT_TRUE(dal_.ExecSQL("UPDATE item SET name = 'changed' WHERE id = 1"));
  Find(*rs, 1);
  rs->Fields("name").SetValue("mine");
  EXPECT_FALSE(dal_.PutRecordset(rs));
  EXPECT_NE(dal_.LastError().find("Conflict"), std::string::npos) << dal_.LastError();
  EXPECT_TRUE(dal_.IsInTransaction());
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM item WHERE name = 'tx'"), Variant(int64_t{1}))
      << dal_.LastError();
  ASSERT_TRUE(dal_.TransRollback());
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_P(BatchTest, FailingStatementInsideTransactionKeepsTheTransaction) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO item(name) VALUES ('tx')"));
  Find(*rs, 2);
  rs->Fields("name").SetValue(Variant::Null());  // NOT NULL
  EXPECT_FALSE(dal_.PutRecordset(rs));
  // The transaction is still usable: its earlier work is there and more can follow.
  EXPECT_TRUE(dal_.ExecSQL("INSERT INTO item(name) VALUES ('tx2')")) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM item WHERE name LIKE 'tx%'"), Variant(int64_t{2}));
  ASSERT_TRUE(dal_.TransCommit()) << dal_.LastError();
  EXPECT_EQ(Column(dal_, "SELECT name FROM item ORDER BY id"), "pen,ink,pad,tx,tx2");
}

TEST_P(BatchTest, BatchInsideTransactionIsUndoneByRollback) {
  ASSERT_TRUE(dal_.TransBegin());
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  Find(*rs, 1);
  rs->Delete();
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  ASSERT_TRUE(dal_.TransRollback());
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_P(BatchTest, FailingStatementRollsBackTheWholeBatch) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  Find(*rs, 1);
  rs->Fields("name").SetValue("first");
  Find(*rs, 2);
  rs->Fields("name").SetValue(Variant::Null());  // NOT NULL
  EXPECT_FALSE(dal_.PutRecordset(rs));
  EXPECT_NE(dal_.LastError().find(Sql("NOT NULL", "not-null")), std::string::npos)
      << dal_.LastError();
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
  // Autocommit is back: a later change stays without a commit.
  ASSERT_TRUE(dal_.ExecSQL("UPDATE item SET name = 'PEN' WHERE id = 1"));
  EXPECT_EQ(Column(other_, "SELECT name FROM item WHERE id = 1"), "PEN");
}

TEST_P(BatchTest, CompositeKey) {
  std::shared_ptr<Recordset> tags;
  ASSERT_TRUE(dal_.GetRecordset("SELECT label, lang, code FROM tag WHERE code = 'a'", tags))
      << dal_.LastError();
  for (tags->MoveFirst(); !tags->Eof(); tags->MoveNext()) {
    if (tags->Fields("lang").Value() == Variant("de")) tags->Fields("label").SetValue("EINS");
  }
  ASSERT_TRUE(dal_.PutRecordset(tags)) << dal_.LastError();
  EXPECT_EQ(Column(dal_, "SELECT label FROM tag ORDER BY lang DESC"), "one,EINS");
}

TEST_P(BatchTest, RecordsThatCannotBeWrittenBackFailCleanly) {
  struct Case {
    const char* query;
    const char* errorPart;
  } cases[] = {
      {"SELECT v FROM loose", "no key"},
      {"SELECT i.name, t.label FROM item i, tag t", "not read from one table"},
      {"SELECT count(*) AS n FROM item", "not read from one table"},
      {"SELECT upper(name) AS shout, id FROM item", "no column of item"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    std::shared_ptr<Recordset> rs;
    ASSERT_TRUE(dal_.GetRecordset(c.query, rs)) << dal_.LastError();
    rs->MoveFirst();
    rs->Fields(0).SetValue("changed");
    EXPECT_FALSE(dal_.PutRecordset(rs));
    EXPECT_NE(dal_.LastError().find(c.errorPart), std::string::npos) << dal_.LastError();
  }
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_P(BatchTest, AdditionsWorkWithoutAKeyInTheFields) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT v FROM loose", rs));
  rs->AddNew();
  rs->Fields("v").SetValue("w");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  EXPECT_EQ(Column(dal_, "SELECT v FROM loose"), "x,y,w");
}

TEST_P(BatchTest, ResyncDropsRowsDeletedElsewhereAndSeesTheirChanges) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset(Sql("EXEC item", "SELECT * FROM item"), rs)) << dal_.LastError();
  ASSERT_TRUE(
      other_.ExecSQL("DELETE FROM item WHERE id = 3; UPDATE item SET name = 'PEN' WHERE id = 1"));
  Find(*rs, 2);
  rs->Fields("name").SetValue("INK");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  const auto rows = rs->GetRows();
  ASSERT_EQ(rows[1].size(), 2u);
  EXPECT_EQ(rows[1][0], Variant("PEN"));
  EXPECT_EQ(rows[1][1], Variant("INK"));
}

KIVDB_ON_BOTH_ENGINES(BatchTest);

// --- What only SQLite files do ------------------------------------------------------------------

class SqliteBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("batch.db");
    CreateDatabase(path_,
                   "CREATE TABLE item(id INTEGER PRIMARY KEY, name TEXT NOT NULL, price REAL, "
                   "  added DATE DEFAULT '2001-01-01');"
                   "INSERT INTO item(name, price, added) VALUES ('pen', 1.5, '2004-03-05'), "
                   "  ('ink', 0.1, '2004-03-06'), ('pad', NULL, 'someday');"
                   "CREATE TABLE loose(v TEXT); INSERT INTO loose VALUES ('x'), ('y');");
    dal_.ConnectionString(SqliteConnectionString(path_));
  }
  TempFolder folder_;
  std::string path_;
  DAL dal_;
};

TEST_F(SqliteBatchTest, UnchangedFieldsAreNotRewritten) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT * FROM item", rs));
  Find(*rs, 3);
  rs->Fields("name").SetValue("pads");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  // 'someday' does not read as a date; it stays text in the file and in the records.
  EXPECT_EQ(dal_.ReadValue("SELECT added || typeof(price) FROM item WHERE id = 3"),
            Variant("somedaynull"));
  // The single 0.1 read from row 2 was not written back as its binary neighbour.
  EXPECT_EQ(dal_.ReadValue("SELECT price = 0.1 FROM item WHERE id = 2"), Variant(int64_t{1}));
}

TEST_F(SqliteBatchTest, RowidServesAsKey) {
  std::shared_ptr<Recordset> loose;
  ASSERT_TRUE(dal_.GetRecordset("SELECT rowid, v FROM loose", loose));
  loose->MoveLast();
  loose->Fields("v").SetValue("z");
  ASSERT_TRUE(dal_.PutRecordset(loose)) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT group_concat(v) FROM loose"), Variant("x,z"));
}

}  // namespace
}  // namespace kivdb
