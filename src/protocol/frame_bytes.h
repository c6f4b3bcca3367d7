#pragma once
// The frame bytes both register protocols share: the control bytes of a
// reply frame, the SEQ byte of a counter value and the four checksum
// characters of a frame's sum.
#include <cstdint>
#include <string>

namespace ejscope {

namespace reply_byte {
constexpr std::uint8_t preamble = 0x01;
constexpr std::uint8_t terminator = 0x03;
constexpr std::uint8_t separator = 0x04;
constexpr std::uint8_t postamble = 0x05;
constexpr std::uint8_t nak = 0x15;
constexpr std::uint8_t syn = 0x16;
}  // namespace reply_byte

// SEQ byte for a sequence counter value: 20h + (counter mod 95), 20h..7Eh.
std::uint8_t sequence_byte(std::uint8_t counter);

// The four checksum characters of a sum: its low 16 bits, most significant
// nibble first, each written as 30h + nibble.
std::string checksum_characters(std::uint32_t sum);

}  // namespace ejscope
