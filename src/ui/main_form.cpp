#include "ui/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/controls.h"
#include "ui/qt_text.h"

namespace ejscope::ui {

TForm3::TForm3(QWidget* parent)
    : QMainWindow(parent),
      Label1(named(new QLabel(QStringLiteral("IP адрес:")), "Label1")),
      Edit1(named(new QLineEdit, "Edit1")),
      RadioGroup2(named(new radio_group(QStringLiteral("Призн. исп."),
                                        {QStringLiteral("ID_DEV"), QStringLiteral("Фиск. номер")}),
                        "RadioGroup2")),
      Label2(named(new QLabel(QStringLiteral("Идентификатор:")), "Label2")),
      Edit2(named(new QLineEdit, "Edit2")),
      RadioGroup1(named(new radio_group(QStringLiteral("Протокол"),
                                        {QStringLiteral("Datecs"), QStringLiteral("Kelvora")}),
                        "RadioGroup1")),
      Button3(named(new QPushButton(QStringLiteral("Подключить")), "Button3")),
      Shape1(named(new shape, "Shape1")),
      StatusBar1(named(new QStatusBar, "StatusBar1")),
      Panels{},
      N2(nullptr),
      N45(nullptr),
      N5(nullptr),
      Button1(named(new QPushButton(QStringLiteral("Закрыть")), "Button1")) {
  setObjectName(QStringLiteral("TForm3"));

  // Menus: "КЛЭФ" with its one item, and the about item on the bar itself.
  N2 = named(menuBar()->addMenu(QStringLiteral("КЛЭФ")), "N2");
  N2->menuAction()->setObjectName(QStringLiteral("N2Action"));
  N45 = named(N2->addAction(QStringLiteral("Вывод документов в электронном виде")), "N45");
  N5 = named(menuBar()->addAction(QStringLiteral("О программе...")), "N5");
  N2->menuAction()->setEnabled(false);

  auto* group = named(new QGroupBox(QStringLiteral("Подключение к  сокету TCP/IP")), "GroupBox1");
  auto* grid = new QGridLayout(group);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Edit1, 0, 1);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(Edit2, 1, 1);
  grid->addWidget(RadioGroup2, 2, 0);
  grid->addWidget(RadioGroup1, 2, 1);
  auto* connect_row = new QHBoxLayout;
  connect_row->addWidget(Button3, 1);
  connect_row->addWidget(Shape1);
  grid->addLayout(connect_row, 3, 0, 1, 2);
  Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 24);
  Edit2->setMinimumWidth(Edit2->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")) + 24);

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->addWidget(group);
  column->addStretch(1);
  column->addWidget(Button1, 0, Qt::AlignRight);
  setCentralWidget(central);

  for (std::size_t i = 0; i < Panels.size(); ++i) {
    Panels[i] = new QLabel;
    Panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
    Panels[i]->setFrameShape(QFrame::Panel);
    Panels[i]->setFrameShadow(QFrame::Sunken);
    // As on the original status bar, the last panel runs to the window's edge.
    const bool last = i + 1 == Panels.size();
    if (last)
      Panels[i]->setMinimumWidth(panel_widths[i]);
    else
      Panels[i]->setFixedWidth(panel_widths[i]);
    StatusBar1->addWidget(Panels[i], last ? 1 : 0);
  }
  StatusBar1->setSizeGripEnabled(false);
  setStatusBar(StatusBar1);

  // Window creation: protocol "Datecs", identifier kind "Фиск. номер".
  RadioGroup1->set_item_index(0);
  RadioGroup2->set_item_index(1);

  connect(Button1, &QPushButton::clicked, this, &QWidget::close);
}

bool TForm3::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) emit activated();
  return handled;
}

void TForm3::set_title(const std::string& text) { setWindowTitle(from_cp1251(text)); }
void TForm3::set_close_enabled(bool enabled) { Button1->setEnabled(enabled); }
void TForm3::set_about_enabled(bool enabled) { N5->setEnabled(enabled); }
void TForm3::set_address_text(const std::string& text) { Edit1->setText(from_cp1251(text)); }
void TForm3::set_identifier_text(const std::string& text) { Edit2->setText(from_cp1251(text)); }
void TForm3::set_protocol_index(int index) { RadioGroup1->set_item_index(index); }
void TForm3::set_id_kind_index(int index) { RadioGroup2->set_item_index(index); }
void TForm3::set_connect_caption(const std::string& text) { Button3->setText(from_cp1251(text)); }
void TForm3::set_connect_enabled(bool enabled) { Button3->setEnabled(enabled); }
void TForm3::set_indicator(indicator_colour colour) { Shape1->set_brush_color(static_cast<int>(colour)); }
void TForm3::set_journal_menu_enabled(bool enabled) { N2->menuAction()->setEnabled(enabled); }

void TForm3::set_status_panel(int index, const std::string& text) {
  if (index >= 0 && static_cast<std::size_t>(index) < Panels.size())
    Panels[static_cast<std::size_t>(index)]->setText(from_cp1251(text));
}

void TForm3::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TForm3::closeEvent(QCloseEvent* event) {
  bool allow = true;
  emit closing(allow);
  if (allow)
    event->accept();
  else
    event->ignore();
}

}  // namespace ejscope::ui
