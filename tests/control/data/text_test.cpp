#include "base/text.h"

#include <gtest/gtest.h>

namespace kivdb::text {
namespace {

TEST(Text, TrimAndCaseFolding) {
  struct Case {
    std::string input, trimmed, spacesTrimmed, upper, lower;
  } cases[] = {
      {"", "", "", "", ""},
      {"   ", "", "", "   ", "   "},
      {" \tAll\r\n", "All", "\tAll\r\n", " \tALL\r\n", " \tall\r\n"},
      {"  a b  ", "a b", "a b", "  A B  ", "  a b  "},
      // Bytes outside ASCII pass through unchanged, so UTF-8 text is never corrupted.
      {" Ärger é ", "Ärger é", "Ärger é", " ÄRGER é ", " Ärger é "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Trim(c.input), c.trimmed);
    EXPECT_EQ(TrimSpaces(c.input), c.spacesTrimmed);
    EXPECT_EQ(Upper(c.input), c.upper);
    EXPECT_EQ(Lower(c.input), c.lower);
  }
}

TEST(Text, EqualsNoCase) {
  EXPECT_TRUE(EqualsNoCase("All", "aLL"));
  EXPECT_TRUE(EqualsNoCase("", ""));
  EXPECT_FALSE(EqualsNoCase("All", "Al"));
  EXPECT_FALSE(EqualsNoCase("All ", "All"));
  EXPECT_FALSE(EqualsNoCase("é", "É"));  // only ASCII letters fold
}

}  // namespace
}  // namespace kivdb::text
