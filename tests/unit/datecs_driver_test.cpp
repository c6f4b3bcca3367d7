#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datecs/driver.h"
#include "datecs/printer_results.h"
#include "datecs/request_frame.h"
#include "datecs_frames.h"
#include "fake_gateway_link.h"
#include "text/cp1251.h"

namespace ejscope::datecs {
namespace {

using datecs_testing::reply_frame;

const std::string access_request = ":1234567890:";

class recording_box : public message_box {
 public:
  void show(const std::string& text, const std::string&) override { shown.push_back(text); }
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
  std::vector<std::string> shown;
};

class DatecsDriver : public ::testing::Test {
 protected:
  DatecsDriver()
      : drv(link, wait, t, [this] {
          ++reconnects;
          return reconnect_target{"gw.example", access_request};
        }) {}

  // Runs one command with PrinterResultsx and counts the handler calls.
  void run(std::uint8_t command, const std::string& data) {
    drv.execute(handler(), 0, command, data);
  }
  result_handler handler() {
    return [this](RetData& r) {
      ++handled;
      results(r);
    };
  }
  std::uint8_t seq_of_write(std::size_t i) const {
    return static_cast<std::uint8_t>(link.writes().at(i)[2]);
  }

  testing::fake_gateway_link link;
  datecs_testing::countdown_wait_window wait;
  timeouts t;
  int reconnects = 0;
  int handled = 0;
  last_reply store;
  recording_box box;
  PrinterResultsx results{store, box};
  driver drv;
};

TEST_F(DatecsDriver, GoodReplyFillsTheRecord) {
  std::string data = "A1 15Dec04 1200,0,1,2,3,4";
  link.push_read(reply_frame(data));
  drv.diagnostic_info(handler(), 0, 0);

  ASSERT_EQ(link.writes().size(), 1u);
  EXPECT_EQ(link.writes()[0], build_request_frame(1, 0x5A, "0"));
  EXPECT_EQ(link.open_count(), 1);
  EXPECT_EQ(link.timeout_ms(), t.stream_ms);
  EXPECT_EQ(handled, 1);
  const RetData& r = store.datecs_reply;
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.count, 8);
  EXPECT_EQ(r.fields[0], "A1");
  EXPECT_EQ(r.fields[1], "15Dec04");
  EXPECT_EQ(r.sent_frame, link.writes()[0]);
  EXPECT_EQ(r.received, reply_frame(data));
  EXPECT_EQ(drv.reply().count, 8);
  EXPECT_FALSE(drv.last_abandoned());
  EXPECT_TRUE(box.shown.empty());
  EXPECT_TRUE(wait.countdowns.empty());
  EXPECT_FALSE(wait.visible);
}

TEST_F(DatecsDriver, SequenceByteOverAWrappingCounter) {
  for (int i = 0; i < 257; ++i) {
    link.push_read("\x15");
    run(0x4A, "");
  }
  struct Case {
    std::size_t command_number;
    int seq;
  };
  const Case cases[] = {{1, 0x21}, {94, 0x7E}, {95, 0x20}, {96, 0x21},
                        {255, 0x61}, {256, 0x20}, {257, 0x21}};
  for (const auto& c : cases) EXPECT_EQ(seq_of_write(c.command_number - 1), c.seq);
}

TEST_F(DatecsDriver, EveryCommandReadsItsOwnReply) {
  std::uint8_t seq = 0x21;
  for (const char* data : {"first", "second", "third"}) {
    link.push_read(reply_frame(data, datecs_testing::clean_status, 0xA7, seq++));
    run(0xA7, "1,1,0");
    EXPECT_EQ(store.datecs_reply.fields[0], data);
    EXPECT_EQ(store.datecs_reply.flags, 0u);
  }
}

TEST_F(DatecsDriver, SplitAndBusyRepliesAreRead) {
  // Each case is the next command: its reply carries the next SEQ.
  std::uint8_t seq = 0x21;
  std::string frame;
  const std::string syn = "\x16";
  struct Case {
    const char* name;
    std::vector<std::string> chunks;  // "" plays a wait that timed out
    std::uint32_t flags;
  };
  const auto next_frame = [&] { return frame = reply_frame("12,QUJD", datecs_testing::clean_status, 0xA7, seq++); };
  const auto bytewise = [](const std::string& f) {
    std::vector<std::string> bytes;
    for (char c : f) bytes.emplace_back(1, c);
    return bytes;
  };
  const Case cases[] = {
      {"two segments", {next_frame().substr(0, 5), frame.substr(5)}, 0},
      {"syn segments first", {syn, syn + syn, next_frame()}, 0},
      {"syn then silence then reply", {syn, "", "", syn, next_frame()}, 0},
      {"cut then silence then rest", {next_frame().substr(0, 9), "", frame.substr(9)}, 0},
      {"one byte per segment", bytewise(next_frame()), 0},
      // SYN bytes inside the data are data to the parser: the frame is broken,
      // and it is read to its end all the same.
      {"syn inside the data", {next_frame().substr(0, 6), syn + syn, frame.substr(6)},
       result_flag::checksum_mismatch},
  };
  for (const auto& c : cases) {
    for (const auto& chunk : c.chunks) link.push_read(chunk);
    run(0xA7, "1,1,0");
    const RetData& r = store.datecs_reply;
    EXPECT_EQ(r.flags, c.flags) << c.name;
    if (c.flags == 0) {
      EXPECT_EQ(r.count, 2) << c.name;
      EXPECT_EQ(r.fields[1], "QUJD") << c.name;
    }
    EXPECT_EQ(link.pending_reads(), 0u) << c.name;
  }
}

// A reply to the command before (late, or read after noise) is passed over
// and this command's own reply is read after it, in the same block or later.
TEST_F(DatecsDriver, ReplyToAnotherCommandIsPassedOver) {
  link.push_read(reply_frame("first", datecs_testing::clean_status, 0xA7, 0x21));
  run(0xA7, "1,1,0");
  const std::string late = reply_frame("first", datecs_testing::clean_status, 0xA7, 0x21);
  struct Case {
    const char* name;
    std::vector<std::string> chunks;
    std::string field;
    std::uint32_t flags;
  } cases[] = {
      {"late reply, then its own in the same block", {late + reply_frame("own", datecs_testing::clean_status, 0xA7, 0x22)}, "own", 0},
      {"late reply, then its own later", {late, "", reply_frame("own", datecs_testing::clean_status, 0xA7, 0x23)}, "own", 0},
      {"its SEQ but another command", {reply_frame("x", datecs_testing::clean_status, 0x5A, 0x24)}, "", result_flag::no_reply},
      {"only a late reply", {late}, "", result_flag::no_reply},
  };
  for (const auto& c : cases) {
    for (const auto& chunk : c.chunks) link.push_read(chunk);
    run(0xA7, "1,1,0");
    EXPECT_EQ(store.datecs_reply.flags & (result_flag::no_reply | result_flag::checksum_mismatch), c.flags) << c.name;
    if (c.flags == 0) {
      EXPECT_EQ(store.datecs_reply.fields[0], c.field) << c.name;
    }
    EXPECT_EQ(link.pending_reads(), 0u) << c.name;
  }
}

TEST_F(DatecsDriver, NoReplyCountsDownTwoAttempts) {
  run(0x4A, "");
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(store.datecs_reply.flags, result_flag::no_reply);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], text::utf8_to_cp1251("Таймаут"));
  ASSERT_EQ(wait.countdowns.size(), 120u);
  EXPECT_EQ(wait.countdowns.front(), "3 : 59");
  EXPECT_EQ(wait.countdowns[59], "3 : 0");
  EXPECT_EQ(wait.countdowns[60], "2 : 59");
  EXPECT_EQ(wait.countdowns.back(), "2 : 0");
  EXPECT_EQ(wait.events, 120);
  EXPECT_FALSE(wait.visible);
  EXPECT_FALSE(drv.last_abandoned());
}

