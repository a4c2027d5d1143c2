// Pages read forward-only: a read that fails after the first rows are on the page leaves the table
// closed and marked as cut short, never with a total row or a row count as though complete; and a
// page read forward-only through the DAL is the page the host's recordsets give.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "control/data/recordset_access.h"
#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using fixture::kNull;
using fixture::SchemeFixture;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kEndlessRows =
    "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c) SELECT n AS Visits, n * 2 AS "
    "Twice, n * 3 AS Thrice FROM c";

// A provider whose forward-only reads fail after `rowsBeforeFailure` records, as a server lost
// in the middle of a result would; everything else goes to the real connection.
class FailingConnection final : public Connection {
 public:
  FailingConnection(std::unique_ptr<Connection> inner, int rowsBeforeFailure)
      : inner_(std::move(inner)), rowsBeforeFailure_(rowsBeforeFailure) {}
  bool Execute(const std::string& c, std::string& e) override { return inner_->Execute(c, e); }
  bool Query(const std::string& c, bool u, Recordset& out, std::string& e) override {
    return inner_->Query(c, u, out, e);
  }
  bool Stream(const std::string& command, RowSink& sink, std::string& error) override {
    Recordset records;
    if (!inner_->Query(command, false, records, error)) return false;
    std::vector<FieldInfo> fields;
    for (int i = 0; i < records.FieldCount(); ++i)
      fields.push_back({records.Fields(i).Name(), records.Fields(i).Type()});
    if (!sink.Begin(fields)) return true;
    int handed = 0;
    for (const size_t row : records.LiveRows()) {
      if (handed++ == rowsBeforeFailure_) break;
      std::vector<Variant> values;
      for (int i = 0; i < records.FieldCount(); ++i)
        values.push_back(RecordsetAccess::CellValue(records, row, i));
      if (!sink.Row(values.data(), values.size())) return true;
    }
    error = "the server closed the connection";
    return false;
  }
  bool BeginTransaction(std::string& e) override { return inner_->BeginTransaction(e); }
  bool Commit(std::string& e) override { return inner_->Commit(e); }
  bool Rollback(std::string& e) override { return inner_->Rollback(e); }
  bool ApplyBatch(Recordset& r, std::string& e) override { return inner_->ApplyBatch(r, e); }
  void SetQueryTimeout(int seconds) override { inner_->SetQueryTimeout(seconds); }

 private:
  std::unique_ptr<Connection> inner_;
  const int rowsBeforeFailure_;
};

TEST(ForwardRead, ReadFailingHalfWayEndsTheTableMarkedCutShort) {
  struct Case {
    const char* name;
    const char* visits;   // the query of the S paragraph "Visits"
    int injectedFailure;  // rows before the provider fails; -1: the real provider
    int queryTimeout;
    long maxRows;
    const char* lastRow;  // the last row the page shows
  };
  const Case cases[] = {
      {"provider fails after 2 rows", "SELECT ID AS Visits, 1 AS Twice FROM Visits", 2, 0, 0,
       "<tr><td class=tdr>2</td>"},
      {"query timeout stops an endless read", kEndlessRows, -1, 1, 3, "<tr><td class=tdr>3</td>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlHarness h(SchemeFixture::Standard()
                         .Query("spW_Visits", c.visits)
                         .Sql("DELETE FROM Visits")
                         .Sql("INSERT INTO Visits (ID) VALUES (1), (2), (3), (4)")
                         .RemoveWeb(41)
                         .Web({41, 9, 2, "Visits", "spW_Visits", kNull, "S", kNull, "All"}));
    if (c.injectedFailure >= 0) {
      auto dal = std::make_shared<DAL>();
      DalAccess::UseFactory(*dal, [&c](const std::string& text, std::string& error) {
        std::unique_ptr<Connection> inner = OpenDefaultConnection(text, error);
        if (!inner) return inner;
        return std::unique_ptr<Connection>(
            new FailingConnection(std::move(inner), c.injectedFailure));
      });
      dal->ConnectionString(h.connection);
      h.control.DAL(dal);
    }
    h.control.QueryTimeout(c.queryTimeout);
    h.control.MaxRows(c.maxRows);
    h.control.Talking(true);
    h.control.RefreshBrowser();
    h.TakeEvents();
    ASSERT_TRUE(h.Click("Data Browser\\Diary"));
    EXPECT_THAT(h.TakeEvents(), Contains("KivDBMessage: Error Reading Data From Database"));
    const std::vector<std::string> lines = PageLines(h.ReportFile());
    const auto head = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.find("TBL041") != l.npos; });
    ASSERT_NE(head, lines.end());
    const auto end = std::find(head, lines.end(), "</table><br><br>");
    ASSERT_NE(end, lines.end());
    EXPECT_THAT(*(end - 1), HasSubstr(c.lastRow));
    ASSERT_NE(end + 1, lines.end());
    EXPECT_THAT(*(end + 1), HasSubstr("<p class=pgl>Error Reading Data From Database after "));
    EXPECT_THAT(lines, Not(Contains(HasSubstr("Total:"))));
    EXPECT_THAT(lines, Not(Contains(HasSubstr("Showing"))));
    EXPECT_EQ(lines.back(), "</DIV></BODY></HTML>");
  }
}

