#pragma once
// The logic of the connection (main) window, free of any toolkit: start-up with
// the settings file, the connect/disconnect button with the handshake and
// the identification, and the choices that empty the request window's model.
// The desktop window, the command line and the tests each implement
// connection_view; each handler is named after what it does (docs/design.md
// maps the controls to them).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "link/access_request.h"
#include "link/gateway_link.h"
#include "register/identification.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "datecs/link_layer.h"

namespace ejscope {

// The connection indicator's colour values: the platform's red and lime.
enum class indicator_colour : int { red = 255, green = 65280 };

enum class connection_state { not_connected, waiting, connected };

inline constexpr std::uint16_t datecs_port = 34950;
inline constexpr std::uint16_t kelvora_port = 34951;

// What the main window shows. Every text is windows-1251.
class connection_view {
 public:
  virtual ~connection_view() = default;
  virtual void set_title(const std::string& text) = 0;
  virtual void set_close_enabled(bool enabled) = 0;              // "Закрыть"
  virtual void set_about_enabled(bool enabled) = 0;              // menu "О программе..."
  virtual void set_address_text(const std::string& text) = 0;    // address field
  virtual void set_identifier_text(const std::string& text) = 0; // identifier field
  virtual void set_protocol_index(int index) = 0;                // protocol choice
  virtual void set_id_kind_index(int index) = 0;                 // identifier-kind choice
  virtual void set_connect_caption(const std::string& text) = 0; // connect button
  virtual void set_connect_enabled(bool enabled) = 0;            // connect button
  virtual void set_indicator(indicator_colour colour) = 0;       // connection indicator
  virtual void set_journal_menu_enabled(bool enabled) = 0;       // menu "КЛЭФ"
  virtual void set_status_panel(int index, const std::string& text) = 0;  // status panels 0..3
  // Repaint the window and let pending user-interface events run.
  virtual void process_events() = 0;
};

class connection_window {
 public:
  connection_window(connection_view& view, gateway_link& link, wait_window& wait,
                    message_box& messages, clock& clk, register_commands& commands,
                    const timeouts& t = {});

  // Window events. The view forwards user edits and choices; a text the
  // logic set itself may come back through edit_address/edit_identifier harmlessly.
  void start();
  void activate();
  void close();
  void toggle_connection();
  void choose_protocol(int index);
  void choose_identifier_kind(int index);
  void edit_address(const std::string& text);
  void edit_identifier(const std::string& text);

  // The folder of ejscope.ini; without it the current directory at the
  // first activation (or at the first connect) is taken.
  void set_base_folder(const std::filesystem::path& folder);
  // A gateway port other than the protocol's own (0: the protocol's port).
  void set_port_override(std::uint16_t port) { port_override_ = port; }
  // Called whenever the request window's model must be emptied: a protocol
  // choice, or a changed register identifier.
  void set_model_reset(std::function<void()> reset) { model_reset_ = std::move(reset); }

  connection_state state() const { return state_; }
  indicator_colour indicator() const { return indicator_; }
  const identification_state& identification() const { return identification_; }
  bool packet_mode() const { return identification_.packet_mode; }
  bool colvo_flag() const { return colvo_flag_; }
  const std::string& address() const { return address_; }
  const std::string& identifier() const { return identifier_; }
  int protocol_index() const { return protocol_index_; }
  int id_kind_index() const { return id_kind_index_; }
  std::uint16_t port() const;
  std::filesystem::path settings_path() const;
  // What a driver needs to reconnect: the address and the access request of the identifier.
  datecs::reconnect_target reconnect_target() const;

 private:
  void connect();
  void disconnect();
  void read_first_connect_settings();
  bool open_link();
  void show_not_connected();
  void reset_model();
  std::filesystem::path base_folder() const;

  connection_view& view_;
  gateway_link& link_;
  wait_window& wait_;
  message_box& messages_;
  clock& clock_;
  register_commands& commands_;
  timeouts timeouts_;

  std::filesystem::path base_folder_;
  std::uint16_t port_override_ = 0;
  std::function<void()> model_reset_;

  std::string address_;
  std::string identifier_;
  int protocol_index_ = -1;
  int id_kind_index_ = -1;
  bool colvo_flag_ = false;
  bool first_connect_read_ = false;
  int reply_attempts_ = 1;

  connection_state state_ = connection_state::not_connected;
  indicator_colour indicator_ = indicator_colour::red;
  identification_state identification_;
};

}  // namespace ejscope
