#pragma once
// The packets of the packet exchange, sent directly over the gateway
// connection (all multi-byte integers little-endian):
//   range_request    07 07 10 | 09 00 | kind, first (i32), last (i32) | CRC of the 9 body bytes
//   continue_request 07 07 21 | 02 00 | 02 00 | CRC 00 D0
//   reply packet     07 07 | flags | unused | document (i32) | L (u16) | L payload bytes | CRC of the payload
// The payload holds one or more base64 texts, each ended by a zero byte
// (the last one may end at the end of the payload).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ejscope {

constexpr std::uint16_t packet_mark = 0x0707;
constexpr std::size_t packet_header_size = 10;
constexpr std::size_t packet_crc_size = 2;
// A reply packet of the register holds at most this many bytes.
constexpr std::size_t max_reply_packet = 1460;
constexpr std::size_t max_reply_payload = max_reply_packet - packet_header_size - packet_crc_size;

namespace packet_flag {
constexpr std::uint8_t continues = 0x02;                  // the document goes on in the next packet
constexpr std::uint8_t last_packet = 0x01 | 0x04 | 0x08;  // no further packet will be sent
}  // namespace packet_flag

// The 16 bytes that ask for a range; doc_kind 0 = Z-report numbers, 1 = receipt numbers.
std::string range_request(int doc_kind, std::int32_t first, std::int32_t last);
// The 9 bytes that ask for the next reply packet.
const std::string& continue_request();

enum class packet_state {
  empty,      // nothing was received
  foreign,    // does not start with packet_mark: not used
  cut,        // shorter than its header or than 10 + L + 2 bytes
  oversized,  // announces more than max_reply_packet bytes
  bad_crc,    // the payload's check does not match
  good,
};

struct reply_packet {
  packet_state state = packet_state::empty;
  std::uint8_t flags = 0;
  std::int32_t document = 0;
  std::string_view payload;  // inside the bytes given to parse_reply_packet; set only when good
};

// Total size, 10 + L + 2, that a reply packet announces in its header; 0
// while fewer than the 10 header bytes are known.
std::size_t announced_packet_size(std::string_view bytes);

// Reads the header (flags and document number whenever the header is whole
// and starts with packet_mark), checks the length and the CRC. The check is
// taken at the packet's own end, 10 + L; bytes after it are not used.
reply_packet parse_reply_packet(std::string_view bytes);

// Splits a payload at its zero bytes and appends each text decoded by the
// base64 rule to out, in order.
void decode_payload(std::string_view payload, std::string& out);

}  // namespace ejscope
