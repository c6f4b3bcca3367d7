#pragma once
// The frames of both register protocols as the register side sees them:
// request frames to check and reply frames to build.
//   request: 01 | LEN = 20h + n + 4 | SEQ | CMD | n data bytes | 05 | BCC (4) | 03
//   Datecs reply:  01 | LEN = 2Bh + n | SEQ | CMD | data | 04 | S0..S5 | 05 | BCC | 03
//   Kelvora reply: 01 | LEN = 30h + n | SEQ | CMD | error (4) ";" | data | 04 | S0..S5 | 05 | BCC | 03
// BCC: the low 16 bits of the sum of the bytes from LEN through 05, as four
// characters 30h + nibble, most significant first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/frame_bytes.h"
#include "sim/simulator.h"

namespace ejscope::sim {

// Longest data text of a request frame in each protocol.
std::size_t max_request_data(register_protocol protocol);
// Longest data text a reply frame can carry (its LEN is one byte).
std::size_t max_reply_data(register_protocol protocol);

using status_bytes = std::array<std::uint8_t, 6>;
// Status of a register without any error: only the always-set top bits.
constexpr status_bytes clean_status = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

struct request_frame {
  std::uint8_t seq = 0;
  std::uint8_t command = 0;
  std::string data;
};

// The four checksum characters of a sum.
std::string checksum_characters(std::uint32_t sum);

// Bytes the request frame at the start of `bytes` (which begins with 01h)
// occupies: 0 while its LEN byte has not arrived, npos when LEN is impossible.
std::size_t request_frame_size(std::string_view bytes, register_protocol protocol);

// Checks a whole request frame; returns why it is refused, or nothing and
// fills `frame`.
std::optional<std::string> check_request_frame(std::string_view bytes, request_frame& frame);

// A reply before it goes on the wire; the faults of the frame kinds change
// its fields or its bytes.
struct reply {
  std::uint8_t seq = 0x20;
  std::uint8_t command = 0;
  std::string error_code = "0000";  // Kelvora only
  std::string data;
  status_bytes status = clean_status;
};

struct built_frame {
  std::string bytes;
  std::size_t data_begin = 0;  // offset of the data text in bytes
};

built_frame build_reply_frame(register_protocol protocol, const reply& r);

}  // namespace ejscope::sim
