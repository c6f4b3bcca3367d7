#include "protocol/frame_bytes.h"

namespace ejscope {

std::uint8_t sequence_byte(std::uint8_t counter) {
  return static_cast<std::uint8_t>(0x20 + counter % 95);
}

std::string checksum_characters(std::uint32_t sum) {
  std::string out(4, '0');
  for (int i = 0; i < 4; ++i) {
    unsigned nibble = (sum >> (12 - 4 * i)) & 0x0Fu;
    out[static_cast<std::size_t>(i)] = static_cast<char>(0x30 + nibble);
  }
  return out;
}

}  // namespace ejscope
