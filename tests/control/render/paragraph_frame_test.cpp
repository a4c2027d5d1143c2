// The paragraph frame: id pictures, form links, the title rule, failure reports, and the page
// writers.

#include "control/render/paragraph_frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <kivdb/error.h>
#include "tests/control/render/render_test_support.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace kivdb {
namespace {

TEST(ParagraphFrameTest, IdPicture) {
  const std::vector<std::pair<long, std::string>> cases = {
      {7, "007"}, {5, "005"}, {0, "000"}, {1234, "1234"}, {-7, "-007"}};
  for (const auto& [id, expected] : cases) EXPECT_EQ(IdPicture(id), expected) << id;
}

TEST(ParagraphFrameTest, FormLink) {
  struct Case {
    const char* name;
    int16_t form;
    Variant id;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"overview example", 3, Variant(int32_t{42}), "^000030000000042"},
      {"form 12 record 5", 12, Variant(int32_t{5}), "^000120000000005"},
      {"text key unchanged", 12, Variant("ALFKI"), "^00012ALFKI"},
      {"numeric text key", 1, Variant("42"), "^000010000000042"},
      {"fraction rounds", 1, Variant(42.5), "^000010000000043"},
      {"long id", 1, Variant(int64_t{12345678901}), "^0000112345678901"},
      {"null id", 1, Variant::Null(), "^00001"},
      {"quote escaped for the href", 1, Variant("a'b"), "^00001a&#39;b"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormLink(c.form, c.id), c.expected) << c.name;
}

TEST(ParagraphFrameTest, TitleRule) {
  EXPECT_EQ(ApplyTitleRule("Order Pattern for :", "Customers"), "Order Pattern for : Customers");
  EXPECT_EQ(ApplyTitleRule(":", "All"), ": All");
  EXPECT_EQ(ApplyTitleRule("Orders", std::nullopt), "Orders");
  EXPECT_EQ(ApplyTitleRule("", std::nullopt), "");
  // The caption comes from a query and is escaped; the title is the scheme's own HTML.
  EXPECT_EQ(ApplyTitleRule("<b>For</b>:", "A&B"), "<b>For</b>: A&amp;B");
}

TEST(ParagraphFrameTest, TitleRuleWithoutSelectedNodeFails) {
  try {
    ApplyTitleRule("Customer:", std::nullopt);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), 91);
  }
}

TEST(ParagraphFrameTest, TitleLineAndMessages) {
  EXPECT_EQ(TitleLine("Orders", 7), "<p id='TTL007' class=ph><img src='circle.gif'>  Orders");
  EXPECT_EQ(BlankRecordsetMessage("Customer:"), "Blank Recordset: Customer:");
  EXPECT_EQ(ErrorMessage(11, "Division by zero"), "Error: 11, Division by zero");
}

TEST(ParagraphFrameTest, ReportCurrentFailure) {
  struct Case {
    const char* name;
    std::function<void()> fail;
    bool talking;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"numbered error",
       [] { throw Error(11, "Division by zero"); },
       true,
       {"Error: 11, Division by zero"}},
      {"silent without Talking", [] { throw Error(11, "Division by zero"); }, false, {}},
      {"number 0 is silent", [] { throw Error(0, "nothing"); }, true, {}},
      {"other exception",
       [] { throw std::out_of_range("x"); },
       true,
       {"Error: 5, Invalid procedure call or argument"}},
      {"memory", [] { throw std::bad_alloc(); }, true, {"Error: 7, Out of memory"}},
      {"not an exception",
       [] { throw 42; },
       true,
       {"Error: 5, Invalid procedure call or argument"}},
  };
  for (const Case& c : cases) {
    testing::RenderHarness harness;
    harness.context.talking = c.talking;
    try {
      c.fail();
    } catch (...) {
      ReportCurrentFailure(harness.context);
    }
    EXPECT_EQ(harness.messages, c.expected) << c.name;
  }
}

TEST(ParagraphFrameTest, ThrowingMessageHandlerIsContained) {
  testing::RenderHarness harness;
  harness.context.talking = true;
  std::vector<std::string> told;
  harness.context.message = [&](const std::string& text) {
    told.push_back(text);
    throw std::runtime_error("host");
  };
  try {
    throw Error(13, "Type mismatch");
  } catch (...) {
    ReportCurrentFailure(harness.context);  // must return normally
  }
  EXPECT_EQ(told, (std::vector<std::string>{"Error: 13, Type mismatch"}));
}

class FilePageWriterTest : public ::testing::Test {
 protected:
  testing_support::TempFolder temp_;
  const std::filesystem::path& folder_ = temp_.Path();
};

TEST_F(FilePageWriterTest, LinesEndWithCrLfAndReplaceTheOldPage) {
  const auto path = folder_ / "oReport.htm";
  std::ofstream(path) << "an older, longer page that must disappear";
  FilePageWriter writer(path.string());
  writer.WriteLine("<html>");
  writer.WriteLine("");
  writer.WriteLine("</html>");
  writer.Close();
  EXPECT_EQ(testing_support::ReadFile(path), "<html>\r\n\r\n</html>\r\n");
}

TEST_F(FilePageWriterTest, LargePageCrossesTheBufferIntact) {
  const auto path = folder_ / "big.htm";
  const std::string line(1000, 'x');
  {
    FilePageWriter writer(path.string());
    for (int i = 0; i < 3000; ++i) writer.WriteLine(line);
  }  // closed by the destructor
  const std::string text = testing_support::ReadFile(path);
  ASSERT_EQ(text.size(), 3000u * 1002u);
  EXPECT_EQ(text.substr(1000, 2), "\r\n");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(FilePageWriterTest, MissingFolderIsPathNotFound) {
  try {
    FilePageWriter writer((folder_ / "no such folder" / "oReport.htm").string());
    FAIL() << "opened";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), 76);
  }
}

TEST(StringPageWriterTest, KeepsLinesAndText) {
  StringPageWriter writer;
  writer.WriteLine("a");
  writer.WriteLine("");
  writer.WriteLine("b");
  EXPECT_EQ(writer.Text(), "a\r\n\r\nb\r\n");
  EXPECT_EQ(writer.Lines(), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace kivdb
