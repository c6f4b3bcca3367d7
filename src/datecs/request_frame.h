#pragma once
// The Datecs request frame: 01h, LEN, SEQ, CMD, DATA, 05h, four checksum
// characters, 03h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/frame_bytes.h"

namespace ejscope::datecs {

// Longest data text a request carries.
constexpr std::size_t max_request_data = 199;

// The whole frame (data length + 10 bytes) for the counter value already
// increased for this command. Data beyond max_request_data bytes is cut so
// that LEN stays a valid one-byte length.
std::string build_request_frame(std::uint8_t counter, std::uint8_t command, std::string_view data);

}  // namespace ejscope::datecs
