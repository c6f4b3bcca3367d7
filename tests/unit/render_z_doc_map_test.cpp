// The reverse look-up of the correspondence map that the Z-report
// bookkeeping uses: the smallest key holding a value, -1 when none does.
#include <gtest/gtest.h>

#include "tape/number_map.h"

namespace ejscope {
namespace {

TEST(RenderZDocMap, FindsTheSmallestKeyHoldingAValue) {
  sootv map;
  EXPECT_EQ(map.smallest_key_of(0), -1);  // nothing stored since it was emptied
  map.set(3, 15);
  map.set(1, 15);
  map.set(7, 15);
  EXPECT_EQ(map.smallest_key_of(15), 1);
  map.set(1, 9);  // overwriting moves key 1 to its new value
  EXPECT_EQ(map.smallest_key_of(15), 3);
  EXPECT_EQ(map.smallest_key_of(9), 1);
  map.set(3, 9);
  map.set(7, 9);
  EXPECT_EQ(map.smallest_key_of(15), -1);
  map.set(0, 0);  // a stored 0 is found like any value
  EXPECT_EQ(map.smallest_key_of(0), 0);
  EXPECT_FALSE(map.contains(0));
  map.set(-4, 9);
  EXPECT_EQ(map.smallest_key_of(9), -4);
  map.clear();
  EXPECT_EQ(map.smallest_key_of(9), -1);
  EXPECT_FALSE(map.has_entries());
}

}  // namespace
}  // namespace ejscope
