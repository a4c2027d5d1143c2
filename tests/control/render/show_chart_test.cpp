// ShowChart: the chart line, bar widths and heights rounded to even, "All" and its ids, and the
// failures that write nothing.

#include "control/render/show_chart.h"

#include <gtest/gtest.h>

#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

// Fields ID, Month (text), Amount (currency), one record per (month, amount); a missing amount
// is Null.
std::unique_ptr<Recordset> Sales(const std::vector<std::pair<std::string, Variant>>& months) {
  std::vector<std::vector<Variant>> rows;
  int32_t id = 0;
  for (const auto& [month, amount] : months)
    rows.push_back({Variant(++id), Variant(month), amount});
  return MakeRecords(
      {{"ID", type::kInteger}, {"Month", type::kVarWChar}, {"Amount", type::kDouble}}, rows);
}

// The texts that follow each `prefix` in `line`, up to the next `stop` character.
std::vector<std::string> AllAfter(const std::string& line, const std::string& prefix, char stop) {
  std::vector<std::string> found;
  for (size_t at = line.find(prefix); at != std::string::npos; at = line.find(prefix, at + 1)) {
    const size_t begin = at + prefix.size();
    found.push_back(line.substr(begin, line.find(stop, begin) - begin));
  }
  return found;
}

TEST(ShowChartTest, SalesExample) {
  RenderHarness harness;
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"Month", type::kVarWChar}, {"Amount", type::kCurrency}},
                  {{Variant(int32_t{1}), Variant("Jan"), Variant(Currency{1000000})},
                   {Variant(int32_t{2}), Variant("Feb"), Variant(Currency{500000})},
                   {Variant(int32_t{3}), Variant("Mar"), Variant::Null()}});
  ShowChart(harness.context, records.get(), "Sales", 8, "1:2");
  EXPECT_EQ(
      harness.Lines(),
      std::vector<std::string>{
          "<table><tr><td><img id='CTL008' src='chart.gif'></td><td id='CTLCAP008' "
          "class=ph>Sales</td></table><table cellspacing=0 cellpadding=1 border=0 "
          "style='display:none' id='CGR008' width=100%><TR><TH COLSPAN=5> <p "
          "class=ctl>Sales</TH></TR><TR><TD VALIGN=TOP ALIGN=RIGHT class=cal>100</TD> <TD "
          "VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p class=cdv>100<IMG SRC='cbg.gif' WIDTH=100% "
          "HEIGHT=200></TD> <TD VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p class=cdv>50<IMG "
          "SRC='cbg.gif' WIDTH=100% HEIGHT=100></TD> <TD VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p "
          "class=cdv><IMG SRC='cbg.gif' WIDTH=100% HEIGHT=0></TD></TR><TR><TD VALIGN=BOTTOM "
          "ALIGN=RIGHT class=cal>0.00</TD></TR><TR><TD ALIGN=RIGHT VALIGN=BOTTOM "
          "class=ctl>Amount</TD><td class=cal>Jan</TD><td class=cal>Feb</TD><td "
          "class=cal>Mar</TD></TR></TABLE><hr width=100%>"});
  EXPECT_TRUE(harness.messages.empty());
}

TEST(ShowChartTest, BarsRoundHalvesToEven) {
  struct Case {
    const char* name;
    std::vector<double> values;
    std::string width;
    std::vector<std::string> heights;
    std::string largest;
  };
  const std::vector<Case> cases = {
      {"one record", {5}, "50", {"200"}, "5"},
      {"thirds", {1, 3}, "33", {"67", "200"}, "3"},
      {"an eighth", {1, 8}, "33", {"25", "200"}, "8"},
      {"12.5 rounds down to even", {1, 16}, "33", {"12", "200"}, "16"},
      {"seven bars: width 12.5 gives 12",
       {1, 2, 3, 4, 5, 6, 7},
       "12",
       {"29", "57", "86", "114", "143", "171", "200"},
       "7"},
      {"negative value: negative height", {-1, 4, 2}, "25", {"-50", "200", "100"}, "4"},
      {"largest with separators, no decimals", {1250.4, 625.2}, "33", {"200", "100"}, "1,250"},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    std::vector<std::pair<std::string, Variant>> months;
    for (const double v : c.values) months.emplace_back("m", Variant(v));
    auto records = Sales(months);
    ShowChart(harness.context, records.get(), "", 1, "1:2");
    ASSERT_EQ(harness.Lines().size(), 1u) << c.name;
    const std::string line = harness.Lines()[0];
    EXPECT_EQ(AllAfter(line, "HEIGHT=", '>'), c.heights) << c.name;
    EXPECT_EQ(AllAfter(line, "ROWSPAN=2 WIDTH=", '%'),
              std::vector<std::string>(c.values.size(), c.width))
        << c.name;
    EXPECT_EQ(AllAfter(line, "VALIGN=TOP ALIGN=RIGHT class=cal>", '<').at(0), c.largest) << c.name;
  }
}

