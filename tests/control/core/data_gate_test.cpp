// The data gate: ActivePort and DAMode decide whether and where reads go; DAMode 2 asks the host
// through ProvideRecordset for every read, schemes included. Only the DAL cases read the
// database, so only they run on both engines; the others never reach it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include <kivdb/recordset.h>
#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using ::testing::ElementsAre;

struct Column {
  const char* name;
  int type;
};

std::shared_ptr<Recordset> Table(std::vector<Column> columns,
                                 std::vector<std::vector<Variant>> rows) {
  auto records = std::make_shared<Recordset>();
  for (const Column& c : columns) records->AppendField(c.name, c.type);
  for (auto& row : rows) records->AddRow(std::move(row));
  return records;
}

// The host's answers, by statement; every statement asked is remembered.
struct HostData {
  std::map<std::string, std::shared_ptr<Recordset>> answers;
  std::vector<std::string> asked;

  void Answer(const std::string& sql, std::shared_ptr<Recordset>& rs) {
    asked.push_back(sql);
    const auto found = answers.find(sql);
    if (found != answers.end()) rs = found->second;
  }
};

HostData ExampleHost() {
  const Variant null = Variant::Null();
  HostData host;
  host.answers["SELECT * FROM XST1"] =
      Table({{"ID", type::kInteger},
             {"descriptionIs", type::kVarWChar},
             {"typeIs", type::kVarWChar},
             {"parentIs", type::kInteger},
             {"queryIs", type::kVarWChar},
             {"parmIs", type::kVarWChar},
             {"iconIs", type::kVarWChar},
             {"roleIs", type::kVarWChar}},
            {{int32_t{2}, "Orders", "N", int32_t{1}, null, null, null, null},
             {int32_t{1}, "Data Browser", "F", int32_t{0}, null, null, null, null}});
  host.answers["SELECT * FROM XST2"] = Table(
      {{"ID", type::kInteger},
       {"XST1", type::kInteger},
       {"seqNo", type::kInteger},
       {"titleIs", type::kVarWChar},
       {"queryIs", type::kVarWChar},
       {"parmIs", type::kVarWChar},
       {"typeIs", type::kVarWChar},
       {"formIs", type::kInteger},
       {"colsAre", type::kVarWChar},
       {"extra", type::kVarWChar}},
      {{int32_t{5}, int32_t{2}, int32_t{1}, "Orders", "spW_Orders", null, "S", null, "All", null}});
  host.answers["SELECT * FROM XST3 WHERE (ID=1)"] =
      Table({{"ID", type::kInteger}, {"nameIs", type::kVarWChar}, {"contentIs", type::kVarWChar}},
            {{int32_t{1}, "front", "<p>front</p>"}});
  host.answers["SELECT * FROM XST3 WHERE (ID=2)"] =
      Table({{"ID", type::kInteger}, {"nameIs", type::kVarWChar}, {"contentIs", type::kVarWChar}},
            {{int32_t{2}, "head", "<BODY><DIV>"}});
  host.answers["EXEC spW_Orders "] = Table(
      {{"ID", type::kInteger},
       {"Item", type::kVarWChar},
       {"Qty", type::kInteger},
       {"Amount", type::kCurrency}},
      {{int32_t{1}, "Pen", int32_t{2}, Currency{105000}}, {int32_t{2}, "Ink", int32_t{3}, null}});
  return host;
}

TEST(DataGate, ProvideRecordsetServesSchemesAndParagraphs) {
  ControlHarness h;
  HostData host = ExampleHost();
  h.control.OnProvideRecordset(
      [&](const std::string& sql, std::shared_ptr<Recordset>& rs) { host.Answer(sql, rs); });
  h.control.SetUserMode(false);
  h.control.DAMode(2);
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Orders");

  EXPECT_THAT(host.asked, ElementsAre("SELECT * FROM XST1", "SELECT * FROM XST2",
                                      "SELECT * FROM XST3 WHERE (ID=1)",
                                      "SELECT * FROM XST3 WHERE (ID=2)", "EXEC spW_Orders "));
  EXPECT_THAT(PageLines(h.ReportFile()),
              ElementsAre("<BODY><DIV><table width=100%><tr><td class=pgl></td><td "
                          "class=pgr>2004-03-05</td></table><p class=mh>Orders",
                          "<p id='TTL005' class=ph><img src='circle.gif'>  Orders<table "
                          "id='TBL005' border=1 width=100%><tr><td class=thc>Item</td><td "
                          "class=thc>Qty</td><td class=thc>Amount</td>",
                          "<tr><td class=tdl>Pen</td><td class=tdr>2</td><td class=tdr>10.50</td>",
                          "<tr><td class=tdl>Ink</td><td class=tdr>3</td><td class=tdr>.</td>",
                          "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td "
                          "class=tfr>10.50</td></table><br><br>",
                          "</DIV></BODY></HTML>"));
  EXPECT_EQ(ReadFile(h.folder / "fp.htm"), "<p>front</p>\r\n");
}

