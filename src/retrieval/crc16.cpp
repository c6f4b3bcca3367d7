#include "retrieval/crc16.h"

#include <array>

namespace ejscope {

namespace {

// One table entry per byte value: the eight shift steps done at once.
constexpr std::array<std::uint16_t, 256> make_table() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    std::uint16_t crc = static_cast<std::uint16_t>(b);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1u) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001u)
                       : static_cast<std::uint16_t>(crc >> 1);
    }
    table[b] = crc;
  }
  return table;
}

constexpr auto crc_table = make_table();

}  // namespace

std::uint16_t crc16_modbus(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::uint16_t crc = 0xFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    crc = static_cast<std::uint16_t>((crc >> 8) ^ crc_table[(crc ^ bytes[i]) & 0xFFu]);
  }
  return crc;
}

}  // namespace ejscope
