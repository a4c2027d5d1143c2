// ShowShaped and ShowChapter over chaptered recordsets built by hand: the example line for line,
// the ids of boxes, rows and plus icons, level colours, and where failures stop the paragraph.

#include "control/render/show_shaped.h"

#include <gtest/gtest.h>

#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::FieldSpec;
using testing::MakeRecords;
using testing::RenderHarness;

std::shared_ptr<Recordset> Shared(std::unique_ptr<Recordset> records) {
  return std::shared_ptr<Recordset>(std::move(records));
}

// The order of the example: ID 17, Total 250.5, a chapter of the lines Pen and Ink.
std::shared_ptr<Recordset> OrderExample(const Variant& total = Variant(Currency{2505000})) {
  auto lines = Shared(
      MakeRecords({{"ID", type::kInteger}, {"Item", type::kVarWChar}},
                  {{Variant(int32_t{1}), Variant("Pen")}, {Variant(int32_t{2}), Variant("Ink")}}));
  return Shared(
      MakeRecords({{"ID", type::kInteger}, {"Total", type::kCurrency}, {"Lines", type::kChapter}},
                  {{Variant(int32_t{17}), total, Variant::Chapter(lines)}}));
}

// A harness whose data read answers with `shaped` and records the commands it was given.
struct ShapedHarness : RenderHarness {
  explicit ShapedHarness(std::shared_ptr<Recordset> shapedRecords, bool readSucceeds = true)
      : shaped(std::move(shapedRecords)) {
    context.readData = [this, readSucceeds](const std::string& command,
                                            std::shared_ptr<Recordset>& out) {
      commands.push_back(command);
      out = readSucceeds ? shaped : nullptr;
      return readSucceeds;
    };
  }
  std::shared_ptr<Recordset> shaped;
  std::vector<std::string> commands;
};

std::unique_ptr<Recordset> Command(const std::string& text, int rows = 1) {
  std::vector<std::vector<Variant>> values(static_cast<size_t>(rows), {Variant(text)});
  return MakeRecords({{"Shape", type::kVarWChar}}, values);
}

const std::vector<std::string> kExample = {
    " <table border=0 Width=100%><tr><td><p id='TTL006' class=ph><img "
    "src='circle.gif'>Orders</td><td><p align=right id=DISPALL class=ph>Display "
    "All</td></table><table id='TBL006' border=0 width=100%><tr>",
    "<td colspan=1><div id=01SHP010 style=\"display:default\"><table border=1 cellspacing=0 "
    "width=100%><tr><td width=5%>&nbsp;</td><td class=thc bgcolor=#fa8072>Total</td>",
    "<tr><td width=5%><img id=DTL0217 src=plus.gif></td><td class=tdr>250.50</td>",
    "<tr id=01ROW0217 style=\"display:none\"><td>&nbsp;</td><td colspan=5><div id=01SHP0217 "
    "style=\"display:none\"><table border=2 cellspacing=0 width=100%><tr><td class=thc "
    "bgcolor=#90ee90>Item</td>",
    "<tr><td class=tdl>Pen</td>",
    "<tr><td class=tdl>Ink</td>",
    "</table></div>",
    "</table></div>",
};

TEST(ShowShapedTest, OrdersExample) {
  ShapedHarness harness(OrderExample());
  auto command = Command("SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines");
  ShowShaped(harness.context, command.get(), "Orders", 6);
  EXPECT_EQ(harness.Lines(), kExample);
  EXPECT_EQ(harness.commands, std::vector<std::string>{
                                  "SHAPE {orders} APPEND ({lines} RELATE ID TO orderId) AS Lines"});
  EXPECT_TRUE(harness.messages.empty());
}

