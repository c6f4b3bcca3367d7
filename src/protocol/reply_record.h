#pragma once
// The reply record of both register drivers and the store of the latest
// replies. The record owns copies of its texts (all windows-1251 bytes).
#include <array>
#include <cstdint>
#include <string>

namespace ejscope {

// Result flags of RetData::flags; 0 means success.
namespace result_flag {
constexpr std::uint32_t checksum_mismatch = 1u << 24;
constexpr std::uint32_t refused = 1u << 25;
constexpr std::uint32_t no_reply = 1u << 26;
}  // namespace result_flag

struct RetData {
  static constexpr std::size_t max_fields = 20;

  std::int32_t count = 0;
  std::int32_t command = 0;
  std::int32_t user_value = 0;
  std::uint32_t flags = 0;
  std::string name;
  std::string sent_data;
  std::string reply_copy;
  std::string error_code;
  std::array<std::string, max_fields> fields;
  std::array<std::uint8_t, 6> status{};
  std::string sent_frame;
  std::string received;
};

// Held beside the drivers: a copy of the latest Datecs record, and a reference to the
// Kelvora driver's record of its latest command.
struct last_reply {
  RetData datecs_reply;
  const RetData* kelvora_reply = nullptr;
};

}  // namespace ejscope