// Every page of the shop, read forward-only through the DAL, against the same page built from the
// recordsets a host hands over (read whole through a DAL of its own).
class ForwardPages : public EngineTest {};

TEST_P(ForwardPages, EveryPageMatchesTheOneFromWholeRecordsets) {
  const std::vector<std::string> paths = {"Data Browser\\Regions\\North",
                                          "Data Browser\\Categories\\Food", "Data Browser\\Diary"};
  for (const long maxRows : {0L, 1L}) {
    for (const std::string& path : paths) {
      SCOPED_TRACE(path + " MaxRows " + std::to_string(maxRows));
      std::string pages[2];
      for (int mode = 1; mode <= 2; ++mode) {
        ControlHarness h(GetParam());
        DAL whole;
        whole.ConnectionString(h.connection);
        h.control.SetUserMode(false);  // DAMode is a design-time setting
        if (mode == 2) {
          h.control.DAMode(2);
          h.control.OnProvideRecordset(
              [&whole](const std::string& sql, std::shared_ptr<Recordset>& records) {
                whole.ReadRecordset(sql, records);
              });
        }
        h.control.MaxRows(maxRows);
        h.control.RefreshBrowser();
        // The parents first, so that the node is in the tree.
        for (size_t at = path.find('\\', 13); at != std::string::npos;
             at = path.find('\\', at + 1)) {
          h.Click(path.substr(0, at));
        }
        if (!h.Click(path)) break;
        pages[mode - 1] = ReadFile(h.ReportFile());
      }
      EXPECT_FALSE(pages[0].empty());
      EXPECT_EQ(pages[0], pages[1]);
    }
  }
}

// A multi-chapter page under MaxRows, read forward through the DAL (the parents past the cap only
// counted, chapters read for the shown parents), against the same page from the whole shaped
// recordset a host hands over.
TEST_P(ForwardPages, ShapedPagesKeepOnlyTheShownParentsAndCountTheRest) {
  SchemeFixture shop = SchemeFixture::Standard();
  shop.Nav({18, "Buyers", "N", 1})
      .Web({71, 18, 1, "Buyers", "spM_Buyers", kNull, "M", kNull, kNull})
      .Query("spM_Buyers",
             "SELECT 'SHAPE {SELECT ID, Name AS \"Name\" FROM Customers ORDER BY ID} APPEND "
             "({SELECT ID, CustomerID AS \"CustomerID\", Item AS \"Item\" FROM Orders ORDER BY "
             "ID} RELATE ID TO CustomerID) AS Orders'");
  struct Case {
    long maxRows;
    const char* note;  // the count under the table, "" for none
  };
  for (const Case& c : {Case{0, ""}, Case{1, "<p class=pgl>Showing 1 of 3 rows.</p>"},
                        Case{2, "<p class=pgl>Showing 2 of 3 rows.</p>"}, Case{3, ""}}) {
    SCOPED_TRACE("MaxRows " + std::to_string(c.maxRows));
    std::string pages[2];
    std::vector<std::string> lines;
    for (int mode = 1; mode <= 2; ++mode) {
      ControlHarness h(GetParam(), shop);
      DAL whole;
      whole.ConnectionString(h.connection);
      h.control.SetUserMode(false);
      if (mode == 2) {
        h.control.DAMode(2);
        h.control.OnProvideRecordset(
            [&whole](const std::string& sql, std::shared_ptr<Recordset>& records) {
              whole.ReadRecordset(sql, records);
            });
      }
      h.control.MaxRows(c.maxRows);
      h.control.RefreshBrowser();
      ASSERT_TRUE(h.Click("Data Browser\\Buyers"));
      pages[mode - 1] = ReadFile(h.ReportFile());
      if (mode == 1) lines = PageLines(h.ReportFile());
    }
    EXPECT_EQ(pages[0], pages[1]);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("<img id=DTL02") != l.npos; }),
              c.maxRows == 0 ? 3 : std::min(c.maxRows, 3L));
    if (*c.note) {
      EXPECT_THAT(lines, Contains(c.note));
    } else {
      EXPECT_THAT(lines, Not(Contains(HasSubstr("Showing"))));
    }
  }
}

KIVDB_ON_BOTH_ENGINES(ForwardPages);

}  // namespace
}  // namespace kivdb::testing
