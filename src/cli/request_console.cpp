#include "cli/request_console.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include <unistd.h>

#include "window/connection_environment.h"
#include "text/cp1251.h"

namespace ejscope::cli {

namespace {

int type_index(const std::string& type) {
  if (type == "z") return 0;
  if (type == "check") return 1;
  if (type == "service") return 3;
  return 2;
}

// "dd.mm.yy hh:mm" split at its first blank; the time keeps a leading blank
// of a one-digit hour (" 9:05").
void split_moment(const std::string& moment, std::string& date, std::string& time) {
  const std::size_t blank = moment.find(' ');
  date = moment.substr(0, blank);
  time = blank == std::string::npos ? std::string() : moment.substr(blank + 1);
  if (time.size() == 4 && time[1] == ':') time = " " + time;
}

}  // namespace

void add_type_options(CLI::App& command, request_options& options) {
  command.add_option("--password", options.password, "access password of the register (default 418257)");
  command.add_option("--type", options.type, "document type: z, check, both (default) or service")
      ->check(CLI::IsMember({"z", "check", "both", "service"}));
}

void add_number_options(CLI::App& command, request_options& options, bool required) {
  auto* from = command.add_option("--from", options.from, "first number: a receipt number (a Z-report number for --type z)");
  auto* to = command.add_option("--to", options.to, "last number");
  from->needs(to);
  to->needs(from);
  if (required) {
    from->required();
    to->required();
  }
}

void add_period_options(CLI::App& command, request_options& options, bool required) {
  auto* since = command.add_option("--since", options.since, "start of the period, \"dd.mm.yy hh:mm\"");
  auto* until = command.add_option("--until", options.until, "end of the period, \"dd.mm.yy hh:mm\"");
  since->needs(until);
  until->needs(since);
  if (required) {
    since->required();
    until->required();
  }
}

console_request_view::console_request_view(const request_options& options, std::ostream& err, bool terminal)
    : err_(err),
      terminal_(terminal),
      type_(type_index(options.type)),
      password_(text::utf8_to_cp1251(options.password)),
      first_(std::to_string(options.from)),
      last_(std::to_string(options.to)) {
  split_moment(options.since, start_date_, start_time_);
  split_moment(options.until, end_date_, end_time_);
}

void console_request_view::set_number_texts(const std::string& first, const std::string& last) {
  first_ = first;
  last_ = last;
}

void console_request_view::set_period_texts(const std::string& sd, const std::string& ed, const std::string& st,
                                            const std::string& et) {
  if (start_date_.empty()) start_date_ = sd;
  if (end_date_.empty()) end_date_ = ed;
  if (start_time_.empty()) start_time_ = st;
  if (end_time_.empty()) end_time_ = et;
}

void console_request_view::show_attention(const std::string&, const std::string& phase) {
  if (!terminal_) err_ << text::cp1251_to_utf8(phase) << '\n';
}

void console_request_view::set_progress(const std::string& text) {
  if (text.empty()) return;
  if (!terminal_) {
    err_ << text << '\n';
    return;
  }
  // A bar of 30 cells from the percentage that opens the text.
  double percent = 0;
  std::sscanf(text.c_str(), "%lf", &percent);
  const int cells = static_cast<int>(std::clamp(percent, 0.0, 100.0) * 30 / 100);
  err_ << "\r[" << std::string(static_cast<std::size_t>(cells), '#')
       << std::string(static_cast<std::size_t>(30 - cells), '.') << "] " << text << "   " << std::flush;
  bar_drawn_ = true;
}

void console_request_view::hide_attention() {
  if (bar_drawn_) err_ << '\n' << std::flush;
  bar_drawn_ = false;
}

void console_request_view::incomplete_documents(const std::vector<int>& numbers) {
  err_ << "ejscope: documents that came incomplete (not shown, ask again):";
  for (int n : numbers) err_ << ' ' << n;
  err_ << '\n';
}

console_request::console_request(console_session& session, const request_options& options, std::ostream& err)
    : commands_(session.core().session),
      view_(options, err, ::isatty(STDERR_FILENO) == 1),
      logic_(view_, session.messages(),
             connection_environment(session.logic(), session.core().link, commands_, session.time_limits())) {
  empty_model_on_reset(session.logic(), logic_);
  logic_.set_temp_xml_path(options.xml);
  system_clock clk;
  logic_.start(clk.local_now());  // the window's period where none was given
}

int request_exit_status(const journal_window& logic) {
  if (logic.outcome() != request_outcome::done) return 2;
  return logic.incomplete().empty() ? 0 : 3;
}

}  // namespace ejscope::cli