TEST(ShowChartTest, ValueTextOnlyOverPositiveBars) {
  RenderHarness harness;
  auto records = Sales({{"a", Variant(-2.0)}, {"b", Variant(0.0)}, {"c", Variant(1234.6)}});
  ShowChart(harness.context, records.get(), "", 1, "1:2");
  ASSERT_EQ(harness.Lines().size(), 1u);
  EXPECT_EQ(AllAfter(harness.Lines()[0], "<p class=cdv>", '<'),
            (std::vector<std::string>{"", "", "1,235"}));
}

TEST(ShowChartTest, EmptyTitleHasNoCaptionRowAndAnEmptyHeading) {
  RenderHarness harness;
  auto records = Sales({{"Jan", Variant(1.0)}});
  ShowChart(harness.context, records.get(), "", 8, " 1:2:7 ");
  ASSERT_EQ(harness.Lines().size(), 1u);
  EXPECT_EQ(harness.Lines()[0].rfind("<table cellspacing=0 cellpadding=1 border=0 "
                                     "style='display:none' id='CGR008' width=100%><TR><TH "
                                     "COLSPAN=3> <p class=ctl></TH></TR>",
                                     0),
            0u);
}

TEST(ShowChartTest, TitleRuleAndEscapingOfQueryTexts) {
  RenderHarness harness(std::string("R&D"));
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"<X>", type::kVarWChar}, {"A&B", type::kDouble}},
                  {{Variant(int32_t{1}), Variant("<b>'"), Variant(2.0)},
                   {Variant(int32_t{2}), Variant::Null(), Variant(1.0)}});
  ShowChart(harness.context, records.get(), "<i>Sales</i> for :", 8, "1:2");
  ASSERT_EQ(harness.Lines().size(), 1u);
  const std::string line = harness.Lines()[0];
  EXPECT_NE(line.find("class=ph><i>Sales</i> for : R&amp;D</td></table>"), std::string::npos);
  EXPECT_NE(line.find("<p class=ctl><i>Sales</i> for : R&amp;D</TH>"), std::string::npos);
  EXPECT_NE(line.find("class=ctl>A&amp;B</TD><td class=cal>&lt;b&gt;&#39;</TD><td class=cal></TD>"),
            std::string::npos);
}

TEST(ShowChartTest, AllDrawsOneChartPerPairWithDerivedIds) {
  struct Case {
    const char* name;
    std::string cols;
    int fields;
    std::vector<std::string> ids;
  };
  const std::vector<Case> cases = {
      {"four fields", "All", 4, {"051", "052"}},
      {"six fields, lower case", " all ", 6, {"051", "052", "053", "054"}},
      {"ID and six more fields", "aLl", 7, {"051", "052", "053", "054", "055"}},
      {"three fields", "ALL", 3, {"051"}},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    std::vector<testing::FieldSpec> fields = {{"ID", type::kInteger}, {"Month", type::kVarWChar}};
    std::vector<Variant> row = {Variant(int32_t{1}), Variant("Jan")};
    for (int f = 2; f < c.fields; ++f) {
      fields.push_back({"V" + std::to_string(f), type::kInteger});
      row.push_back(Variant(int32_t{f}));
    }
    auto records = MakeRecords(fields, {row});
    ShowChart(harness.context, records.get(), "Sales:", 5, c.cols);
    const std::vector<std::string> lines = harness.Lines();
    ASSERT_EQ(lines.size(), c.ids.size()) << c.name;
    for (size_t k = 0; k < lines.size(); ++k) {
      EXPECT_EQ(AllAfter(lines[k], "id='CGR", '\''), std::vector<std::string>{c.ids[k]}) << c.name;
      EXPECT_NE(lines[k].find("class=ctl>V" + std::to_string(k + 2) + "</TD>"), std::string::npos)
          << c.name;
      EXPECT_NE(lines[k].find("class=ph>Sales: North</td>"), std::string::npos) << c.name;
    }
    EXPECT_TRUE(harness.messages.empty()) << c.name;
  }
}

