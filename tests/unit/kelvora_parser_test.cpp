// The Kelvora reply parser fed byte streams: what it finds, and that a frame
// that lost its place never passes as a good reply.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelvora/reply_parser.h"
#include "kelvora_frames.h"

namespace ejscope::kelvora {
namespace {

using namespace std::string_literals;
using testing::kelvora_reply;

const std::string syn = "\x16";

std::string frame(std::string data, std::string error = "0000") {
  kelvora_reply r;
  r.data = std::move(data);
  r.error = std::move(error);
  return r.bytes();
}

std::string with(kelvora_reply r, void (*change)(kelvora_reply&)) {
  change(r);
  return r.bytes();
}

struct parse_case {
  const char* name;
  std::string bytes;
  bool reply_done;
  bool refused;
  bool mismatch;  // meaningful when reply_done and not refused
  std::string data;
  std::string error;
  int syn_count;
};

class KelvoraParser : public ::testing::TestWithParam<parse_case> {};

TEST_P(KelvoraParser, FindsWhatTheBytesHold) {
  const parse_case& c = GetParam();
  reply_parser p;
  p.begin_command();
  p.feed(c.bytes);
  EXPECT_EQ(p.reply_done(), c.reply_done);
  EXPECT_EQ(p.refused(), c.refused);
  if (c.reply_done && !c.refused) {
    EXPECT_EQ(p.checksum_mismatch(), c.mismatch);
  }
  EXPECT_EQ(p.data(), c.data);
  EXPECT_EQ(p.error_text(), c.error);
  EXPECT_EQ(p.syn_count(), c.syn_count);
  std::string without_syn;
  for (char b : c.bytes) {
    if (b != '\x16') without_syn += b;
  }
  EXPECT_EQ(p.received(), without_syn);
}

std::string cut_in_error_field() { return frame("").substr(0, 6); }

std::string data_with_etx() {
  std::string f = frame("12;34;");
  f[10] = '\x03';  // inside the data
  return f;
}

std::string syn_inside(std::size_t at) {
  std::string f = frame("1;ABC;");
  return f.substr(0, at) + syn + f.substr(at);
}

const parse_case parse_cases[] = {
    {"no data: LEN 30h", frame(""), true, false, false, "", "0000", 0},
    {"data", frame("1;ABC;"), true, false, false, "1;ABC;", "0000", 0},
    {"register error code", frame("", "0CD0"), true, false, false, "", "0CD0", 0},
    {"SYN bytes before the frame", syn + syn + syn + frame("0;"), true, false, false, "0;", "0000", 3},
    {"SYN inside the data loses the frame's place", syn_inside(11), true, false, true, "1;\x16" "ABC", "0000", 1},
    {"SYN inside the status loses the frame's place", syn_inside(18), true, false, true, "1;ABC;", "0000", 1},
    {"03h inside the data ends the frame", data_with_etx(), true, false, true, "1", "0000", 0},
    {"LEN one too small", with(kelvora_reply{.data = "1;ABC;"}, [](kelvora_reply& r) { r.len_adjust = -1; }),
     true, false, true, "1;ABC", "0000", 0},
    {"LEN below 30h is ignored up to the next preamble",
     "\x01\x2F\x21\x80" "0000;\x04" + frame("7;"), true, false, false, "7;", "0000", 0},
    {"SEQ below 20h is ignored", "\x01\x30\x10"s + frame("7;"), true, false, false, "7;", "0000", 0},
    {"wrong checksum", with(kelvora_reply{}, [](kelvora_reply& r) { r.wrong_checksum = true; }), true,
     false, true, "", "0000", 0},
    {"frame cut short", frame("1;ABC;").substr(0, 12), false, false, false, "1;A", "0000", 0},
    {"frame cut inside the error field", cut_in_error_field(), false, false, false, "", "00", 0},
    {"a cut error field does not spoil the next frame", cut_in_error_field() + frame("5;", "0000"), true,
     false, false, "5;", "0000", 0},
    {"trailing bytes after a frame", frame("1;") + "XYZ" + syn + syn, true, false, false, "1;", "0000", 2},
    {"two frames leave the second one's values", frame("1;", "0001") + frame("2;"), true, false, false,
     "2;", "0000", 0},
    {"a frame then a cut one is not a good reply", frame("1;") + frame("2;").substr(0, 11), true, false,
     true, "2;", "0000", 0},
    {"a stray terminator after a frame", frame("1;") + "\x03", true, false, true, "1;", "0000", 0},
    {"NAK", "\x15", true, true, false, "", "", 0},
    {"only SYN bytes", syn + syn, false, false, false, "", "", 2},
    {"a long error field keeps 19 characters", frame("", std::string(25, 'E')), true, false, false, "",
     std::string(19, 'E'), 0},
    {"terminator where the checksum should be", frame("").substr(0, 17) + "\x03", true, false, true, "",
     "0000", 0},
    {"widest data", frame(std::string(207, 'd')), true, false, false, std::string(207, 'd'), "0000", 0},
};

INSTANTIATE_TEST_SUITE_P(Streams, KelvoraParser, ::testing::ValuesIn(parse_cases));

TEST(KelvoraParserFrame, AByteOtherThanTheTerminatorEndsTheFrameIncomplete) {
  reply_parser p;
  p.begin_command();
  p.feed(with(kelvora_reply{}, [](kelvora_reply& r) { r.terminator = 'X'; }));
  EXPECT_TRUE(p.frame_complete());
  EXPECT_FALSE(p.reply_done());
}

TEST(KelvoraParserFrame, StatusSequenceAndCommandAreKept) {
  reply_parser p;
  p.begin_command();
  kelvora_reply r;
  r.seq = 0x25;
  r.cmd = 0xA7;
  r.status = {0x80, 0x81, 0x82, 0x83, 0x84, 0x85};
  p.feed(r.bytes());
  EXPECT_EQ(p.reply_sequence(), 0x25);
  EXPECT_EQ(p.reply_command(), 0xA7);
  EXPECT_EQ(p.status(), r.status);
  EXPECT_FALSE(p.checksum_mismatch());
}

TEST(KelvoraParserFrame, ReceivedTextKeepsAtMost305Bytes) {
  reply_parser p;
  p.begin_command();
  p.feed(std::string(400, 'A') + frame("9;"));
  EXPECT_EQ(p.received(), std::string(305, 'A'));
  EXPECT_TRUE(p.reply_done());
  EXPECT_EQ(p.data(), "9;");
}

TEST(KelvoraParserFrame, ANewCommandClearsTheReplyButKeepsTheErrorText) {
  reply_parser p;
  p.begin_command();
  p.feed(syn + frame("1;", "0CD0"));
  p.begin_command();
  EXPECT_FALSE(p.reply_done());
  EXPECT_EQ(p.data(), "");
  EXPECT_EQ(p.received(), "");
  EXPECT_EQ(p.syn_count(), 0);
  EXPECT_EQ(p.error_text(), "0CD0");
  EXPECT_TRUE(p.checksum_mismatch());
}

// The rest of a frame begun before the command cannot pass as its reply.
TEST(KelvoraParserFrame, AFrameBegunInThePreviousCommandIsNotAGoodReply) {
  std::string f = frame("1;");
  reply_parser p;
  p.begin_command();
  p.feed(f.substr(0, 8));
  p.begin_command();
  p.feed(f.substr(8));
  EXPECT_TRUE(p.reply_done());
  EXPECT_TRUE(p.checksum_mismatch());
}

}  // namespace
}  // namespace ejscope::kelvora
