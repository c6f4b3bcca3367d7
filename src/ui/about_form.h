#pragma once
// The about window: the program's name, version and purpose.
#include <QDialog>

class QLabel;
class QPushButton;

namespace ejscope::ui {

class about_dialog final : public QDialog {
  Q_OBJECT
 public:
  explicit about_dialog(QWidget* parent = nullptr);

  QLabel* name_label;  // program name
  QLabel* version_label;  // version text
  QLabel* description_label;  // description
  QPushButton* ok_button;
};

}  // namespace ejscope::ui
