#include <algorithm>
#include <utility>
#include <vector>

#include "model/control.h"

namespace ejscope {

void sort_documents(rq& store) {
  // Only the documents held, slots 0 ... doc_index - 1: a trailing document
  // without its `MAC` stays where it is and is neither sorted in nor lost.
  std::vector<std::pair<std::int32_t, dat>> held;
  auto first = store.dats.lower_bound(0);
  auto last = store.dats.lower_bound(store.doc_index);
  for (auto it = first; it != last; ++it) held.emplace_back(it->first, std::move(it->second));
  std::vector<std::int32_t> slots;
  slots.reserve(held.size());
  for (const auto& entry : held) slots.push_back(entry.first);
  std::stable_sort(held.begin(), held.end(),
                   [](const auto& a, const auto& b) { return a.second.DI < b.second.DI; });
  for (std::size_t k = 0; k < held.size(); ++k) store.dats[slots[k]] = std::move(held[k].second);
}

}  // namespace ejscope
