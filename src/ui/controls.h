#pragma once
// The two control kinds Qt lacks: a radio group with an item index, and the
// coloured indicator shape. Colours are the platform's colour values
// (255 red, 65280 lime).
#include <QGroupBox>
#include <QStringList>
#include <QWidget>

class QButtonGroup;

namespace ejscope::ui {

// Gives a control its control name, by which the windows and the tests find it.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

class radio_group final : public QGroupBox {
  Q_OBJECT
 public:
  radio_group(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  int item_index() const;  // -1 when nothing is selected
  void set_item_index(int index);
  int count() const;

 signals:
  // The user (or a test) clicked an item.
  void item_clicked(int index);

 private:
  QButtonGroup* buttons_;
};

class shape final : public QWidget {
  Q_OBJECT
 public:
  static constexpr int red = 255;
  static constexpr int lime = 65280;

  explicit shape(QWidget* parent = nullptr);
  int brush_color() const { return color_; }
  void set_brush_color(int color);
  QSize sizeHint() const override { return {40, 40}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int color_ = red;
};

}  // namespace ejscope::ui
