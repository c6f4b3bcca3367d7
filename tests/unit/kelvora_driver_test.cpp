// The Kelvora driver over a scripted gateway: the receive phase, the resend
// with the same SEQ byte, the block that answers another command, errors of
// the connection, the command operations and the exchange log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "fake_gateway_link.h"
#include "kelvora/driver.h"
#include "kelvora_frames.h"

namespace ejscope::kelvora {
namespace {

using namespace std::string_literals;
using testing::fake_gateway_link;
using testing::kelvora_reply;

class recording_clock : public clock {
 public:
  std::tm local_now() override {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 7;
    t.tm_sec = 3;
    return t;
  }
  void sleep_ms(int ms) override { sleeps.push_back(ms); }
  std::vector<int> sleeps;
};

class recording_messages : public message_box {
 public:
  void show(const std::string& text, const std::string&) override { shown.push_back(text); }
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
  std::vector<std::string> shown;
};

// A gateway whose writes fail, as a reset connection does.
class failing_write_link : public fake_gateway_link {
 public:
  std::size_t write(const void*, std::size_t) override { throw link_error("broken pipe"); }
};

std::string reply(std::uint8_t seq, std::uint8_t cmd, std::string data, std::string error = "0000") {
  kelvora_reply r;
  r.seq = seq;
  r.cmd = cmd;
  r.data = std::move(data);
  r.error = std::move(error);
  return r.bytes();
}

std::uint8_t seq_of(const std::string& frame) { return static_cast<std::uint8_t>(frame.at(2)); }
std::string data_of(const std::string& frame) { return frame.substr(4, frame.size() - 10); }

struct KelvoraDriver : ::testing::Test {
  fake_gateway_link link;
  recording_messages messages;
  recording_clock clk;
  timeouts t;
  driver d{link, messages, clk, t};
};

TEST_F(KelvoraDriver, GoodReplyFillsTheRecord) {
  link.push_read("\x16\x16"s + reply(0x21, 0x80, "A1;15Dec15;ABC;"));
  int status = 7;
  const RetData& r = d.diagnostic_info("418257", status);
  EXPECT_EQ(&r, &d.reply());
  EXPECT_EQ(status, 0);
  ASSERT_EQ(link.writes().size(), 1u);
  EXPECT_EQ(link.writes()[0], "\x01\x2B\x21\x80"s "418257;" "\x05" "0247" "\x03"s);
  EXPECT_EQ(link.timeout_ms(), 60000);
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.error_code, "0000");
  ASSERT_EQ(r.count, 3);
  EXPECT_EQ(r.fields[0], "A1");
  EXPECT_EQ(r.fields[1], "15Dec15");
  EXPECT_EQ(r.fields[2], "ABC");
  EXPECT_EQ(r.sent_frame, link.writes()[0]);
  EXPECT_EQ(r.received, reply(0x21, 0x80, "A1;15Dec15;ABC;"));
  EXPECT_TRUE(clk.sleeps.empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KelvoraDriver, ReplySplitOverSeveralReadsIsJoined) {
  std::string f = reply(0x21, 0xA7, "1;PD94;");
  link.push_read(f.substr(0, 3));
  link.push_read("");
  link.push_read(f.substr(3, 9));
  link.push_read(f.substr(12));
  int status = 0;
  const RetData& r = d.documents_output("418257", 1, 25, 0, status);
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.fields[1], "PD94");
  EXPECT_EQ(link.writes().size(), 1u);
}

TEST_F(KelvoraDriver, SilentRegisterIsSentAgainWithTheSameSeq) {
  d.set_retry_count(1);
  const RetData& r = d.execute(0x80, "418257;");
  ASSERT_EQ(link.writes().size(), 2u);
  EXPECT_EQ(link.writes()[0], link.writes()[1]);
  EXPECT_EQ(seq_of(link.writes()[0]), 0x21);
  EXPECT_EQ(clk.sleeps, std::vector<int>{2000});
  EXPECT_EQ(r.flags, result_flag::no_reply);
  EXPECT_EQ(r.count, 0);
  link.push_read(reply(0x22, 0x80, "0;"));
  d.execute(0x80, "418257;");
  EXPECT_EQ(seq_of(link.writes().back()), 0x22);
}

TEST_F(KelvoraDriver, ResendsUpToTheRetryCount) {
  struct {
    int retries;
    std::size_t frames;
  } cases[] = {{4, 5}, {0, 1}, {2, 3}, {-3, 1}};
  for (const auto& c : cases) {
    fake_gateway_link l;
    recording_clock k;
    driver dd(l, messages, k, t);
    if (c.retries != 4) dd.set_retry_count(c.retries);
    dd.execute(0xEB, "418257;1;2;");
    EXPECT_EQ(l.writes().size(), c.frames) << c.retries;
    EXPECT_EQ(k.sleeps.size(), c.frames - 1) << c.retries;
    for (const auto& w : l.writes()) EXPECT_EQ(w, l.writes()[0]);
  }
}

TEST_F(KelvoraDriver, MalformedReplyIsSentAgainAndTheGoodOneKept) {
  link.push_read(reply(0x21, 0x23, "X;", "000"));  // error field one short
  link.push_read(reply(0x21, 0x23, "ТОВ;"));
  int status = 0;
  const RetData& r = d.read_header_line("418257", 0, status);
  ASSERT_EQ(link.writes().size(), 2u);
  EXPECT_EQ(seq_of(link.writes()[1]), 0x21);
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.fields[0], "ТОВ");
}

