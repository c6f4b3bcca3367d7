#include "ui/request_form.h"

#include <QCloseEvent>
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

#include "ui/display_model.h"

namespace ejscope::ui {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLineEdit* masked(QLineEdit* edit, const QString& mask, const QString& hint) {
  edit->setInputMask(mask);
  edit->setToolTip(hint);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00.000")) + 16);
  return edit;
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

TForm53::TForm53(QWidget* parent)
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
  ListBox2->setLayoutMode(QListView::Batched);
  ListBox2->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListBox2->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Room for the 40-column lines and a little more, so nothing is cut.
  ListBox2->setMinimumWidth(
      QFontMetrics(ListBox2->font()).horizontalAdvance(QString(44, QLatin1Char('0'))) + 24);
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