TEST(ShowShapedTest, UnknownCountIsOneRecordAndEmptyTitleHasNoTitleRow) {
  ShapedHarness harness(OrderExample(Variant::Null()));
  auto command = Command("x");
  command->SetRecordCountUnknown(true);
  ShowShaped(harness.context, command.get(), "", 6);
  const std::vector<std::string> lines = harness.Lines();
  ASSERT_EQ(lines.size(), kExample.size());
  EXPECT_EQ(lines[0], "<table id='TBL006' border=0 width=100%><tr>");
  EXPECT_EQ(lines[2], "<tr><td width=5%><img id=DTL0217 src=plus.gif></td><td class=tdr>.</td>");
}

TEST(ShowShapedTest, ParagraphLevelMessages) {
  struct Case {
    const char* name;
    int rows;
    bool readSucceeds;
    std::shared_ptr<Recordset> shaped;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"two rows", 2, true, OrderExample(), {"Improper Shape SQL: Orders:"}},
      {"no rows", 0, true, OrderExample(), {"Blank Recordset: Orders:"}},
      {"read fails", 1, false, OrderExample(), {"Error Reading Data From Database"}},
      {"shaped recordset empty", 1, true, Shared(MakeRecords({{"ID", type::kInteger}}, {})), {}},
  };
  for (const Case& c : cases) {
    for (const bool talking : {true, false}) {
      ShapedHarness harness(c.shaped, c.readSucceeds);
      harness.context.talking = talking;
      auto command = Command("SHAPE", c.rows);
      ShowShaped(harness.context, command.get(), "Orders:", 6);
      EXPECT_EQ(harness.page.Text(), "") << c.name;
      EXPECT_EQ(harness.messages, talking ? c.messages : std::vector<std::string>{}) << c.name;
      EXPECT_EQ(harness.commands.size(), c.rows == 1 ? 1u : 0u) << c.name;
    }
  }
}

TEST(ShowShapedTest, EmptyChapterTwoChaptersAndTextIds) {
  auto empty = Shared(MakeRecords({{"ID", type::kInteger}, {"Item", type::kVarWChar}}, {}));
  auto notes = Shared(MakeRecords({{"id", type::kInteger}, {"Note", type::kLongVarWChar}},
                                  {{Variant(int32_t{5}), Variant("a#b.htm#")}}));
  auto top = Shared(MakeRecords(
      {{"ID", type::kVarWChar},
       {"Lines", type::kChapter},
       {"Name", type::kVarWChar},
       {"Notes", type::kChapter}},
      {{Variant("A b=<c>"), Variant::Chapter(empty), Variant("Ann"), Variant::Chapter(notes)}}));
  ShapedHarness harness(top);
  auto command = Command("SHAPE");
  ShowShaped(harness.context, command.get(), "", 2);
  EXPECT_EQ(harness.Lines(),
            (std::vector<std::string>{
                "<table id='TBL002' border=0 width=100%><tr>",
                "<td colspan=1><div id=01SHP010 style=\"display:default\"><table border=1 "
                "cellspacing=0 width=100%><tr><td width=5%>&nbsp;</td><td class=thc "
                "bgcolor=#fa8072>Name</td>",
                "<tr><td width=5%><img id=DTL02A&#32;b&#61;&lt;c&gt; src=plus.gif></td><td "
                "class=tdl>Ann</td>",
                "<tr id=02ROW02A&#32;b&#61;&lt;c&gt; style=\"display:none\"><td>&nbsp;</td><td "
                "colspan=6><div id=02SHP02A&#32;b&#61;&lt;c&gt; style=\"display:none\"><table "
                "border=2 cellspacing=0 width=100%><tr><td class=thc bgcolor=#90ee90>Note</td>",
                "<tr><td class=tdl>a#b.htm#</td>",
                "</table></div>",
                "</table></div>",
            }));
}

