#include "ui/request_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/attention_form.h"
#include "ui/controls.h"
#include "ui/display_model.h"
#include "ui/qt_text.h"

namespace ejscope::ui {

namespace {

QLineEdit* masked(QLineEdit* edit, const QString& mask, const QString& hint) {
  edit->setInputMask(mask);
  edit->setToolTip(hint);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.000")) + 16);
  return edit;
}

// The text of a masked field as the user sees it, blanks as " ". Qt moves a
// digit typed into an hour field's optional first place to the front
// ("9 :05"); the hour is written right-aligned (" 9:05"), as typed.
std::string masked_text(const QLineEdit* edit, bool time_field) {
  QString text = edit->displayText();
  text.replace(QLatin1Char('_'), QLatin1Char(' '));
  if (time_field && text.size() >= 2 && text[0].isDigit() && text[1] == QLatin1Char(' ')) {
    text[1] = text[0];
    text[0] = QLatin1Char(' ');
  }
  return to_cp1251(text);
}

}  // namespace

QFont display_font() {
  const QStringList families = QFontDatabase::families();
  for (const char* family : {"Courier New", "DejaVu Sans Mono"}) {
    const QString name = QString::fromLatin1(family);
    if (families.contains(name)) {
      QFont font(name);
      font.setStyleHint(QFont::TypeWriter);
      font.setFixedPitch(true);
      return font;
    }
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

request_dialog::request_dialog(attention_dialog& attention, QWidget* parent)
    : QDialog(parent),
      by_numbers_group(named(new QGroupBox(QStringLiteral("по номерам")), "byNumbersGroup")),
      document_type_label(named(new QLabel(QStringLiteral("Тип документа")), "documentTypeLabel")),
      document_type_combo(named(new QComboBox, "documentTypeCombo")),
      password_label(named(new QLabel(QStringLiteral("Пароль")), "passwordLabel")),
      password_edit(named(new QLineEdit(QStringLiteral("418257")), "passwordEdit")),
      first_number_label(named(new QLabel(QStringLiteral("Начальный номер")), "firstNumberLabel")),
      first_number_edit(named(new QLineEdit(QStringLiteral("1")), "firstNumberEdit")),
      last_number_label(named(new QLabel(QStringLiteral("Конечный номер")), "lastNumberLabel")),
      last_number_edit(named(new QLineEdit(QStringLiteral("1")), "lastNumberEdit")),
      fetch_by_numbers_button(named(new QPushButton(QStringLiteral("Получить")), "fetchByNumbersButton")),
      print_range_button(named(new QPushButton(QStringLiteral("Печать на РРО")), "printRangeButton")),
      by_period_group(named(new QGroupBox(QStringLiteral("по датам")), "byPeriodGroup")),
      start_date_label(named(new QLabel(QStringLiteral("Начальная дата")), "startDateLabel")),
      start_date_edit(named(masked(new QLineEdit, QStringLiteral("00.00.00;_"), QStringLiteral("дд.мм.гг")),
                  "startDateEdit")),
      end_date_label(named(new QLabel(QStringLiteral("Конечная дата")), "endDateLabel")),
      end_date_edit(named(masked(new QLineEdit, QStringLiteral("00.00.00;_"), QStringLiteral("дд.мм.гг")),
                  "endDateEdit")),
      time_label(named(new QLabel(QStringLiteral("Время")), "timeLabel")),
      start_time_edit(named(masked(new QLineEdit, QStringLiteral("90:00;_"), QStringLiteral("чч:мм")),
                  "startTimeEdit")),
      end_time_edit(named(masked(new QLineEdit, QStringLiteral("90:00;_"), QStringLiteral("чч:мм")),
                  "endTimeEdit")),
      fetch_by_period_button(named(new QPushButton(QStringLiteral("Получить")), "fetchByPeriodButton")),
      look_up_numbers_button(named(new QPushButton(QStringLiteral("Вернуть номера")), "lookUpNumbersButton")),
      display_list(named(new QListView, "displayList")),
      save_button(named(new QPushButton(QStringLiteral("Сохранить")), "saveButton")),
      close_button(named(new QPushButton(QStringLiteral("Закрыть")), "closeButton")),
      attention_(attention),
      display_(new display_model(this)) {
  setObjectName(QStringLiteral("requestWindow"));
  setWindowTitle(QStringLiteral("Форма запроса и отображения данных"));
  setWindowModality(Qt::ApplicationModal);

  document_type_combo->addItems({QStringLiteral("Z-отчет"), QStringLiteral("Чек"),
                       QStringLiteral("Чек+Z-отчет"), QStringLiteral("Внес./Изъят.")});
  document_type_combo->setCurrentIndex(2);
  start_time_edit->setText(QStringLiteral("00:00"));

  auto* numbers = new QGridLayout(by_numbers_group);
  numbers->addWidget(document_type_label, 0, 0);
  numbers->addWidget(document_type_combo, 0, 1);
  numbers->addWidget(password_label, 1, 0);
  numbers->addWidget(password_edit, 1, 1);
  numbers->addWidget(first_number_label, 2, 0);
  numbers->addWidget(first_number_edit, 2, 1);
  numbers->addWidget(last_number_label, 3, 0);
  numbers->addWidget(last_number_edit, 3, 1);
  numbers->addWidget(fetch_by_numbers_button, 4, 0);
  numbers->addWidget(print_range_button, 4, 1);

  auto* dates = new QGridLayout(by_period_group);
  dates->addWidget(start_date_label, 0, 0);
  dates->addWidget(start_date_edit, 0, 1);
  dates->addWidget(time_label, 0, 2);
  dates->addWidget(start_time_edit, 0, 3);
  dates->addWidget(end_date_label, 1, 0);
  dates->addWidget(end_date_edit, 1, 1);
  dates->addWidget(end_time_edit, 1, 3);
  dates->addWidget(fetch_by_period_button, 2, 0);
  dates->addWidget(look_up_numbers_button, 2, 1, 1, 3);
  dates->setRowStretch(3, 1);

  display_list->setModel(display_);
  display_list->setFont(display_font());
  display_list->setUniformItemSizes(true);
  display_list->setTextElideMode(Qt::ElideNone);
  display_list->setWordWrap(false);
  display_list->setLayoutMode(QListView::Batched);
  display_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  display_list->setSelectionMode(QAbstractItemView::SingleSelection);
  display_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Room for the 40-column lines and a little more; longer lines scroll.
  const QFontMetrics metrics(display_list->font());
  display_->set_cell(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
  display_list->setMinimumWidth(metrics.horizontalAdvance(QString(44, QLatin1Char('0'))) + 24);
  display_list->setMinimumHeight(420);

  auto* left = new QVBoxLayout;
  left->addWidget(by_numbers_group);
  left->addWidget(by_period_group);
  left->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_button);
  buttons->addWidget(close_button);
  left->addLayout(buttons);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(display_list, 1);

  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

int request_dialog::document_type() const { return document_type_combo->currentIndex(); }
std::string request_dialog::password_text() const { return to_cp1251(password_edit->text()); }
std::string request_dialog::first_text() const { return to_cp1251(first_number_edit->text()); }
std::string request_dialog::last_text() const { return to_cp1251(last_number_edit->text()); }

void request_dialog::set_number_texts(const std::string& first, const std::string& last) {
  first_number_edit->setText(from_cp1251(first));
  last_number_edit->setText(from_cp1251(last));
}

std::string request_dialog::start_date_text() const { return masked_text(start_date_edit, false); }
std::string request_dialog::end_date_text() const { return masked_text(end_date_edit, false); }
std::string request_dialog::start_time_text() const { return masked_text(start_time_edit, true); }
std::string request_dialog::end_time_text() const { return masked_text(end_time_edit, true); }

void request_dialog::set_period_texts(const std::string& start_date, const std::string& end_date,
                               const std::string& start_time, const std::string& end_time) {
  start_date_edit->setText(from_cp1251(start_date));
  end_date_edit->setText(from_cp1251(end_date));
  start_time_edit->setText(from_cp1251(start_time));
  end_time_edit->setText(from_cp1251(end_time));
}

void request_dialog::set_request_buttons_enabled(bool enabled) {
  fetch_by_numbers_button->setEnabled(enabled);
  print_range_button->setEnabled(enabled);
}

void request_dialog::display_changed(const std::vector<std::string>& lines) { display_->show_lines(lines); }

void request_dialog::hide_window() { hide(); }

void request_dialog::show_window() {
  show();
  raise();
  activateWindow();
}

void request_dialog::show_attention(const std::string& caption, const std::string& phase) {
  attention_.setWindowTitle(from_cp1251(caption));
  attention_.phase_label->setText(from_cp1251(phase));
  attention_.present();
  attention_.activateWindow();
}

void request_dialog::set_progress(const std::string& text) {
  attention_.progress_label->setText(from_cp1251(text));
  attention_.progress_label->repaint();
}

bool request_dialog::attention_active() const { return attention_.isVisible() && attention_.isActiveWindow(); }

void request_dialog::hide_attention() { attention_.hide(); }

void request_dialog::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The logic has already added the line naming them to the display.
void request_dialog::incomplete_documents(const std::vector<int>&) {}

bool request_dialog::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) emit activated();
  return handled;
}

void request_dialog::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

}  // namespace ejscope::ui
