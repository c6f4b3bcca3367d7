#pragma once
// The request window's world on a console, shared by fetch, numbers and
// print: the typed fields come from the options, progress goes to standard
// error (a bar on a terminal, one line per text otherwise), documents that
// came incomplete are named on standard error.
#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/console_platform.h"
#include "window/journal_window.h"
#include "retrieval/session_journal_commands.h"

namespace ejscope::cli {

struct request_options {
  std::string password = "418257";
  std::string type = "both";  // z, check, both, service
  int from = 0;
  int to = 0;
  std::string since;  // "dd.mm.yy hh:mm"
  std::string until;
  std::string output;  // the rendered text, windows-1251 with CR LF
  std::string xml = "temp.xml";
};

// --password and --type.
void add_type_options(CLI::App& command, request_options& options);
// --from and --to (required together).
void add_number_options(CLI::App& command, request_options& options, bool required);
// --since and --until (required together).
void add_period_options(CLI::App& command, request_options& options, bool required);

class console_request_view final : public journal_view {
 public:
  console_request_view(const request_options& options, std::ostream& err, bool terminal);

  int document_type() const override { return type_; }
  std::string password_text() const override { return password_; }
  std::string first_text() const override { return first_; }
  std::string last_text() const override { return last_; }
  void set_number_texts(const std::string& first, const std::string& last) override;
  std::string start_date_text() const override { return start_date_; }
  std::string end_date_text() const override { return end_date_; }
  std::string start_time_text() const override { return start_time_; }
  std::string end_time_text() const override { return end_time_; }
  void set_period_texts(const std::string& sd, const std::string& ed, const std::string& st,
                        const std::string& et) override;
  void set_request_buttons_enabled(bool) override {}
  void display_changed(const std::vector<std::string>&) override {}
  void hide_window() override {}
  void show_window() override {}
  void show_attention(const std::string& caption, const std::string& phase) override;
  void set_progress(const std::string& text) override;
  bool attention_active() const override { return true; }
  void hide_attention() override;
  void process_events() override {}
  void incomplete_documents(const std::vector<int>& numbers) override;

 private:
  std::ostream& err_;
  bool terminal_;
  bool bar_drawn_ = false;
  int type_ = 2;
  std::string password_, first_, last_;
  std::string start_date_, end_date_, start_time_, end_time_;
};

// The request window over one console session.
class console_request {
 public:
  console_request(console_session& session, const request_options& options, std::ostream& err);

  journal_window& logic() { return logic_; }
  console_request_view& view() { return view_; }

 private:
  session_journal_commands commands_;
  console_request_view view_;
  journal_window logic_;
};

// The exit status of a finished request: 0 done, 2 rejected, failed or a
// register error, 3 done but some documents came incomplete.
int request_exit_status(const journal_window& logic);

}  // namespace ejscope::cli
