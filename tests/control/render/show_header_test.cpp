// ShowHeader: the header card, its form link, its value classes and its failure paths.

#include <gtest/gtest.h>

#include <stdexcept>

#include <kivdb/error.h>
#include "control/render/render_context.h"
#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

TEST(ShowHeaderTest, CardExample) {
  RenderHarness harness;
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"Name", type::kVarWChar}, {"Balance", type::kCurrency}},
                  {{Variant(int32_t{7}), Variant("Smith"), Variant(Currency{12345000})}});
  ShowHeader(harness.context, records.get(), "Customer:", 12, 3);
  EXPECT_EQ(harness.Lines(),
            std::vector<std::string>{
                "<p id='TTL012' class=ph><img src='circle.gif'>  Customer: North<table "
                "id='TBL012' border=1 width=100%><tr><td class=hn>ID: </td><td class=hvr><a "
                "href='^000030000000007'>Click here . . .</a></td><tr><td class=hn>Name: "
                "</td><td class=hvl>Smith</td><tr><td class=hn>Balance: </td><td "
                "class=hvr>1,234.50</td></table><br>"});
  EXPECT_TRUE(harness.messages.empty());
}

// One record of one field, no title: the line is the table alone, so each case shows its cell.
struct CellCase {
  const char* name;
  std::string fieldName;
  int fieldType;
  Variant value;
  int16_t form;
  std::string expectedRow;
};

TEST(ShowHeaderTest, Cells) {
  const std::vector<CellCase> cases = {
      {"no form: ID is a value", "ID", type::kInteger, Variant(int32_t{7}), 0,
       "<tr><td class=hn>ID: </td><td class=hvr>7</td>"},
      {"lower-case id links", "id", type::kInteger, Variant(int32_t{7}), 1,
       "<tr><td class=hn>id: </td><td class=hvr><a href='^000010000000007'>Click here . . "
       ".</a></td>"},
      {"mixed-case Id links", "Id", type::kVarWChar, Variant("ALFKI"), 12,
       "<tr><td class=hn>Id: </td><td class=hvr><a href='^00012ALFKI'>Click here . . .</a></td>"},
      {"null number", "Qty", type::kInteger, Variant::Null(), 0,
       "<tr><td class=hn>Qty: </td><td class=hvr>.</td>"},
      {"null text", "Name", type::kVarWChar, Variant::Null(), 0,
       "<tr><td class=hn>Name: </td><td class=hvl>.</td>"},
      {"long text link", "Web", type::kLongVarWChar, Variant("Web#page.htm#"), 0,
       "<tr><td class=hn>Web: </td><td class=hvr><a href='page.htm'>Web</a></td>"},
      {"date", "Born", type::kDBDate, Variant(DateTime{1970, 1, 2, 0, 0, 0}), 0,
       "<tr><td class=hn>Born: </td><td class=hvr>02 Jan 1970</td>"},
      {"single shows whole", "Rate", type::kSingle, Variant(2.75f), 0,
       "<tr><td class=hn>Rate: </td><td class=hvr>3</td>"},
      {"boolean is plain", "Active", type::kBoolean, Variant(true), 0,
       "<tr><td class=hn>Active: </td><td class=hvl>True</td>"},
      {"name trimmed", "  Name ", type::kVarWChar, Variant("x"), 0,
       "<tr><td class=hn>Name: </td><td class=hvl>x</td>"},
      {"name and value escaped", "<b>", type::kVarWChar, Variant("a&b"), 0,
       "<tr><td class=hn>&lt;b&gt;: </td><td class=hvl>a&amp;b</td>"},
  };
  for (const CellCase& c : cases) {
    RenderHarness harness;
    harness.context.dateFormat = "dd mmm yyyy";
    auto records = MakeRecords({{c.fieldName, c.fieldType}}, {{c.value}});
    ShowHeader(harness.context, records.get(), "", 4, c.form);
    EXPECT_EQ(harness.Lines(), std::vector<std::string>{"<table id='TBL004' border=1 width=100%>" +
                                                        c.expectedRow + "</table><br>"})
        << c.name;
  }
}

