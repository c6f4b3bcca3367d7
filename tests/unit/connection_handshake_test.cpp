// The wait for "Ready": the countdown, the reply variants, abort, a peer
// that closes, a reply split over reads, and connection errors.
#include <gtest/gtest.h>

#include <string>

#include "link/handshake.h"
#include "unit/connection_fakes.h"
#include "unit/fake_gateway_link.h"

namespace ejscope {
namespace {

using namespace std::string_literals;
using testing::fake_gateway_link;
using testing::recording_wait_window;

TEST(handshake, countdown_texts) {
  struct {
    int pass, tick;
    const char* text;
  } cases[] = {{0, 1, "3 : 59"}, {0, 60, "3 : 0"}, {1, 1, "2 : 59"}, {2, 30, "1 : 30"}, {3, 59, "0 : 1"},
               {3, 60, "0 : 0"}};
  for (const auto& c : cases) EXPECT_EQ(countdown_text(c.pass, c.tick), c.text);
}

TEST(handshake, ready_reply_texts) {
  struct {
    std::string bytes;
    bool ready;
  } cases[] = {{"Ready", true},       {"Ready\0"s, true},  {"Ready\0junk"s, true}, {"Ready\n", false},
               {"ready", false},      {"Read", false},     {"", false},            {"\0Ready"s, false},
               {"Ready Ready", false}, {"READY", false}};
  for (const auto& c : cases) EXPECT_EQ(is_ready_reply(c.bytes), c.ready) << c.bytes;
}

struct handshake_run {
  fake_gateway_link link;
  recording_wait_window wait;
  timeouts t;
  std::string reply;

  handshake_run() { link.open(); }
  void run() { reply = exchange_handshake(link, wait, t, ":3000123456:"); }
};

TEST(handshake, writes_the_request_then_reads_the_reply) {
  handshake_run h;
  h.link.push_read("Ready");
  h.run();
  EXPECT_EQ(h.link.all_written(), ":3000123456:");
  EXPECT_TRUE(is_ready_reply(h.reply));
  EXPECT_EQ(h.wait.shown, 1);
  EXPECT_FALSE(h.wait.visible);
  EXPECT_TRUE(h.wait.countdowns.empty());
}

TEST(handshake, reply_variants) {
  struct {
    const char* name;
    std::vector<std::string> chunks;
    std::string reply;
    bool ready;
    std::size_t pending;  // chunks left unread
  } cases[] = {
      {"ready", {"Ready"}, "Ready", true, 0},
      {"ready_and_zero", {"Ready\0"s, "more"}, "Ready\0"s, true, 1},
      {"split_in_two", {"Re", "ady"}, "Ready", true, 0},
      {"split_in_five", {"R", "e", "a", "d", "y"}, "Ready", true, 0},
      {"split_with_silence_between", {"Rea", "", "", "dy"}, "Ready", true, 0},
      {"split_then_zero", {"Rea", "dy\0"s}, "Ready\0"s, true, 0},
      {"small_letters_end_at_once", {"ready", "Ready"}, "ready", false, 1},
      {"line_break", {"Ready\n"}, "Ready\n", false, 0},
      {"wrong_beginning_ends_at_once", {"Rx", "Ready"}, "Rx", false, 1},
      {"zero_byte_ends_a_beginning", {"Re\0"s, "ady"}, "Re\0"s, false, 1},
      {"late_reply", {"", "", "", "Ready"}, "Ready", true, 0},
      {"beginning_then_closed", {"Re"}, "Re", false, 0},
  };
  for (const auto& c : cases) {
    handshake_run h;
    for (const auto& chunk : c.chunks) h.link.push_read(chunk);
    h.run();
    EXPECT_EQ(h.reply, c.reply) << c.name;
    EXPECT_EQ(is_ready_reply(h.reply), c.ready) << c.name;
    EXPECT_EQ(h.link.pending_reads(), c.pending) << c.name;
  }
}

TEST(handshake, silent_gateway_counts_down_four_passes) {
  handshake_run h;
  h.run();
  EXPECT_EQ(h.reply, "");
  ASSERT_EQ(h.wait.countdowns.size(), 240u);
  EXPECT_EQ(h.wait.countdowns.front(), "3 : 59");
  EXPECT_EQ(h.wait.countdowns[59], "3 : 0");
  EXPECT_EQ(h.wait.countdowns[60], "2 : 59");
  EXPECT_EQ(h.wait.countdowns.back(), "0 : 0");
  for (const auto& text : h.wait.countdowns) EXPECT_EQ(text.find('-'), std::string::npos) << text;
  EXPECT_GE(h.wait.events, 241);  // once after showing, once per tick
}

TEST(handshake, abort_ends_the_wait_at_the_next_tick) {
  handshake_run h;
  h.wait.abort_at = 3;
  h.link.push_read("");
  h.link.push_read("");
  h.link.push_read("");
  h.link.push_read("Ready");
  h.run();
  EXPECT_EQ(h.reply, "");
  EXPECT_EQ(h.wait.countdowns.size(), 3u);
  EXPECT_EQ(h.link.pending_reads(), 1u);
  EXPECT_FALSE(h.wait.abort_requested());
  EXPECT_FALSE(h.wait.visible);
}

TEST(handshake, abort_pressed_before_the_wait_ends_it_at_the_first_tick) {
  handshake_run h;
  h.wait.request_abort();
  h.run();
  EXPECT_EQ(h.wait.countdowns.size(), 1u);
  EXPECT_FALSE(h.wait.abort_requested());
}

TEST(handshake, closed_peer_ends_each_pass) {
  handshake_run h;
  for (int i = 0; i < 4; ++i) h.link.push_peer_closed();
  h.link.push_read("Ready");  // never reached: four passes are all there are
  h.run();
  EXPECT_EQ(h.reply, "");
  EXPECT_TRUE(h.wait.countdowns.empty());
  EXPECT_EQ(h.link.pending_reads(), 1u);
}

TEST(handshake, closed_peer_then_reply_in_a_later_pass) {
  handshake_run h;
  h.link.push_peer_closed();
  h.link.push_read("");
  h.link.push_read("Ready");
  h.run();
  EXPECT_TRUE(is_ready_reply(h.reply));
  ASSERT_EQ(h.wait.countdowns.size(), 1u);
  EXPECT_EQ(h.wait.countdowns[0], "2 : 59");
}

TEST(handshake, connection_error_keeps_what_was_read) {
  handshake_run h;
  h.link.push_read("Rea");
  h.link.push_reset();
  h.wait.request_abort();  // cleared on the way out as well
  h.run();
  EXPECT_EQ(h.reply, "Rea");
  EXPECT_FALSE(h.wait.visible);
  EXPECT_FALSE(h.wait.abort_requested());
}

TEST(handshake, failed_write_hides_and_gives_no_reply) {
  handshake_run h;
  h.link.close();
  h.run();
  EXPECT_EQ(h.reply, "");
  EXPECT_FALSE(h.wait.visible);
}

TEST(handshake, reply_bounded_to_one_block) {
  handshake_run h;
  h.link.push_read(std::string(700, 'x'));
  h.run();
  EXPECT_EQ(h.reply.size(), handshake_reply_capacity);
}

}  // namespace
}  // namespace ejscope
