#include "cli/console_platform.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <istream>
#include <ostream>

#include "window/connection_window_texts.h"
#include "text/cp1251.h"

namespace ejscope::cli {
namespace {

std::string utf8(const std::string& cp1251) { return text::cp1251_to_utf8(cp1251); }

std::atomic<wait_window*> abort_target{nullptr};
struct sigaction previous_action {};

extern "C" void on_interrupt(int) {
  wait_window* wait = abort_target.load();
  if (wait == nullptr || wait->abort_requested()) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
    return;
  }
  wait->request_abort();
}

std::string lower_ascii(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return s;
}

}  // namespace

console_wait_window::console_wait_window(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

void console_wait_window::show() {}

void console_wait_window::hide() {
  if (drawn_) err_ << '\n' << std::flush;
  drawn_ = false;
}

void console_wait_window::set_countdown(const std::string& text) {
  if (!terminal_) return;
  err_ << '\r' << utf8(texts::wait_label()) << ' ' << utf8(text) << "   " << std::flush;
  drawn_ = true;
}

console_message_box::console_message_box(std::ostream& err, std::istream& in, bool assume_yes)
    : err_(err), in_(in), assume_yes_(assume_yes) {}

void console_message_box::show(const std::string& text, const std::string& caption) {
  if (!caption.empty()) err_ << utf8(caption) << ": ";
  err_ << utf8(text) << '\n' << std::flush;
}

bool console_message_box::ask_yes_no(const std::string& text, const std::string& caption) {
  if (!caption.empty()) err_ << utf8(caption) << ": ";
  err_ << utf8(text) << " [y/n] ";
  if (assume_yes_) {
    err_ << "y\n" << std::flush;
    return true;
  }
  err_ << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) return false;
  answer = lower_ascii(answer);
  return answer == "y" || answer == "yes" || answer == "\xD0\xB4" || answer == "\xD0\x94" ||
         answer == "\xD0\xB4\xD0\xB0" || answer == "\xD0\x94\xD0\x90" || answer == "\xD0\x94\xD0\xB0";
}

interrupt_abort::interrupt_abort(wait_window& wait) {
  abort_target.store(&wait);
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a blocking wait wakes up and sees the flag
  sigaction(SIGINT, &action, &previous_action);
}

interrupt_abort::~interrupt_abort() {
  sigaction(SIGINT, &previous_action, nullptr);
  abort_target.store(nullptr);
}

void add_connect_options(CLI::App& command, connect_options& options) {
  command.add_option("--host", options.host, "gateway host name or address")->required();
  command.add_option("--port", options.port, "gateway port (default: 34950 Datecs, 34951 Kelvora)");
  command.add_option("--protocol", options.protocol, "register protocol")
      ->required()
      ->check(CLI::IsMember({"datecs", "kelvora"}));
  command.add_option("--id", options.id, "register identifier: device identifier or fiscal number")->required();
  command.add_option("--id-kind", options.id_kind, "kind of identifier (default: fiscal)")
      ->check(CLI::IsMember({"dev", "fiscal"}));
  command.add_option("--timeout-scale", options.timeout_scale, "divide every time-out and pause by this factor")
      ->check(CLI::Range(1, 1000000));
}

console_session::console_session(const connect_options& options, std::ostream& err, std::istream& in,
                                 bool assume_yes)
    : options_(options),
      timeouts_(timeouts{}.scaled(options.timeout_scale)),
      wait_(err, ::isatty(STDERR_FILENO) == 1),
      messages_(err, in, assume_yes),
      core_(view_, wait_, messages_, timeouts_) {
  connection_window& logic = core_.logic;
  logic.start();
  logic.choose_protocol(options_.protocol == "kelvora" ? 1 : 0);
  logic.choose_identifier_kind(options_.id_kind == "dev" ? 0 : 1);
  logic.edit_address(options_.host);
  logic.edit_identifier(text::utf8_to_cp1251(options_.id));
  logic.set_port_override(options_.port);
}

bool console_session::connect() {
  interrupt_abort ctrl_c(wait_);
  if (core_.logic.state() != connection_state::connected) core_.logic.toggle_connection();
  return core_.logic.state() == connection_state::connected;
}

void console_session::disconnect() {
  if (core_.logic.state() == connection_state::connected) core_.logic.toggle_connection();
  core_.link.close();
}

}  // namespace ejscope::cli
