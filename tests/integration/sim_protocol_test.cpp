// The simulator as a register behind a gateway: handshake, request checks,
// identification replies, in both protocols, spoken to byte by byte.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "integration/sim_harness.h"
#include "integration/sim_raw_client.h"

namespace ejscope::testing {
namespace {

using sim::register_protocol;

const std::string dev_access("KV0000001", 9);
const std::string fiscal_access(":3000123456:", 12);

bool frame_ended(const std::string& bytes) { return !bytes.empty() && (bytes.back() == '\x03' || bytes == "\x15"); }

std::unique_ptr<raw_client> connect_ready(sim_harness& h, register_protocol p, const std::string& access = dev_access) {
  auto client = std::make_unique<raw_client>(h.port(p));
  client->send(access);
  EXPECT_EQ(client->read_until([](const std::string& b) { return b.size() >= 5; }), "Ready");
  return client;
}

struct access_case {
  const char* name;
  std::string dev_id;
  std::string sent;
  bool ready;
};

TEST(SimHandshake, AccessRequestsByDeviceAndFiscalNumber) {
  const access_case cases[] = {
      {"device identifier", "KV0000001", dev_access, true},
      {"fiscal number", "KV0000001", fiscal_access, true},
      {"short identifier with zero bytes", "123", std::string("123\0\0\0\0\0\0", 9), true},
      {"other device", "KV0000001", std::string("KV0000002", 9), false},
      {"other fiscal number", "KV0000001", std::string(":3000123457:", 12), false},
      {"identifier without its zero bytes", "123", "123", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::config cfg = sim_test_config();
    cfg.register_identity.dev_id = c.dev_id;
    sim_harness h(cfg);
    raw_client client(h.datecs_port());
    client.send(c.sent);
    const std::string reply = client.read_until([](const std::string& b) { return b.size() >= 5; });
    EXPECT_EQ(reply == "Ready", c.ready) << reply;
    const auto requests = h.sim().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, sim::request_kind::access_request);
    EXPECT_EQ(requests[0].valid, c.ready);
    EXPECT_EQ(requests[0].bytes, c.sent);
  }
}

TEST(SimHandshake, UnknownRegisterIsRefusedAndTheConnectionClosed) {
  sim_harness h;
  raw_client client(h.kelvora_port());
  client.send(std::string("NOBODY\0\0\0", 9));
  const std::string reply = client.read_until([](const std::string&) { return false; }, 2000);
  EXPECT_EQ(reply, "Unknown register");
  EXPECT_TRUE(client.closed());
}

struct frame_check_case {
  const char* name;
  std::string bytes;
  const char* problem;
};

TEST(SimFrames, MalformedRequestFramesGetNakAndAreRecordedWithTheReason) {
  std::string bad_sum = request(0x21, 0x5A, "0");
  bad_sum[bad_sum.size() - 2] ^= 0x01;
  std::string no_postamble = request(0x21, 0x5A, "0");
  no_postamble[5] = '\x06';
  std::string bad_seq = request(0x21, 0x5A, "0");
  bad_seq[2] = '\x1F';
  bad_seq.replace(bad_seq.size() - 5, 4, checksum_text(bad_seq.substr(1, bad_seq.size() - 6)));
  std::string no_terminator = request(0x21, 0x5A, "0");
  no_terminator.back() = '\x02';
  const frame_check_case cases[] = {
      {"wrong checksum", bad_sum, "wrong checksum"},
      {"no post-amble", no_postamble, "no post-amble 05h after the data"},
      {"SEQ below 20h", bad_seq, "SEQ outside 20h..7Eh"},
      {"no terminator", no_terminator, "no terminator 03h"},
      {"LEN below the smallest frame", std::string("\x01\x23", 2), "impossible LEN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim_harness h;
    auto client = connect_ready(h, register_protocol::datecs);
    client->send(c.bytes);
    EXPECT_EQ(client->read_until(frame_ended), "\x15");
    const auto requests = h.sim().requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_FALSE(requests[1].valid);
    EXPECT_EQ(requests[1].problem, c.problem);
    // The register still answers the next proper frame.
    client->send(request(0x22, 0x5A, "0"));
    EXPECT_TRUE(parse_reply(client->read_until(frame_ended), false).sound);
  }
}

TEST(SimFrames, FrameCutShortIsRefusedAfterItsWait) {
  sim_harness h;
  auto client = connect_ready(h, register_protocol::kelvora);
  const std::string frame = request(0x21, 0x80, "418257;");
  client->send(frame.substr(0, 6));
  EXPECT_EQ(client->read_until(frame_ended, 5000), "\x15");
  EXPECT_EQ(h.sim().requests().back().problem, "request cut short");
}

TEST(SimFrames, FrameInSeveralSegmentsIsAnswered) {
  sim_harness h;
  auto client = connect_ready(h, register_protocol::datecs);
  const std::string frame = request(0x21, 0x5A, "0");
  client->send(frame.substr(0, 3));
  EXPECT_EQ(client->read_once(100), "");
  client->send(frame.substr(3));
  EXPECT_TRUE(parse_reply(client->read_until(frame_ended), false).sound);
}

TEST(SimIdentify, DatecsDiagnosticCarriesTheFirmwareDateSecond) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.set_firmware_date(2015, 12, 4);
  sim_harness h(cfg);
  auto client = connect_ready(h, register_protocol::datecs);
  client->send(request(0x21, 0x5A, "0"));
  const parsed_reply r = parse_reply(client->read_until(frame_ended), false);
  ASSERT_TRUE(r.sound);
  EXPECT_EQ(r.seq, 0x21);
  EXPECT_EQ(r.command, 0x5A);
  EXPECT_EQ(r.data, "3.00 4Dec15 1200,7A3F,11000000,0,KV0000001,3000123456");
  EXPECT_EQ(r.status, std::string(6, '\x80'));
}

TEST(SimIdentify, KelvoraDiagnosticHasElevenFieldsWithTheFirmwareDateFourth) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.set_firmware_date(2015, 11, 30);
  sim_harness h(cfg);
  auto client = connect_ready(h, register_protocol::kelvora, fiscal_access);
  client->send(request(0x30, 0x80, "418257;"));
  const parsed_reply r = parse_reply(client->read_until(frame_ended), true);
  ASSERT_TRUE(r.sound);
  EXPECT_EQ(r.error_code, "0000");
  EXPECT_EQ(r.data, "Kelvora-01;KV0000001;3000123456;Nov 30 2015;1.31;123456789012;0;0;30;0;1;");
}

TEST(SimIdentify, KelvoraHeaderLinesEndWithAnEmptyLine) {
  sim::config cfg = sim_test_config();
  cfg.register_identity.header_lines = {"LINE ONE", "LINE TWO"};
  sim_harness h(cfg);
  auto client = connect_ready(h, register_protocol::kelvora);
  const struct {
    const char* data;
    const char* error;
    const char* reply;
  } cases[] = {
      {"418257;0;", "0000", "LINE ONE;0;"}, {"418257;1;", "0000", "LINE TWO;0;"},
      {"418257;2;", "0000", ";0;"},         {"418257;20;", "0000", ";0;"},
      {"418257;21;", "0002", ""},           {"418257;x;", "0002", ""},
      {"999999;0;", "0003", ""},            {"418257;0", "0002", ""},
  };
  std::uint8_t seq = 0x21;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.data);
    client->send(request(seq++, 0x23, c.data));
    const parsed_reply r = parse_reply(client->read_until(frame_ended), true);
    ASSERT_TRUE(r.sound);
    EXPECT_EQ(r.error_code, c.error);
    EXPECT_EQ(r.data, c.reply);
  }
}

