#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "retrieval/crc16.h"
#include "retrieval/packet.h"
#include "text/base64.h"

namespace ejscope {
namespace {

std::string bytes(std::initializer_list<int> list) {
  std::string out;
  for (int b : list) out.push_back(static_cast<char>(b));
  return out;
}

// A reply packet with the given flags, document number and payload; the CRC
// is right unless crc_delta is given.
std::string reply(int flags, std::int32_t document, const std::string& payload, int crc_delta = 0) {
  std::string p = bytes({0x07, 0x07, flags, 0});
  const auto u = static_cast<std::uint32_t>(document);
  for (int s = 0; s < 32; s += 8) p.push_back(static_cast<char>((u >> s) & 0xFF));
  p.push_back(static_cast<char>(payload.size() & 0xFF));
  p.push_back(static_cast<char>(payload.size() >> 8));
  p += payload;
  const auto crc = static_cast<std::uint16_t>(crc16_modbus(payload.data(), payload.size()) + crc_delta);
  p.push_back(static_cast<char>(crc & 0xFF));
  p.push_back(static_cast<char>(crc >> 8));
  return p;
}

TEST(RetrievalCrc16, ModbusValues) {
  struct Case {
    std::string data;
    std::uint16_t crc;
  } cases[] = {
      {"", 0xFFFF},
      {"123456789", 0x4B37},  // the check value of CRC-16/MODBUS
      {bytes({0x01, 0x01, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00}), 0x74C5},
      {bytes({0x02, 0x00}), 0xD000},
  };
  for (const auto& c : cases) EXPECT_EQ(crc16_modbus(c.data.data(), c.data.size()), c.crc) << c.data;
}

TEST(RetrievalPacket, RangeRequestBytes) {
  struct Case {
    int kind;
    std::int32_t first, last;
    std::string expected;
  } cases[] = {
      {1, 1, 10, bytes({0x07, 0x07, 0x10, 0x09, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0xC5, 0x74})},
  };
  for (const auto& c : cases) EXPECT_EQ(range_request(c.kind, c.first, c.last), c.expected);

  // Other kinds and numbers: the layout holds, the CRC covers the 9 body bytes.
  struct Layout {
    int kind;
    std::int32_t first, last;
  } layouts[] = {{0, 5, 8}, {1, 70000, 70100}, {1, -1, 2147483647}};
  for (const auto& l : layouts) {
    const std::string r = range_request(l.kind, l.first, l.last);
    ASSERT_EQ(r.size(), 16u);
    EXPECT_EQ(r.substr(0, 5), bytes({0x07, 0x07, 0x10, 0x09, 0x00}));
    EXPECT_EQ(static_cast<unsigned char>(r[5]), l.kind);
    std::uint32_t first = 0, last = 0;
    for (int i = 3; i >= 0; --i) {
      first = (first << 8) | static_cast<unsigned char>(r[6 + i]);
      last = (last << 8) | static_cast<unsigned char>(r[10 + i]);
    }
    EXPECT_EQ(static_cast<std::int32_t>(first), l.first);
    EXPECT_EQ(static_cast<std::int32_t>(last), l.last);
    const std::uint16_t crc = crc16_modbus(r.data() + 5, 9);
    EXPECT_EQ(static_cast<unsigned char>(r[14]), crc & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(r[15]), crc >> 8);
  }
}

TEST(RetrievalPacket, ContinueRequestBytes) {
  EXPECT_EQ(continue_request(), bytes({0x07, 0x07, 0x21, 0x02, 0x00, 0x02, 0x00, 0x00, 0xD0}));
}

TEST(RetrievalPacket, ParsesReplies) {
  const std::string payload = text::base64_encode("<DAT/>");
  const std::string good = reply(0x02, 42, payload);
  struct Case {
    const char* name;
    std::string bytes;
    packet_state state;
    std::uint8_t flags;
    std::int32_t document;
  } cases[] = {
      {"empty", "", packet_state::empty, 0, 0},
      {"foreign one byte", bytes({0x15}), packet_state::foreign, 0, 0},
      {"foreign mark", bytes({0x07, 0x08, 0x02, 0, 1, 0, 0, 0, 0, 0, 0xFF, 0xFF}), packet_state::foreign, 0, 0},
      {"header cut", good.substr(0, 9), packet_state::cut, 0, 0},
      {"payload cut", good.substr(0, good.size() - 1), packet_state::cut, 0x02, 42},
      {"good", good, packet_state::good, 0x02, 42},
      {"good, bytes after its end ignored", good + "XYZ", packet_state::good, 0x02, 42},
      {"bad crc", reply(0x00, 7, payload, 1), packet_state::bad_crc, 0x00, 7},
      {"negative document", reply(0x01, -3, ""), packet_state::good, 0x01, -3},
      {"largest payload", reply(0x00, 1, std::string(max_reply_payload, 'A')), packet_state::good, 0, 1},
      {"one byte too long", reply(0x00, 1, std::string(max_reply_payload + 1, 'A')), packet_state::oversized, 0, 1},
      {"length past the end", bytes({0x07, 0x07, 0x00, 0, 9, 0, 0, 0, 0xFF, 0xFF, 'Q', 'Q'}),
       packet_state::oversized, 0, 9},
  };
  for (const auto& c : cases) {
    const reply_packet p = parse_reply_packet(c.bytes);
    EXPECT_EQ(p.state, c.state) << c.name;
    EXPECT_EQ(p.flags, c.flags) << c.name;
    EXPECT_EQ(p.document, c.document) << c.name;
    if (p.state == packet_state::good) {
      EXPECT_EQ(p.payload.size(), static_cast<std::size_t>(
                                      static_cast<unsigned char>(c.bytes[8]) |
                                      (static_cast<unsigned char>(c.bytes[9]) << 8)))
          << c.name;
    } else {
      EXPECT_TRUE(p.payload.empty()) << c.name;
    }
  }
}

TEST(RetrievalPacket, DecodesEveryTextOfAPayload) {
  using text::base64_encode;
  struct Case {
    std::string payload;
    std::string decoded;
  } cases[] = {
      {"", ""},
      {base64_encode("<DAT>"), "<DAT>"},
      {base64_encode("<DAT>") + '\0', "<DAT>"},
      {base64_encode("<DAT>") + '\0' + base64_encode("</DAT>"), "<DAT></DAT>"},
      {base64_encode("ab") + '\0' + base64_encode("cd") + '\0', "abcd"},
      {std::string(1, '\0') + base64_encode("x"), "x"},
      {base64_encode("ab") + "\r\n" + base64_encode("cd"), "ab"},  // a line break stops that text
  };
  for (const auto& c : cases) {
    std::string out = "keep:";
    decode_payload(c.payload, out);
    EXPECT_EQ(out, "keep:" + c.decoded);
  }
}

TEST(RetrievalPacket, AnnouncedSize) {
  EXPECT_EQ(announced_packet_size(bytes({0x07, 0x07, 0, 0, 0, 0, 0, 0, 0})), 0u);
  EXPECT_EQ(announced_packet_size(bytes({0x07, 0x07, 0, 0, 0, 0, 0, 0, 0x05, 0x00})), 17u);
  EXPECT_EQ(announced_packet_size(bytes({0x07, 0x07, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF})), 65547u);
}

}  // namespace
}  // namespace ejscope
