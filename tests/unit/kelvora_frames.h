#pragma once
// Reply frames of the Kelvora protocol for driver tests, built here with
// their own checksum arithmetic so that the tests do not lean on the code
// they check.
#include <array>
#include <cstdint>
#include <string>

namespace ejscope::testing {

struct kelvora_reply {
  std::uint8_t seq = 0x21;
  std::uint8_t cmd = 0x80;
  std::string error = "0000";
  std::string data;
  std::array<std::uint8_t, 6> status{0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  int len_adjust = 0;           // added to the correct LEN byte
  bool wrong_checksum = false;  // last checksum character off by one
  char terminator = '\x03';

  std::string bytes() const {
    std::string body;
    body += static_cast<char>(0x30 + static_cast<int>(data.size()) + len_adjust);
    body += static_cast<char>(seq);
    body += static_cast<char>(cmd);
    body += error + ";" + data + '\x04';
    for (auto s : status) body += static_cast<char>(s);
    body += '\x05';
    unsigned sum = 0;
    for (unsigned char c : body) sum += c;
    std::string bcc;
    for (int shift = 12; shift >= 0; shift -= 4) bcc += static_cast<char>(0x30 + ((sum >> shift) & 0xF));
    if (wrong_checksum) bcc.back() = static_cast<char>(bcc.back() ^ 1);
    return std::string("\x01") + body + bcc + terminator;
  }
};

}  // namespace ejscope::testing
