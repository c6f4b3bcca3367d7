#include "kelvora/frame.h"

#include "protocol/frame_bytes.h"

namespace ejscope::kelvora {

std::string build_request_frame(std::uint8_t counter, std::uint8_t command, std::string_view data) {
  data = data.substr(0, max_request_data);
  std::string frame;
  frame.reserve(data.size() + 10);
  frame += '\x01';
  frame += static_cast<char>(0x20 + data.size() + 4);
  frame += static_cast<char>(sequence_byte(counter));
  frame += static_cast<char>(command);
  frame += data;
  frame += '\x05';
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<std::uint8_t>(frame[i]);
  frame += checksum_characters(sum);
  frame += '\x03';
  return frame;
}

bool has_reply_shape(std::string_view received) {
  const std::size_t length = received.size();
  if (length < 9) return false;
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(received[i]); };
  return at(0) == 0x01 && at(1) >= 0x30 && at(2) >= 0x20 && at(2) <= 0x7F && at(3) >= 0x20 &&
         at(8) == ';' && at(length - 1) == 0x03 && at(length - 6) == 0x05;
}

}  // namespace ejscope::kelvora
