#pragma once
// TForm53, the request window (unit Unit53): the request by numbers, the
// request by dates, printing on the register, the display list ListBox2 and
// saving it.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ejscope::ui {

class display_model;

class TForm53 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm53(QWidget* parent = nullptr);

  display_model& display() { return *display_; }

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QComboBox* ComboBox1;
  QLabel* Label4;
  QLineEdit* Edit3;
  QLabel* Label2;
  QLineEdit* Edit1;
  QLabel* Label3;
  QLineEdit* Edit2;
  QPushButton* Button1;
  QPushButton* Button6;
  QGroupBox* GroupBox2;
  QLabel* Label5;
  QLineEdit* Edit4;
  QLabel* Label6;
  QLineEdit* Edit5;
  QLabel* Label7;
  QLineEdit* Edit6;
  QLineEdit* Edit7;
  QPushButton* Button4;
  QPushButton* Button5;
  QListView* ListBox2;
  QPushButton* Button3;
  QPushButton* Button2;

 signals:
  // The window became active (FormActivate) or is closing (FormClose).
  void activated();
  void closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  display_model* display_;
};

// The fixed-pitch font of ListBox2: "Courier New" where it is installed,
// else DejaVu Sans Mono, else the system's fixed font.
QFont display_font();

}  // namespace ejscope::ui
