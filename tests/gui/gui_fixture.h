#pragma once
// What every desktop test needs: the windows of one run with scaled
// time-outs, a settings folder of its own, a dialog service that answers
// from a script, and look-ups of controls by object name.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "integration/sim_harness.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/qt_text.h"

namespace ejscope::testing {

// Time-outs divided by this factor: a silent gateway is given up after
// 4 x 60 x 20 ms, a stream read after 600 ms.
inline constexpr int gui_time_scale = 100;

// One message box as the user would have seen it (UTF-8).
struct shown_message {
  std::string text;
  std::string caption;
  bool question = false;
};

class scripted_dialogs final : public ui::dialog_service {
 public:
  void show(const std::string& text, const std::string& caption) override {
    record(text, caption, false);
  }
  bool ask_yes_no(const std::string& text, const std::string& caption) override {
    record(text, caption, true);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }
  std::string choose_save_file(const ui::save_request& request) override {
    save_requests.push_back(request);
    return save_answer;
  }
  void show_error(const std::string& text) override { record(text, "error", false); }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }

  std::vector<shown_message> messages;
  std::deque<bool> answers;          // the Yes/No answers, in order (No when none is left)
  std::string save_answer;           // the path the save dialog returns ("" = cancel)
  std::vector<ui::save_request> save_requests;
  std::function<void(const shown_message&)> on_message;  // e.g. to act while a box is "open"

 private:
  void record(const std::string& text, const std::string& caption, bool question) {
    messages.push_back({text::cp1251_to_utf8(text), text::cp1251_to_utf8(caption), question});
    if (on_message) on_message(messages.back());
  }
};

template <typename T>
T* control(QObject* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << "no control " << name << " in " << window->objectName().toStdString();
  return found;
}

inline std::string utf8(const QString& text) { return text.toStdString(); }

// Lets events run until the condition holds or the time is up.
inline bool wait_for(const std::function<bool()>& condition, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QTest::qWait(5);
  }
  return true;
}

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A gateway that accepts connections (in the listen queue) and never says
// a word: the handshake waits until it is aborted or gives up.
class silent_gateway {
 public:
  silent_gateway() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(fd_, 8) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      ADD_FAILURE() << "cannot listen on the loopback";
    port_ = ntohs(address.sin_port);
  }
  ~silent_gateway() {
    if (fd_ >= 0) ::close(fd_);
  }
  silent_gateway(const silent_gateway&) = delete;
  silent_gateway& operator=(const silent_gateway&) = delete;
  std::uint16_t port() const { return port_; }

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

// A fresh folder per test, the working directory while the test runs (as
// the program's folder is: temp.xml and error.log land there), removed at
// the end.
class temp_folder {
 public:
  temp_folder() : previous_(std::filesystem::current_path()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "ejscope-gui-" + std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~temp_folder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// The windows of one run against an in-process simulator.
class gui_test : public ::testing::Test {
 protected:
  // Call before start(): a settings file naming the simulator's register.
  void write_settings(const std::string& identifier) {
    write_file(folder.path() / "ejscope.ini",
               "[Connection]\r\nIPAddres=127.0.0.1\r\n[Property]\r\nColvo=1\r\nID=" + identifier +
                   "\r\n");
  }

  // Builds the windows and shows the main window; waits for its start-up.
  void start() {
    ui::application_options options;
    options.times = timeouts{}.scaled(gui_time_scale);
    options.base_folder = folder.path();
    options.dialogs = &dialogs;
    app = std::make_unique<ui::application>(options);
    app->start();
    QApplication::setActiveWindow(app->main_window_form.get());
    ASSERT_TRUE(wait_for([&] { return address_edit()->text() == QStringLiteral("127.0.0.1") && !app->busy(); }))
        << "the start-up sequence did not fill the address";
  }

  ui::main_window& main() { return *app->main_window_form; }
  ui::request_dialog& request() { return *app->request_form; }
  QLineEdit* address_edit() { return control<QLineEdit>(app->main_window_form.get(), "addressEdit"); }
  QLineEdit* identifier_edit() { return control<QLineEdit>(app->main_window_form.get(), "identifierEdit"); }
  QPushButton* connect_button() { return control<QPushButton>(app->main_window_form.get(), "connectButton"); }

  // A radio button answers only on its indicator and text, so it is
  // clicked near its left edge; other buttons in their middle.
  void click(QAbstractButton* button) {
    const QPoint where = button->inherits("QRadioButton") ? QPoint(6, button->height() / 2)
                                                          : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
  }

  // Selects the protocol as the user does and connects to the simulator.
  void connect_to(sim_harness& sim, int protocol_index) {
    click(control<QAbstractButton>(app->main_window_form->protocol_group, protocol_index == 0 ? "Item0" : "Item1"));
    app->main_logic().set_port_override(
        sim.port(protocol_index == 0 ? sim::register_protocol::datecs : sim::register_protocol::kelvora));
    click(connect_button());
  }

  // Connects to the simulator and opens the request window from the menu.
  void open_request_window(sim_harness& sim, int protocol_index) {
    connect_to(sim, protocol_index);
    ASSERT_TRUE(main().journal_menu->menuAction()->isEnabled()) << "not connected";
    main().journal_output_action->trigger();
    ASSERT_TRUE(request().isVisible());
  }

  // The lines the display list shows, back in windows-1251.
  std::vector<std::string> shown_lines() {
    QAbstractItemModel* model = control<QListView>(&request(), "displayList")->model();
    std::vector<std::string> lines;
    for (int row = 0; row < model->rowCount(); ++row)
      lines.push_back(ui::to_cp1251(model->data(model->index(row, 0)).toString()));
    return lines;
  }

  temp_folder folder;
  scripted_dialogs dialogs;
  std::unique_ptr<ui::application> app;
};

}  // namespace ejscope::testing
