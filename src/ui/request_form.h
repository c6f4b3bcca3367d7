#pragma once
// TForm53, the request window (unit Unit53): the request by numbers, the
// request by dates, printing on the register, the display list ListBox2 and
// saving it.
#include <QDialog>

#include "window/journal_window.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ejscope::ui {

class TForm4;
class display_model;

class TForm53 : public QDialog, public request_view {
  Q_OBJECT
 public:
  // attention: the window shown while a request runs.
  explicit TForm53(TForm4& attention, QWidget* parent = nullptr);

  display_model& display() { return *display_; }

  // request_view
  int document_type() const override;
  std::string password_text() const override;
  std::string first_text() const override;
  std::string last_text() const override;
  void set_number_texts(const std::string& first, const std::string& last) override;
  std::string start_date_text() const override;
  std::string end_date_text() const override;
  std::string start_time_text() const override;
  std::string end_time_text() const override;
  void set_period_texts(const std::string& start_date, const std::string& end_date,
                        const std::string& start_time, const std::string& end_time) override;
  void set_request_buttons_enabled(bool enabled) override;
  void display_changed(const std::vector<std::string>& lines) override;
  void hide_window() override;
  void show_window() override;
  void show_attention(const std::string& caption, const std::string& phase) override;
  void set_progress(const std::string& text) override;
  bool attention_active() const override;
  void hide_attention() override;
  void process_events() override;
  void incomplete_documents(const std::vector<int>& numbers) override;

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
  TForm4& attention_;
  display_model* display_;
};

// The fixed-pitch font of ListBox2: "Courier New" where it is installed,
// else DejaVu Sans Mono, else the system's fixed font.
QFont display_font();

}  // namespace ejscope::ui
