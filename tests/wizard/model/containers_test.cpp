// The flat number index and the keyed collection, checked against the standard containers.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <unordered_map>
#include <vector>

#include "wizard/model/keyed_collection.h"
#include "wizard/model/number_index.h"

namespace kivwz {
namespace {

TEST(NumberIndex, AgreesWithAMapUnderRandomInsertsAndErasures) {
  for (const Long range : {8, 64, 5000}) {
    SCOPED_TRACE(range);
    std::mt19937 random(static_cast<unsigned>(range));
    std::uniform_int_distribution<Long> key(-range, range);
    NumberIndex index;
    std::unordered_map<Long, std::int64_t> expected;
    for (int step = 0; step < 40000; ++step) {
      const Long k = key(random);
      switch (random() % 4) {
        case 0:
          EXPECT_EQ(index.Insert(k, step), expected.emplace(k, step).second);
          break;
        case 1:
          index.Assign(k, step);
          expected[k] = step;
          break;
        case 2:
          index.Erase(k);
          expected.erase(k);
          break;
        default: {
          const auto found = expected.find(k);
          ASSERT_EQ(index.Find(k), found == expected.end() ? NumberIndex::kAbsent : found->second)
              << "key " << k << " at step " << step;
        }
      }
      ASSERT_EQ(index.Size(), expected.size());
    }
    for (Long k = -range; k <= range; ++k) {
      const auto found = expected.find(k);
      ASSERT_EQ(index.Find(k), found == expected.end() ? NumberIndex::kAbsent : found->second);
    }
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
