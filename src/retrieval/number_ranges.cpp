#include "retrieval/number_ranges.h"

#include <algorithm>

namespace ejscope {

bool interval::covers(std::int32_t first, std::int32_t last) const {
  return std::any_of(ranges_.begin(), ranges_.end(),
                     [&](const number_range& r) { return r.lo <= first && r.hi >= last; });
}

std::vector<number_range> interval::uncovered(std::int32_t first, std::int32_t last) const {
  std::vector<number_range> parts;
  if (first > last) return parts;
  // 64-bit cursor: the number after a range ending at INT32_MAX does not exist.
  std::int64_t next = first;
  for (const number_range& r : ranges_) {
    if (next > last) break;
    if (r.hi < next) continue;
    if (r.lo > last) break;
    if (r.lo > next) parts.push_back({static_cast<std::int32_t>(next), r.lo - 1});
    next = static_cast<std::int64_t>(r.hi) + 1;
  }
  if (next <= last) parts.push_back({static_cast<std::int32_t>(next), last});
  return parts;
}

void interval::join(std::int32_t lo, std::int32_t hi) {
  if (lo > hi) return;
  number_range joined{lo, hi};
  std::vector<number_range> out;
  out.reserve(ranges_.size() + 1);
  bool placed = false;
  for (const number_range& r : ranges_) {
    if (static_cast<std::int64_t>(r.hi) + 1 < joined.lo) {
      out.push_back(r);  // wholly before, not touching
    } else if (static_cast<std::int64_t>(joined.hi) + 1 < r.lo) {
      if (!placed) out.push_back(joined);
      placed = true;
      out.push_back(r);  // wholly after, not touching
    } else {
      joined.lo = std::min(joined.lo, r.lo);
      joined.hi = std::max(joined.hi, r.hi);
    }
  }
  if (!placed) out.push_back(joined);
  ranges_ = std::move(out);
}

}  // namespace ejscope
