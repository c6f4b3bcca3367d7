#include "window/connection_window.h"

#include <clocale>
#include <exception>
#include <system_error>

#include "link/handshake.h"
#include "window/connection_window_texts.h"
#include "window/settings.h"

namespace ejscope {

connection_window::connection_window(connection_view& view, gateway_link& link, wait_window& wait,
                                     message_box& messages, clock& clk, register_commands& commands,
                                     const timeouts& t)
    : view_(view), link_(link), wait_(wait), messages_(messages), clock_(clk), commands_(commands),
      timeouts_(t) {}

void connection_window::start() {
  view_.set_title(texts::window_title());
  protocol_index_ = static_cast<int>(protocol::datecs);
  id_kind_index_ = static_cast<int>(id_kind::fiscal);
  view_.set_protocol_index(protocol_index_);
  view_.set_id_kind_index(id_kind_index_);
  show_not_connected();
}

void connection_window::activate() {
  view_.set_title(texts::window_title());
  view_.set_close_enabled(false);
  view_.set_about_enabled(false);
  // "." as the decimal separator of every number conversion from here on.
  std::setlocale(LC_NUMERIC, "C");
  view_.set_title(texts::startup_step_title() + "1");
  clock_.sleep_ms(timeouts_.startup_step_ms);
  view_.process_events();
  clock_.sleep_ms(timeouts_.startup_wait_ms);
  view_.set_title(texts::window_title());

  if (base_folder_.empty()) base_folder_ = base_folder();
  settings_file file(settings_path());
  if (!file.exists()) {
    messages_.show(texts::settings_missing());
    if (file.create_empty()) write_new_settings(file);
  }
  startup_settings s = read_startup_settings(file);
  address_ = s.address;
  view_.set_address_text(address_);
  if (s.identifier != identifier_) {
    view_.set_identifier_text(s.identifier);
    edit_identifier(s.identifier);
  }
  colvo_flag_ = s.colvo_flag;

  view_.set_close_enabled(true);
  view_.set_about_enabled(true);
}

void connection_window::close() {
  write_close_settings(settings_file(settings_path()), address_, identifier_);
}

void connection_window::toggle_connection() {
  // A press while the wait window counts down is ignored: the handshake
  // is still using the connection that a new press would close and reopen.
  if (state_ == connection_state::waiting) return;
  try {
    if (indicator_ == indicator_colour::red) {
      connect();
    } else {
      disconnect();
    }
  } catch (const std::exception& e) {
    // An error that escapes the action ends it with its own message.
    state_ = connection_state::not_connected;
    show_not_connected();
    messages_.show(e.what());
  }
}

void connection_window::choose_protocol(int index) {
  protocol_index_ = index;
  if (protocol_index_ >= 0 && id_kind_index_ >= 0) {
    view_.set_connect_enabled(true);
    reset_model();
  }
}

void connection_window::choose_identifier_kind(int index) {
  id_kind_index_ = index;
  if (protocol_index_ >= 0 && id_kind_index_ >= 0) view_.set_connect_enabled(true);
}

void connection_window::edit_address(const std::string& text) { address_ = text; }

void connection_window::edit_identifier(const std::string& text) {
  if (text == identifier_) return;
  identifier_ = text;
  reset_model();
}

void connection_window::set_base_folder(const std::filesystem::path& folder) { base_folder_ = folder; }

std::uint16_t connection_window::port() const {
  if (port_override_ != 0) return port_override_;
  return protocol_index_ == static_cast<int>(protocol::kelvora) ? kelvora_port : datecs_port;
}

std::filesystem::path connection_window::settings_path() const {
  return base_folder() / settings_file_name;
}

datecs::reconnect_target connection_window::reconnect_target() const {
  id_kind kind = id_kind_index_ == static_cast<int>(id_kind::dev) ? id_kind::dev : id_kind::fiscal;
  return {address_, access_request(identifier_, kind)};
}

std::filesystem::path connection_window::base_folder() const {
  if (!base_folder_.empty()) return base_folder_;
  std::error_code ec;
  std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::filesystem::path(".") : current;
}

void connection_window::read_first_connect_settings() {
  if (first_connect_read_) return;
  first_connect_read_ = true;
  first_connect_settings s = ejscope::read_first_connect_settings(settings_file(settings_path()));
  if (s.log != 0) commands_.kelvora_set_log_file(s.log_name);
  reply_attempts_ = s.reply_attempts;
}

bool connection_window::open_link() {
  if (link_.is_open()) link_.close();
  link_.set_host(address_);
  try {
    link_.open();
  } catch (const link_error&) {
    messages_.show(texts::server_no_answer_address());
    return false;
  }
  if (!link_.is_open()) link_.open();
  return true;
}

void connection_window::connect() {
  read_first_connect_settings();
  bool kelvora = protocol_index_ == static_cast<int>(protocol::kelvora);
  link_.set_port(port());
  if (kelvora) commands_.kelvora_set_retry_count(reply_attempts_);
  link_.set_timeout_ms(timeouts_.stream_ms);
  if (!open_link()) return;

  state_ = connection_state::waiting;
  std::string reply;
  if (link_.is_open()) reply = exchange_handshake(link_, wait_, timeouts_, reconnect_target().access_request);
  state_ = connection_state::not_connected;
  if (!is_ready_reply(reply)) {
    show_not_connected();
    messages_.show(texts::server_no_answer_settings());
    return;
  }

  identification_result result = identification_result::success;
  try {
    result = identify_register(kelvora ? protocol::kelvora : protocol::datecs, commands_, messages_,
                               identification_);
  } catch (...) {
    for (int i = 0; i < status_panel_count; ++i) view_.set_status_panel(i, identification_.panels[i]);
    throw;
  }
  for (int i = 0; i < status_panel_count; ++i) view_.set_status_panel(i, identification_.panels[i]);
  if (result == identification_result::device_timeout) return;

  state_ = connection_state::connected;
  indicator_ = indicator_colour::green;
  view_.set_indicator(indicator_);
  view_.set_connect_caption(texts::disconnect_caption());
  view_.set_journal_menu_enabled(true);
}

void connection_window::disconnect() {
  for (int i = 0; i < status_panel_count; ++i) {
    identification_.panels[i].clear();
    view_.set_status_panel(i, "");
  }
  state_ = connection_state::not_connected;
  show_not_connected();
  link_.close();
}

void connection_window::show_not_connected() {
  indicator_ = indicator_colour::red;
  view_.set_indicator(indicator_);
  view_.set_connect_caption(texts::connect_caption());
  view_.set_journal_menu_enabled(false);
}

void connection_window::reset_model() {
  if (model_reset_) model_reset_();
}

}  // namespace ejscope
