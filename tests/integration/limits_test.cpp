// Registers that never stop or barely send, against the in-process
// simulator with the time-outs scaled down: a packet stream that never
// ends, and a register that sends one byte per "second" (a sixtieth of the
// stream time-out, as one second is of the real one). Each request ends
// within its time-outs, says which documents did not come, keeps what was
// held before, and the next request gets everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "integration/retrieval_session.h"
#include "retrieval/packet_assembly.h"
#include "window/journal_window_texts.h"

namespace ejscope {
namespace {

using testing::retrieval_session;
using testing::sim_harness;

struct limits_mode {
  sim::register_protocol protocol;
  bool packet;
};

std::string mode_name(const limits_mode& m) {
  return std::string(m.protocol == sim::register_protocol::datecs ? "Datecs" : "Kelvora") +
         (m.packet ? "Packets" : "Fragments");
}

sim::config small_parts(bool packet) {
  sim::config cfg = testing::sim_test_config(sim::make_tape(6));
  cfg.fragment_bytes = 90;  // a reply frame of about 150 bytes: longer than one stream time-out at this pace
  cfg.packet_bytes = 60;
  if (!packet) cfg.register_identity.set_firmware_date(2015, 11, 1);
  return cfg;
}

sim::fault_rule rule(sim::fault_kind kind, std::uint8_t command, int interval_ms = 0) {
  sim::fault_rule r;
  r.kind = kind;
  r.command = command;
  r.interval_ms = interval_ms;
  return r;
}

class SlowRegister : public ::testing::TestWithParam<limits_mode> {};

TEST_P(SlowRegister, OneBytePerSecondEndsTheRequestAndTheNextGetsAll) {
  const limits_mode m = GetParam();
  sim_harness sim(small_parts(m.packet));
  retrieval_session session(sim, m.protocol, "slow_" + mode_name(m));
  ASSERT_TRUE(session.connect());
  ASSERT_EQ(session.main().packet_mode(), m.packet);
  session.by_numbers(1, 2, 1);
  ASSERT_EQ(session.request().model().doc_index, 2);

  const int one_second = testing::test_timeouts().stream_ms / 60;
  sim.fault(rule(sim::fault_kind::slow_sender, m.packet ? 0x10 : 0xA7, one_second));
  session.by_numbers(3, 4, 1);
  const auto& r = session.request();
  EXPECT_EQ(r.outcome(), request_outcome::done);
  // Each document came whole (slowly) or is named; nothing held before is
  // lost. A packet arrives in one wait or is cut, and the range ends there.
  for (int n : r.incomplete()) {
    EXPECT_TRUE(n == 3 || n == 4) << n;
  }
  if (m.packet) {
    EXPECT_EQ(r.incomplete(), std::vector<int>{3});
  }
  EXPECT_GE(r.model().doc_index, 2);
  EXPECT_LE(r.model().doc_index + static_cast<int>(r.incomplete().size()), 4);

  // The register goes on sending the rest of a cut reply, one byte a
  // "second", for about 100 of them; once it is done, asking again (the
  // first exchange may take those bytes for a reply out of step) gets all.
  if (!r.incomplete().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(120 * one_second));
  // A reply tail that still comes in late is waited out by a pause of one
  // stream time-out before the next attempt.
  for (int attempt = 0; attempt < 4 && session.request().model().doc_index < 6; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(testing::test_timeouts().stream_ms));
    session.by_numbers(1, 6, 1);
    EXPECT_GE(session.request().model().doc_index, 2);
  }
  EXPECT_TRUE(session.request().incomplete().empty());
  EXPECT_EQ(session.request().model().doc_index, 6);
  EXPECT_EQ(session.request().display(), session.offline(sim.tape().tape_text(), 1));
}

INSTANTIATE_TEST_SUITE_P(Modes, SlowRegister,
                         ::testing::Values(limits_mode{sim::register_protocol::datecs, false},
                                           limits_mode{sim::register_protocol::datecs, true},
                                           limits_mode{sim::register_protocol::kelvora, false},
                                           limits_mode{sim::register_protocol::kelvora, true}),
                         [](const auto& info) { return mode_name(info.param); });

class EndlessStream : public ::testing::TestWithParam<sim::register_protocol> {};

// The default limits: the document that never ends is dropped at 4 MiB.
TEST_P(EndlessStream, DocumentThatNeverEndsIsDroppedAndNamed) {
  sim::config cfg = testing::sim_test_config(sim::make_tape(6));
  sim_harness sim(cfg);
  retrieval_session session(sim, GetParam(), std::string("endless_") +
                                                 (GetParam() == sim::register_protocol::datecs ? "datecs" : "kelvora"));
  ASSERT_TRUE(session.connect());
  ASSERT_TRUE(session.main().packet_mode());
  session.by_numbers(1, 2, 1);
  ASSERT_EQ(session.request().model().doc_index, 2);

  sim.fault(rule(sim::fault_kind::endless_stream, 0x10));
  session.by_numbers(3, 6, 1);
  const auto& r = session.request();
  EXPECT_EQ(r.outcome(), request_outcome::done);
  EXPECT_EQ(r.incomplete(), std::vector<int>{3});
  EXPECT_EQ(r.model().doc_index, 2);
  ASSERT_FALSE(r.display().empty());
  EXPECT_EQ(r.display().back(), request_texts::incomplete_documents() + "3");
  // The stream stopped at the size of one document, not at the packet count.
  EXPECT_LT(sim.sim().requests().size(), static_cast<std::size_t>(max_packets_per_document));
}

// A stream of documents beyond what one request may hold: the request keeps
// what fitted and says it stopped.
TEST_P(EndlessStream, RequestStopsAtItsTextLimit) {
  sim_harness sim(testing::sim_test_config(sim::make_tape(30)));
  text_limits sizes;
  sizes.text_bytes = 4096;
  retrieval_session session(sim, GetParam(), std::string("text_limit_") +
                                                 (GetParam() == sim::register_protocol::datecs ? "datecs" : "kelvora"));
  session.request().set_text_limits(sizes);
  ASSERT_TRUE(session.connect());
  session.by_numbers(1, 30, 1);
  const auto& r = session.request();
  EXPECT_EQ(r.outcome(), request_outcome::done);
  EXPECT_TRUE(r.text_limit_reached());
  EXPECT_GT(r.model().doc_index, 0);
  EXPECT_LT(r.model().doc_index, 30);
  EXPECT_LE(joined_size(r.xml_lines()), sizes.text_bytes);
  EXPECT_EQ(r.display().back(), request_texts::text_limit_reached());
}

INSTANTIATE_TEST_SUITE_P(Protocols, EndlessStream,
                         ::testing::Values(sim::register_protocol::datecs, sim::register_protocol::kelvora),
                         [](const auto& info) {
                           return std::string(info.param == sim::register_protocol::datecs ? "Datecs" : "Kelvora");
                         });

}  // namespace
}  // namespace ejscope
