// Identification after "Ready": the commands sent, the panels, the
// retrieval mode, the header lines and the device time-out.
#include <gtest/gtest.h>

#include <string>

#include "register/firmware_date.h"
#include "register/identification.h"
#include "window/connection_window_texts.h"
#include "unit/connection_fakes.h"

namespace ejscope {
namespace {

using testing::no_reply_record;
using testing::record;
using testing::recording_message_box;
using testing::scripted_register;

struct identification_run {
  scripted_register reg;
  recording_message_box messages;
  identification_state state;
  identification_result identify(protocol p) { return identify_register(p, reg, messages, state); }
};

TEST(identification, datecs_fills_panels_one_and_three_and_the_mode) {
  struct {
    const char* firmware;
    bool packet_mode;
  } cases[] = {{"4Dec15", true}, {"15Dec15", true}, {"3Dec15", false}, {"12Nov15", false}, {"1Jan16", true},
               {"04Dec15", false}};
  for (const auto& c : cases) {
    identification_run run;
    run.state.panels = {"p0", "old", "p2", "old"};
    run.reg.script_datecs(c.firmware);
    EXPECT_EQ(run.identify(protocol::datecs), identification_result::success);
    EXPECT_EQ(run.state.panels[0], "p0");
    EXPECT_EQ(run.state.panels[1], "DP-25");
    EXPECT_EQ(run.state.panels[2], "p2");
    EXPECT_EQ(run.state.panels[3], c.firmware);
    EXPECT_EQ(run.state.packet_mode, c.packet_mode) << c.firmware;
    EXPECT_EQ(run.reg.log, std::vector<std::string>{"5A"});
    EXPECT_TRUE(run.messages.shown.empty());
  }
}

TEST(identification, datecs_repeats_once_when_count_is_not_eight) {
  identification_run run;
  run.reg.datecs.push_back(record({"DP-25", "1Jan16"}));
  run.reg.datecs.push_back(record({"DP-05", "3Dec15", "x"}));
  run.state.packet_mode = true;
  run.identify(protocol::datecs);
  EXPECT_EQ(run.reg.log, (std::vector<std::string>{"5A", "5A"}));
  EXPECT_EQ(run.state.panels[1], "DP-05");  // the repeat's result, used without further test
  EXPECT_FALSE(run.state.packet_mode);
}

TEST(identification, a_flagged_reply_is_asked_again_like_a_wrong_count) {
  // A cut firmware date under a checksum mismatch must not choose the mode.
  for (std::uint32_t flag : {result_flag::checksum_mismatch, result_flag::refused}) {
    identification_run datecs;
    datecs.reg.datecs.push_back(record({"DP-25", "3Dec1", "", "", "", "", "", ""}, flag));
    datecs.reg.script_datecs("4Dec15");
    datecs.identify(protocol::datecs);
    EXPECT_EQ(datecs.reg.log, (std::vector<std::string>{"5A", "5A"}));
    EXPECT_TRUE(datecs.state.packet_mode);

    identification_run kelvora;
    kelvora.reg.diagnostic.push_back(
        record({"KV0000001", "3000123456", "ID 42", "Nov 30 20", "", "", "", "", "", "", ""}, flag));
    kelvora.reg.script_kelvora("Dec  5 2015", {"TOV Kasa"});
    kelvora.reg.header.push_front(record({"TOV K", ""}, flag));
    EXPECT_EQ(kelvora.identify(protocol::kelvora), identification_result::success);
    EXPECT_TRUE(kelvora.state.packet_mode);
    EXPECT_EQ(kelvora.state.header_lines[0], "TOV Kasa");
    EXPECT_EQ(kelvora.reg.log, (std::vector<std::string>{"80:418257", "80:418257", "23:418257:0",
                                                         "23:418257:0", "23:418257:1"}));
  }
}

TEST(identification, datecs_bad_date_raises_and_keeps_the_mode) {
  for (const char* firmware : {"", "4", "4Decxx"}) {
    identification_run run;
    run.state.packet_mode = true;
    run.reg.datecs.push_back(record({"DP-25", firmware, "", "", "", "", "", ""}));
    EXPECT_THROW(run.identify(protocol::datecs), firmware_date_error) << firmware;
    EXPECT_TRUE(run.state.packet_mode);
    EXPECT_EQ(run.state.panels[1], "DP-25");
    EXPECT_EQ(run.state.panels[3], firmware);
  }
}

TEST(identification, kelvora_fills_all_panels_mode_and_header_lines) {
  struct {
    const char* firmware;
    bool packet_mode;
  } cases[] = {{"Dec  5 2015", true}, {"Dec  4 2015", true}, {"Nov 30 2015", false}};
  for (const auto& c : cases) {
    identification_run run;
    run.reg.script_kelvora(c.firmware, {"TOV Kasa", "Kyiv"});
    EXPECT_EQ(run.identify(protocol::kelvora), identification_result::success);
    EXPECT_EQ(run.state.panels[0], "KV0000001");
    EXPECT_EQ(run.state.panels[1], "3000123456");
    EXPECT_EQ(run.state.panels[2], "ID 42");
    EXPECT_EQ(run.state.panels[3], c.firmware);
    EXPECT_EQ(run.state.packet_mode, c.packet_mode) << c.firmware;
    EXPECT_EQ(run.state.header_lines[0], "TOV Kasa");
    EXPECT_EQ(run.state.header_lines[1], "Kyiv");
    EXPECT_EQ(run.state.header_last, 1);
    EXPECT_EQ(run.reg.log, (std::vector<std::string>{"80:418257", "23:418257:0", "23:418257:1", "23:418257:2"}));
  }
}

TEST(identification, kelvora_nine_header_lines_are_all_read) {
  identification_run run;
  std::vector<std::string> lines;
  for (int i = 0; i < 9; ++i) lines.push_back("line " + std::to_string(i));
  run.reg.script_kelvora("Jan 15 2016", lines);
  run.reg.header.push_back(record({"line 9", ""}));  // never asked for
  run.identify(protocol::kelvora);
  EXPECT_EQ(run.state.header_last, 8);
  EXPECT_EQ(run.state.header_lines[8], "line 8");
  EXPECT_EQ(run.reg.log.size(), 10u);
  EXPECT_EQ(run.reg.header.size(), 1u);
}

TEST(identification, kelvora_empty_first_line_stores_nothing) {
  identification_run run;
  run.state.header_lines[0] = "earlier";
  run.state.header_last = 3;
  run.reg.script_kelvora("Jan 15 2016", {});
  run.identify(protocol::kelvora);
  EXPECT_EQ(run.state.header_lines[0], "earlier");
  EXPECT_EQ(run.state.header_last, 3);
}

TEST(identification, kelvora_repeats_short_replies_once) {
  identification_run run;
  run.reg.diagnostic.push_back(record({"a", "b", "c", "Jan  1 2016"}));  // 4 fields, not 11
  run.reg.diagnostic.push_back(record({"A", "B", "C", "Nov 30 2015"}, result_flag::no_reply));
  run.reg.header.push_back(record({"only one field"}));
  run.reg.header.push_back(record({"line 0", ""}));
  run.reg.header.push_back(record({"bad"}));
  run.reg.header.push_back(record({"still bad"}));
  EXPECT_EQ(run.identify(protocol::kelvora), identification_result::success);
  // The repeat of 80h is used without a new time-out test.
  EXPECT_EQ(run.state.panels[0], "A");
  EXPECT_FALSE(run.state.packet_mode);
  EXPECT_EQ(run.state.header_lines[0], "line 0");
  EXPECT_EQ(run.state.header_lines[1], "");
  EXPECT_EQ(run.state.header_last, 0);
  EXPECT_EQ(run.reg.log, (std::vector<std::string>{"80:418257", "80:418257", "23:418257:0", "23:418257:0",
                                                   "23:418257:1", "23:418257:1"}));
}

TEST(identification, kelvora_device_timeout) {
  struct {
    const char* name;
    int lines_before_timeout;  // -1: the 80h reply itself times out
  } cases[] = {{"diagnostic", -1}, {"first_header_line", 0}, {"fourth_header_line", 3}};
  for (const auto& c : cases) {
    identification_run run;
    run.state.panels = {"p0", "p1", "p2", "p3"};
    if (c.lines_before_timeout >= 0) {
      std::vector<std::string> lines;
      for (int i = 0; i < c.lines_before_timeout; ++i) lines.push_back("L" + std::to_string(i));
      run.reg.diagnostic.push_back(record({"a", "b", "c", "Jan  1 2016", "", "", "", "", "", "", ""}));
      for (const auto& l : lines) run.reg.header.push_back(record({l, ""}));
      run.reg.header.push_back(no_reply_record());
    } else {
      run.reg.diagnostic.push_back(no_reply_record());
    }
    EXPECT_EQ(run.identify(protocol::kelvora), identification_result::device_timeout) << c.name;
    EXPECT_EQ(run.messages.texts(), std::vector<std::string>{texts::device_timeout()}) << c.name;
    if (c.lines_before_timeout < 0) {
      EXPECT_EQ(run.state.panels[0], "p0");
      EXPECT_EQ(run.reg.log.size(), 1u);
    } else {
      EXPECT_EQ(run.state.panels[0], "a");
      EXPECT_EQ(run.state.header_last, c.lines_before_timeout > 0 ? c.lines_before_timeout - 1 : 0);
      if (c.lines_before_timeout > 0) {
        EXPECT_EQ(run.state.header_lines[0], "L0");
      }
    }
  }
}

TEST(identification, datecs_after_kelvora_keeps_the_header_lines) {
  identification_run run;
  run.reg.script_kelvora("Jan 15 2016", {"TOV Kasa", "Kyiv"});
  run.identify(protocol::kelvora);
  run.reg.script_datecs("3Dec15");
  run.identify(protocol::datecs);
  EXPECT_EQ(run.state.header_lines[0], "TOV Kasa");
  EXPECT_EQ(run.state.header_last, 1);
  EXPECT_FALSE(run.state.packet_mode);
}

TEST(identification, kelvora_bad_date_raises_after_the_panels) {
  identification_run run;
  run.state.packet_mode = true;
  run.reg.script_kelvora("someday", {});
  EXPECT_THROW(run.identify(protocol::kelvora), firmware_date_error);
  EXPECT_EQ(run.state.panels[3], "someday");
  EXPECT_TRUE(run.state.packet_mode);
}

}  // namespace
}  // namespace ejscope
