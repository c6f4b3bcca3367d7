#pragma once
// The program's windows, created once in their order and living for the
// run: the main window TForm3, the socket owner TForm1, the reply store
// TForm2, the attention window TForm4, the wait window TForm5, the request
// window TForm53 and the about window TForm54.
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

// TForm1: a hidden window in the original layout, here the plain owner of
// the gateway connection ClientSocket1 (seen by the drivers through a
// link that keeps the windows painted).
struct TForm1 {
  posix_gateway_link ClientSocket1;
  painting_link link{ClientSocket1};
};

// TForm2: the store of the latest replies, held by the register session
// together with the two drivers that fill it. The session is attached once
// the wait window it counts down in exists.
struct TForm2 {
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
  main_window_logic& main_logic() { return *main_logic_; }
  request_window_logic& request_logic() { return *request_logic_; }

  std::unique_ptr<TForm3> Form3;
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TForm2> Form2;
  std::unique_ptr<TForm4> Form4;
  std::unique_ptr<TForm5> Form5;
  std::unique_ptr<TForm53> Form53;
  std::unique_ptr<TForm54> Form54;

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
  std::unique_ptr<main_window_logic> main_logic_;
  std::optional<session_journal_commands> journal_;
  std::unique_ptr<request_window_logic> request_logic_;
  bool busy_ = false;
  bool reset_pending_ = false;
};

}  // namespace ejscope::ui
