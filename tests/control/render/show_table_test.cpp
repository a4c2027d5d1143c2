// ShowTable: the table, its total row, how the column list is read, and where failures stop.

#include <gtest/gtest.h>

#include <limits>

#include "control/render/render_context.h"
#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

const std::string kHead =
    "<p id='TTL005' class=ph><img src='circle.gif'>  Orders<table id='TBL005' border=1 "
    "width=100%><tr><td class=thc>Item</td><td class=thc>Qty</td><td class=thc>Amount</td>";
const std::string kPen = "<tr><td class=tdl>Pen</td><td class=tdr>2</td><td class=tdr>10.50</td>";
const std::string kInk = "<tr><td class=tdl>Ink</td><td class=tdr>3</td><td class=tdr>.</td>";
const std::string kMismatch = "Error: 13, Type mismatch";

std::unique_ptr<Recordset> Orders() {
  return MakeRecords(
      {{"ID", type::kInteger},
       {"Item", type::kVarWChar},
       {"Qty", type::kInteger},
       {"Amount", type::kCurrency}},
      {{Variant(int32_t{1}), Variant("Pen"), Variant(int32_t{2}), Variant(Currency{105000})},
       {Variant(int32_t{2}), Variant("Ink"), Variant(int32_t{3}), Variant::Null()}});
}

struct Case {
  const char* name;
  std::string cols;
  std::vector<std::string> lines;
  std::vector<std::string> messages;
};

TEST(ShowTableTest, ColumnSpecifications) {
  const std::vector<Case> cases = {
      {"example: All",
       "All",
       {kHead, kPen, kInk,
        "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td class=tfr>10.50</td>"
        "</table><br><br>"},
       {}},
      {"all in any case",
       " aLL ",
       {kHead, kPen, kInk,
        "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td class=tfr>10.50</td>"
        "</table><br><br>"},
       {}},
      {"null colsAre: no total row", ".", {kHead, kPen, kInk, "</table><br><br>"}, {}},
      {"empty colsAre: no total row", "", {kHead, kPen, kInk, "</table><br><br>"}, {}},
      {"one column",
       "3",
       {kHead, kPen, kInk,
        "<tr><td class=tfl>Total:</td><td class=tfr>.</td><td class=tfr>10.50</td>"
        "</table><br><br>"},
       {}},
      {"column listed twice",
       "2:2",
       {kHead, kPen, kInk,
        "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td class=tfr>5</td><td "
        "class=tfr>.</td></table><br><br>"},
       {}},
      {"columns out of range are summed nowhere",
       "2:9:-1",
       {kHead, kPen, kInk,
        "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td class=tfr>.</td>"
        "</table><br><br>"},
       {}},
      {"text column fails at the first record", "1:3", {kHead}, {kMismatch}},
      {"entry that is no number", "x", {kHead}, {kMismatch}},
      {"entry with two points", "1.5.2", {kHead}, {kMismatch}},
      {"empty entry", "1::3", {kHead}, {kMismatch}},
      {"entry beyond 16 bits", "70000", {kHead}, {"Error: 6, Overflow"}},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    auto records = Orders();
    ShowTable(harness.context, records.get(), "Orders", 5, c.cols);
    EXPECT_EQ(harness.Lines(), c.lines) << c.name;
    EXPECT_EQ(harness.messages, c.messages) << c.name;
  }
}

TEST(ShowTableTest, DateColumnGetsNoTotalCell) {
  RenderHarness harness;
  auto records = MakeRecords({{"ID", type::kInteger},
                              {"Item", type::kVarWChar},
                              {"When", type::kDBDate},
                              {"Qty", type::kInteger}},
                             {{Variant(int32_t{1}), Variant("Pen"),
                               Variant(DateTime{2021, 3, 5, 0, 0, 0}), Variant(int32_t{4})}});
  harness.context.dateFormat = "dd/mm/yyyy";
  ShowTable(harness.context, records.get(), "", 8, "All");
  EXPECT_EQ(harness.Lines(),
            (std::vector<std::string>{
                "<table id='TBL008' border=1 width=100%><tr><td class=thc>Item</td><td "
                "class=thc>When</td><td class=thc>Qty</td>",
                "<tr><td class=tdl>Pen</td><td class=tdr>05/03/2021</td><td class=tdr>4</td>",
                "<tr><td class=tfl>Total:</td><td class=tfr>4</td></table><br><br>"}));
  EXPECT_TRUE(harness.messages.empty());
}

TEST(ShowTableTest, CellsAndTotalsByClass) {
  RenderHarness harness;
  auto records = MakeRecords(
      {{"id", type::kInteger},
       {"Note", type::kLongVarWChar},
       {"Price", type::kDouble},
       {"Count", type::kBigInt},
       {"<Q>", type::kVarWChar}},
      {{Variant(int32_t{1}), Variant("Web#page.htm#"), Variant(1234.5), Variant(int64_t{1500}),
        Variant("<b>")},
       {Variant(int32_t{2}), Variant::Null(), Variant(" 0.25"), Variant::Null(), Variant("x")}});
  ShowTable(harness.context, records.get(), "", 3, "2:3");
  EXPECT_EQ(harness.Lines(),
            (std::vector<std::string>{
                "<table id='TBL003' border=1 width=100%><tr><td class=thc>Note</td><td "
                "class=thc>Price</td><td class=thc>Count</td><td class=thc>&lt;Q&gt;</td>",
                "<tr><td class=tdl>Web#page.htm#</td><td class=tdr>1,234.50</td><td "
                "class=tdr>1,500</td><td class=tdl>&lt;b&gt;</td>",
                "<tr><td class=tdl>.</td><td class=tdr>0.25</td><td class=tdr>.</td><td "
                "class=tdl>x</td>",
                "<tr><td class=tfl>Total:</td><td class=tfr>1,234.75</td><td "
                "class=tfr>1,500</td><td class=tfr>.</td></table><br><br>"}));
}

