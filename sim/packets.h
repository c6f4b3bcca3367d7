#pragma once
// The packet exchange as the register side sees it (little-endian integers):
//   request: 07 07 | command | body length (u16) | body | CRC-16 of the body
//     0x10 range:    body = kind (1), first (i32), last (i32)
//     0x21 continue: body = 02 00
//   reply:   07 07 | flags | 00 | document (i32) | L (u16) | payload (L) | CRC-16 of the payload
// The payload holds base64 texts of document bytes, each ended by a zero byte.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/journal.h"

namespace ejscope::sim {

constexpr std::uint8_t packet_range = 0x10;
constexpr std::uint8_t packet_continue = 0x21;
constexpr std::uint8_t flag_continues = 0x02;
constexpr std::uint8_t flag_range_end = 0x01;   // the last packet of a range
constexpr std::uint8_t flag_range_empty = 0x04;  // the range holds no document
constexpr std::uint8_t flag_refused = 0x08;     // a request the register could not use
constexpr std::size_t max_reply_packet = 1460;
constexpr std::size_t max_payload = max_reply_packet - 12;
// Document bytes that fit one payload as base64 texts of 360 bytes each.
constexpr std::size_t max_packet_bytes = 1080;

struct packet_request {
  std::uint8_t command = 0;
  int kind = 0;
  std::int32_t first = 0;
  std::int32_t last = 0;
};

// Bytes the request packet at the start of `bytes` (which begins with 07h)
// occupies: 0 while its header is incomplete, npos when it cannot be one.
std::size_t request_packet_size(std::string_view bytes);

// Checks a whole request packet; returns why it is refused, or nothing.
std::optional<std::string> check_request_packet(std::string_view bytes, packet_request& request);

// A reply packet; with bad_crc its check is wrong.
std::string build_reply_packet(std::uint8_t flags, std::int32_t document, std::string_view payload, bool bad_crc = false);

// The packet with its payload padded by base64 texts to `total` bytes in
// all; its length and CRC stay right.
std::string oversize_packet(std::string_view packet, std::size_t total);
// The packet with a payload length `extra` bytes larger than what it holds.
std::string lengthen_claim(std::string_view packet, std::size_t extra);

// Document bytes as a payload: base64 texts of at most 360 bytes each, each
// followed by a zero byte.
std::string encode_payload(std::string_view bytes);

// The documents of one range request, handed out packet by packet.
class packet_stream {
 public:
  packet_stream() = default;
  packet_stream(std::vector<const journal_document*> documents, int kind, std::size_t packet_bytes, std::int32_t first);

  bool active() const { return active_; }
  enum class spoil { none, bad_crc, stop_inside, endless };
  // The next reply packet. stop_inside cuts the current document: its part
  // goes out flagged as continuing, and the packet after it ends the range
  // empty-handed. endless flags this packet and every later one of the
  // range as continuing, each carrying the same part again.
  std::string next(spoil how);
  // Whether the next packet carries document bytes (a cut can happen).
  bool has_document_bytes() const { return active_ && !stopping_ && index_ < documents_.size(); }

 private:
  std::int32_t number_of(std::size_t index) const;

  std::vector<const journal_document*> documents_;
  int kind_ = kind_document;
  std::size_t packet_bytes_ = max_packet_bytes;
  std::int32_t first_ = 0;
  std::size_t index_ = 0;
  std::size_t offset_ = 0;
  bool active_ = false;
  bool stopping_ = false;
  bool endless_ = false;
};

}  // namespace ejscope::sim
