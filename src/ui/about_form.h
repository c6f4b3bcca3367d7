#pragma once
// TForm54, the about window: the program's name, version and purpose.
#include <QDialog>

class QLabel;
class QPushButton;

namespace ejscope::ui {

class TForm54 final : public QDialog {
  Q_OBJECT
 public:
  explicit TForm54(QWidget* parent = nullptr);

  QLabel* Label1;  // program name
  QLabel* Label2;  // version text
  QLabel* Label3;  // description
  QPushButton* Button1;
};

}  // namespace ejscope::ui
