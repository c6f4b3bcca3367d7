// Every fault of the simulator as the wire shows it, the rules that choose
// when a fault is injected, the seeded storm and the faults' text form.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "integration/sim_harness.h"
#include "integration/sim_raw_client.h"
#include "sim/fault_book.h"

namespace ejscope::testing {
namespace {

using sim::fault_kind;
using sim::register_protocol;

bool frame_ended(const std::string& bytes) { return !bytes.empty() && (bytes.back() == '\x03' || bytes == "\x15"); }

// Two whole frames, for the fault that sends a reply to another command first.
bool two_frames_ended(const std::string& bytes) { return std::count(bytes.begin(), bytes.end(), '\x03') >= 2; }

raw_client& ready(raw_client& client) {
  client.send(std::string("KV0000001", 9));
  EXPECT_EQ(client.read_until([](const std::string& b) { return b.size() >= 5; }), "Ready");
  return client;
}

struct frame_fault_case {
  const char* name;
  register_protocol protocol;
  sim::fault_rule rule;
  // Checks the faulted bytes against the clean reply to the same frame.
  void (*check)(const std::string& faulted, const std::string& clean, int reads);
};

const std::string datecs_frame = request(0x21, 0x5A, "0");
const std::string kelvora_frame = request(0x21, 0x80, "418257;");

TEST(SimFaults, EachFrameFaultShowsOnTheWire) {
  const frame_fault_case cases[] = {
      {"SYN bytes in segments of their own before the reply", register_protocol::datecs,
       {.kind = fault_kind::syn_before, .param = 3, .interval_ms = 60},
       [](const std::string& f, const std::string& clean, int reads) {
         EXPECT_EQ(f, "\x16\x16\x16" + clean);
         EXPECT_GE(reads, 3);
       }},
      {"a SYN inside the frame", register_protocol::datecs, {.kind = fault_kind::syn_inside, .param = 5},
       [](const std::string& f, const std::string& clean, int) {
         EXPECT_EQ(f, clean.substr(0, 5) + "\x16" + clean.substr(5));
       }},
      {"a stray byte inside the data", register_protocol::kelvora, {.kind = fault_kind::stray_byte},
       [](const std::string& f, const std::string& clean, int) {
         ASSERT_EQ(f.size(), clean.size() + 1);
         EXPECT_EQ(f.find('Z', 9) != std::string::npos, true);
         EXPECT_FALSE(parse_reply(f, true).sound);
       }},
      {"LEN one too small", register_protocol::datecs, {.kind = fault_kind::short_len},
       [](const std::string& f, const std::string& clean, int) {
         std::string expected = clean;
         expected[1] = static_cast<char>(expected[1] - 1);
         EXPECT_EQ(f, expected);
       }},
      {"NAK instead of the reply", register_protocol::kelvora, {.kind = fault_kind::nak},
       [](const std::string& f, const std::string&, int) { EXPECT_EQ(f, "\x15"); }},
      {"wrong checksum", register_protocol::datecs, {.kind = fault_kind::bad_checksum},
       [](const std::string& f, const std::string& clean, int) {
         ASSERT_EQ(f.size(), clean.size());
         EXPECT_EQ(f.substr(0, f.size() - 5), clean.substr(0, clean.size() - 5));
         EXPECT_NE(f, clean);
         EXPECT_FALSE(parse_reply(f, false).sound);
       }},
      {"a reply to another command first", register_protocol::kelvora,
       {.kind = fault_kind::other_command, .interval_ms = 50},
       [](const std::string& f, const std::string& clean, int) {
         ASSERT_GT(f.size(), clean.size());
         EXPECT_EQ(f.substr(f.size() - clean.size()), clean);
         const parsed_reply other = parse_reply(f.substr(0, f.size() - clean.size()), true);
         EXPECT_TRUE(other.sound);
         EXPECT_TRUE(other.seq != 0x21 || other.command != 0x80);
       }},
      {"a Kelvora error code", register_protocol::kelvora, {.kind = fault_kind::kelvora_error, .text = "0CD0"},
       [](const std::string& f, const std::string&, int) {
         const parsed_reply r = parse_reply(f, true);
         EXPECT_TRUE(r.sound);
         EXPECT_EQ(r.error_code, "0CD0");
         EXPECT_EQ(r.data, "");
       }},
      {"a reply split over writes", register_protocol::datecs,
       {.kind = fault_kind::split, .param = 3, .interval_ms = 80},
       [](const std::string& f, const std::string& clean, int reads) {
         EXPECT_EQ(f, clean);
         EXPECT_GE(reads, 2);
       }},
      {"one byte at a time", register_protocol::kelvora, {.kind = fault_kind::slow_sender, .interval_ms = 3},
       [](const std::string& f, const std::string& clean, int reads) {
         EXPECT_EQ(f, clean);
         EXPECT_GT(reads, 5);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim_harness h;
    sim::fault_rule rule = c.rule;
    rule.skip = 1;  // the first answer is clean, the resend of the same frame gets the fault
    h.fault(rule);
    raw_client client(h.port(c.protocol));
    ready(client);
    const std::string& frame = c.protocol == register_protocol::datecs ? datecs_frame : kelvora_frame;
    client.send(frame);
    const std::string clean = client.read_until(frame_ended);
    ASSERT_TRUE(parse_reply(clean, c.protocol == register_protocol::kelvora).sound);
    client.send(frame);
    const bool two = c.rule.kind == fault_kind::other_command;
    const std::string faulted = client.read_until(two ? two_frames_ended : frame_ended, 5000);
    c.check(faulted, clean, client.reads);
    EXPECT_EQ(h.sim().faults_injected(), 1);
  }
}

TEST(SimFaults, SilenceAnswersNothingAndTheNextRequestIsAnswered) {
  sim_harness h;
  h.fault({.kind = fault_kind::silence, .command = 0x5A});
  raw_client client(h.datecs_port());
  ready(client);
  client.send(datecs_frame);
  EXPECT_EQ(client.read_quiet(300), "");
  EXPECT_FALSE(client.closed());
  client.send(request(0x22, 0x5A, "0"));
  EXPECT_TRUE(parse_reply(client.read_until(frame_ended), false).sound);
}

TEST(SimFaults, ClosedConnectionNeedsANewHandshake) {
  sim_harness h;
  h.fault({.kind = fault_kind::close_connection});
  {
    raw_client client(h.kelvora_port());
    ready(client);
    client.send(kelvora_frame);
    client.read_until([](const std::string&) { return false; }, 2000);
    EXPECT_TRUE(client.closed());
  }
  raw_client again(h.kelvora_port());
  ready(again);
  again.send(kelvora_frame);
  EXPECT_TRUE(parse_reply(again.read_until(frame_ended), true).sound);
  EXPECT_EQ(h.sim().connections_accepted(), 2);
}

TEST(SimFaults, HandshakeFaults) {
  const struct {
    const char* name;
    sim::fault_rule rule;
    const char* expected;
    bool closes;
    int min_reads;
  } cases[] = {
      {"wrong text", {.kind = fault_kind::wrong_ready}, "ready", false, 1},
      {"Ready with a line break", {.kind = fault_kind::wrong_ready, .text = "Ready\n"}, "Ready\n", false, 1},
      {"Re + ady", {.kind = fault_kind::ready_split, .interval_ms = 150}, "Ready", false, 2},
      {"silent gateway", {.kind = fault_kind::silence, .on_handshake = true}, "", false, 0},
      {"gateway that closes", {.kind = fault_kind::close_connection, .on_handshake = true}, "", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim_harness h;
    h.fault(c.rule);
    raw_client client(h.datecs_port());
    client.send(std::string("KV0000001", 9));
    const std::string reply = client.read_until([](const std::string& b) { return b.size() >= 6; }, 600);
    EXPECT_EQ(reply, c.expected);
    EXPECT_EQ(client.closed(), c.closes);
    EXPECT_GE(client.reads, c.min_reads);
  }
}

TEST(SimFaults, PacketWithWrongCrcAndPacketSplitOverWrites) {
  sim_harness h;
  h.fault({.kind = fault_kind::bad_crc, .command = 0x10});
  h.fault({.kind = fault_kind::split, .command = 0x21, .param = 2, .interval_ms = 80});
  raw_client client(h.datecs_port());
  ready(client);
  client.send(range_packet(1, 1, 3));
  std::string p = client.read_until(packet_whole);
  ASSERT_TRUE(packet_whole(p));
  std::size_t size = get_le(p, 8, 2);
  EXPECT_NE(get_le(p, 10 + size, 2), crc16(p.substr(10, size)));
  client.send(continue_packet);
  p = client.read_until(packet_whole);
  ASSERT_TRUE(packet_whole(p));
  size = get_le(p, 8, 2);
  EXPECT_EQ(get_le(p, 10 + size, 2), crc16(p.substr(10, size)));
  EXPECT_GE(client.reads, 2);
  EXPECT_EQ(get_le(p, 4, 4), 2u);  // the stream went on with the next document
}

TEST(SimFaults, StreamStopsInsideADocument) {
  sim_harness h;
  h.fault({.kind = fault_kind::stream_stops, .command = 0x21});
  raw_client client(h.kelvora_port());
  ready(client);
  client.send(range_packet(1, 1, 5));
  std::string p = client.read_until(packet_whole);
  EXPECT_EQ(p[2], '\x00');  // document 1 whole
  client.send(continue_packet);
  p = client.read_until(packet_whole);
  EXPECT_EQ(p[2], '\x02');  // document 2 begun …
  EXPECT_EQ(get_le(p, 4, 4), 2u);
  EXPECT_LT(get_le(p, 8, 2), h.tape().find(1, 2)->text.size());
  client.send(continue_packet);
  p = client.read_until(packet_whole);
  EXPECT_EQ(p[2], '\x01');  // … and the range ends without its rest
  EXPECT_EQ(get_le(p, 8, 2), 0u);
}

TEST(SimFaults, HostilePackets) {
  sim_harness h;
  h.fault({.kind = fault_kind::oversized_packet, .command = 0x10});
  h.fault({.kind = fault_kind::length_past_end, .command = 0x21, .param = 900});
  h.fault({.kind = fault_kind::garbage, .command = 0x21, .param = 700});
  raw_client client(h.datecs_port());
  ready(client);
  client.send(range_packet(1, 1, 4));
  std::string p = client.read_until(packet_whole);
  ASSERT_TRUE(packet_whole(p));
  EXPECT_GT(p.size(), 1460u);
  std::size_t size = get_le(p, 8, 2);
  EXPECT_EQ(p.size(), 12 + size);
  EXPECT_EQ(get_le(p, 10 + size, 2), crc16(p.substr(10, size)));

  client.send(continue_packet);
  p = client.read_quiet(300);
  ASSERT_GE(p.size(), 12u);
  EXPECT_EQ(get_le(p, 8, 2), p.size() - 12 + 900);  // announces 900 bytes that never come

  client.send(continue_packet);
  EXPECT_EQ(client.read_until([](const std::string& b) { return b.size() >= 700; }).size(), 700u);
}

TEST(SimFaults, EndlessStreamNeverEndsItsDocument) {
  sim_harness h;
  h.fault({.kind = fault_kind::endless_stream, .command = 0x21});
  raw_client client(h.kelvora_port());
  ready(client);
  client.send(range_packet(1, 1, 2));
  client.read_until(packet_whole);
  for (int i = 0; i < 50; ++i) {
    client.send(continue_packet);
    const std::string p = client.read_until(packet_whole);
    ASSERT_TRUE(packet_whole(p));
    EXPECT_EQ(p[2], '\x02');
    EXPECT_EQ(get_le(p, 4, 4), 2u);
  }
  // A new range ends it.
  client.send(range_packet(1, 1, 1));
  EXPECT_EQ(client.read_until(packet_whole)[2], '\x01');
}

TEST(SimFaults, NoiseInsteadOfAReply) {
  sim_harness h;
  h.fault({.kind = fault_kind::garbage, .param = 1000});
  raw_client client(h.datecs_port());
  ready(client);
  client.send(datecs_frame);
  const std::string noise = client.read_until([](const std::string& b) { return b.size() >= 1000; });
  EXPECT_EQ(noise.size(), 1000u);
  for (const char protocol_byte : {'\x01', '\x03', '\x15', '\x16'}) {
    EXPECT_NE(noise.find(protocol_byte), std::string::npos);
  }
}

TEST(SimFaults, RulesMatchCommandAndProtocolSkipAndCount) {
  sim_harness h;
  h.fault({.kind = fault_kind::nak, .command = 0xA7, .protocol = register_protocol::kelvora, .skip = 1, .times = 2});
  raw_client datecs(h.datecs_port());
  raw_client kelvora(h.kelvora_port());
  ready(datecs);
  ready(kelvora);
  std::string answers;
  std::uint8_t seq = 0x21;
  for (int i = 0; i < 5; ++i) {
    datecs.send(request(seq, 0xA7, "1,1,0"));
    EXPECT_NE(datecs.read_until(frame_ended), "\x15");
    kelvora.send(request(seq, 0x80, "418257;"));
    EXPECT_NE(kelvora.read_until(frame_ended), "\x15");
    kelvora.send(request(static_cast<std::uint8_t>(seq + 1), 0xA7, "418257;1;1;" + std::to_string(i) + ";"));
    answers += kelvora.read_until(frame_ended) == "\x15" ? 'N' : '.';
    seq = static_cast<std::uint8_t>(seq + 2);
  }
  EXPECT_EQ(answers, ".NN..");
  EXPECT_EQ(h.sim().injected_kinds(), (std::vector<fault_kind>{fault_kind::nak, fault_kind::nak}));
}

TEST(SimFaults, AlwaysMeansEveryMatchingReply) {
  sim_harness h;
  h.fault({.kind = fault_kind::nak, .times = -1});
  raw_client client(h.datecs_port());
  ready(client);
  for (std::uint8_t seq = 0x21; seq < 0x29; ++seq) {
    client.send(request(seq, 0x5A, "0"));
    EXPECT_EQ(client.read_until(frame_ended), "\x15");
  }
  h.sim().clear_faults();
  client.send(request(0x30, 0x5A, "0"));
  EXPECT_TRUE(parse_reply(client.read_until(frame_ended), false).sound);
}

// Runs a fixed exchange against a storm and returns the faults it drew.
std::vector<fault_kind> storm_run(std::uint64_t seed) {
  sim_harness h;
  h.sim().set_random_faults({.seed = seed, .probability = 0.5, .kinds = {fault_kind::nak, fault_kind::bad_checksum,
                                                                          fault_kind::syn_inside, fault_kind::bad_crc}});
  raw_client client(h.datecs_port());
  ready(client);
  for (std::uint8_t seq = 0x21; seq < 0x41; ++seq) {
    client.send(request(seq, 0xA7, "1,1," + std::to_string(seq)));
    client.read_until(frame_ended);
    client.send(range_packet(1, 1, 1));
    client.read_until(packet_whole);
  }
  return h.sim().injected_kinds();
}

TEST(SimFaults, StormDependsOnItsSeedAndFitsEachExchange) {
  const auto first = storm_run(42);
  EXPECT_EQ(storm_run(42), first);
  EXPECT_NE(storm_run(43), first);
  EXPECT_GT(first.size(), 10u);
  EXPECT_LT(first.size(), 60u);
  EXPECT_NE(std::find(first.begin(), first.end(), fault_kind::bad_crc), first.end());
  EXPECT_NE(std::find(first.begin(), first.end(), fault_kind::nak), first.end());
}

TEST(SimFaults, FitsTellsWhichExchangeAKindCanSpoil) {
  const sim::exchange_info frame_d{sim::exchange::frame, register_protocol::datecs, 0xA7, false};
  const sim::exchange_info frame_k{sim::exchange::frame, register_protocol::kelvora, 0xA7, false};
  const sim::exchange_info packet_doc{sim::exchange::packet, register_protocol::datecs, 0x21, true};
  const sim::exchange_info packet_end{sim::exchange::packet, register_protocol::datecs, 0x21, false};
  const sim::exchange_info hello{sim::exchange::handshake, register_protocol::datecs, 0, false};
  EXPECT_FALSE(sim::fits(fault_kind::kelvora_error, frame_d, false));
  EXPECT_TRUE(sim::fits(fault_kind::kelvora_error, frame_k, false));
  EXPECT_FALSE(sim::fits(fault_kind::bad_crc, frame_k, false));
  EXPECT_TRUE(sim::fits(fault_kind::bad_crc, packet_end, false));
  EXPECT_TRUE(sim::fits(fault_kind::stream_stops, packet_doc, false));
  EXPECT_FALSE(sim::fits(fault_kind::stream_stops, packet_end, false));
  EXPECT_FALSE(sim::fits(fault_kind::nak, packet_doc, false));
  EXPECT_FALSE(sim::fits(fault_kind::silence, hello, false));
  EXPECT_TRUE(sim::fits(fault_kind::silence, hello, true));
  EXPECT_FALSE(sim::fits(fault_kind::silence, frame_d, true));
  EXPECT_TRUE(sim::fits(fault_kind::ready_split, hello, false));
}

TEST(SimFaultText, TextFormsOfRulesAndStorms) {
  auto parsed = sim::parse_fault("nak,cmd=A7,proto=kelvora,skip=2,times=-1");
  ASSERT_TRUE(parsed.rule);
  EXPECT_EQ(parsed.rule->kind, fault_kind::nak);
  EXPECT_EQ(parsed.rule->command, 0xA7);
  EXPECT_EQ(parsed.rule->protocol, register_protocol::kelvora);
  EXPECT_EQ(parsed.rule->skip, 2);
  EXPECT_EQ(parsed.rule->times, -1);
  parsed = sim::parse_fault("wrong_ready,text=READY");
  EXPECT_EQ(parsed.rule->text, "READY");
  parsed = sim::parse_fault("silence,handshake=1");
  EXPECT_TRUE(parsed.rule->on_handshake);
  parsed = sim::parse_fault("split,param=4,interval=7");
  EXPECT_EQ(parsed.rule->param, 4);
  EXPECT_EQ(parsed.rule->interval_ms, 7);
  parsed = sim::parse_fault("random,seed=9,p=0.25,kinds=nak+bad_crc");
  ASSERT_TRUE(parsed.storm);
  EXPECT_FALSE(parsed.rule);
  EXPECT_EQ(parsed.storm->seed, 9u);
  EXPECT_DOUBLE_EQ(parsed.storm->probability, 0.25);
  EXPECT_EQ(parsed.storm->kinds, (std::vector<fault_kind>{fault_kind::nak, fault_kind::bad_crc}));
  for (const char* bad : {"", "no_such_fault", "nak,cmd=1FF", "nak,cmd=zz", "nak,skip", "nak,colour=red",
                          "random,p=2", "random,kinds=nak+bogus", "nak,proto=other", "nak,seed=1"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(sim::parse_fault(bad), std::invalid_argument);
  }
  for (int k = 0; k <= static_cast<int>(fault_kind::endless_stream); ++k) {
    const auto kind = static_cast<fault_kind>(k);
    EXPECT_EQ(sim::fault_from_name(sim::fault_name(kind)), kind);
  }
}

}  // namespace
}  // namespace ejscope::testing
