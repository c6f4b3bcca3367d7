#include "retrieval/packet.h"

#include "retrieval/crc16.h"
#include "text/base64.h"

namespace ejscope {

namespace {

void put_u16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFFu));
  out.push_back(static_cast<char>(v >> 8));
}

void put_i32(std::string& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFFu));
}

std::uint16_t get_u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) |
                                    (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

std::int32_t get_i32(std::string_view b, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
  return static_cast<std::int32_t>(u);
}

std::string request_packet(std::uint8_t command, const std::string& body) {
  std::string out;
  out.reserve(packet_header_size - 5 + body.size() + packet_crc_size);
  put_u16(out, packet_mark);
  out.push_back(static_cast<char>(command));
  put_u16(out, static_cast<std::uint16_t>(body.size()));
  out += body;
  put_u16(out, crc16_modbus(body.data(), body.size()));
  return out;
}

}  // namespace

std::string range_request(int doc_kind, std::int32_t first, std::int32_t last) {
  std::string body;
  body.push_back(static_cast<char>(doc_kind & 0xFF));
  put_i32(body, first);
  put_i32(body, last);
  return request_packet(0x10, body);
}

const std::string& continue_request() {
  static const std::string bytes = [] {
    std::string body;
    put_u16(body, 2);
    return request_packet(0x21, body);
  }();
  return bytes;
}

std::size_t announced_packet_size(std::string_view bytes) {
  if (bytes.size() < packet_header_size) return 0;
  return packet_header_size + get_u16(bytes, 8) + packet_crc_size;
}

reply_packet parse_reply_packet(std::string_view bytes) {
  reply_packet p;
  if (bytes.empty()) return p;
  if (bytes.size() < 2 || get_u16(bytes, 0) != packet_mark) {
    p.state = packet_state::foreign;
    return p;
  }
  if (bytes.size() < packet_header_size) {
    p.state = packet_state::cut;
    return p;
  }
  p.flags = static_cast<std::uint8_t>(bytes[2]);
  p.document = get_i32(bytes, 4);
  const std::size_t length = get_u16(bytes, 8);
  const std::size_t total = announced_packet_size(bytes);
  if (total > max_reply_packet) {
    p.state = packet_state::oversized;
  } else if (bytes.size() < total) {
    p.state = packet_state::cut;
  } else {
    std::string_view payload = bytes.substr(packet_header_size, length);
    if (crc16_modbus(payload.data(), payload.size()) != get_u16(bytes, packet_header_size + length)) {
      p.state = packet_state::bad_crc;
    } else {
      p.state = packet_state::good;
      p.payload = payload;
    }
  }
  return p;
}

void decode_payload(std::string_view payload, std::string& out) {
  while (!payload.empty()) {
    const std::size_t end = payload.find('\0');
    text::base64_decode_append(payload.substr(0, end), out);
    if (end == std::string_view::npos) break;
    payload.remove_prefix(end + 1);
  }
}

}  // namespace ejscope
