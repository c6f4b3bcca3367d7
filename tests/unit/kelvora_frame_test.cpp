// The Kelvora request frame byte for byte and the shape test of the bytes
// received for a command.
#include <gtest/gtest.h>

#include <string>

#include "kelvora/frame.h"
#include "kelvora_frames.h"

namespace ejscope::kelvora {
namespace {

using namespace std::string_literals;

TEST(KelvoraFrame, DiagnosticRequestByteForByte) {
  EXPECT_EQ(build_request_frame(1, 0x80, "418257;"),
            "\x01\x2B\x21\x80"s "418257;" "\x05" "0247" "\x03"s);
}

TEST(KelvoraFrame, EmptyDataGivesTenBytes) {
  EXPECT_EQ(build_request_frame(1, 0x42, ""), "\x01\x24\x21\x42\x05" "008<" "\x03"s);
}

TEST(KelvoraFrame, SequenceByteFollowsTheCounter) {
  struct {
    std::uint8_t counter;
    std::uint8_t seq;
  } cases[] = {{1, 0x21}, {94, 0x7E}, {95, 0x20}, {96, 0x21}, {255, 0x61}, {0, 0x20}};
  for (const auto& c : cases) {
    std::string frame = build_request_frame(c.counter, 0x80, "1;");
    EXPECT_EQ(static_cast<std::uint8_t>(frame[2]), c.seq) << int(c.counter);
  }
}

TEST(KelvoraFrame, DataIsCutSoThatLenStaysOneByte) {
  std::string frame = build_request_frame(1, 0xA7, std::string(300, 'x'));
  ASSERT_EQ(frame.size(), max_request_data + 10);
  EXPECT_EQ(static_cast<std::uint8_t>(frame[1]), 0xFF);
  EXPECT_EQ(frame.back(), '\x03');
  std::string full = build_request_frame(1, 0xA7, std::string(max_request_data, 'x'));
  EXPECT_EQ(frame, full);
}

TEST(KelvoraFrame, ShapeTest) {
  using testing::kelvora_reply;
  std::string good = kelvora_reply{}.bytes();
  kelvora_reply short_error;
  short_error.error = "000";
  kelvora_reply long_error;
  long_error.error = "00000";
  kelvora_reply unterminated;
  unterminated.terminator = 'X';
  kelvora_reply high_seq;
  high_seq.seq = 0x80;
  kelvora_reply low_cmd;
  low_cmd.cmd = 0x1F;
  kelvora_reply low_len;
  low_len.data = "1;";
  low_len.len_adjust = -1;
  std::string no_postamble = good;
  no_postamble[no_postamble.size() - 6] = 'x';

  struct {
    const char* name;
    std::string received;
    bool shaped;
  } cases[] = {
      {"good frame", good, true},
      {"frame with data", kelvora_reply{.data = "1;ABC;"}.bytes(), true},
      {"error field of three", short_error.bytes(), false},
      {"error field of five", long_error.bytes(), false},
      {"last byte not 03h", unterminated.bytes(), false},
      {"SEQ above 7Fh", high_seq.bytes(), false},
      {"CMD below 20h", low_cmd.bytes(), false},
      {"LEN below 30h", "\x01\x2F\x21\x80" "0000;\x04" "\x05" "1234\x03"s, false},
      {"LEN one too small still shaped", low_len.bytes(), true},
      {"no post-amble before the checksum", no_postamble, false},
      {"preamble missing", good.substr(1), false},
      {"eight bytes", good.substr(0, 8), false},
      {"empty", "", false},
      {"nine bytes cannot hold a frame", "\x01\x30\x21\x80" "000;" "\x03"s, false},
      {"garbage in front", "Z" + good, false},
  };
  for (const auto& c : cases) EXPECT_EQ(has_reply_shape(c.received), c.shaped) << c.name;
}

}  // namespace
}  // namespace ejscope::kelvora
