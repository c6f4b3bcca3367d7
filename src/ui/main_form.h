#pragma once
// The main window: the gateway address and register identifier, the
// protocol and identifier-kind choices, the connect button with its
// indicator, the four identification panels and the menus "КЛЭФ" and
// "О программе...".
#include <QMainWindow>
#include <array>

#include "window/connection_window.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace ejscope::ui {

class radio_group;
class shape;

class main_window : public QMainWindow, public connection_view {
  Q_OBJECT
 public:
  static constexpr std::array<int, 4> panel_widths{170, 120, 120, 50};

  explicit main_window(QWidget* parent = nullptr);

  // connection_view
  void set_title(const std::string& text) override;
  void set_close_enabled(bool enabled) override;
  void set_about_enabled(bool enabled) override;
  void set_address_text(const std::string& text) override;
  void set_identifier_text(const std::string& text) override;
  void set_protocol_index(int index) override;
  void set_id_kind_index(int index) override;
  void set_connect_caption(const std::string& text) override;
  void set_connect_enabled(bool enabled) override;
  void set_indicator(indicator_colour colour) override;
  void set_journal_menu_enabled(bool enabled) override;
  void set_status_panel(int index, const std::string& text) override;
  void process_events() override;

  QLabel* address_label;
  QLineEdit* address_edit;
  radio_group* identifier_kind_group;
  QLabel* identifier_label;
  QLineEdit* identifier_edit;
  radio_group* protocol_group;
  QPushButton* connect_button;
  shape* connection_indicator;
  QStatusBar* status_bar;
  std::array<QLabel*, 4> status_panels;
  QMenu* journal_menu;
  QAction* journal_output_action;
  QAction* about_action;
  QPushButton* close_button;

 signals:
  // The window became the active window of the program (activate).
  void activated();
  // The window is closing (close); a handler may veto with allow = false.
  void closing(bool& allow);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace ejscope::ui
