#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "retrieval/number_ranges.h"

namespace ejscope {
namespace {

std::vector<number_range> ranges_of(const interval& iv) {
  std::vector<number_range> out;
  for (int p = 1; p <= iv.count(); ++p) out.push_back(iv.at(p));
  return out;
}

interval made_of(const std::vector<number_range>& stored) {
  interval iv;
  for (const auto& r : stored) iv.join(r.lo, r.hi);
  return iv;
}

TEST(RetrievalInterval, CoversOnlyInsideOneRange) {
  const interval iv = made_of({{1, 10}, {20, 30}});
  struct Case {
    int first, last;
    bool covered;
  } cases[] = {{1, 10, true}, {5, 8, true}, {20, 20, true}, {0, 5, false},
               {9, 21, false}, {11, 19, false}, {25, 31, false}};
  for (const auto& c : cases) EXPECT_EQ(iv.covers(c.first, c.last), c.covered) << c.first << ".." << c.last;
  EXPECT_FALSE(interval{}.covers(1, 1));
}

TEST(RetrievalInterval, UncoveredParts) {
  struct Case {
    std::vector<number_range> stored;
    int first, last;
    std::vector<number_range> parts;
  } cases[] = {
      {{}, 1, 10, {{1, 10}}},
      {{}, 5, 4, {}},
      {{{1, 10}}, 5, 8, {}},
      {{{1, 10}}, 5, 15, {{11, 15}}},
      {{{5, 10}}, 1, 7, {{1, 4}}},
      {{{5, 10}}, 1, 20, {{1, 4}, {11, 20}}},
      {{{1, 3}, {7, 9}, {15, 20}}, 2, 16, {{4, 6}, {10, 14}}},
      {{{1, 3}, {7, 9}}, 4, 6, {{4, 6}}},
      {{{1, 3}, {7, 9}}, 40, 50, {{40, 50}}},
      {{{1, 3}, {7, 9}}, -5, 0, {{-5, 0}}},
      {{{INT_MAX - 5, INT_MAX}}, INT_MAX - 10, INT_MAX, {{INT_MAX - 10, INT_MAX - 6}}},
      {{{INT_MIN, INT_MIN + 2}}, INT_MIN, INT_MIN + 5, {{INT_MIN + 3, INT_MIN + 5}}},
  };
  for (const auto& c : cases) {
    const interval iv = made_of(c.stored);
    EXPECT_EQ(iv.uncovered(c.first, c.last), c.parts) << c.first << ".." << c.last;
  }
}

TEST(RetrievalInterval, JoinKeepsAscendingDisjointRanges) {
  struct Case {
    std::vector<number_range> added;
    std::vector<number_range> stored;
  } cases[] = {
      {{{1, 10}}, {{1, 10}}},
      {{{1, 10}, {5, 8}}, {{1, 10}}},
      {{{1, 10}, {11, 20}}, {{1, 20}}},  // touching ranges join
      {{{1, 10}, {12, 20}}, {{1, 10}, {12, 20}}},
      {{{12, 20}, {1, 10}}, {{1, 10}, {12, 20}}},
      {{{1, 3}, {7, 9}, {15, 20}, {2, 16}}, {{1, 20}}},
      {{{1, 3}, {7, 9}, {4, 6}}, {{1, 9}}},
      {{{5, 4}}, {}},  // first > last adds nothing
      {{{INT_MAX - 1, INT_MAX}, {INT_MIN, INT_MIN}}, {{INT_MIN, INT_MIN}, {INT_MAX - 1, INT_MAX}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ranges_of(made_of(c.added)), c.stored);
}

TEST(RetrievalInterval, AfterJoiningTheUncoveredPartsTheWholeRangeIsCovered) {
  interval iv = made_of({{1, 3}, {7, 9}, {15, 20}});
  for (const auto& part : iv.uncovered(2, 16)) iv.join(part.lo, part.hi);
  EXPECT_TRUE(iv.covers(2, 16));
  EXPECT_TRUE(iv.uncovered(1, 20).empty());
  iv.clear();
  EXPECT_EQ(iv.count(), 0);
}

}  // namespace
}  // namespace ejscope
