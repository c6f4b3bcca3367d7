#include <gtest/gtest.h>

#include <string>

#include "datecs/request_frame.h"

namespace ejscope::datecs {
namespace {

std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

TEST(DatecsRequestFrame, ChecksumCharactersMostSignificantNibbleFirst) {
  EXPECT_EQ(checksum_characters(0x1A2B), bytes({0x31, 0x3A, 0x32, 0x3B}));
  EXPECT_EQ(checksum_characters(0), "0000");
  EXPECT_EQ(checksum_characters(0xFFFF), "????");
  // Only the low 16 bits of the sum are written.
  EXPECT_EQ(checksum_characters(0x31A2B), checksum_characters(0x1A2B));
}

TEST(DatecsRequestFrame, SequenceByteFollowsTheCounter) {
  struct Case {
    int command_number;  // 1 = first command of the run
    int seq;
  };
  const Case cases[] = {{1, 0x21}, {94, 0x7E}, {95, 0x20}, {96, 0x21},
                        {255, 0x61}, {256, 0x20}, {257, 0x21}};
  for (const auto& c : cases) {
    // The counter starts at 0 and is increased (8-bit) before every command.
    auto counter = static_cast<std::uint8_t>(c.command_number);
    std::string frame = build_request_frame(counter, 0x4A, "");
    EXPECT_EQ(static_cast<std::uint8_t>(frame[2]), c.seq) << "command " << c.command_number;
  }
}

TEST(DatecsRequestFrame, FramesByteForByte) {
  struct Case {
    std::uint8_t counter;
    std::uint8_t command;
    std::string data;
    std::string frame;
  };
  // 25h+21h+5Ah+30h+05h = D5h; 24h+21h+4Ah+05h = 94h;
  // 27h+22h+A7h+"1,5"(31h 2Ch 35h)+05h = 187h
  const Case cases[] = {
      {1, 0x5A, "0", bytes({0x01, 0x25, 0x21, 0x5A, 0x30, 0x05, 0x30, 0x30, 0x3D, 0x35, 0x03})},
      {1, 0x4A, "", bytes({0x01, 0x24, 0x21, 0x4A, 0x05, 0x30, 0x30, 0x39, 0x34, 0x03})},
      {2, 0xA7, "1,5",
       bytes({0x01, 0x27, 0x22, 0xA7, 0x31, 0x2C, 0x35, 0x05, 0x30, 0x31, 0x38, 0x37, 0x03})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(build_request_frame(c.counter, c.command, c.data), c.frame) << c.data;
  }
}

TEST(DatecsRequestFrame, EmptyDataGivesTenBytes) {
  std::string frame = build_request_frame(7, 0x21, "");
  ASSERT_EQ(frame.size(), 10u);
  EXPECT_EQ(frame[0], '\x01');
  EXPECT_EQ(frame[1], '\x24');
  EXPECT_EQ(frame[3], '\x21');
  EXPECT_EQ(frame[4], '\x05');
  EXPECT_EQ(frame[9], '\x03');
}

TEST(DatecsRequestFrame, LengthAndChecksumForLongestData) {
  std::string data(max_request_data, '\xFF');
  std::string frame = build_request_frame(1, 0xEE, data);
  ASSERT_EQ(frame.size(), max_request_data + 10);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[1]), 0x20 + max_request_data + 4);
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < 5 + max_request_data; ++i) sum += static_cast<std::uint8_t>(frame[i]);
  EXPECT_EQ(frame.substr(5 + max_request_data, 4), checksum_characters(sum));
  for (std::size_t i = 5 + max_request_data; i < 9 + max_request_data; ++i) {
    EXPECT_GE(static_cast<std::uint8_t>(frame[i]), 0x30);
    EXPECT_LE(static_cast<std::uint8_t>(frame[i]), 0x3F);
  }
}

TEST(DatecsRequestFrame, OverlongDataIsCutSoLenStaysOneByte) {
  std::string data(300, 'A');
  std::string frame = build_request_frame(1, 0xA7, data);
  EXPECT_EQ(frame.size(), max_request_data + 10);
  EXPECT_EQ(frame, build_request_frame(1, 0xA7, data.substr(0, max_request_data)));
}

}  // namespace
}  // namespace ejscope::datecs
