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
  main_window_form = std::make_unique<main_window>();
  qt_dialogs_.set_parent(main_window_form.get());
  gateway = std::make_unique<gateway_owner>();
  replies = std::make_unique<reply_store>();
  attention_form = std::make_unique<attention_dialog>();
  wait_form = std::make_unique<wait_dialog>();
  replies->session.emplace(gateway->link, *wait_form, *dialogs_, clock_, options_.times,
                         [this] { return main_logic_->reconnect_target(); });
  request_form = std::make_unique<request_dialog>(*attention_form);
  about_form = std::make_unique<about_dialog>(main_window_form.get());

  main_logic_ = std::make_unique<connection_window>(*main_window_form, gateway->link, *wait_form, *dialogs_, clock_,
                                                    *replies->session, options_.times);
  main_logic_->set_port_override(options_.port_override);
  if (!options_.base_folder.empty()) main_logic_->set_base_folder(options_.base_folder);
  journal_.emplace(*replies->session);
  request_logic_ = std::make_unique<journal_window>(*request_form, *dialogs_, request_connection());
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
  main_logic_->start();
  request_logic_->start(clock_.local_now());
}

application::~application() = default;

void application::start() { main_window_form->show(); }

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
  env.link = &gateway->link;
  env.commands = &*journal_;
  env.limits = options_.times;
  connection_window& logic = *main_logic_;
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
  request_dialog& form = *request_form;
  journal_window& logic = *request_logic_;
  QObject::connect(&form, &request_dialog::activated, &form, [this, &logic] { run([&] { logic.activate(); }); },
                   Qt::QueuedConnection);
  QObject::connect(form.document_type_combo, &QComboBox::activated, &form,
                   [this, &logic] { run([&] { logic.choose_document_type(); }); });
  const std::pair<QPushButton*, std::function<void()>> handlers[] = {
      {form.fetch_by_numbers_button, [&logic] { logic.fetch_by_numbers(); }},
      {form.fetch_by_period_button, [&logic] { logic.fetch_by_period(); }},
      {form.look_up_numbers_button, [&logic] { logic.look_up_period_numbers(); }},
      {form.print_range_button, [&logic] { logic.print_range(); }},
      {form.save_button, [this] { save_display_lines(); }},
  };
  for (const auto& [button, handler] : handlers)
    QObject::connect(button, &QPushButton::clicked, &form, [this, handler] { run(handler); });
}

void application::wire_main_window() {
  main_window& form = *main_window_form;
  connection_window& logic = *main_logic_;
  // Activation work runs after the activation event itself has been handled.
  QObject::connect(&form, &main_window::activated, &form, [this, &logic] { run([&] { logic.activate(); }); },
                   Qt::QueuedConnection);
  QObject::connect(&form, &main_window::closing, &form, [this, &logic](bool& allow) {
    allow = !busy_;
    if (allow) run([&] { logic.close(); });
  });
  QObject::connect(form.connect_button, &QPushButton::clicked, &form,
                   [this, &logic] { run([&] { logic.toggle_connection(); }); });
  QObject::connect(form.protocol_group, &radio_group::item_clicked, &form,
                   [this, &logic](int index) { run([&] { logic.choose_protocol(index); }); });
  QObject::connect(form.identifier_kind_group, &radio_group::item_clicked, &form,
                   [this, &logic](int index) { run([&] { logic.choose_identifier_kind(index); }); });
  // Edits are forwarded even while an action runs: the logic set most of
  // them itself, and an identifier typed meanwhile must still empty the model.
  QObject::connect(form.address_edit, &QLineEdit::textChanged, &form,
                   [&logic](const QString& text) { logic.edit_address(to_cp1251(text)); });
  QObject::connect(form.identifier_edit, &QLineEdit::textChanged, &form,
                   [&logic](const QString& text) { logic.edit_identifier(to_cp1251(text)); });
  // Both windows are application-modal but shown without a nested event
  // loop, so that hiding the request window during a request (and tests
  // driving it) cannot end a modal loop early.
  QObject::connect(form.journal_output_action, &QAction::triggered, &form, [this] {
    if (!busy_) request_form->show();
  });
  QObject::connect(form.about_action, &QAction::triggered, &form, [this] {
    if (!busy_) about_form->show();
  });
}

}  // namespace ejscope::ui
