#include <gtest/gtest.h>

#include <string>

#include "datecs/reply_parser.h"
#include "datecs_frames.h"

namespace ejscope::datecs {
namespace {

using datecs_testing::reply_body;
using datecs_testing::reply_frame;

const std::string syn = "\x16";
const std::string good = reply_frame("12,ABC");

// A frame whose LEN announces one data byte fewer than it carries.
std::string frame_with_len_one_too_small() {
  std::string f = reply_frame("12,ABC");
  f[1] = static_cast<char>(f[1] - 1);
  return f;
}

struct StreamCase {
  const char* name;
  std::string stream;
  bool frame_complete;
  bool reply_done;
  bool refused;
  bool checksum_mismatch;
  std::string data;
  int syn_count;
};

class DatecsReplyStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(DatecsReplyStream, ParsesTheBlock) {
  const StreamCase& c = GetParam();
  reply_parser p;
  p.begin_command();
  p.feed(c.stream);
  EXPECT_EQ(p.frame_complete(), c.frame_complete);
  EXPECT_EQ(p.reply_done(), c.reply_done);
  EXPECT_EQ(p.refused(), c.refused);
  EXPECT_EQ(p.checksum_mismatch(), c.checksum_mismatch);
  EXPECT_EQ(p.data(), c.data);
  EXPECT_EQ(p.syn_count(), c.syn_count);
}

const StreamCase stream_cases[] = {
    {"GoodFrame", good, true, true, false, false, "12,ABC", 0},
    {"EmptyData", reply_frame(""), true, true, false, false, "", 0},
    {"SynBeforeFrame", syn + syn + syn + good, true, true, false, false, "12,ABC", 3},
    {"NakOnly", "\x15", false, true, true, true, "", 0},
    {"SynOnly", syn + syn, false, false, false, true, "", 2},
    {"Nothing", "", false, false, false, true, "", 0},
    {"CutFrame", good.substr(0, 8), false, false, false, true, "12,A", 0},
    {"CutInsideChecksum", good.substr(0, good.size() - 2), false, false, false, true, "12,ABC", 0},
    // 03h inside the data ends the frame there; the checksum cannot match.
    {"TerminatorInsideData", reply_frame("12\x03" "AB"), true, true, false, true, "12", 0},
    // A LEN below 2Bh is ignored up to the next preamble.
    {"ShortLenThenFrame", std::string("\x01\x2A\x21\x5A") + good, true, true, false, false,
     "12,ABC", 0},
    {"TrailingBytesIgnored", good + "\x01\x2BXYZ", true, true, false, false, "12,ABC", 0},
    {"TwoFramesFirstWins", good + reply_frame("99"), true, true, false, false, "12,ABC", 0},
    {"WrongChecksum",
     "\x01" + reply_body("12,ABC") + "0000\x03", true, true, false, true, "12,ABC", 0},
    // No terminator after the checksum: the frame ends but is no reply.
    {"OtherByteForTerminator", good.substr(0, good.size() - 1) + "X", true, false, false, true,
     "12,ABC", 0},
    // A SYN where the separator belongs sends the parser back to state 0;
    // the terminator that follows must not pass for a good checksum.
    {"SynInsideFrame",
     "\x01" + reply_body("12,ABC").insert(9, syn) + "0000\x03", true, true, false, true,
     "12,ABC", 1},
    {"LenOneTooSmall", frame_with_len_one_too_small(), true, true, false, true, "12,AB", 0},
    // A terminator with no frame at all.
    {"BareTerminator", "\x03", true, true, false, true, "", 0},
    // A NAK followed by a frame in the same block: the refusal stands.
    {"NakThenFrame", "\x15" + good, true, true, true, false, "12,ABC", 0},
};

INSTANTIATE_TEST_SUITE_P(Streams, DatecsReplyStream, ::testing::ValuesIn(stream_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DatecsReplyParser, ReceivedTextLeavesOutSynAndStopsAtTheFrameEnd) {
  reply_parser p;
  p.begin_command();
  std::string block = syn + good + "trailing";
  EXPECT_EQ(p.feed(block), 1 + good.size());
  EXPECT_EQ(p.received(), good);
  EXPECT_EQ(p.running_sum(), datecs_testing::byte_sum(reply_body("12,ABC")));
  EXPECT_EQ(p.received_checksum(), p.running_sum());
  EXPECT_EQ(p.status(), datecs_testing::clean_status);
  EXPECT_EQ(p.reply_command(), 0x5A);
  EXPECT_EQ(p.reply_sequence(), 0x01);
}

TEST(DatecsReplyParser, StatusAndReplyByteForByte) {
  reply_parser p;
  p.begin_command();
  datecs_testing::status6 status{0xA2, 0x88, 0x80, 0xFF, 0x80, 0x81};
  p.feed(reply_frame("OK", status, 0xA7));
  EXPECT_FALSE(p.checksum_mismatch());
  EXPECT_EQ(p.status(), status);
  EXPECT_EQ(p.reply_command(), 0xA7);
}

TEST(DatecsReplyParser, EveryCommandStartsAfresh) {
  reply_parser p;
  p.begin_command();
  p.feed("\x15" + syn);
  ASSERT_TRUE(p.refused());
  p.begin_command();
  EXPECT_FALSE(p.refused());
  EXPECT_FALSE(p.reply_done());
  EXPECT_EQ(p.syn_count(), 0);
  EXPECT_TRUE(p.received().empty());

  p.feed(good);
  ASSERT_TRUE(p.frame_complete());
  p.begin_command();
  EXPECT_FALSE(p.frame_complete());
  EXPECT_TRUE(p.data().empty());
  // The second reply is read: frame_complete does not stay set.
  EXPECT_EQ(p.feed(reply_frame("second")), reply_frame("second").size());
  EXPECT_EQ(p.data(), "second");
  EXPECT_FALSE(p.checksum_mismatch());
}

TEST(DatecsReplyParser, StateSurvivesCommandsAndResynchronisesOnPreamble) {
  reply_parser p;
  p.begin_command();
  p.feed(good.substr(0, 6));  // cut inside the data
  EXPECT_EQ(p.state(), 4);
  p.begin_command();
  EXPECT_EQ(p.state(), 4);
  p.feed(syn + good);
  EXPECT_EQ(p.data(), "12,ABC");
  EXPECT_FALSE(p.checksum_mismatch());
}

TEST(DatecsReplyParser, FrameBegunInAnEarlierCommandIsNeverASuccess) {
  reply_parser p;
  p.begin_command();
  p.feed(good.substr(0, 8));
  p.begin_command();
  p.feed(good.substr(8));
  EXPECT_TRUE(p.reply_done());
  EXPECT_TRUE(p.checksum_mismatch());
}

TEST(DatecsReplyParser, SplitFrameFedInPiecesIsWhole) {
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    reply_parser p;
    p.begin_command();
    p.feed(good.substr(0, cut));
    EXPECT_TRUE(p.in_frame()) << cut;
    p.feed(good.substr(cut));
    EXPECT_TRUE(p.reply_done()) << cut;
    EXPECT_FALSE(p.checksum_mismatch()) << cut;
  }
}

TEST(DatecsReplyParser, BuffersAreBounded) {
  reply_parser p;
  p.begin_command();
  // 400 bytes without a frame: the received text keeps its capacity less the terminator.
  p.feed(std::string(400, 'x'));
  EXPECT_EQ(p.received().size(), reply_parser::received_capacity - 1);

  // The largest LEN (FFh) announces 212 data bytes, all kept.
  p.begin_command();
  std::string data(0xFF - 0x2B, 'D');
  p.feed(reply_frame(data));
  EXPECT_EQ(p.data(), data);
  EXPECT_FALSE(p.checksum_mismatch());
}

TEST(DatecsReplyParser, OnlySynAndInFrameDriveFurtherReading) {
  reply_parser p;
  p.begin_command();
  EXPECT_FALSE(p.only_syn_so_far());
  p.feed(syn);
  EXPECT_TRUE(p.only_syn_so_far());
  EXPECT_FALSE(p.in_frame());
  p.feed("\x01");
  EXPECT_FALSE(p.only_syn_so_far());
  EXPECT_TRUE(p.in_frame());
}

}  // namespace
}  // namespace ejscope::datecs
