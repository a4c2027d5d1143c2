#include "control/data/exec_command.h"

#include <gtest/gtest.h>

namespace kivdb {
namespace {

TEST(ExecCommandTest, RecognisesTheWord) {
  EXPECT_TRUE(IsExecCommand("EXEC q"));
  EXPECT_TRUE(IsExecCommand("  exec\tq 1"));
  EXPECT_FALSE(IsExecCommand("EXECUTE q"));
  EXPECT_FALSE(IsExecCommand("SELECT 'EXEC q'"));
  EXPECT_FALSE(IsExecCommand("EXECq"));
}

TEST(ExecCommandTest, SplitsArguments) {
  struct Case {
    const char* text;
    std::string name;
    std::vector<Variant> arguments;
  } cases[] = {
      {"EXEC qNodes", "qNodes", {}},
      {"EXEC qNodes ", "qNodes", {}},  // parameter kind None adds a single space
      {"EXEC qOrders 7", "qOrders", {int64_t{7}}},
      {"EXEC qOrders 0, 7", "qOrders", {int64_t{0}, int64_t{7}}},
      {"EXEC qOrders 0,", "qOrders", {int64_t{0}}},  // the parameter came out empty
      {"EXEC q -2.5, 1e3", "q", {-2.5, 1000.0}},
      {"EXEC q 'ALFKI'", "q", {"ALFKI"}},
      {"EXEC q ''", "q", {""}},
      {"EXEC q 'O''Brien, Pat'", "q", {"O'Brien, Pat"}},
      {"EXEC q '05 Mar 2004'", "q", {"05 Mar 2004"}},
      {"EXEC q NULL, null", "q", {Variant::Null(), Variant::Null()}},
      {"EXEC q bare word, 12abc", "q", {"bare word", "12abc"}},
      {"EXEC q '1'", "q", {"1"}},
      {"EXEC q 99999999999999999999", "q", {1e20}},
      {"exec [Sales by Year] 1997", "Sales by Year", {int64_t{1997}}},
      {"EXEC q '''; DROP TABLE x; --'", "q", {"'; DROP TABLE x; --"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const auto got = ParseExecCommand(c.text, error);
    ASSERT_TRUE(got) << error;
    EXPECT_EQ(got->name, c.name);
    EXPECT_EQ(got->arguments, c.arguments);
  }
}

TEST(ExecCommandTest, RejectsMalformed) {
  for (const char* text : {"EXEC", "EXEC   ", "EXEC q 'open", "EXEC q 'a' b", "EXEC q 1,,2",
                           "EXEC q ,1", "EXEC [q 1", "EXEC q,1", "EXEC q it's"}) {
    SCOPED_TRACE(text);
    std::string error;
    EXPECT_FALSE(ParseExecCommand(text, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace kivdb
