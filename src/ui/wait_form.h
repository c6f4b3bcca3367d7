#pragma once
// The wait window: "Запрос соединения:", the countdown and the
// button "Прервать" that raises the abort flag the waiting loops read. It
// is shown without being modal.
#include <QWidget>

#include "link/platform.h"

class QLabel;
class QPushButton;

namespace ejscope::ui {

class wait_dialog final : public QWidget, public wait_window {
  Q_OBJECT
 public:
  explicit wait_dialog(QWidget* parent = nullptr);

  // wait_window
  void show() override;
  void hide() override;
  void set_countdown(const std::string& text) override;
  void process_events() override;

  QLabel* prompt_label;
  QLabel* countdown_label;
  QPushButton* abort_button;
};

}  // namespace ejscope::ui