struct format_case {
  register_protocol protocol;
  std::uint8_t command;
  const char* data;
  bool accepted;
};

TEST(SimFrames, DataFormatOfEachCommandIsChecked) {
  const format_case cases[] = {
      {register_protocol::datecs, 0x5A, "0", true},
      {register_protocol::datecs, 0x5A, "2", false},
      {register_protocol::datecs, 0xA7, "1,5,0", true},
      {register_protocol::datecs, 0xA7, "1,5", false},
      {register_protocol::datecs, 0xA7, "2,5,0", false},
      {register_protocol::datecs, 0xA7, "1,5,32768", false},
      {register_protocol::datecs, 0xA7, "1,x,0", false},
      {register_protocol::datecs, 0xEB, "5,9", true},
      {register_protocol::datecs, 0xEB, "5;9", false},
      {register_protocol::datecs, 0xEE, "010316,0800,020316,2359,0", true},
      {register_protocol::datecs, 0xEE, "320316,0800,020316,2359,0", false},
      {register_protocol::datecs, 0xEE, "010316,2460,020316,2359,0", false},
      {register_protocol::datecs, 0xEE, "010316,0800,020316,2359,2", false},
      {register_protocol::datecs, 0x99, "", false},
      {register_protocol::kelvora, 0x80, "418257;", true},
      {register_protocol::kelvora, 0x80, "418257;1;", false},
      {register_protocol::kelvora, 0xA7, "418257;1;5;0;", true},
      {register_protocol::kelvora, 0xA7, "418257;1;5;0", false},
      {register_protocol::kelvora, 0xEB, "418257;5;9;", true},
      {register_protocol::kelvora, 0xEE, "418257;010316;0800;020316;2359;0;", true},
      {register_protocol::kelvora, 0xEE, "418257;010316;800;020316;2359;0;", false},
      {register_protocol::kelvora, 0x99, "418257;", false},
  };
  sim_harness h;
  auto datecs = connect_ready(h, register_protocol::datecs);
  auto kelvora = connect_ready(h, register_protocol::kelvora);
  std::uint8_t seq = 0x21;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.data);
    raw_client& client = c.protocol == register_protocol::datecs ? *datecs : *kelvora;
    client.send(request(seq++, c.command, c.data));
    const parsed_reply r = parse_reply(client.read_until(frame_ended), c.protocol == register_protocol::kelvora);
    ASSERT_TRUE(r.sound);
    EXPECT_EQ(h.sim().requests().back().valid, c.accepted) << h.sim().requests().back().problem;
    if (c.protocol == register_protocol::kelvora) {
      EXPECT_EQ(r.error_code == "0000", c.accepted) << r.error_code;
    } else if (!c.accepted) {
      // Syntax error (S0 bit 0) or invalid command (S0 bit 1).
      EXPECT_NE(static_cast<unsigned char>(r.status[0]) & 0x03, 0);
    }
  }
}

TEST(SimFrames, AResendWithTheSameSeqIsAnsweredWithoutPrintingTwice) {
  sim_harness h;
  auto client = connect_ready(h, register_protocol::kelvora);
  const std::string frame = request(0x40, 0xEB, "418257;3;4;");
  client->send(frame);
  const std::string first = client->read_until(frame_ended);
  client->send(frame);
  EXPECT_EQ(client->read_until(frame_ended), first);
  client->send(request(0x41, 0xEB, "418257;3;4;"));
  client->read_until(frame_ended);
  EXPECT_EQ(h.sim().printed().size(), 2u);
}

TEST(SimFrames, StrayBytesBetweenFramesAreRecordedNotAnswered) {
  sim_harness h;
  auto client = connect_ready(h, register_protocol::datecs);
  client->send("\x16\x16garbage" + request(0x21, 0x5A, "0"));
  EXPECT_TRUE(parse_reply(client->read_until(frame_ended), false).sound);
  const auto requests = h.sim().requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].problem, "stray bytes outside a request");
  EXPECT_EQ(requests[1].bytes, "\x16\x16garbage");
  EXPECT_TRUE(requests[2].valid);
}

}  // namespace
}  // namespace ejscope::testing
