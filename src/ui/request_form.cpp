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

TForm53::TForm53(TForm4& attention, QWidget* parent)
    : QDialog(parent),
      GroupBox1(named(new QGroupBox(QStringLiteral("по номерам")), "GroupBox1")),
      Label1(named(new QLabel(QStringLiteral("Тип документа")), "Label1")),
      ComboBox1(named(new QComboBox, "ComboBox1")),
      Label4(named(new QLabel(QStringLiteral("Пароль")), "Label4")),
      Edit3(named(new QLineEdit(QStringLiteral("418257")), "Edit3")),
      Label2(named(new QLabel(QStringLiteral("Начальный номер")), "Label2")),
      Edit1(named(new QLineEdit(QStringLiteral("1")), "Edit1")),
      Label3(named(new QLabel(QStringLiteral("Конечный номер")), "Label3")),
      Edit2(named(new QLineEdit(QStringLiteral("1")), "Edit2")),
      Button1(named(new QPushButton(QStringLiteral("Получить")), "Button1")),
      Button6(named(new QPushButton(QStringLiteral("Печать на РРО")), "Button6")),
      GroupBox2(named(new QGroupBox(QStringLiteral("по датам")), "GroupBox2")),
      Label5(named(new QLabel(QStringLiteral("Начальная дата")), "Label5")),
      Edit4(named(masked(new QLineEdit, QStringLiteral("00.00.00;_"), QStringLiteral("дд.мм.гг")),
                  "Edit4")),
      Label6(named(new QLabel(QStringLiteral("Конечная дата")), "Label6")),
      Edit5(named(masked(new QLineEdit, QStringLiteral("00.00.00;_"), QStringLiteral("дд.мм.гг")),
                  "Edit5")),
      Label7(named(new QLabel(QStringLiteral("Время")), "Label7")),
      Edit6(named(masked(new QLineEdit, QStringLiteral("90:00;_"), QStringLiteral("чч:мм")),
                  "Edit6")),
      Edit7(named(masked(new QLineEdit, QStringLiteral("90:00;_"), QStringLiteral("чч:мм")),
                  "Edit7")),
      Button4(named(new QPushButton(QStringLiteral("Получить")), "Button4")),
      Button5(named(new QPushButton(QStringLiteral("Вернуть номера")), "Button5")),
      ListBox2(named(new QListView, "ListBox2")),
      Button3(named(new QPushButton(QStringLiteral("Сохранить")), "Button3")),
      Button2(named(new QPushButton(QStringLiteral("Закрыть")), "Button2")),
      attention_(attention),
      display_(new display_model(this)) {
  setObjectName(QStringLiteral("TForm53"));
  setWindowTitle(QStringLiteral("Форма запроса и отображения данных"));
  setWindowModality(Qt::ApplicationModal);

  ComboBox1->addItems({QStringLiteral("Z-отчет"), QStringLiteral("Чек"),
                       QStringLiteral("Чек+Z-отчет"), QStringLiteral("Внес./Изъят.")});
  ComboBox1->setCurrentIndex(2);
  Edit6->setText(QStringLiteral("00:00"));

  auto* numbers = new QGridLayout(GroupBox1);
  numbers->addWidget(Label1, 0, 0);
  numbers->addWidget(ComboBox1, 0, 1);
  numbers->addWidget(Label4, 1, 0);
  numbers->addWidget(Edit3, 1, 1);
  numbers->addWidget(Label2, 2, 0);
  numbers->addWidget(Edit1, 2, 1);
  numbers->addWidget(Label3, 3, 0);
  numbers->addWidget(Edit2, 3, 1);
  numbers->addWidget(Button1, 4, 0);
  numbers->addWidget(Button6, 4, 1);

  auto* dates = new QGridLayout(GroupBox2);
  dates->addWidget(Label5, 0, 0);
  dates->addWidget(Edit4, 0, 1);
  dates->addWidget(Label7, 0, 2);
  dates->addWidget(Edit6, 0, 3);
  dates->addWidget(Label6, 1, 0);
  dates->addWidget(Edit5, 1, 1);
  dates->addWidget(Edit7, 1, 3);
  dates->addWidget(Button4, 2, 0);
  dates->addWidget(Button5, 2, 1, 1, 3);
  dates->setRowStretch(3, 1);

  ListBox2->setModel(display_);
  ListBox2->setFont(display_font());
  ListBox2->setUniformItemSizes(true);
  ListBox2->setTextElideMode(Qt::ElideNone);
  ListBox2->setWordWrap(false);
  ListBox2->setLayoutMode(QListView::Batched);
  ListBox2->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListBox2->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Room for the 40-column lines and a little more; longer lines scroll.
  const QFontMetrics metrics(ListBox2->font());
  display_->set_cell(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
  ListBox2->setMinimumWidth(metrics.horizontalAdvance(QString(44, QLatin1Char('0'))) + 24);
  ListBox2->setMinimumHeight(420);

  auto* left = new QVBoxLayout;
  left->addWidget(GroupBox1);
  left->addWidget(GroupBox2);
  left->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button3);
  buttons->addWidget(Button2);
  left->addLayout(buttons);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(ListBox2, 1);

  connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

int TForm53::document_type() const { return ComboBox1->currentIndex(); }
std::string TForm53::password_text() const { return to_cp1251(Edit3->text()); }
std::string TForm53::first_text() const { return to_cp1251(Edit1->text()); }
std::string TForm53::last_text() const { return to_cp1251(Edit2->text()); }

void TForm53::set_number_texts(const std::string& first, const std::string& last) {
  Edit1->setText(from_cp1251(first));
  Edit2->setText(from_cp1251(last));
}

std::string TForm53::start_date_text() const { return masked_text(Edit4, false); }
std::string TForm53::end_date_text() const { return masked_text(Edit5, false); }
std::string TForm53::start_time_text() const { return masked_text(Edit6, true); }
std::string TForm53::end_time_text() const { return masked_text(Edit7, true); }

void TForm53::set_period_texts(const std::string& start_date, const std::string& end_date,
                               const std::string& start_time, const std::string& end_time) {
  Edit4->setText(from_cp1251(start_date));
  Edit5->setText(from_cp1251(end_date));
  Edit6->setText(from_cp1251(start_time));
  Edit7->setText(from_cp1251(end_time));
}

void TForm53::set_request_buttons_enabled(bool enabled) {
  Button1->setEnabled(enabled);
  Button6->setEnabled(enabled);
}

void TForm53::display_changed(const std::vector<std::string>& lines) { display_->show_lines(lines); }

void TForm53::hide_window() { hide(); }

void TForm53::show_window() {
  show();
  raise();
  activateWindow();
}

void TForm53::show_attention(const std::string& caption, const std::string& phase) {
  attention_.setWindowTitle(from_cp1251(caption));
  attention_.Label1->setText(from_cp1251(phase));
  attention_.present();
  attention_.activateWindow();
}

void TForm53::set_progress(const std::string& text) {
  attention_.Label2->setText(from_cp1251(text));
  attention_.Label2->repaint();
}

bool TForm53::attention_active() const { return attention_.isVisible() && attention_.isActiveWindow(); }

void TForm53::hide_attention() { attention_.hide(); }

void TForm53::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The logic has already added the line naming them to the display.
void TForm53::incomplete_documents(const std::vector<int>&) {}

bool TForm53::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate) emit activated();
  return handled;
}

void TForm53::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

}  // namespace ejscope::ui
