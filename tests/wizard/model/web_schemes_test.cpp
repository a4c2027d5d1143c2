#include "wizard/model/web_schemes.h"

#include <gtest/gtest.h>

#include "builders.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;

TEST(clsWebSchemes, MaxIdAndMaxSeqNo) {
  clsWebSchemes webs;
  EXPECT_EQ(webs.MaxID(), "0");
  webs.Add(Paragraph(3, 4, 1));
  webs.Add(Paragraph(8, 4, 5));
  webs.Add(Paragraph(5, 4, 3));
  webs.Add(Paragraph(6, 14, 9));
  webs.Add(Paragraph(7, 40, 11));
  webs.Add(Paragraph(8, 4, 20));  // taken ID: not added
  EXPECT_EQ(webs.Count(), 5);
  EXPECT_EQ(webs.MaxID(), "8");
  EXPECT_EQ(webs.MaxSeqNo("4"), "5");
  EXPECT_EQ(webs.MaxSeqNo("14"), "9");
  EXPECT_EQ(webs.MaxSeqNo("04"), "0");
  EXPECT_EQ(webs.MaxSeqNo("2"), "0");
}

TEST(clsWebSchemes, FuseWebClearsWhatTheTypeDoesNotUse) {
  struct Case {
    const char* type;
    Long form;
    const char* cols;
  } cases[] = {
      {"C", 0, "1:2"}, {"S", 0, "1:2"}, {"T", 0, "1:2"}, {"H", 3, ""},    {"I", 3, ""},
      {"E", 0, ""},    {"M", 0, ""},    {"X", 3, "1:2"}, {"s", 3, "1:2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    clsNavSchemes navs;
    auto paragraph = Paragraph(1, 2, 1, c.type);
    paragraph->formIs = 3;
    paragraph->colsAre = "1:2";
    ASSERT_TRUE(navs.FuseWeb(paragraph));
    EXPECT_EQ(navs.oWebs.Item(1), paragraph);  // a new paragraph is stored itself
    EXPECT_EQ(paragraph->formIs, c.form);
    EXPECT_EQ(paragraph->colsAre, c.cols);
  }
}

TEST(clsWebSchemes, FuseWebMergesCopiesAndRefusesAnEmptyQuery) {
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  navs.SetMessageBoxes(&messages);
  auto stored = Paragraph(4, 2, 1, "S", "spW_A", "Orders");
  stored->extra = "kept";
  navs.oWebs.Add(stored);
  navs.oWebs.Renumber(navs);  // status "O", so we can see it survives a merge

  auto copy = navs.oWebs.CloneWeb("4");
  ASSERT_NE(copy, stored);
  EXPECT_EQ(copy->extra, "kept");
  EXPECT_EQ(copy->status, "");
  copy->titleIs = "Changed";
  EXPECT_EQ(stored->titleIs, "Orders");  // untouched until merged

  copy->queryIs = "";
  EXPECT_FALSE(navs.FuseWeb(copy));
  EXPECT_EQ(messages.Shown(), std::vector<std::string>{"Query field cannot be blank..."});
  EXPECT_EQ(stored->titleIs, "Orders");
  EXPECT_EQ(stored->queryIs, "spW_A");

  copy->queryIs = "spW_B";
  copy->extra = "ignored";
  EXPECT_TRUE(navs.FuseWeb(copy));
  EXPECT_EQ(navs.oWebs.Item(4), stored);
  EXPECT_EQ(stored->titleIs, "Changed");
  EXPECT_EQ(stored->queryIs, "spW_B");
  EXPECT_EQ(stored->extra, "kept");
  EXPECT_EQ(stored->status, "O");

  EXPECT_EQ(navs.oWebs.CloneWeb("44")->ID(), 0);
}

TEST(clsWebSchemes, DelTreeNodeMatchesTheWholeKey) {
  clsWebSchemes webs;
  webs.Add(Paragraph(1, 3, 1));
  webs.Add(Paragraph(2, 13, 1));
  webs.Add(Paragraph(3, 30, 1));
  webs.Add(Paragraph(4, 3, 2));
  webs.DelTreeNode("3");
  std::vector<Long> left;
  for (const auto& p : webs) left.push_back(p->ID());
  EXPECT_EQ(left, (std::vector<Long>{2, 3}));
}

TEST(clsWebSchemes, RenumberMarksOrphansAndRemembersTheLastMatch) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(5, 1, "N"));
  navs.oWebs.Add(Paragraph(1, 5, 1));
  navs.oWebs.Add(Paragraph(2, 99, 1));
  navs.oWebs.Renumber(navs);
  EXPECT_EQ(navs.oWebs.Item(1)->status, "C");
  EXPECT_EQ(navs.oWebs.Item(1)->XST1, 5);
  EXPECT_EQ(navs.oWebs.Item(2)->status, "O");
  EXPECT_EQ(navs.oWebs.Item(2)->XST1, 0);

  // Once node 5 is gone, its paragraph is an orphan that keeps the number it last matched.
  navs.Remove(5);
  navs.oWebs.Renumber(navs);
  EXPECT_EQ(navs.oWebs.Item(1)->status, "O");
  EXPECT_EQ(navs.oWebs.Item(1)->XST1, 5);
}

}  // namespace
}  // namespace kivwz
