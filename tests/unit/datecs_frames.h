#pragma once
// Reply frames as a Datecs register sends them, and a wait window double,
// for the Datecs driver tests.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/platform.h"
#include "protocol/frame_bytes.h"

namespace ejscope::datecs_testing {

using status6 = std::array<std::uint8_t, 6>;
// Status bytes of a register without errors: the top bit is always set.
constexpr status6 clean_status{0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

// LEN, SEQ, CMD, DATA, 04h, STATUS, 05h: the bytes the checksum covers.
inline std::string reply_body(std::string_view data, const status6& status = clean_status,
                              std::uint8_t command = 0x5A, std::uint8_t seq = 0x21) {
  std::string body;
  body += static_cast<char>(0x2B + data.size());
  body += static_cast<char>(seq);
  body += static_cast<char>(command);
  body += data;
  body += '\x04';
  for (auto s : status) body += static_cast<char>(s);
  body += '\x05';
  return body;
}

inline std::uint32_t byte_sum(std::string_view bytes) {
  std::uint32_t sum = 0;
  for (char c : bytes) sum += static_cast<std::uint8_t>(c);
  return sum;
}

// A well-formed reply frame with its checksum; SEQ 21h answers a driver's first command.
inline std::string reply_frame(std::string_view data, const status6& status = clean_status,
                               std::uint8_t command = 0x5A, std::uint8_t seq = 0x21) {
  std::string body = reply_body(data, status, command, seq);
  return "\x01" + body + checksum_characters(byte_sum(body)) + "\x03";
}

// Records what the link layer shows; can press "Прервать" at a given countdown.
class countdown_wait_window : public wait_window {
 public:
  void show() override { ++shows; visible = true; }
  void hide() override { ++hides; visible = false; }
  void set_countdown(const std::string& text) override {
    countdowns.push_back(text);
    if (abort_at_countdown == static_cast<int>(countdowns.size())) request_abort();
  }
  void process_events() override { ++events; }

  int abort_at_countdown = 0;  // 0: never
  std::vector<std::string> countdowns;
  int shows = 0;
  int hides = 0;
  int events = 0;
  bool visible = false;
};

}  // namespace ejscope::datecs_testing
