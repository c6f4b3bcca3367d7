#include "ui/wait_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace ejscope::ui {

TForm5::TForm5(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(QStringLiteral("Запрос соединения:"), this)),
      Label2(new QLabel(this)),
      Button1(new QPushButton(QStringLiteral("Прервать"), this)) {
  setObjectName(QStringLiteral("TForm5"));
  setWindowTitle(QStringLiteral("ejscope"));
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2->setObjectName(QStringLiteral("Label2"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Label2->setAlignment(Qt::AlignCenter);
  QFont big = Label2->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  Label2->setFont(big);
  Label2->setMinimumWidth(Label2->fontMetrics().horizontalAdvance(QStringLiteral("00 : 00")) + 24);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Button1, 0, Qt::AlignCenter);
  setMinimumWidth(260);

  connect(Button1, &QPushButton::clicked, this, [this] { request_abort(); });
}

void TForm5::show() {
  QWidget::show();
  raise();
}

void TForm5::hide() { QWidget::hide(); }

void TForm5::set_countdown(const std::string& text) { Label2->setText(from_cp1251(text)); }

void TForm5::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ejscope::ui
