#pragma once
// Recording doubles of the windows around the main window's logic, and a
// scripted register for the identification, shared by the connection tests.
#include <array>
#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "register/identification.h"
#include "window/connection_window.h"
#include "link/platform.h"
#include "protocol/reply_record.h"

namespace ejscope::testing {

// The wait window: records what it showed; can press "Прервать" at the
// n-th countdown text (1 = the first).
class recording_wait_window : public wait_window {
 public:
  void show() override {
    ++shown;
    visible = true;
  }
  void hide() override { visible = false; }
  void set_countdown(const std::string& text) override {
    countdowns.push_back(text);
    if (abort_at != 0 && static_cast<int>(countdowns.size()) == abort_at) request_abort();
  }
  void process_events() override { ++events; }

  int abort_at = 0;
  int shown = 0;
  int events = 0;
  bool visible = false;
  std::vector<std::string> countdowns;
};

class recording_message_box : public message_box {
 public:
  void show(const std::string& text, const std::string& caption = {}) override {
    shown.emplace_back(text, caption);
  }
  bool ask_yes_no(const std::string& text, const std::string& caption) override {
    asked.emplace_back(text, caption);
    return answer;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.first);
    return out;
  }

  bool answer = true;
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::pair<std::string, std::string>> asked;
};

// A clock that never sleeps and records the pauses asked of it.
class recording_clock : public clock {
 public:
  std::tm local_now() override { return now; }
  void sleep_ms(int ms) override { sleeps.push_back(ms); }
  std::tm now{};
  std::vector<int> sleeps;
};

// The main window as the logic leaves it.
class recording_view : public connection_view {
 public:
  void set_title(const std::string& text) override { titles.push_back(text); }
  void set_close_enabled(bool e) override { close_enabled = e; }
  void set_about_enabled(bool e) override { about_enabled = e; }
  void set_address_text(const std::string& t) override { address = t; }
  void set_identifier_text(const std::string& t) override { identifier = t; }
  void set_protocol_index(int i) override { protocol_index = i; }
  void set_id_kind_index(int i) override { id_kind_index = i; }
  void set_connect_caption(const std::string& t) override { caption = t; }
  void set_connect_enabled(bool e) override { connect_enabled = e; }
  void set_indicator(indicator_colour c) override { indicator = c; }
  void set_journal_menu_enabled(bool e) override { journal_menu = e; }
  void set_status_panel(int i, const std::string& t) override { panels.at(static_cast<std::size_t>(i)) = t; }
  void process_events() override { ++events; }

  std::vector<std::string> titles;
  bool close_enabled = false;
  bool about_enabled = false;
  std::string address;
  std::string identifier;
  int protocol_index = -1;
  int id_kind_index = -1;
  std::string caption;
  bool connect_enabled = false;
  indicator_colour indicator = indicator_colour::red;
  bool journal_menu = false;
  std::array<std::string, 4> panels;
  int events = 0;
};

// A record with the given count and fields (and flags).
inline RetData record(std::vector<std::string> fields, std::uint32_t flags = 0) {
  RetData r;
  r.flags = flags;
  r.count = static_cast<std::int32_t>(fields.size());
  for (std::size_t i = 0; i < fields.size() && i < RetData::max_fields; ++i) r.fields[i] = fields[i];
  return r;
}

inline RetData no_reply_record() { return record({}, result_flag::no_reply); }

// A register whose replies are queued per command; an exhausted queue
// answers with a no-reply record. Every command is logged as "5A",
// "80:<password>" or "23:<password>:<line>".
class scripted_register : public register_commands {
 public:
  const RetData& datecs_diagnostic_info() override {
    log.push_back("5A");
    return next(datecs);
  }
  const RetData& kelvora_diagnostic_info(const std::string& pw) override {
    log.push_back("80:" + pw);
    return next(diagnostic);
  }
  const RetData& kelvora_read_header_line(const std::string& pw, int line) override {
    log.push_back("23:" + pw + ":" + std::to_string(line));
    return next(header);
  }
  void kelvora_set_retry_count(int n) override { retry_counts.push_back(n); }
  void kelvora_set_log_file(const std::string& name) override { log_files.push_back(name); }

  // A sound Kelvora register: 11 fields with the firmware date in field 3
  // and the given header lines followed by an empty one.
  void script_kelvora(const std::string& firmware, const std::vector<std::string>& lines) {
    diagnostic.push_back(record({"KV0000001", "3000123456", "ID 42", firmware, "", "", "", "", "", "", ""}));
    for (const auto& l : lines) header.push_back(record({l, ""}));
    if (lines.size() < 9) header.push_back(record({"", ""}));
  }
  void script_datecs(const std::string& firmware) {
    datecs.push_back(record({"DP-25", firmware, "", "", "", "", "", ""}));
  }

  std::deque<RetData> datecs, diagnostic, header;
  std::vector<std::string> log;
  std::vector<int> retry_counts;
  std::vector<std::string> log_files;

 private:
  const RetData& next(std::deque<RetData>& queue) {
    if (queue.empty()) {
      current_ = no_reply_record();
    } else {
      current_ = queue.front();
      queue.pop_front();
    }
    return current_;
  }
  RetData current_;
};

}  // namespace ejscope::testing