TEST(DataGate, AnIgnoredProvideRecordsetCountsAsReadAndFailsWhereTheRowsAreUsed) {
  ControlHarness h;
  h.control.SetUserMode(false);
  h.control.DAMode(2);
  h.control.Talking(true);
  h.control.RefreshBrowser();
  const std::vector<std::string> events = h.TakeEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].rfind("KivDBMessage: Error: 3265, ", 0), 0u) << events[0];
}

TEST(DataGate, PortAndModeOutsideTheirValuesStopEveryRead) {
  struct Case {
    const char* name;
    int16_t port;
    int16_t mode;
    bool talking;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"port 81, talking",
       81,
       1,
       true,
       {"KivDBMessage: Please set ActivePort to 80",
        "KivDBMessage: Error Reading Data From Database"}},
      {"port 81, silent", 81, 1, false, {"KivDBMessage: Error Reading Data From Database"}},
      {"mode 3, talking",
       80,
       3,
       true,
       {"KivDBMessage: Unable to Access Data for the SQL : SELECT * FROM XST1",
        "KivDBMessage: Error Reading Data From Database"}},
      {"mode 3, silent", 80, 3, false, {"KivDBMessage: Error Reading Data From Database"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlHarness h;
    h.control.SetUserMode(false);
    h.control.ActivePort(c.port);
    h.control.DAMode(c.mode);
    h.control.Talking(c.talking);
    h.control.RefreshBrowser();
    std::vector<std::string> expected = c.messages;
    expected.push_back("Navigate: about:blank");
    expected.push_back("Navigate: " + (h.folder / "fp.htm").string());
    EXPECT_EQ(h.TakeEvents(), expected);
    EXPECT_EQ(h.tree.Count(), 1);  // the root alone
  }
}

TEST(DataGate, SchemeRowsStoredOutOfOrderAreUsedInIdAndSeqNoOrder) {
  ControlHarness h;
  HostData host = ExampleHost();
  const Variant null = Variant::Null();
  host.answers["SELECT * FROM XST2"] = Table(
      {{"ID", type::kInteger},
       {"XST1", type::kInteger},
       {"seqNo", type::kInteger},
       {"titleIs", type::kVarWChar},
       {"queryIs", type::kVarWChar},
       {"parmIs", type::kVarWChar},
       {"typeIs", type::kVarWChar},
       {"formIs", type::kInteger},
       {"colsAre", type::kVarWChar},
       {"extra", type::kVarWChar}},
      {{int32_t{7}, int32_t{2}, int32_t{2}, "Second", "spW_Orders", null, "S", null, null, null},
       {int32_t{6}, int32_t{9}, int32_t{1}, "Elsewhere", "spW_Orders", null, "S", null, null, null},
       {int32_t{8}, int32_t{2}, int32_t{1}, "First", "spW_Orders", null, "S", null, null, null}});
  h.control.OnProvideRecordset(
      [&](const std::string& sql, std::shared_ptr<Recordset>& rs) { host.Answer(sql, rs); });
  h.control.SetUserMode(false);
  h.control.DAMode(2);
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Orders");
  const std::vector<std::string> page = PageLines(h.ReportFile());
  ASSERT_EQ(page.size(), 10u);
  EXPECT_NE(page[1].find("TTL008"), std::string::npos);
  EXPECT_NE(page[5].find("TTL007"), std::string::npos);
}

class DataGateThroughTheDal : public EngineTest {};

TEST_P(DataGateThroughTheDal, SchemeTableThatCannotBeReadEndsLoadingAndLaterReadsWork) {
  struct Case {
    const char* table;
    std::vector<std::string> rootChildren;
  };
  const Case cases[] = {
      {"XST1", {}},
      {"XST2", {"Regions", "Categories", "Managers", "Diary", "Suppliers"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    ControlHarness h(GetParam(),
                     fixture::SchemeFixture::Standard().Sql(std::string("DROP TABLE ") + c.table));
    h.control.Talking(true);
    h.control.RefreshBrowser();
    EXPECT_THAT(
        h.TakeEvents(),
        ElementsAre(std::string("KivDBMessage: Unable to Access Data for the SQL : "
                                "SELECT * FROM ") +
                        c.table,
                    ::testing::MatchesRegex("KivDBMessage: Reason: .+"),
                    "KivDBMessage: Error Reading Data From Database", "Navigate: about:blank",
                    "Navigate: " + (h.folder / "fp.htm").string()));
    // Loading stopped before the front page was written.
    EXPECT_FALSE(std::filesystem::exists(h.folder / "fp.htm"));
    EXPECT_EQ(h.ChildrenOf("Data Browser"), c.rootChildren);
    if (c.rootChildren.empty()) continue;

    // The failed read left no connection behind: the next click reads its records.
    h.Click("Data Browser\\Regions");
    EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"),
                ElementsAre("North", "South", "O'Brien Isles"));
    EXPECT_EQ(h.TakeEvents().back(), "LogIt: View: Data Browser\\Regions");
  }
}

KIVDB_ON_BOTH_ENGINES(DataGateThroughTheDal);

}  // namespace
}  // namespace kivdb::testing
