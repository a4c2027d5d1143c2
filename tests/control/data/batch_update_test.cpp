// GetRecordset / PutRecordset on real SQLite files: writing back by key, re-reading, conflicts.
#include <gtest/gtest.h>

#include "control/data/dal.h"
#include "temp_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override { Create("batch.db"); }

  void Create(const std::string& file) {
    path_ = folder_.File(file);
    CreateDatabase(path_,
                   "CREATE TABLE item(id INTEGER PRIMARY KEY, name TEXT NOT NULL, price REAL, "
                   "  added DATE DEFAULT '2001-01-01');"
                   "INSERT INTO item(name, price, added) VALUES ('pen', 1.5, '2004-03-05'), "
                   "  ('ink', 0.1, '2004-03-06'), ('pad', NULL, 'someday');"
                   "CREATE TABLE tag(code TEXT, lang TEXT, label TEXT, PRIMARY KEY(code, lang));"
                   "INSERT INTO tag VALUES ('a', 'en', 'one'), ('a', 'de', 'eins');"
                   "CREATE TABLE loose(v TEXT); INSERT INTO loose VALUES ('x'), ('y');");
    dal_.ConnectionString(SqliteConnectionString(path_));
    other_.ConnectionString(SqliteConnectionString(path_));
  }

  std::string Items() {
    return dal_
        .ReadValue(
            "SELECT group_concat(id || ':' || name || ':' || "
            "ifnull(price, '-'), ' ') FROM item")
        .ToText();
  }

  // Moves to the record whose first field equals `id`.
  static void Find(Recordset& rs, int64_t id) {
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
      if (rs.Value(0).AsInteger() == id) return;
    }
    FAIL() << "no record " << id;
  }

  TempFolder folder_;
  std::string path_;
  DAL dal_;
  DAL other_;  // another user of the same file
};

TEST_F(BatchTest, WritesChangesAdditionsAndDeletionsThenRereads) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name, price, added FROM item", rs)) << dal_.LastError();
  Find(*rs, 2);
  rs->Fields("price").SetValue(0.25);
  Find(*rs, 3);
  rs->Delete();
  rs->AddNew();
  rs->Fields("name").SetValue("cap");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();

  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.25 3:cap:-");
  // The new record got its key and default from the database.
  EXPECT_FALSE(rs->HasPendingChanges());
  EXPECT_EQ(rs->RecordCount(), 3);
  Find(*rs, 3);
  EXPECT_EQ(rs->Fields("name").Value(), Variant("cap"));
  EXPECT_EQ(rs->Fields("added").Value(), Variant(DateTime{2001, 1, 1, 0, 0, 0}));
  // Values the database holds differently from what was written are re-read: 0.25 as a single.
  Find(*rs, 2);
  EXPECT_EQ(rs->Fields("price").Value(), Variant(0.25f));
}

TEST_F(BatchTest, UnchangedFieldsAreNotRewritten) {
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

TEST_F(BatchTest, ConflictRollsBackTheWholeBatch) {
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
    Create(std::string(c.name) + ".db");
    DAL other;
    other.ConnectionString(SqliteConnectionString(path_));
    std::shared_ptr<Recordset> rs;
    ASSERT_TRUE(dal_.GetRecordset("SELECT id, name, price FROM item", rs));
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
    ASSERT_TRUE(other.ExecSQL(c.otherChange));
    const std::string before = Items();

    EXPECT_FALSE(dal_.PutRecordset(rs));
    EXPECT_NE(dal_.LastError().find("Conflict"), std::string::npos) << dal_.LastError();
    EXPECT_EQ(Items(), before);
    EXPECT_TRUE(rs->HasPendingChanges());
  }
}

TEST_F(BatchTest, ConflictInsideTransactionKeepsTheTransaction) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO item(name) VALUES ('tx')"));
  ASSERT_TRUE(dal_.ExecSQL("UPDATE item SET name = 'changed' WHERE id = 1"));
  Find(*rs, 1);
  rs->Fields("name").SetValue("mine");
  EXPECT_FALSE(dal_.PutRecordset(rs));
  EXPECT_TRUE(dal_.IsInTransaction());
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM item WHERE name = 'tx'"), Variant(int64_t{1}));
  ASSERT_TRUE(dal_.TransRollback());
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_F(BatchTest, BatchInsideTransactionIsUndoneByRollback) {
  ASSERT_TRUE(dal_.TransBegin());
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  Find(*rs, 1);
  rs->Delete();
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  ASSERT_TRUE(dal_.TransRollback());
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_F(BatchTest, FailingStatementRollsBackTheWholeBatch) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT id, name FROM item", rs));
  Find(*rs, 1);
  rs->Fields("name").SetValue("first");
  Find(*rs, 2);
  rs->Fields("name").SetValue(Variant::Null());  // NOT NULL
  EXPECT_FALSE(dal_.PutRecordset(rs));
  EXPECT_NE(dal_.LastError().find("NOT NULL"), std::string::npos) << dal_.LastError();
  EXPECT_EQ(Items(), "1:pen:1.5 2:ink:0.1 3:pad:-");
}

TEST_F(BatchTest, CompositeKeyAndRowidKeys) {
  std::shared_ptr<Recordset> tags;
  ASSERT_TRUE(dal_.GetRecordset("SELECT label, lang, code FROM tag WHERE code = 'a'", tags));
  for (tags->MoveFirst(); !tags->Eof(); tags->MoveNext()) {
    if (tags->Fields("lang").Value() == Variant("de")) tags->Fields("label").SetValue("EINS");
  }
  ASSERT_TRUE(dal_.PutRecordset(tags)) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT group_concat(label) FROM tag"), Variant("one,EINS"));

  std::shared_ptr<Recordset> loose;
  ASSERT_TRUE(dal_.GetRecordset("SELECT rowid, v FROM loose", loose));
  loose->MoveLast();
  loose->Fields("v").SetValue("z");
  ASSERT_TRUE(dal_.PutRecordset(loose)) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT group_concat(v) FROM loose"), Variant("x,z"));
}

TEST_F(BatchTest, RecordsThatCannotBeWrittenBackFailCleanly) {
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

TEST_F(BatchTest, AdditionsWorkWithoutAKeyInTheFields) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT v FROM loose", rs));
  rs->AddNew();
  rs->Fields("v").SetValue("w");
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT group_concat(v) FROM loose"), Variant("x,y,w"));
}

TEST_F(BatchTest, ResyncDropsRowsDeletedElsewhereAndSeesTheirChanges) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("EXEC item", rs)) << dal_.LastError();
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

}  // namespace
}  // namespace kivdb