TEST(ShowTableTest, NotANumberAndInfinitiesAreShownAndLeftOutOfTheTotal) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  RenderHarness harness;
  // Exact numbers arrive as the server's words, floating ones as numbers; a date the date type
  // cannot hold arrives as the server's text.
  auto records = MakeRecords(
      {{"ID", type::kInteger},
       {"Item", type::kVarWChar},
       {"Exact", type::kNumeric},
       {"Float", type::kDouble},
       {"Day", type::kDBDate}},
      {{Variant(int32_t{1}), Variant("a"), Variant::Decimal("2.5"), Variant(1.5),
        Variant(DateTime{2024, 1, 2, 0, 0, 0})},
       {Variant(int32_t{2}), Variant("b"), Variant("NaN"), Variant(nan), Variant("infinity")},
       {Variant(int32_t{3}), Variant("c"), Variant("-Infinity"), Variant(-infinity),
        Variant("0044-03-15 BC")},
       {Variant(int32_t{4}), Variant("d"), Variant("Infinity"), Variant(infinity),
        Variant("10000-01-01")},
       {Variant(int32_t{5}), Variant("e"), Variant::Decimal("1"), Variant(2.0),
        Variant(DateTime{2024, 1, 3, 0, 0, 0})}});
  ShowTable(harness.context, records.get(), "", 1, "All");
  const std::vector<std::string> lines = harness.Lines();
  ASSERT_EQ(lines.size(), 7u) << (lines.empty() ? "" : lines.back());
  EXPECT_EQ(lines[2],
            "<tr><td class=tdl>b</td><td class=tdr>NaN</td><td class=tdr>NaN</td><td "
            "class=tdr>infinity</td>");
  EXPECT_EQ(lines[3].substr(0, 44), "<tr><td class=tdl>c</td><td class=tdr>-Infin");
  EXPECT_EQ(lines[6],
            "<tr><td class=tfl>Total:</td><td class=tfr>3.50</td><td "
            "class=tfr>3.50</td></table><br><br>");
  EXPECT_TRUE(harness.messages.empty()) << harness.messages.front();
}

TEST(ShowTableTest, FailureInALaterRecordKeepsTheRowsBeforeIt) {
  RenderHarness harness;
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"Item", type::kVarWChar}, {"Qty", type::kVarWChar}},
                  {{Variant(int32_t{1}), Variant("Pen"), Variant("2")},
                   {Variant(int32_t{2}), Variant("Ink"), Variant("n/a")},
                   {Variant(int32_t{3}), Variant("Nib"), Variant("1")}});
  ShowTable(harness.context, records.get(), "", 1, "2");
  EXPECT_EQ(harness.Lines(),
            (std::vector<std::string>{
                "<table id='TBL001' border=1 width=100%><tr><td class=thc>Item</td><td "
                "class=thc>Qty</td>",
                "<tr><td class=tdl>Pen</td><td class=tdl>2</td>"}));
  EXPECT_EQ(harness.messages, std::vector<std::string>{kMismatch});
}

TEST(ShowTableTest, AllColumnsByFieldCount) {
  // "All" lists 2 .. n-1; with three fields that is column 2 alone.
  RenderHarness harness;
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"Item", type::kVarWChar}, {"Qty", type::kSmallInt}},
                  {{Variant(int32_t{1}), Variant("Pen"), Variant(int16_t{7})}});
  ShowTable(harness.context, records.get(), "", 1, "ALL");
  ASSERT_EQ(harness.Lines().size(), 3u);
  EXPECT_EQ(harness.Lines()[2],
            "<tr><td class=tfl>Total:</td><td class=tfr>7</td></table><br><br>");
}

TEST(ShowTableTest, TitleRuleUsesSelectedNode) {
  RenderHarness harness(std::string("Customers"));
  auto records = Orders();
  ShowTable(harness.context, records.get(), "Order Pattern for :", 5, ".");
  ASSERT_FALSE(harness.Lines().empty());
  EXPECT_EQ(harness.Lines()[0].rfind(
                "<p id='TTL005' class=ph><img src='circle.gif'>  Order Pattern for : "
                "Customers<table id='TBL005'",
                0),
            0u);
}

TEST(ShowTableTest, NothingWrittenWithoutRecords) {
  struct Quiet {
    const char* name;
    bool talking;
    bool unknownCount;
    bool nullRecords;
    std::vector<std::string> messages;
  };
  const std::vector<Quiet> cases = {
      {"blank, talking", true, false, false, {"Blank Recordset: Orders:"}},
      {"blank, silent", false, false, false, {}},
      {"unknown count", true, true, false, {}},
      {"failed read",
       true,
       false,
       true,
       {"Error: 91, Object variable or With block variable not set"}},
      {"failed read, silent", false, false, true, {}},
  };
  for (const Quiet& c : cases) {
    RenderHarness harness;
    harness.context.talking = c.talking;
    auto records = c.unknownCount ? Orders() : MakeRecords({{"ID", type::kInteger}}, {});
    if (c.unknownCount) records->SetRecordCountUnknown(true);
    ShowTable(harness.context, c.nullRecords ? nullptr : records.get(), "Orders:", 5, "All");
    EXPECT_EQ(harness.page.Text(), "") << c.name;
    EXPECT_EQ(harness.messages, c.messages) << c.name;
  }
}

}  // namespace
}  // namespace kivdb
