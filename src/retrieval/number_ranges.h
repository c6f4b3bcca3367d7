#pragma once
// The number ranges already assembled in packet mode (fetched_ranges): an
// ordered list of ranges (lo, hi), positions 1 ... count.
#include <cstdint>
#include <vector>

namespace ejscope {

struct number_range {
  std::int32_t lo = 0;
  std::int32_t hi = 0;
  bool operator==(const number_range&) const = default;
};

class interval {
 public:
  int count() const { return static_cast<int>(ranges_.size()); }
  // position from 1 to count.
  const number_range& at(int position) const { return ranges_.at(static_cast<std::size_t>(position - 1)); }

  // Some stored range has lo <= first and hi >= last.
  bool covers(std::int32_t first, std::int32_t last) const;

  // The parts of [first, last] that no stored range covers, ascending and
  // disjoint; empty when first > last.
  std::vector<number_range> uncovered(std::int32_t first, std::int32_t last) const;

  // Adds [lo, hi] (ignored when lo > hi). Ranges that overlap or touch it are
  // joined with it, so the list stays ascending and disjoint and "covered by
  // the union" and "covered by one range" mean the same.
  void join(std::int32_t lo, std::int32_t hi);

  void clear() { ranges_.clear(); }

 private:
  std::vector<number_range> ranges_;
};

}  // namespace ejscope
