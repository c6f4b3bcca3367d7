#pragma once
// TForm5, the wait window: "Запрос соединения:", the countdown and the
// button "Прервать" that raises the abort flag the waiting loops read. It
// is shown without being modal.
#include <QWidget>

#include "link/platform.h"

class QLabel;
class QPushButton;

namespace ejscope::ui {

class TForm5 final : public QWidget, public wait_window {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* parent = nullptr);

  // wait_window
  void show() override;
  void hide() override;
  void set_countdown(const std::string& text) override;
  void process_events() override;

  QLabel* Label1;
  QLabel* Label2;
  QPushButton* Button1;
};

}  // namespace ejscope::ui
