#pragma once
// The request window: the request by numbers, the request by dates,
// printing on the register, the display list and saving it.
#include <QDialog>

#include "window/journal_window.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace ejscope::ui {

class attention_dialog;
class display_model;

class request_dialog : public QDialog, public journal_view {
  Q_OBJECT
 public:
  // attention: the window shown while a request runs.
  explicit request_dialog(attention_dialog& attention, QWidget* parent = nullptr);

  display_model& display() { return *display_; }

  // journal_view
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

  QGroupBox* by_numbers_group;
  QLabel* document_type_label;
  QComboBox* document_type_combo;
  QLabel* password_label;
  QLineEdit* password_edit;
  QLabel* first_number_label;
  QLineEdit* first_number_edit;
  QLabel* last_number_label;
  QLineEdit* last_number_edit;
  QPushButton* fetch_by_numbers_button;
  QPushButton* print_range_button;
  QGroupBox* by_period_group;
  QLabel* start_date_label;
  QLineEdit* start_date_edit;
  QLabel* end_date_label;
  QLineEdit* end_date_edit;
  QLabel* time_label;
  QLineEdit* start_time_edit;
  QLineEdit* end_time_edit;
  QPushButton* fetch_by_period_button;
  QPushButton* look_up_numbers_button;
  QListView* display_list;
  QPushButton* save_button;
  QPushButton* close_button;

 signals:
  // The window became active (activate) or is closing (close).
  void activated();
  void closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  attention_dialog& attention_;
  display_model* display_;
};

// The fixed-pitch font of display_list: "Courier New" where it is installed,
// else DejaVu Sans Mono, else the system's fixed font.
QFont display_font();

}  // namespace ejscope::ui
