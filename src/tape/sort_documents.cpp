#include <algorithm>
#include <vector>

#include "tape/tape_walker.h"

namespace ejscope {

void sort_documents(rq& store) {
  // Only the documents held, slots 0 ... doc_index - 1: a trailing document
  // without its `MAC` stays where it is and is neither sorted in nor lost.
  // The documents move between slots as whole map nodes, without copying.
  using node = decltype(store.dats)::node_type;
  std::vector<node> held;
  std::vector<std::int32_t> slots;
  auto last = store.dats.lower_bound(store.doc_index);
  for (auto it = store.dats.lower_bound(0); it != last;) {
    slots.push_back(it->first);
    held.push_back(store.dats.extract(it++));
  }
  std::stable_sort(held.begin(), held.end(),
                   [](const node& a, const node& b) { return a.mapped().DI < b.mapped().DI; });
  for (std::size_t k = 0; k < held.size(); ++k) {
    held[k].key() = slots[k];
    store.dats.insert(last, std::move(held[k]));
  }
}

}  // namespace ejscope
