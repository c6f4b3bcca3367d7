#pragma once
// Small helpers for the tape walk tests: a tape from its documents, walked
// into a fresh store.
#include <string>
#include <string_view>

#include "tape/tape_walker.h"

namespace ejscope::testing {

inline std::string tape(std::string_view documents) {
  return "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">" + std::string(documents) +
         "</RQ>";
}

inline rq walked(std::string_view xml) {
  control walk;
  rq store;
  walk_tape(walk, store, xml);
  return store;
}

// The message of the walk failure of a tape, or "" when it walks.
inline std::string walk_failure(std::string_view xml) {
  try {
    walked(xml);
  } catch (const walk_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace ejscope::testing
