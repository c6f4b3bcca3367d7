#include "datecs/request_frame.h"

namespace ejscope::datecs {

std::string build_request_frame(std::uint8_t counter, std::uint8_t command, std::string_view data) {
  if (data.size() > max_request_data) data = data.substr(0, max_request_data);
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

}  // namespace ejscope::datecs
