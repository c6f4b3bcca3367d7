#include "ui/application.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <clocale>
#include <exception>

#include "render/display_file.h"
#include "ui/controls.h"
#include "ui/qt_text.h"

namespace ejscope::ui {

application::application(application_options options)
    : options_(std::move(options)),
      dialogs_(options_.dialogs ? options_.dialogs : &qt_dialogs_) {
  // Qt takes the user's locale for the C library at start; every number
  // conversion of the program uses "." as its decimal separator.
  std::setlocale(LC_NUMERIC, "C");
  Form3 = std::make_unique<TForm3>();
  qt_dialogs_.set_parent(Form3.get());
  Form1 = std::make_unique<TForm1>();
  Form2 = std::make_unique<TForm2>();
  Form4 = std::make_unique<TForm4>();
  Form5 = std::make_unique<TForm5>();
  Form2->session.emplace(Form1->link, *Form5, *dialogs_, clock_, options_.times,
                         [this] { return main_logic_->reconnect_target(); });
  Form53 = std::make_unique<TForm53>(*Form4);
  Form54 = std::make_unique<TForm54>(Form3.get());

  main_logic_ = std::make_unique<main_window_logic>(*Form3, Form1->link, *Form5, *dialogs_, clock_,
                                                    *Form2->session, options_.times);
  main_logic_->set_port_override(options_.port_override);
  if (!options_.base_folder.empty()) main_logic_->set_base_folder(options_.base_folder);
  journal_.emplace(*Form2->session);
  request_logic_ = std::make_unique<request_window_logic>(*Form53, *dialogs_, request_connection());
  // A change that arrives while an action runs (an identifier typed during a
  // request) empties the model once that action is over, never under it.
  main_logic_->set_model_reset([this] {
    if (busy_)
      reset_pending_ = true;
    else
      request_logic_->empty_model();
  });
  wire_main_window();
  wire_request_window();
  main_logic_->FormCreate();
  request_logic_->FormCreate(clock_.local_now());
}

application::~application() = default;

void application::start() { Form3->show(); }

void application::run(const std::function<void()>& action) {
  if (busy_) return;
  busy_ = true;
  try {
    action();
  } catch (const std::exception& error) {
    dialogs_->show_error(error.what());
  }
  busy_ = false;
  if (reset_pending_) {
    reset_pending_ = false;
    request_logic_->empty_model();
  }
}

request_environment application::request_connection() {
  request_environment env;
  env.link = &Form1->link;
  env.commands = &*journal_;
  env.limits = options_.times;
  main_window_logic& logic = *main_logic_;
  env.current_protocol = [&logic] { return static_cast<protocol>(logic.protocol_index()); };
  env.packet_mode = [&logic] { return logic.packet_mode(); };
  env.header = [&logic] {
    const identification_state& id = logic.identification();
    return register_header{{id.header_lines.begin(), id.header_lines.end()}, id.header_last};
  };
  env.colvo_flag = [&logic] { return logic.colvo_flag(); };
  return env;
}

void application::save_display_lines() {
  const std::string path = dialogs_->choose_save_file({"*.txt", "*.txt", "txt"});
  if (!path.empty()) save_display(request_logic_->display(), path);
}

void application::wire_request_window() {
  TForm53& form = *Form53;
  request_window_logic& logic = *request_logic_;
  QObject::connect(&form, &TForm53::activated, &form, [this, &logic] { run([&] { logic.FormActivate(); }); },
                   Qt::QueuedConnection);
  QObject::connect(form.ComboBox1, &QComboBox::activated, &form,
                   [this, &logic] { run([&] { logic.ComboBox1Change(); }); });
  const std::pair<QPushButton*, std::function<void()>> handlers[] = {
      {form.Button1, [&logic] { logic.Button1Click(); }},
      {form.Button4, [&logic] { logic.Button4Click(); }},
      {form.Button5, [&logic] { logic.Button5Click(); }},
      {form.Button6, [&logic] { logic.Button6Click(); }},
      {form.Button3, [this] { save_display_lines(); }},
  };
  for (const auto& [button, handler] : handlers)
    QObject::connect(button, &QPushButton::clicked, &form, [this, handler] { run(handler); });
}

void application::wire_main_window() {
  TForm3& form = *Form3;
  main_window_logic& logic = *main_logic_;
  // Activation work runs after the activation event itself has been handled.
  QObject::connect(&form, &TForm3::activated, &form, [this, &logic] { run([&] { logic.FormActivate(); }); },
                   Qt::QueuedConnection);
  QObject::connect(&form, &TForm3::closing, &form, [this, &logic](bool& allow) {
    allow = !busy_;
    if (allow) run([&] { logic.FormClose(); });
  });
  QObject::connect(form.Button3, &QPushButton::clicked, &form,
                   [this, &logic] { run([&] { logic.Button3Click(); }); });
  QObject::connect(form.RadioGroup1, &radio_group::item_clicked, &form,
                   [this, &logic](int index) { run([&] { logic.RadioGroup1Click(index); }); });
  QObject::connect(form.RadioGroup2, &radio_group::item_clicked, &form,
                   [this, &logic](int index) { run([&] { logic.RadioGroup2Click(index); }); });
  // Edits are forwarded even while an action runs: the logic set most of
  // them itself, and an identifier typed meanwhile must still empty the model.
  QObject::connect(form.Edit1, &QLineEdit::textChanged, &form,
                   [&logic](const QString& text) { logic.Edit1Change(to_cp1251(text)); });
  QObject::connect(form.Edit2, &QLineEdit::textChanged, &form,
                   [&logic](const QString& text) { logic.Edit2Change(to_cp1251(text)); });
  // Both windows are application-modal but shown without a nested event
  // loop, so that hiding the request window during a request (and tests
  // driving it) cannot end a modal loop early.
  QObject::connect(form.N45, &QAction::triggered, &form, [this] {
    if (!busy_) Form53->show();
  });
  QObject::connect(form.N5, &QAction::triggered, &form, [this] {
    if (!busy_) Form54->show();
  });
}

}  // namespace ejscope::ui
