#pragma once
// The program's windows, created once in their order and living for the
// run: the main window, the owner of the gateway connection, the reply
// store, the attention window, the wait window, the request window and the
// about window.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "window/connection_window.h"
#include "link/platform.h"
#include "link/posix_gateway_link.h"
#include "register/register_session.h"
#include "link/timeouts.h"
#include "window/journal_window.h"
#include "retrieval/session_journal_commands.h"
#include "ui/about_form.h"
#include "ui/attention_form.h"
#include "ui/dialog_service.h"
#include "ui/main_form.h"
#include "ui/painting_link.h"
#include "ui/request_form.h"
#include "ui/wait_form.h"

namespace ejscope::ui {

// The owner of the gateway connection (seen by the drivers through a link
// that keeps the windows painted).
struct gateway_owner {
  posix_gateway_link socket;
  painting_link link{socket};
};

// The store of the latest replies, held by the register session
// together with the two drivers that fill it. The session is attached once
// the wait window it counts down in exists.
struct reply_store {
  std::optional<register_session> session;
  last_reply& replies() { return session->replies(); }
};

struct application_options {
  timeouts times;                       // the protocols' own unless a test scales them
  std::uint16_t port_override = 0;      // a gateway port other than the protocol's
  std::filesystem::path base_folder;    // folder of ejscope.ini; empty: current directory
  dialog_service* dialogs = nullptr;    // null: the Qt dialogs
};

class application {
 public:
  explicit application(application_options options = {});
  ~application();
  application(const application&) = delete;
  application& operator=(const application&) = delete;

  // Shows the main window; its activation runs the start-up sequence.
  void start();

  // True while a user action runs; a second one is refused meanwhile.
  bool busy() const { return busy_; }

  dialog_service& dialogs() { return *dialogs_; }
  connection_window& main_logic() { return *main_logic_; }
  journal_window& request_logic() { return *request_logic_; }

  std::unique_ptr<main_window> main_window_form;
  std::unique_ptr<gateway_owner> gateway;
  std::unique_ptr<reply_store> replies;
  std::unique_ptr<attention_dialog> attention_form;
  std::unique_ptr<wait_dialog> wait_form;
  std::unique_ptr<request_dialog> request_form;
  std::unique_ptr<about_dialog> about_form;

 private:
  // Runs one user action: refused while another runs; an error that escapes
  // it goes to the error display and the program goes on.
  void run(const std::function<void()>& action);
  void wire_main_window();
  void wire_request_window();
  request_environment request_connection();
  // "Сохранить": the displayed lines to a file the user names.
  void save_display_lines();

  application_options options_;
  qt_dialog_service qt_dialogs_;
  dialog_service* dialogs_;
  system_clock clock_;
  std::unique_ptr<connection_window> main_logic_;
  std::optional<session_journal_commands> journal_;
  std::unique_ptr<journal_window> request_logic_;
  bool busy_ = false;
  bool reset_pending_ = false;
};

}  // namespace ejscope::ui