TEST_F(KelvoraDriver, ErrorCodeOfTheRegisterAndItsPersistence) {
  link.push_read(reply(0x21, 0xEE, "", "0CD0"));
  int status = 0;
  EXPECT_EQ(d.interval_output_by_date("418257", "010124", "0000", "020124", "2359", 0, status).error_code,
            "0CD0");
  d.set_retry_count(0);
  const RetData& r = d.print_interval("418257", 1, 2, status);
  EXPECT_EQ(r.flags, result_flag::no_reply);
  EXPECT_EQ(r.error_code, "0CD0");
}

TEST_F(KelvoraDriver, NakIsRefused) {
  link.push_read("\x15");
  d.set_retry_count(0);
  EXPECT_EQ(d.execute(0x80, "418257;").flags, result_flag::refused);
}

TEST_F(KelvoraDriver, AnErrorWhileReadingIsNoReply) {
  std::string f = reply(0x21, 0x80, "1;");
  link.push_read(f.substr(0, 10));
  link.push_reset();
  d.set_retry_count(0);
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_EQ(r.flags, result_flag::no_reply);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KelvoraDriver, AfterAnErrorWhileReadingTheResendReopensAndGetsTheReply) {
  link.push_reset();
  link.push_read(reply(0x21, 0x80, "1;"));
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_EQ(link.writes().size(), 2u);
  EXPECT_EQ(link.open_count(), 2);
  EXPECT_EQ(r.flags, 0u);
}

TEST_F(KelvoraDriver, AnErrorWhileWritingShowsItsTypeAndMessage) {
  failing_write_link broken;
  driver dd(broken, messages, clk, t);
  dd.set_retry_count(0);
  const RetData& r = dd.execute(0x80, "418257;");
  EXPECT_EQ(messages.shown, std::vector<std::string>{"link_errorbroken pipe"});
  EXPECT_EQ(r.flags, result_flag::no_reply);
}

TEST_F(KelvoraDriver, AFailingOpenIsRaised) {
  link.fail_next_open();
  EXPECT_THROW(d.execute(0x80, "418257;"), link_error);
}

TEST_F(KelvoraDriver, ABlockAnsweringAnotherCommandIsDropped) {
  struct {
    const char* name;
    std::string block;
    bool stale;
  } cases[] = {
      {"other SEQ", reply(0x30, 0x80, "9;"), true},
      {"other CMD", reply(0x21, 0x23, "9;"), true},
      {"other SEQ after SYN", "\x16\x16"s + reply(0x30, 0x80, "9;"), true},
      {"too short to tell", "\x01\x30\x30", false},
  };
  for (const auto& c : cases) {
    fake_gateway_link l;
    driver dd(l, messages, clk, t);
    dd.set_retry_count(0);
    l.push_read(c.block);
    const RetData& r = dd.execute(0x80, "418257;");
    EXPECT_EQ(dd.stale_reply(), c.stale) << c.name;
    EXPECT_EQ(r.received.empty(), c.stale) << c.name;
  }
}

TEST_F(KelvoraDriver, TheRightReplyAfterAStaleBlockIsTaken) {
  link.push_read(reply(0x20, 0xA7, "1;OLD;"));
  link.push_read(reply(0x21, 0x80, "7;"));
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_FALSE(d.stale_reply());
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.fields[0], "7");
  EXPECT_EQ(r.received, reply(0x21, 0x80, "7;"));
}

TEST_F(KelvoraDriver, AFrameEndingWithoutTerminatorStopsReading) {
  kelvora_reply bad;
  bad.terminator = 'X';
  link.push_read(bad.bytes());
  link.push_read(reply(0x21, 0x80, "1;"));
  d.set_retry_count(0);
  EXPECT_EQ(d.execute(0x80, "418257;").flags, result_flag::no_reply);
  EXPECT_EQ(link.pending_reads(), 1u);
}

