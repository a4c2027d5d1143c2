// Which related values match: numbers by value across their kinds, everything else exactly, and
// Null, Empty and NaN never.
#include "control/data/shape_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include <kivdb/recordset.h>
#include "control/data/shape_key_index.h"

namespace kivdb {
namespace {

// Both keys, or nothing when either value matches nothing.
bool Match(const Variant& a, const Variant& b) {
  std::string keyA;
  std::string keyB;
  return AppendShapeKey(a, keyA) && AppendShapeKey(b, keyB) && keyA == keyB;
}

TEST(ShapeKeyTest, DecidesWhichValuesMatch) {
  const DateTime day{2024, 3, 1, 0, 0, 0};
  const DateTime dayAtNoon{2024, 3, 1, 12, 0, 0};
  struct Case {
    const char* name;
    Variant a;
    Variant b;
    bool match;
  } cases[] = {
      {"Int32 and Double", Variant(int32_t{17}), Variant(17.0), true},
      {"Int16 and Int64", Variant(int16_t{-5}), Variant(int64_t{-5}), true},
      {"Single and Double halves", Variant(2.5f), Variant(2.5), true},
      {"Currency and Int32", Variant(Currency{170000}), Variant(int32_t{17}), true},
      {"Currency with cents and Double", Variant(Currency{12500}), Variant(1.25), true},
      {"Decimal with zeros and Int32", Variant::Decimal("17.000"), Variant(int32_t{17}), true},
      {"Decimal fraction and Double", Variant::Decimal("0.5"), Variant(0.5), true},
      {"large Decimal keeps its digits", Variant::Decimal("9007199254740993"),
       Variant(int64_t{9007199254740993}), true},
      {"large integers one apart", Variant(int64_t{9007199254740993}),
       Variant(int64_t{9007199254740992}), false},
      {"minus zero and zero", Variant(-0.0), Variant(int32_t{0}), true},
      {"Boolean True and -1", Variant(true), Variant(int32_t{-1}), true},
      {"different numbers", Variant(int32_t{17}), Variant(17.5), false},
      {"text and number of the same digits", Variant("17"), Variant(int32_t{17}), false},
      {"texts exactly", Variant("Pen"), Variant("Pen"), true},
      {"texts differ in case", Variant("Pen"), Variant("pen"), false},
      {"texts differ in a trailing blank", Variant("Pen"), Variant("Pen "), false},
      {"empty texts", Variant(""), Variant(""), true},
      {"dates exactly", Variant(day), Variant(day), true},
      {"dates differ in time", Variant(day), Variant(dayAtNoon), false},
      {"date and its text", Variant(day), Variant("2024-03-01"), false},
      {"binary exactly", Variant::Binary({1, 2, 0}), Variant::Binary({1, 2, 0}), true},
      {"binary and text of the same bytes", Variant::Binary({'a'}), Variant("a"), false},
      {"Null and Null", Variant::Null(), Variant::Null(), false},
      {"Empty and Empty", Variant(), Variant(), false},
      {"NaN and NaN", Variant(std::nan("")), Variant(std::nan("")), false},
      {"infinities", Variant(std::numeric_limits<double>::infinity()),
       Variant(std::numeric_limits<double>::infinity()), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Match(c.a, c.b), c.match) << c.name;
  }
}

TEST(ShapeKeyTest, PartsOfAKeyDoNotRunTogether) {
  // ("ab", "c") and ("a", "bc") are different keys of two columns.
  std::string first;
  std::string second;
  ASSERT_TRUE(AppendShapeKey(Variant("ab"), first) && AppendShapeKey(Variant("c"), first));
  ASSERT_TRUE(AppendShapeKey(Variant("a"), second) && AppendShapeKey(Variant("bc"), second));
  EXPECT_NE(first, second);
}

TEST(ShapeKeyTest, ChaptersMatchNothing) {
  std::string key;
  EXPECT_FALSE(AppendShapeKey(Variant::Chapter(std::make_shared<Recordset>()), key));
}

TEST(ShapeKeyIndexTest, NumbersKeysInOrderAndFindsThemAfterGrowing) {
  ShapeKeyIndex index(0);  // grows many times on the way
  // Short keys live in their slots, long ones beside them; both kinds must survive growth.
  auto keyOf = [](int i) {
    return i % 2 == 0 ? "k" + std::to_string(i) : std::string(20, 'x') + std::to_string(i);
  };
  constexpr int kKeys = 5000;
  for (int i = 0; i < kKeys; ++i) {
    bool added = false;
    ASSERT_EQ(index.Insert(keyOf(i), added), static_cast<uint32_t>(i)) << keyOf(i);
    ASSERT_TRUE(added);
  }
  for (int i = 0; i < kKeys; ++i) {
    bool added = true;
    EXPECT_EQ(index.Insert(keyOf(i), added), static_cast<uint32_t>(i)) << keyOf(i);
    EXPECT_FALSE(added);
    EXPECT_EQ(index.Find(keyOf(i)), i) << keyOf(i);
  }
  EXPECT_EQ(index.Size(), static_cast<size_t>(kKeys));
  EXPECT_EQ(index.Find("k1"), ShapeKeyIndex::kMissing);  // odd numbers have long keys only
  EXPECT_EQ(index.Find(std::string(20, 'x') + "0"), ShapeKeyIndex::kMissing);
  EXPECT_EQ(index.Find(""), ShapeKeyIndex::kMissing);
}

}  // namespace
}  // namespace kivdb
