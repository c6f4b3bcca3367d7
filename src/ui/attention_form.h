#pragma once
// TForm4, the attention window shown while a request runs: the phase in
// Label1 ("ИДЁТ ЗАГРУЗКА ДАННЫХ....", "ИДЁТ ОБРАБОТКА ДАННЫХ....") and the
// progress text in Label2.
#include <QWidget>

class QLabel;

namespace ejscope::ui {

class TForm4 final : public QWidget {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* parent = nullptr);

  // Shows the window if needed, repaints it and lets pending events run.
  void present();

  QLabel* Label1;
  QLabel* Label2;
};

}  // namespace ejscope::ui
