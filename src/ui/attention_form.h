#pragma once
// The attention window shown while a request runs: the phase ("ИДЁТ ЗАГРУЗКА ДАННЫХ....", "ИДЁТ ОБРАБОТКА ДАННЫХ....") and the
// progress text.
#include <QWidget>

class QLabel;

namespace ejscope::ui {

class attention_dialog final : public QWidget {
  Q_OBJECT
 public:
  explicit attention_dialog(QWidget* parent = nullptr);

  // Shows the window if needed, repaints it and lets pending events run.
  void present();

  QLabel* phase_label;
  QLabel* progress_label;
};

}  // namespace ejscope::ui