TEST(ShowHeaderTest, OnlyTheFirstRecordIsShown) {
  RenderHarness harness;
  auto records =
      MakeRecords({{"Name", type::kVarWChar}},
                  {{Variant("a")}, {Variant("b")}, {Variant("c")}, {Variant("d")}, {Variant("e")}});
  records->MoveLast();
  ShowHeader(harness.context, records.get(), "Who", 1, 0);
  ASSERT_EQ(harness.Lines().size(), 1u);
  EXPECT_NE(harness.Lines()[0].find("<td class=hvl>a</td>"), std::string::npos);
  EXPECT_EQ(harness.Lines()[0].find("<td class=hvl>b</td>"), std::string::npos);
}

TEST(ShowHeaderTest, SelectedCaptionIsEscapedTitleIsNot) {
  RenderHarness harness(std::string("Smith & <Sons>"));
  auto records = MakeRecords({{"Name", type::kVarWChar}}, {{Variant("x")}});
  ShowHeader(harness.context, records.get(), "<i>Customer</i>:", 2, 0);
  ASSERT_EQ(harness.Lines().size(), 1u);
  EXPECT_EQ(harness.Lines()[0].rfind(
                "<p id='TTL002' class=ph><img src='circle.gif'>  <i>Customer</i>: Smith &amp; "
                "&lt;Sons&gt;<table",
                0),
            0u);
}

TEST(ShowHeaderTest, EmptyRecordset) {
  for (const bool talking : {true, false}) {
    RenderHarness harness;
    harness.context.talking = talking;
    auto records = MakeRecords({{"Name", type::kVarWChar}}, {});
    ShowHeader(harness.context, records.get(), "Customer:", 12, 3);
    EXPECT_EQ(harness.page.Text(), "");
    EXPECT_EQ(harness.messages, talking ? std::vector<std::string>{"Blank Recordset: Customer:"}
                                        : std::vector<std::string>{});
  }
}

TEST(ShowHeaderTest, UnknownCountWritesAndSaysNothing) {
  RenderHarness harness;
  auto records = MakeRecords({{"Name", type::kVarWChar}}, {{Variant("x")}});
  records->SetRecordCountUnknown(true);
  ShowHeader(harness.context, records.get(), "T", 1, 0);
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_TRUE(harness.messages.empty());
}

TEST(ShowHeaderTest, FailuresWriteNothing) {
  struct Case {
    const char* name;
    bool hasRecords;
    std::optional<std::string> caption;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"failed read", false, std::string("North"),
       "Error: 91, Object variable or With block variable not set"},
      {"title rule without a selected node", true, std::nullopt,
       "Error: 91, Object variable or With block variable not set"},
  };
  for (const Case& c : cases) {
    RenderHarness harness(c.caption);
    auto records = MakeRecords({{"Name", type::kVarWChar}}, {{Variant("x")}});
    ShowHeader(harness.context, c.hasRecords ? records.get() : nullptr, "Customer:", 1, 0);
    EXPECT_EQ(harness.page.Text(), "") << c.name;
    EXPECT_EQ(harness.messages, std::vector<std::string>{c.message}) << c.name;

    harness.messages.clear();
    harness.context.talking = false;
    ShowHeader(harness.context, c.hasRecords ? records.get() : nullptr, "Customer:", 1, 0);
    EXPECT_TRUE(harness.messages.empty()) << c.name;
  }
}

class FailingWriter : public PageWriter {
 public:
  void WriteLine(std::string_view) override { throw Error(61, "Disk full"); }
};

TEST(ShowHeaderTest, WriteFailureIsReported) {
  FailingWriter writer;
  RenderContext context(writer);
  std::vector<std::string> messages;
  context.talking = true;
  context.message = [&](const std::string& text) { messages.push_back(text); };
  auto records = MakeRecords({{"Name", type::kVarWChar}}, {{Variant("x")}});
  ShowHeader(context, records.get(), "", 1, 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Error: 61, Disk full"});
}

}  // namespace
}  // namespace kivdb
