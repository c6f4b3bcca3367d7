#pragma once
// TForm3, the main window (unit Unit1): the gateway address and register
// identifier, the protocol and identifier-kind choices, the connect button
// with its indicator, the four identification panels and the menus "КЛЭФ"
// and "О программе...".
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

class TForm3 : public QMainWindow, public main_window_view {
  Q_OBJECT
 public:
  static constexpr std::array<int, 4> panel_widths{170, 120, 120, 50};

  explicit TForm3(QWidget* parent = nullptr);

  // main_window_view
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

  QLabel* Label1;
  QLineEdit* Edit1;
  radio_group* RadioGroup2;
  QLabel* Label2;
  QLineEdit* Edit2;
  radio_group* RadioGroup1;
  QPushButton* Button3;
  shape* Shape1;
  QStatusBar* StatusBar1;
  std::array<QLabel*, 4> Panels;
  QMenu* N2;
  QAction* N45;
  QAction* N5;
  QPushButton* Button1;

 signals:
  // The window became the active window of the program (FormActivate).
  void activated();
  // The window is closing (FormClose); a handler may veto with allow = false.
  void closing(bool& allow);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace ejscope::ui