TEST_F(KelvoraDriver, SynInsideTheFrameIsAProtocolError) {
  std::string f = reply(0x21, 0x80, "1;ABC;");
  link.push_read(f.substr(0, 12) + "\x16" + f.substr(12));
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_EQ(link.writes().size(), 1u);  // the shape holds without the SYN byte
  EXPECT_EQ(r.flags, result_flag::checksum_mismatch);
}

TEST_F(KelvoraDriver, CommandOperationsFormatTheirData) {
  int status = 5;
  struct {
    std::function<void()> call;
    std::uint8_t command;
    std::string data;
  } cases[] = {
      {[&] { d.diagnostic_info("418257", status); }, 0x80, "418257;"},
      {[&] { d.read_header_line("418257", 0, status); }, 0x23, "418257;0;"},
      {[&] { d.read_header_line("418257", 20, status); }, 0x23, "418257;20;"},
      {[&] { d.documents_output("418257", 1, 25, 3, status); }, 0xA7, "418257;1;25;3;"},
      {[&] { d.print_interval("418257", 10, -2, status); }, 0xEB, "418257;10;-2;"},
      {[&] { d.interval_output_by_date("418257", "010124", "0000", "311224", "2359", 0, status); },
       0xEE, "418257;010124;0000;311224;2359;0;"},
  };
  d.set_retry_count(0);
  for (const auto& c : cases) {
    status = 5;
    c.call();
    const std::string& sent = link.writes().back();
    EXPECT_EQ(static_cast<std::uint8_t>(sent[3]), c.command) << c.data;
    EXPECT_EQ(data_of(sent), c.data);
    EXPECT_EQ(d.reply().sent_data, c.data);
    EXPECT_EQ(d.reply().command, c.command);
    EXPECT_EQ(status, 0) << c.data;
  }
}

TEST_F(KelvoraDriver, HeaderLineOutsideTheRangeSendsNothing) {
  link.push_read(reply(0x21, 0x80, "1;2;"));
  int status = 0;
  d.diagnostic_info("418257", status);
  for (int line : {21, -1, 1000}) {
    status = 0;
    const RetData& r = d.read_header_line("418257", line, status);
    EXPECT_EQ(status, bad_line_number);
    EXPECT_EQ(status, -131);
    EXPECT_EQ(&r, &d.reply());
    EXPECT_EQ(r.command, 0x80);
    EXPECT_EQ(r.count, 2);
  }
  EXPECT_EQ(link.writes().size(), 1u);
}

TEST_F(KelvoraDriver, LongDataIsCutTo219Bytes) {
  d.set_retry_count(0);
  const RetData& r = d.execute(0xA7, std::string(400, 'z'));
  EXPECT_EQ(link.writes()[0].size(), 229u);
  EXPECT_EQ(r.sent_data, std::string(219, 'z'));
}

TEST_F(KelvoraDriver, GarbageBeyondTheBuffersIsCut) {
  link.push_read(std::string(500, 'A'));
  link.push_read(std::string(500, ';'));
  d.set_retry_count(0);
  const RetData& r = d.execute(0x80, "418257;");
  EXPECT_EQ(r.received, std::string(305, 'A'));
  EXPECT_EQ(r.flags, result_flag::no_reply);
}

struct temp_folder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kelvora_log_" + std::to_string(::getpid()));
  std::filesystem::path previous = std::filesystem::current_path();
  temp_folder() {
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
  }
  ~temp_folder() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(path);
  }
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(KelvoraDriver, ExchangeLogLines) {
  temp_folder folder;
  d.set_log_file(true, "ejscope.log");
  std::string answer = reply(0x21, 0x80, "1;");
  link.push_read("\x16\x16"s + answer);
  d.execute(0x80, "418257;");
  d.set_retry_count(0);
  d.execute(0x23, "418257;3;");
  const std::string stamp = "; 5-03-2024  9:07:03  ";
  EXPECT_EQ(temp_folder::read(folder.path / "ejscope.log"),
            stamp + "21\r\n80418257;\r\n" + stamp + "21 SYN=2\r\n" + answer + "\r\n" +
                stamp + "22\r\n23418257;3;\r\n" + stamp + "21 SYN=0\r\n\r\n");
}

TEST_F(KelvoraDriver, LogOffWritesNothingAndThePathStaysFixed) {
  temp_folder folder;
  d.set_retry_count(0);
  d.set_log_file(false, "off.log");
  d.execute(0x80, "418257;");
  d.set_log_file(true, "");
  d.execute(0x80, "418257;");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path));

  d.set_log_file(true, "first.log");
  d.execute(0x80, "418257;");
  d.set_log_file(true, "second.log");
  d.execute(0x80, "418257;");
  EXPECT_FALSE(std::filesystem::exists(folder.path / "second.log"));
  std::string log = temp_folder::read(folder.path / "first.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 8);
}

}  // namespace
}  // namespace ejscope::kelvora
