#pragma once
// A bare TCP client for the simulator's own tests: it speaks to the
// simulator byte by byte, with frames and packets built here from the wire
// formats, independently of the program's drivers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ejscope::testing {

class raw_client {
 public:
  explicit raw_client(std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      throw std::runtime_error("cannot connect to the simulator");
    }
  }
  ~raw_client() { ::close(fd_); }
  raw_client(const raw_client&) = delete;
  raw_client& operator=(const raw_client&) = delete;

  void send(std::string_view bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

  // One read of what is there within timeout_ms; empty on time-out or end.
  std::string read_once(int timeout_ms) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeout_ms) <= 0) return {};
    char block[4096];
    const ssize_t got = ::recv(fd_, block, sizeof block, 0);
    if (got <= 0) {
      closed_ = true;
      return {};
    }
    return std::string(block, static_cast<std::size_t>(got));
  }

  // Reads until `done` holds for the bytes so far, the peer closes, or
  // timeout_ms pass; `reads` counts the reads that delivered bytes.
  template <typename Done>
  std::string read_until(Done done, int timeout_ms = 3000) {
    std::string bytes;
    reads = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done(bytes) && !closed_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      const std::string got = read_once(static_cast<int>(left.count()));
      if (!got.empty()) ++reads;
      bytes += got;
    }
    return bytes;
  }

  // Reads until timeout_ms pass without a byte.
  std::string read_quiet(int timeout_ms = 300) {
    std::string bytes;
    for (std::string got = read_once(timeout_ms); !got.empty(); got = read_once(timeout_ms)) bytes += got;
    return bytes;
  }

  bool closed() const { return closed_; }
  int reads = 0;

 private:
  int fd_ = -1;
  bool closed_ = false;
};

inline std::string checksum_text(std::string_view summed) {
  unsigned sum = 0;
  for (const char c : summed) sum += static_cast<unsigned char>(c);
  std::string text;
  for (int shift = 12; shift >= 0; shift -= 4) text.push_back(static_cast<char>(0x30 + ((sum >> shift) & 0xF)));
  return text;
}

// A request frame of either protocol.
inline std::string request(std::uint8_t seq, std::uint8_t command, std::string_view data) {
  std::string body;
  body.push_back(static_cast<char>(0x24 + data.size()));
  body.push_back(static_cast<char>(seq));
  body.push_back(static_cast<char>(command));
  body += data;
  body.push_back('\x05');
  return "\x01" + body + checksum_text(body) + "\x03";
}

// A reply frame taken apart; `sound` when its LEN, separators and checksum hold.
struct parsed_reply {
  bool sound = false;
  std::uint8_t seq = 0;
  std::uint8_t command = 0;
  std::string error_code;  // Kelvora
  std::string data;
  std::string status;
};

inline parsed_reply parse_reply(std::string_view frame, bool kelvora) {
  parsed_reply r;
  const std::size_t head = kelvora ? 9 : 4;  // 01 LEN SEQ CMD [error ;]
  if (frame.size() < head + 13 || frame[0] != '\x01') return r;
  const std::size_t n = static_cast<unsigned char>(frame[1]) - (kelvora ? 0x30u : 0x2Bu);
  if (frame.size() != head + n + 13) return r;
  r.seq = static_cast<std::uint8_t>(frame[2]);
  r.command = static_cast<std::uint8_t>(frame[3]);
  if (kelvora) r.error_code = std::string(frame.substr(4, 4));
  r.data = std::string(frame.substr(head, n));
  r.status = std::string(frame.substr(head + n + 1, 6));
  r.sound = (!kelvora || frame[8] == ';') && frame[head + n] == '\x04' && frame[head + n + 7] == '\x05' &&
            frame.back() == '\x03' && frame.substr(head + n + 8, 4) == checksum_text(frame.substr(1, head + n + 7));
  return r;
}

inline std::uint16_t crc16(std::string_view bytes) {
  std::uint16_t crc = 0xFFFF;
  for (const char c : bytes) {
    crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(c));
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

inline void put_le(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::uint32_t get_le(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

inline std::string range_packet(int kind, std::int32_t first, std::int32_t last) {
  std::string body(1, static_cast<char>(kind));
  put_le(body, static_cast<std::uint32_t>(first), 4);
  put_le(body, static_cast<std::uint32_t>(last), 4);
  std::string packet = "\x07\x07\x10";
  put_le(packet, 9, 2);
  packet += body;
  put_le(packet, crc16(body), 2);
  return packet;
}

inline const std::string continue_packet = std::string("\x07\x07\x21\x02\x00\x02\x00\x00\xD0", 9);

// Whether the bytes hold a whole reply packet (10 + L + 2 bytes).
inline bool packet_whole(const std::string& bytes) {
  return bytes.size() >= 10 && bytes.size() >= 12 + get_le(bytes, 8, 2);
}

}  // namespace ejscope::testing