TEST(ShowShapedTest, LevelColoursRepeatAfterTen) {
  // Twelve levels, one record each, every level a chapter of the one above.
  std::shared_ptr<Recordset> level;
  for (int depth = 12; depth >= 1; --depth) {
    std::vector<FieldSpec> fields = {{"ID", type::kInteger}, {"Depth", type::kInteger}};
    std::vector<Variant> row = {Variant(int32_t{depth * 100}), Variant(int32_t{depth})};
    if (level) {
      fields.push_back({"Below", type::kChapter});
      row.push_back(Variant::Chapter(level));
    }
    level = Shared(MakeRecords(fields, {row}));
  }
  ShapedHarness harness(level);
  auto command = Command("SHAPE");
  ShowShaped(harness.context, command.get(), "", 1);
  const std::vector<std::string> lines = harness.Lines();
  ASSERT_EQ(lines.size(), 1u + 12 * 3);
  const char* colours[] = {"fa8072", "90ee90", "ffffcc", "5f9ea0", "b0e0e6", "00ffff",
                           "deb887", "8fbc8b", "d2b48c", "bc8f8f", "fa8072", "90ee90"};
  for (int depth = 1; depth <= 12; ++depth) {
    SCOPED_TRACE(depth);
    const std::string& head = lines[static_cast<size_t>(1 + (depth - 1) * 2)];
    EXPECT_NE(head.find("<table border=" + std::to_string(depth) + " cellspacing=0"),
              std::string::npos);
    EXPECT_NE(head.find(std::string("bgcolor=#") + colours[depth - 1] + ">Depth</td>"),
              std::string::npos);
    if (depth > 1) {
      char ids[64];
      std::snprintf(ids, sizeof ids, "<tr id=01ROW%02d%d ", depth, (depth - 1) * 100);
      EXPECT_EQ(head.rfind(ids, 0), 0u) << head;
    }
  }
}

TEST(ShowShapedTest, FailureInALevelKeepsTheLinesWrittenBeforeIt) {
  struct Case {
    const char* name;
    std::shared_ptr<Recordset> shaped;
    size_t lines;
    std::string message;
  };
  // A chapter without an ID field: its heading is written, its first record fails.
  auto noId = Shared(MakeRecords({{"Item", type::kVarWChar}}, {{Variant("Pen")}}));
  auto parent = Shared(MakeRecords({{"ID", type::kInteger}, {"Lines", type::kChapter}},
                                   {{Variant(int32_t{1}), Variant::Chapter(noId)}}));
  // A chapter field whose value is no recordset.
  auto broken = Shared(MakeRecords({{"ID", type::kInteger}, {"Lines", type::kChapter}},
                                   {{Variant(int32_t{1}), Variant::Null()}}));
  // A chapter that holds its own parent.
  auto loop = Shared(MakeRecords({{"ID", type::kInteger}, {"Again", type::kChapter}},
                                 {{Variant(int32_t{1}), Variant()}}));
  loop->Fields(1).SetValue(Variant::Chapter(loop));
  const std::vector<Case> cases = {
      {"level without ID", parent, 4, "Error: 3265, No field named 'ID'"},
      {"chapter that is no recordset", broken, 3,
       "Error: 91, Object variable or With block variable not set"},
      {"chapter inside itself", loop, 3, "Error: 28, Out of stack space"},
  };
  for (const Case& c : cases) {
    ShapedHarness harness(c.shaped);
    auto command = Command("SHAPE");
    ShowShaped(harness.context, command.get(), "", 1);
    EXPECT_EQ(harness.Lines().size(), c.lines) << c.name;
    EXPECT_EQ(harness.messages, std::vector<std::string>{c.message}) << c.name;
  }
  loop->Fields(1).SetValue(Variant());  // breaks the cycle so the recordset can be freed
}

TEST(ShowShapedTest, WithoutADataReadTheParagraphFails) {
  RenderHarness harness;
  auto command = Command("SHAPE");
  ShowShaped(harness.context, command.get(), "Orders", 6);
  ShowShaped(harness.context, nullptr, "Orders", 6);
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_EQ(harness.messages, std::vector<std::string>(
                                  2, "Error: 91, Object variable or With block variable not set"));
}

}  // namespace
}  // namespace kivdb
