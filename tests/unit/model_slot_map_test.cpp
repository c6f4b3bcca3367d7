#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "tape/slot_map.h"

namespace ejscope {
namespace {

std::vector<std::pair<int, int>> entries_of(const slot_map<int>& map) { return {map.begin(), map.end()}; }

TEST(SlotMap, KeysStayInAscendingOrderWhateverOrderTheyAreAddedIn) {
  struct order_case {
    std::vector<int> added;
    std::vector<std::pair<int, int>> expected;
  };
  const order_case cases[] = {
      {{0, 1, 2}, {{0, 10}, {1, 11}, {2, 12}}},
      {{2, 0, 1}, {{0, 10}, {1, 11}, {2, 12}}},
      {{5, -3, 5, 0}, {{-3, 7}, {0, 10}, {5, 15}}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    slot_map<int> map;
    for (int key : c.added) map[key] = key + 10;
    EXPECT_EQ(entries_of(map), c.expected);
    EXPECT_EQ(map.size(), c.expected.size());
  }
}

TEST(SlotMap, CreatingAccessAddsADefaultElementAndConstLookupsDoNot) {
  slot_map<int> map;
  EXPECT_EQ(map[3], 0);
  EXPECT_EQ(map.size(), 1u);
  const slot_map<int>& view = map;
  EXPECT_EQ(view.find(4), view.end());
  EXPECT_EQ(view.count(4), 0u);
  EXPECT_FALSE(view.contains(4));
  EXPECT_THROW((void)view.at(4), std::out_of_range);
  EXPECT_EQ(map.size(), 1u);
  map[3] = 9;
  EXPECT_EQ(view.at(3), 9);
  EXPECT_EQ(view.lower_bound(1)->first, 3);
  EXPECT_EQ(view.lower_bound(4), view.end());
}

TEST(SlotMap, EraseClearAndComparison) {
  slot_map<int> map{{2, 20}, {1, 10}, {2, 99}};  // of a key given twice the first is kept
  EXPECT_EQ(entries_of(map), (std::vector<std::pair<int, int>>{{1, 10}, {2, 20}}));
  EXPECT_EQ(map, (slot_map<int>{{1, 10}, {2, 20}}));
  EXPECT_EQ(map.erase(1), 1u);
  EXPECT_EQ(map.erase(1), 0u);
  EXPECT_NE(map, (slot_map<int>{{1, 10}, {2, 20}}));
  EXPECT_EQ(map.rbegin()->second, 20);
  map.clear();
  EXPECT_TRUE(map.empty());
}

}  // namespace
}  // namespace ejscope
