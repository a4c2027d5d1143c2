// MaxRows in the renderers: S, T and M tables stop after the cap (M counts its parent rows) and
// add one line saying how many of how many rows are shown; S totals still add every row.

#include <gtest/gtest.h>

#include "control/render/row_cap.h"
#include "control/render/show_shaped.h"
#include "control/render/show_thumbnails.h"
#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

int CountOf(const std::string& text, const std::string& needle) {
  int count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
    ++count;
  return count;
}

TEST(RowCap, NoteWordsAndWhenItIsWritten) {
  struct Case {
    long maxRows;
    long total;
    std::string note;
  };
  const Case cases[] = {
      {0, 250000, ""},
      {100, 100, ""},
      {100, 99, ""},
      {100, 101, "<p class=pgl>Showing 100 of 101 rows.</p>"},
      {100, 250000, "<p class=pgl>Showing 100 of 250,000 rows.</p>"},
      {1, 1234567, "<p class=pgl>Showing 1 of 1,234,567 rows.</p>"},
      {-4, 10, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowCap(c.maxRows).Note(c.total), c.note) << c.maxRows << " of " << c.total;
  }
  EXPECT_EQ(RowCapText(0, 1), "Showing 0 of 1 row.");
}

TEST(RowCap, TableWritesTheFirstRowsAndTotalsEveryRow) {
  std::vector<std::vector<Variant>> rows;
  for (int i = 1; i <= 5; ++i)
    rows.push_back(
        {Variant(int32_t{i}), Variant("item " + std::to_string(i)), Variant(int32_t{i})});
  struct Case {
    long maxRows;
    int rowsShown;
    std::string lastLine;
  };
  const Case cases[] = {
      {0, 5, "<tr><td class=tfl>Total:</td><td class=tfr>15</td></table><br><br>"},
      {5, 5, "<tr><td class=tfl>Total:</td><td class=tfr>15</td></table><br><br>"},
      {2, 2, "<p class=pgl>Showing 2 of 5 rows.</p>"},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    harness.context.maxRows = c.maxRows;
    auto records = MakeRecords(
        {{"ID", type::kInteger}, {"Item", type::kVarWChar}, {"Qty", type::kInteger}}, rows);
    ShowTable(harness.context, records.get(), "Orders", 5, "All");
    const std::vector<std::string> lines = harness.Lines();
    const size_t extra = c.lastLine.rfind("<p", 0) == 0 ? 1 : 0;
    ASSERT_EQ(lines.size(), 2u + c.rowsShown + extra) << c.maxRows;
    EXPECT_EQ(lines[1 + c.rowsShown],
              "<tr><td class=tfl>Total:</td><td class=tfr>15</td></table><br><br>")
        << c.maxRows;
    EXPECT_EQ(lines.back(), c.lastLine) << c.maxRows;
    EXPECT_EQ(lines[c.rowsShown], "<tr><td class=tdl>item " + std::to_string(c.rowsShown) +
                                      "</td><td class=tdr>" + std::to_string(c.rowsShown) +
                                      "</td>");
    EXPECT_TRUE(harness.messages.empty());
  }
}

std::unique_ptr<Recordset> Pictures(int count) {
  std::vector<std::vector<Variant>> rows;
  for (int i = 1; i <= count; ++i) rows.push_back({Variant("p" + std::to_string(i) + ".jpg")});
  return MakeRecords({{"FilePhoto", type::kVarWChar}}, rows);
}

TEST(RowCap, ThumbnailsStopAtTheCap) {
  struct Case {
    long maxRows;
    int cells;
    std::string lastLine;
  };
  const Case cases[] = {
      {0, 5, "</table>"},
      {5, 5, "</table>"},
      {2, 2, "<p class=pgl>Showing 2 of 5 rows.</p>"},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    harness.context.maxRows = c.maxRows;
    auto records = Pictures(5);
    ShowThumbnails(harness.context, records.get(), "Photos", 4, "<columns>2</columns>");
    const std::string page = harness.page.Text();
    EXPECT_EQ(CountOf(page, "<IMG SRC="), c.cells) << c.maxRows;
    EXPECT_EQ(harness.Lines().back(), c.lastLine) << c.maxRows;
    EXPECT_TRUE(harness.messages.empty());
  }
}

TEST(RowCap, MultiChapterCountsParentRowsOnly) {
  std::vector<std::vector<Variant>> parents;
  for (int p = 1; p <= 3; ++p) {
    auto children =
        std::shared_ptr<Recordset>(MakeRecords({{"ID", type::kInteger}, {"Item", type::kVarWChar}},
                                               {{Variant(int32_t{10 * p + 1}), Variant("child")},
                                                {Variant(int32_t{10 * p + 2}), Variant("child")},
                                                {Variant(int32_t{10 * p + 3}), Variant("child")}}));
    parents.push_back({Variant(int32_t{p}), Variant("parent"), Variant::Chapter(children)});
  }
  auto shaped = std::shared_ptr<Recordset>(MakeRecords(
      {{"ID", type::kInteger}, {"Name", type::kVarWChar}, {"Lines", type::kChapter}}, parents));

  RenderHarness harness;
  harness.context.maxRows = 2;
  harness.context.readData = [&](const std::string&, std::shared_ptr<Recordset>& out) {
    out = shaped;
    return true;
  };
  auto command = MakeRecords({{"Shape", type::kVarWChar}}, {{Variant("SHAPE {...}")}});
  ShowShaped(harness.context, command.get(), "Orders", 6);
  const std::string page = harness.page.Text();
  EXPECT_EQ(CountOf(page, ">parent<"), 2);
  EXPECT_EQ(CountOf(page, ">child<"), 6);  // every child of a shown parent
  EXPECT_EQ(CountOf(page, "Showing"), 1);
  EXPECT_EQ(harness.Lines().back(), "<p class=pgl>Showing 2 of 3 rows.</p>");
  EXPECT_TRUE(harness.messages.empty());
}

}  // namespace
}  // namespace kivdb
