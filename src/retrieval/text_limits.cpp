#include "retrieval/text_limits.h"

namespace ejscope {

std::size_t joined_size(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  return size;
}

}  // namespace ejscope