TEST(ShowChartTest, AllKeepsTheChartsBeforeAFailingOne) {
  RenderHarness harness;
  auto records = MakeRecords(
      {{"ID", type::kInteger},
       {"M", type::kVarWChar},
       {"Zero", type::kInteger},
       {"V", type::kInteger}},
      {{Variant(int32_t{1}), Variant("Jan"), Variant(int32_t{0}), Variant(int32_t{4})}});
  ShowChart(harness.context, records.get(), "", 2, "All");
  ASSERT_EQ(harness.Lines().size(), 1u);
  EXPECT_NE(harness.Lines()[0].find("id='CGR022'"), std::string::npos);
  EXPECT_EQ(harness.messages, std::vector<std::string>{"Error: 11, Division by zero"});
}

TEST(ShowChartTest, UnknownCountWritesTheRuleOnly) {
  for (const std::string cols : {"1:2", "All"}) {
    RenderHarness harness;
    auto records = Sales({{"Jan", Variant(1.0)}});
    records->SetRecordCountUnknown(true);
    ShowChart(harness.context, records.get(), "Sales", 8, cols);
    EXPECT_EQ(harness.Lines(), std::vector<std::string>{"<hr width=100%>"}) << cols;
    EXPECT_TRUE(harness.messages.empty()) << cols;
  }
}

TEST(ShowChartTest, FailuresWriteNothing) {
  struct Case {
    const char* name;
    std::string cols;
    std::vector<std::pair<std::string, Variant>> months;
    std::string message;
  };
  const std::vector<std::pair<std::string, Variant>> jan = {{"Jan", Variant(3.0)}};
  const std::vector<Case> cases = {
      {"null colsAre", ".", jan, "Error: 9, Subscript out of range"},
      {"one part", "2", jan, "Error: 9, Subscript out of range"},
      {"first part no number", "x:2", jan, "Error: 13, Type mismatch"},
      {"second part empty", "1:", jan, "Error: 13, Type mismatch"},
      {"column outside the fields", "1:3", jan, "Error: 3265, No field at position 3"},
      {"negative column", "-1:2", jan, "Error: 3265, No field at position -1"},
      {"every value zero or null",
       "1:2",
       {{"a", Variant(0.0)}, {"b", Variant::Null()}},
       "Error: 11, Division by zero"},
      {"text value", "1:2", {{"a", Variant("many")}}, "Error: 13, Type mismatch"},
      {"bar count beyond 16 bits", "1:2",
       std::vector<std::pair<std::string, Variant>>(40000, {"m", Variant(1.0)}),
       "Error: 6, Overflow"},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    auto records = Sales(c.months);
    ShowChart(harness.context, records.get(), "Sales", 8, c.cols);
    EXPECT_EQ(harness.page.Text(), "") << c.name;
    EXPECT_EQ(harness.messages, std::vector<std::string>{c.message}) << c.name;
  }
}

TEST(ShowChartTest, AllOverTwoFieldsHasNoPairToDraw) {
  RenderHarness harness;
  auto records = MakeRecords({{"ID", type::kInteger}, {"M", type::kVarWChar}},
                             {{Variant(int32_t{1}), Variant("a")}});
  ShowChart(harness.context, records.get(), "Sales", 8, "All");
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_EQ(harness.messages,
            std::vector<std::string>{"Error: 5, Invalid procedure call or argument"});
}

TEST(ShowChartTest, BlankRecordsetAndFailedRead) {
  RenderHarness harness;
  auto records = Sales({});
  ShowChart(harness.context, records.get(), "Sales:", 8, "1:2");
  ShowChart(harness.context, nullptr, "Sales:", 8, "1:2");
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_EQ(harness.messages, (std::vector<std::string>{
                                  "Blank Recordset: Sales:",
                                  "Error: 91, Object variable or With block variable not set"}));
}

}  // namespace
}  // namespace kivdb
