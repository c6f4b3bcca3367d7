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

main_window::main_window(QWidget* parent)
    : QMainWindow(parent),
      address_label(named(new QLabel(QStringLiteral("IP адрес:")), "addressLabel")),
      address_edit(named(new QLineEdit, "addressEdit")),
      identifier_kind_group(named(new radio_group(QStringLiteral("Призн. исп."),
                                        {QStringLiteral("ID_DEV"), QStringLiteral("Фиск. номер")}),
                        "identifierKindGroup")),
      identifier_label(named(new QLabel(QStringLiteral("Идентификатор:")), "identifierLabel")),
      identifier_edit(named(new QLineEdit, "identifierEdit")),
      protocol_group(named(new radio_group(QStringLiteral("Протокол"),
                                        {QStringLiteral("Datecs"), QStringLiteral("Kelvora")}),
                        "protocolGroup")),
      connect_button(named(new QPushButton(QStringLiteral("Подключить")), "connectButton")),
      connection_indicator(named(new shape, "connectionIndicator")),
      status_bar(named(new QStatusBar, "statusBar")),
      status_panels{},
      journal_menu(nullptr),
      journal_output_action(nullptr),
      about_action(nullptr),
      close_button(named(new QPushButton(QStringLiteral("Закрыть")), "closeButton")) {
  setObjectName(QStringLiteral("mainWindow"));

  // Menus: "КЛЭФ" with its one item, and the about item on the bar itself.
  journal_menu = named(menuBar()->addMenu(QStringLiteral("КЛЭФ")), "journalMenu");
  journal_menu->menuAction()->setObjectName(QStringLiteral("journalMenuAction"));
  journal_output_action = named(journal_menu->addAction(QStringLiteral("Вывод документов в электронном виде")), "journalOutputAction");
  about_action = named(menuBar()->addAction(QStringLiteral("О программе...")), "aboutAction");
  journal_menu->menuAction()->setEnabled(false);

  auto* group = named(new QGroupBox(QStringLiteral("Подключение к  сокету TCP/IP")), "connectionGroup");
  auto* grid = new QGridLayout(group);
  grid->addWidget(address_label, 0, 0);
  grid->addWidget(address_edit, 0, 1);
  grid->addWidget(identifier_label, 1, 0);
  grid->addWidget(identifier_edit, 1, 1);
  grid->addWidget(identifier_kind_group, 2, 0);
  grid->addWidget(protocol_group, 2, 1);
  auto* connect_row = new QHBoxLayout;
  connect_row->addWidget(connect_button, 1);
  connect_row->addWidget(connection_indicator);
  grid->addLayout(connect_row, 3, 0, 1, 2);
  address_edit->setMinimumWidth(address_edit->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 24);
  identifier_edit->setMinimumWidth(identifier_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000000000")) + 24);

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->addWidget(group);
  column->addStretch(1);
  column->addWidget(close_button, 0, Qt::AlignRight);
  setCentralWidget(central);

  for (std::size_t i = 0; i < status_panels.size(); ++i) {
    status_panels[i] = new QLabel;
    status_panels[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
    status_panels[i]->setFrameShape(QFrame::Panel);
    status_panels[i]->setFrameShadow(QFrame::Sunken);
    // As on the original status bar, the last panel runs to the window's edge.
    const bool last = i + 1 == status_panels.size();
    if (last)
      status_panels[i]->setMinimumWidth(panel_widths[i]);
    else
      status_panels[i]->setFixedWidth(panel_widths[i]);
    status_bar->addWidget(status_panels[i], last ? 1 : 0);
  }
  status_bar->setSizeGripEnabled(false);
  setStatusBar(status_bar);

  // Window creation: protocol "Datecs", identifier kind "Фиск. номер".
  protocol_group->set_item_index(0);
  identifier_kind_group->set_item_index(1);

  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

bool main_window::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) emit activated();
  return handled;
}

void main_window::set_title(const std::string& text) { setWindowTitle(from_cp1251(text)); }
void main_window::set_close_enabled(bool enabled) { close_button->setEnabled(enabled); }
void main_window::set_about_enabled(bool enabled) { about_action->setEnabled(enabled); }
void main_window::set_address_text(const std::string& text) { address_edit->setText(from_cp1251(text)); }
void main_window::set_identifier_text(const std::string& text) { identifier_edit->setText(from_cp1251(text)); }
void main_window::set_protocol_index(int index) { protocol_group->set_item_index(index); }
void main_window::set_id_kind_index(int index) { identifier_kind_group->set_item_index(index); }
void main_window::set_connect_caption(const std::string& text) { connect_button->setText(from_cp1251(text)); }
void main_window::set_connect_enabled(bool enabled) { connect_button->setEnabled(enabled); }
void main_window::set_indicator(indicator_colour colour) { connection_indicator->set_brush_color(static_cast<int>(colour)); }
void main_window::set_journal_menu_enabled(bool enabled) { journal_menu->menuAction()->setEnabled(enabled); }

void main_window::set_status_panel(int index, const std::string& text) {
  if (index >= 0 && static_cast<std::size_t>(index) < status_panels.size())
    status_panels[static_cast<std::size_t>(index)]->setText(from_cp1251(text));
}

void main_window::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void main_window::closeEvent(QCloseEvent* event) {
  bool allow = true;
  emit closing(allow);
  if (allow)
    event->accept();
  else
    event->ignore();
}

}  // namespace ejscope::ui
