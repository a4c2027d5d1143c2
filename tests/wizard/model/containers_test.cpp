// The flat number index and the keyed collection, checked against the standard containers.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <unordered_map>
#include <vector>

#include "wizard/model/keyed_collection.h"
#include "wizard/model/number_index.h"

namespace kivwz {
namespace {

// Runs inserts, assignments, erasures and lookups with keys from nextKey, checking each against
// a standard map.
void CheckAgainstMap(const std::function<Long(std::mt19937&, int)>& nextKey, int steps) {
  std::mt19937 random(7);
  NumberIndex index;
  std::unordered_map<Long, std::int64_t> expected;
  for (int step = 0; step < steps; ++step) {
    const Long k = nextKey(random, step);
    switch (random() % 4) {
      case 0:
        ASSERT_EQ(index.Insert(k, step), expected.emplace(k, step).second) << "step " << step;
        break;
      case 1:
        index.Assign(k, step);
        expected[k] = step;
        break;
      case 2:
        index.Erase(k);
        expected.erase(k);
        break;
      default:
        break;
    }
    const Long probe = nextKey(random, step);
    const auto found = expected.find(probe);
    ASSERT_EQ(index.Find(probe), found == expected.end() ? NumberIndex::kAbsent : found->second)
        << "key " << probe << " at step " << step;
    ASSERT_EQ(index.Size(), expected.size());
  }
  for (const auto& [key, position] : expected) ASSERT_EQ(index.Find(key), position) << key;
}

TEST(NumberIndex, AgreesWithAMap) {
  struct Case {
    const char* name;
    std::function<Long(std::mt19937&, int)> nextKey;
  } cases[] = {
      {"few keys", [](std::mt19937& r, int) { return static_cast<Long>(r() % 17) - 8; }},
      {"dense, rising",
       [](std::mt19937& r, int step) { return static_cast<Long>(step - r() % 50); }},
      {"dense, falling",
       [](std::mt19937& r, int step) { return static_cast<Long>(100000 - step + r() % 50); }},
      {"spread wide", [](std::mt19937& r, int) { return static_cast<Long>(r()); }},
      {"dense, then far away",
       [](std::mt19937& r, int step) {
         return step < 20000 ? static_cast<Long>(r() % 5000)
                             : static_cast<Long>(r() % 5000) * 400003;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CheckAgainstMap(c.nextKey, 40000);
  }
}

TEST(KeyedCollection, KeepsOrderAndKeysThroughRemovalsAndCompaction) {
  KeyedCollection<int> collection;
  std::map<Long, int> byKey;
  std::vector<Long> order;
  for (Long id = 1; id <= 300; ++id) {
    const Long key = (id * 37) % 1009;
    ASSERT_TRUE(collection.Add(key, std::make_shared<int>(static_cast<int>(id))));
    byKey[key] = static_cast<int>(id);
    order.push_back(key);
  }
  EXPECT_FALSE(collection.Add(order[5], std::make_shared<int>(0)));
  EXPECT_FALSE(collection.Add(999999, nullptr));
  // Remove most records, from both ends and the middle, so that the slots are compacted.
  std::vector<Long> kept;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i % 7 == 3) {
      kept.push_back(order[i]);
    } else {
      collection.Remove(order[i]);
      byKey.erase(order[i]);
    }
  }
  ASSERT_EQ(collection.Count(), kept.size());
  std::vector<int> seen;
  for (const auto& item : collection) seen.push_back(*item);
  std::vector<int> expectedOrder;
  for (Long key : kept) expectedOrder.push_back(byKey[key]);
  EXPECT_EQ(seen, expectedOrder);
  for (const auto& [key, value] : byKey) {
    ASSERT_NE(collection.Item(key), nullptr) << key;
    EXPECT_EQ(*collection.Item(key), value);
    EXPECT_EQ(collection.Item(std::to_string(key)), collection.Item(key));
  }
  EXPECT_EQ(collection.Item(order[0]), nullptr);
  EXPECT_EQ(collection.Item("0" + std::to_string(kept[0])), nullptr);
  EXPECT_EQ(collection.Item(" " + std::to_string(kept[0])), nullptr);
}

}  // namespace
}  // namespace kivwz
