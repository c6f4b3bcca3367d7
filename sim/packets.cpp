#include "sim/packets.h"

#include <algorithm>

#include "retrieval/crc16.h"
#include "text/base64.h"

namespace ejscope::sim {

namespace {

constexpr std::size_t request_header = 5;  // mark, command, body length
constexpr std::size_t max_request_body = 64;
constexpr std::size_t payload_text_bytes = 360;

std::uint32_t little_endian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
  }
  return value;
}

void put_little_endian(std::string& out, std::uint32_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::size_t request_packet_size(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<std::uint8_t>(bytes[1]) != 0x07) return std::string_view::npos;
  if (bytes.size() < request_header) return 0;
  const std::size_t body = little_endian(bytes, 3, 2);
  if (body > max_request_body) return std::string_view::npos;
  return request_header + body + 2;
}

std::optional<std::string> check_request_packet(std::string_view bytes, packet_request& request) {
  if (bytes.size() < request_header + 2) return "packet shorter than 7 bytes";
  if (bytes[0] != 0x07 || bytes[1] != 0x07) return "no packet mark 0707h";
  const std::size_t body = little_endian(bytes, 3, 2);
  if (bytes.size() != request_header + body + 2) return "body length does not match the packet";
  const std::string_view body_bytes = bytes.substr(request_header, body);
  if (little_endian(bytes, request_header + body, 2) != crc16_modbus(body_bytes.data(), body_bytes.size())) {
    return "wrong CRC";
  }
  request.command = static_cast<std::uint8_t>(bytes[2]);
  if (request.command == packet_range) {
    if (body != 9) return "range request body is not 9 bytes";
    request.kind = static_cast<std::uint8_t>(body_bytes[0]);
    if (request.kind != kind_z_report && request.kind != kind_document) return "document kind is not 0 or 1";
    request.first = static_cast<std::int32_t>(little_endian(body_bytes, 1, 4));
    request.last = static_cast<std::int32_t>(little_endian(body_bytes, 5, 4));
    return std::nullopt;
  }
  if (request.command == packet_continue) {
    if (body != 2 || little_endian(body_bytes, 0, 2) != 2) return "continue request body is not the value 2";
    return std::nullopt;
  }
  return "unknown packet command";
}

std::string build_reply_packet(std::uint8_t flags, std::int32_t document, std::string_view payload, bool bad_crc) {
  payload = payload.substr(0, max_payload);
  std::string out = {0x07, 0x07, static_cast<char>(flags), 0x00};
  put_little_endian(out, static_cast<std::uint32_t>(document), 4);
  put_little_endian(out, static_cast<std::uint32_t>(payload.size()), 2);
  out += payload;
  std::uint16_t crc = crc16_modbus(payload.data(), payload.size());
  if (bad_crc) crc = static_cast<std::uint16_t>(crc ^ 0x5A5A);
  put_little_endian(out, crc, 2);
  return out;
}

std::string oversize_packet(std::string_view packet, std::size_t total) {
  const std::size_t size = little_endian(packet, 8, 2);
  std::string payload(packet.substr(10, size));
  const std::size_t room = total > 12 ? total - 12 : 0;
  while (payload.size() + 5 <= room) payload += std::string("QUFB") + '\0';
  payload.resize(std::max(payload.size(), room), 'A');
  std::string out(packet.substr(0, 8));
  put_little_endian(out, static_cast<std::uint32_t>(payload.size()), 2);
  out += payload;
  put_little_endian(out, crc16_modbus(payload.data(), payload.size()), 2);
  return out;
}

std::string lengthen_claim(std::string_view packet, std::size_t extra) {
  std::string out(packet);
  const std::size_t claimed = std::min<std::size_t>(little_endian(packet, 8, 2) + extra, 0xFFFF);
  out[8] = static_cast<char>(claimed & 0xFF);
  out[9] = static_cast<char>(claimed >> 8);
  return out;
}

std::string encode_payload(std::string_view bytes) {
  std::string payload;
  for (std::size_t at = 0; at < bytes.size(); at += payload_text_bytes) {
    payload += text::base64_encode(bytes.substr(at, payload_text_bytes));
    payload.push_back('\0');
  }
  return payload;
}

packet_stream::packet_stream(std::vector<const journal_document*> documents, int kind, std::size_t packet_bytes,
                             std::int32_t first)
    : documents_(std::move(documents)),
      kind_(kind),
      packet_bytes_(std::clamp<std::size_t>(packet_bytes, 1, max_packet_bytes)),
      first_(first),
      active_(true) {}

// The number the header carries: the one the range asked by (a document of
// the range always has a number of its kind).
std::int32_t packet_stream::number_of(std::size_t index) const {
  return documents_[index]->number_of(kind_).value_or(0);
}

std::string packet_stream::next(spoil how) {
  const bool bad_crc = how == spoil::bad_crc;
  if (!active_) return build_reply_packet(flag_refused, 0, {}, bad_crc);
  if (stopping_ || documents_.empty()) {
    active_ = false;
    const std::uint8_t flags = stopping_ ? flag_range_end : flag_range_empty;
    const std::int32_t number = documents_.empty() ? first_ : number_of(index_);
    return build_reply_packet(flags, number, {}, bad_crc);
  }
  const journal_document& doc = *documents_[index_];
  const std::int32_t number = number_of(index_);
  std::size_t size = std::min(packet_bytes_, doc.text.size() - offset_);
  if (how == spoil::endless) endless_ = true;
  // A document's last part is halved so that something of it is still missing.
  if (how == spoil::stop_inside && offset_ + size >= doc.text.size()) size = std::max<std::size_t>(size / 2, 1);
  const std::string payload = encode_payload(std::string_view(doc.text).substr(offset_, size));
  std::uint8_t flags = 0;
  if (endless_) {
    flags = flag_continues;  // the same part again, for ever
  } else if (how == spoil::stop_inside || offset_ + size < doc.text.size()) {
    flags = flag_continues;
    offset_ += size;
    stopping_ = how == spoil::stop_inside;
  } else if (index_ + 1 == documents_.size()) {
    flags = flag_range_end;
    active_ = false;
  } else {
    ++index_;
    offset_ = 0;
  }
  return build_reply_packet(flags, number, payload, bad_crc);
}

}  // namespace ejscope::sim
