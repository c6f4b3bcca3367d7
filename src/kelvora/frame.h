#pragma once
// The Kelvora request frame (laid out like the Datecs request frame, with a
// longer data limit) and the shape test of the bytes received for a command.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ejscope::kelvora {

// Longest data text a request carries: LEN = 20h + n + 4 reaches FFh.
constexpr std::size_t max_request_data = 219;

// The whole frame (data length + 10 bytes) for the counter value already
// increased for this command: 01h, LEN, SEQ, CMD, DATA, 05h, four checksum
// characters, 03h. Data beyond max_request_data bytes is cut.
std::string build_request_frame(std::uint8_t counter, std::uint8_t command, std::string_view data);

// The received text has the shape of a reply frame: at least 9 bytes,
// 01h first, LEN >= 30h, SEQ in 20h..7Fh, CMD >= 20h, ";" at byte 8,
// 05h at byte L - 6 and 03h last.
bool has_reply_shape(std::string_view received);

}  // namespace ejscope::kelvora