TEST_F(DatecsDriver, PeerThatClosedEndsEachAttempt) {
  link.push_peer_closed();
  link.push_peer_closed();
  link.push_read(reply_frame("late"));
  run(0x4A, "");
  EXPECT_EQ(store.datecs_reply.flags, result_flag::no_reply);
  EXPECT_TRUE(wait.countdowns.empty());
  EXPECT_EQ(link.pending_reads(), 1u);
}

TEST_F(DatecsDriver, SynStreamCannotHoldTheCommand) {
  for (int i = 0; i < 200; ++i) link.push_read("\x16");
  run(0x4A, "");
  EXPECT_EQ(store.datecs_reply.flags, result_flag::no_reply);
  // Two attempts of 60 one-second waits, each followed by one read.
  EXPECT_EQ(link.pending_reads(), 200u - 122u);
}

TEST_F(DatecsDriver, AbortEndsTheWaitAndTheNextCommandWaitsInFull) {
  wait.abort_at_countdown = 3;
  run(0x4A, "");
  EXPECT_EQ(wait.countdowns.size(), 3u);
  EXPECT_EQ(store.datecs_reply.flags, result_flag::no_reply);
  EXPECT_TRUE(drv.last_abandoned());
  EXPECT_FALSE(wait.abort_requested());
  EXPECT_FALSE(wait.visible);

  wait.abort_at_countdown = 0;
  run(0x4A, "");
  EXPECT_EQ(wait.countdowns.size(), 3u + 120u);
  EXPECT_FALSE(drv.last_abandoned());
}

