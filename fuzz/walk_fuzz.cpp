// The tape walk and the document sort on arbitrary bytes: the only failure
// they may report is walk_error, the sort keeps the held documents' count,
// and a walk never holds more documents than there are "MAC" names in the
// text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tape/tape_walker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ejscope::control walk;
  ejscope::rq store;
  try {
    ejscope::walk_tape(walk, store, text);
  } catch (const ejscope::walk_error& e) {
    if (e.slot() != store.doc_index) std::abort();
  }
  std::size_t macs = 0;
  for (std::size_t at = text.find("MAC"); at != std::string_view::npos; at = text.find("MAC", at + 1)) ++macs;
  if (store.doc_index < 0 || static_cast<std::size_t>(store.doc_index) > macs) std::abort();

  std::size_t before = store.dats.size();
  ejscope::sort_documents(store);
  if (store.dats.size() != before) std::abort();
  auto first = store.dats.lower_bound(0);
  auto last = store.dats.lower_bound(store.doc_index);
  if (!std::is_sorted(first, last, [](const auto& a, const auto& b) { return a.second.DI < b.second.DI; }))
    std::abort();
  return 0;
}
