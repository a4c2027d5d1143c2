#include "control/data/sort_order.h"

#include <gtest/gtest.h>

#include <kivdb/error.h>

namespace kivdb {
namespace {

TEST(SortOrderTest, ParsesExpressions) {
  struct Case {
    const char* expression;
    std::vector<std::pair<std::string, bool>> keys;
  } cases[] = {
      {"ID ASC", {{"ID", false}}},
      {"XST1 ASC, seqNo ASC", {{"XST1", false}, {"seqNo", false}}},
      {"a desc,b", {{"a", true}, {"b", false}}},
      {"[Unit Price] DESC, [a,b]", {{"Unit Price", true}, {"a,b", false}}},
      {"  name  ", {{"name", false}}},
      {"Unit Price desc", {{"Unit Price", true}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    std::vector<std::pair<std::string, bool>> got;
    for (const SortKey& key : ParseSortExpression(c.expression))
      got.emplace_back(key.field, key.descending);
    EXPECT_EQ(got, c.keys);
  }
}

TEST(SortOrderTest, RejectsMalformedExpressions) {
  for (const char* expression : {"a,,b", "a,", "[open DESC"}) {
    SCOPED_TRACE(expression);
    EXPECT_THROW(ParseSortExpression(expression), Error);
  }
}

TEST(SortOrderTest, ComparesValues) {
  const DateTime early{2004, 3, 5, 0, 0, 0};
  const DateTime late{2004, 3, 5, 10, 0, 0};
  struct Case {
    const char* name;
    Variant a, b;
    int sign;
  } cases[] = {
      {"null before number", Variant::Null(), Variant(int32_t{-5}), -1},
      {"empty equals null", Variant(), Variant::Null(), 0},
      {"int16 vs double", Variant(int16_t{2}), Variant(1.5), 1},
      {"big integers exactly", Variant(int64_t{9007199254740993}),
       Variant(int64_t{9007199254740992}), 1},
      {"decimal vs int", Variant::Decimal("10.50"), Variant(int32_t{10}), 1},
      {"currency", Variant(Currency{12500}), Variant(Currency{12501}), -1},
      {"number before date", Variant(1.0), Variant(early), -1},
      {"dates", Variant(late), Variant(early), 1},
      {"text without case", Variant("apple"), Variant("Banana"), -1},
      {"text equal but case", Variant("ABC"), Variant("abc"), 0},
      {"prefix first", Variant("ab"), Variant("abc"), -1},
      {"date before text", Variant(early), Variant("a"), -1},
      {"binary", Variant::Binary({1, 2}), Variant::Binary({1, 3}), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int got = CompareValues(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign);
    const int reverse = CompareValues(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign);
  }
}

}  // namespace
}  // namespace kivdb