TEST_F(DatecsDriver, ReadAfterAbortMayStillDeliverTheReply) {
  link.push_read("");
  link.push_read("");
  link.push_read(reply_frame("7", datecs_testing::clean_status, 0x4A));
  wait.abort_at_countdown = 2;
  run(0x4A, "");
  EXPECT_EQ(wait.countdowns.size(), 2u);
  EXPECT_EQ(store.datecs_reply.flags, 0u);
  EXPECT_EQ(store.datecs_reply.fields[0], "7");
}

TEST_F(DatecsDriver, NakIsRefused) {
  link.push_read("\x16\x15");
  run(0xEB, "1,2");
  EXPECT_EQ(store.datecs_reply.flags, result_flag::refused);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], text::utf8_to_cp1251("Ошибка приема команды"));
}

TEST_F(DatecsDriver, StatusErrorsReachTheHandler) {
  link.push_read(reply_frame("", {0xA2, 0x80, 0x80, 0x80, 0x80, 0x80}, 0xA7));
  run(0xA7, "1,99999,0");
  EXPECT_EQ(store.datecs_reply.flags, (1u << 1) | (1u << 27));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], text::utf8_to_cp1251("Неверная команда"));
}

TEST_F(DatecsDriver, LinkErrorReconnectsAndDeliversNothing) {
  link.push_read(reply_frame("kept", datecs_testing::clean_status, 0x4A));
  run(0x4A, "");
  ASSERT_EQ(handled, 1);

  link.push_reset();
  link.push_read("Ready");
  run(0xA7, "1,2,0");
  EXPECT_EQ(handled, 1);  // the handler was not called
  EXPECT_TRUE(drv.last_abandoned());
  EXPECT_EQ(reconnects, 1);
  EXPECT_EQ(link.host(), "gw.example");
  EXPECT_EQ(link.open_count(), 2);
  ASSERT_EQ(link.writes().size(), 3u);
  EXPECT_EQ(link.writes()[2], access_request);
  EXPECT_EQ(link.pending_reads(), 0u);
  EXPECT_EQ(store.datecs_reply.fields[0], "kept");
  EXPECT_FALSE(wait.visible);

  // The next command goes on with the next sequence byte.
  link.push_read(reply_frame("again", datecs_testing::clean_status, 0x4A, 0x23));
  run(0x4A, "");
  EXPECT_EQ(handled, 2);
  EXPECT_EQ(seq_of_write(3), 0x23);
  EXPECT_EQ(store.datecs_reply.fields[0], "again");
}

TEST_F(DatecsDriver, ReconnectWithoutAnswerWaitsFourAttempts) {
  link.push_reset();
  run(0x4A, "");
  EXPECT_EQ(handled, 0);
  ASSERT_EQ(wait.countdowns.size(), 240u);
  EXPECT_EQ(wait.countdowns.front(), "3 : 59");
  EXPECT_EQ(wait.countdowns.back(), "0 : 0");
  EXPECT_FALSE(wait.visible);
}

TEST_F(DatecsDriver, ReconnectFailureIsRaised) {
  link.push_read("\x15");
  run(0x4A, "");
  link.push_reset();
  link.fail_next_open();
  EXPECT_THROW(run(0x4A, ""), link_error);
  EXPECT_EQ(handled, 1);
  EXPECT_FALSE(wait.visible);
}

TEST_F(DatecsDriver, OpeningFailureIsRaisedWithoutReconnect) {
  link.fail_next_open();
  EXPECT_THROW(run(0x4A, ""), link_error);
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(reconnects, 0);
  EXPECT_TRUE(link.writes().empty());
  EXPECT_TRUE(drv.last_abandoned());
}

TEST_F(DatecsDriver, CommandOperationsBuildTheirData) {
  struct Case {
    std::function<void()> call;
    std::uint8_t command;
    std::string data;
  };
  const Case cases[] = {
      {[&] { drv.diagnostic_info(handler(), 0, 0); }, 0x5A, "0"},
      {[&] { drv.diagnostic_info(handler(), 0, 1); }, 0x5A, "1"},
      {[&] { drv.documents_output(handler(), "418257", 1, 25, 3); }, 0xA7, "1,25,3"},
      {[&] { drv.interval_output_by_date(handler(), "418257", "010115", "0000", "311215", "2359", 0); },
       0xEE, "010115,0000,311215,2359,0"},
      {[&] { drv.print_interval(handler(), "418257", 5, 9); }, 0xEB, "5,9"},
  };
  std::uint8_t counter = 0;
  for (const auto& c : cases) {
    link.push_read("\x15");
    c.call();
    ++counter;
    EXPECT_EQ(link.writes().back(), build_request_frame(counter, c.command, c.data)) << c.data;
    EXPECT_EQ(store.datecs_reply.sent_data, c.data);
    EXPECT_EQ(store.datecs_reply.command, c.command);
    EXPECT_EQ(store.datecs_reply.user_value, 0);
  }
}

}  // namespace
}  // namespace ejscope::datecs
