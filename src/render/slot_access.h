#pragma once
// Read-only access to the maps of the document model: a missing key reads
// as a default element, as the creating access would give, without adding
// anything to the store being rendered.
#include "tape/documents.h"

namespace ejscope {

template <class T>
const T& element_at(const slot_map<T>& map, int key) {
  static const T empty{};
  auto it = map.find(key);
  return it == map.end() ? empty : it->second;
}

}  // namespace ejscope
