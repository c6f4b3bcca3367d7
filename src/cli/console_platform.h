#pragma once
// The main window's world on a console: the wait window's countdown on
// standard error (only when it is a terminal), Ctrl-C as the abort button,
// message boxes as UTF-8 lines on standard error, yes/no answered on
// standard input or by --yes, and the connection options shared by every
// subcommand that talks to a register.
#include <CLI/CLI.hpp>

#include <cstdint>
#include <iosfwd>
#include <string>

#include "window/connection_core.h"
#include "window/connection_window.h"
#include "link/platform.h"
#include "link/timeouts.h"

namespace ejscope::cli {

class console_wait_window final : public wait_window {
 public:
  // terminal: whether the countdown is drawn (standard error is a terminal).
  explicit console_wait_window(std::ostream& err, bool terminal);
  void show() override;
  void hide() override;
  void set_countdown(const std::string& text) override;
  void process_events() override {}

 private:
  std::ostream& err_;
  bool terminal_;
  bool drawn_ = false;
};

class console_message_box final : public message_box {
 public:
  console_message_box(std::ostream& err, std::istream& in, bool assume_yes);
  void show(const std::string& text, const std::string& caption = {}) override;
  // "y", "yes", "д", "да" (any case) are Yes; end of input is No.
  bool ask_yes_no(const std::string& text, const std::string& caption) override;

 private:
  std::ostream& err_;
  std::istream& in_;
  bool assume_yes_;
};

// Ctrl-C requests the abort of the wait window while this object lives; a
// second Ctrl-C before the first was seen ends the program as usual.
class interrupt_abort {
 public:
  explicit interrupt_abort(wait_window& wait);
  ~interrupt_abort();
  interrupt_abort(const interrupt_abort&) = delete;
  interrupt_abort& operator=(const interrupt_abort&) = delete;
};

// The main window's controls as the console keeps them.
class console_main_window_view final : public connection_view {
 public:
  void set_title(const std::string&) override {}
  void set_close_enabled(bool) override {}
  void set_about_enabled(bool) override {}
  void set_address_text(const std::string&) override {}
  void set_identifier_text(const std::string&) override {}
  void set_protocol_index(int) override {}
  void set_id_kind_index(int) override {}
  void set_connect_caption(const std::string&) override {}
  void set_connect_enabled(bool) override {}
  void set_indicator(indicator_colour) override {}
  void set_journal_menu_enabled(bool) override {}
  void set_status_panel(int, const std::string&) override {}
  void process_events() override {}
};

struct connect_options {
  std::string host;
  std::uint16_t port = 0;  // 0: the protocol's own port
  std::string protocol = "datecs";
  std::string id;  // UTF-8 as typed
  std::string id_kind = "fiscal";
  int timeout_scale = 1;
};

// --host, --port, --protocol, --id, --id-kind and --timeout-scale.
void add_connect_options(CLI::App& command, connect_options& options);

// One connection to a register for a subcommand: the main window's logic
// with console windows, driven like the connect button.
class console_session {
 public:
  console_session(const connect_options& options, std::ostream& err, std::istream& in, bool assume_yes);

  // Connects, handshakes and identifies; true when connected.
  bool connect();
  void disconnect();

  connection_core& core() { return core_; }
  connection_window& logic() { return core_.logic; }
  wait_window& wait() { return wait_; }
  message_box& messages() { return messages_; }
  const timeouts& time_limits() const { return timeouts_; }

 private:
  connect_options options_;
  timeouts timeouts_;
  console_wait_window wait_;
  console_message_box messages_;
  console_main_window_view view_;
  connection_core core_;
};

}  // namespace ejscope::cli
