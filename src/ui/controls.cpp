#include "ui/controls.h"

#include <QButtonGroup>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ejscope::ui {

radio_group::radio_group(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(QStringLiteral("Item%1").arg(i));
    buttons_->addButton(button, i);
    layout->addWidget(button);
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &radio_group::item_clicked);
}

int radio_group::item_index() const { return buttons_->checkedId(); }

void radio_group::set_item_index(int index) {
  if (QAbstractButton* button = buttons_->button(index)) button->setChecked(true);
}

int radio_group::count() const { return static_cast<int>(buttons_->buttons().size()); }

shape::shape(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void shape::set_brush_color(int color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void shape::paintEvent(QPaintEvent*) {
  // The colour value is blue-green-red, lowest byte red.
  const QColor fill(color_ & 0xFF, (color_ >> 8) & 0xFF, (color_ >> 16) & 0xFF);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(fill);
  painter.drawEllipse(rect().adjusted(2, 2, -3, -3));
}

}  // namespace ejscope::ui
