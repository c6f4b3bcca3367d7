#include "sim/frames.h"

#include <algorithm>

namespace ejscope::sim {

namespace {

constexpr std::size_t request_overhead = 10;  // 01 LEN SEQ CMD … 05 BCC×4 03

std::uint32_t byte_sum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (const char c : bytes) sum += static_cast<std::uint8_t>(c);
  return sum;
}

}  // namespace

std::size_t max_request_data(register_protocol protocol) {
  return protocol == register_protocol::datecs ? 199 : 219;
}

std::size_t max_reply_data(register_protocol protocol) {
  return 0xFF - (protocol == register_protocol::datecs ? 0x2B : 0x30);
}

std::string checksum_characters(std::uint32_t sum) {
  std::string text(4, '0');
  for (int i = 0; i < 4; ++i) {
    text[static_cast<std::size_t>(i)] = static_cast<char>(0x30 + ((sum >> (12 - 4 * i)) & 0x0F));
  }
  return text;
}

std::size_t request_frame_size(std::string_view bytes, register_protocol protocol) {
  if (bytes.size() < 2) return 0;
  const std::size_t len = static_cast<std::uint8_t>(bytes[1]);
  if (len < 0x24 || len - 0x24 > max_request_data(protocol)) return std::string_view::npos;
  return len - 0x24 + request_overhead;
}

std::optional<std::string> check_request_frame(std::string_view bytes, request_frame& frame) {
  if (bytes.size() < request_overhead) return "frame shorter than 10 bytes";
  const std::size_t n = bytes.size() - request_overhead;
  if (static_cast<std::uint8_t>(bytes[0]) != reply_byte::preamble) return "no preamble 01h";
  if (static_cast<std::uint8_t>(bytes[1]) != 0x24 + n) return "LEN does not match the frame";
  const std::uint8_t seq = static_cast<std::uint8_t>(bytes[2]);
  if (seq < 0x20 || seq > 0x7E) return "SEQ outside 20h..7Eh";
  if (static_cast<std::uint8_t>(bytes[4 + n]) != reply_byte::postamble) return "no post-amble 05h after the data";
  if (static_cast<std::uint8_t>(bytes[9 + n]) != reply_byte::terminator) return "no terminator 03h";
  if (bytes.substr(5 + n, 4) != checksum_characters(byte_sum(bytes.substr(1, n + 4)))) return "wrong checksum";
  frame.seq = seq;
  frame.command = static_cast<std::uint8_t>(bytes[3]);
  frame.data = std::string(bytes.substr(4, n));
  return std::nullopt;
}

built_frame build_reply_frame(register_protocol protocol, const reply& r) {
  built_frame frame;
  std::string& out = frame.bytes;
  const bool kelvora = protocol == register_protocol::kelvora;
  const std::size_t n = std::min(r.data.size(), max_reply_data(protocol));
  out.push_back(static_cast<char>(reply_byte::preamble));
  out.push_back(static_cast<char>((kelvora ? 0x30 : 0x2B) + n));
  out.push_back(static_cast<char>(r.seq));
  out.push_back(static_cast<char>(r.command));
  if (kelvora) {
    std::string code = r.error_code.substr(0, 4);
    code.resize(4, '0');
    out += code;
    out.push_back(';');
  }
  frame.data_begin = out.size();
  out.append(r.data, 0, n);
  out.push_back(static_cast<char>(reply_byte::separator));
  for (const std::uint8_t s : r.status) out.push_back(static_cast<char>(s));
  out.push_back(static_cast<char>(reply_byte::postamble));
  out += checksum_characters(byte_sum(std::string_view(out).substr(1)));
  out.push_back(static_cast<char>(reply_byte::terminator));
  return frame;
}

}  // namespace ejscope::sim
