#pragma once
// How much XML text one request may gather. A register that keeps sending
// (a document that never ends, a range of numbers without end) is stopped
// by these bounds, so memory stays bounded whatever it sends.
#include <cstddef>
#include <string>
#include <vector>

#include "tape/tape_walker.h"

namespace ejscope {

struct text_limits {
  // One document's text: a longer one is dropped as incomplete. Real
  // documents take a few KiB; a Z-report with every line filled stays far below.
  std::size_t document_bytes = std::size_t{4} << 20;
  // The whole request's text, lines and their breaks: what the walk accepts.
  std::size_t text_bytes = max_tape_bytes;
};

// The bytes the lines take once joined by line breaks, as the walk joins them.
std::size_t joined_size(const std::vector<std::string>& lines);

}  // namespace ejscope
