#include "ui/wait_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace ejscope::ui {

wait_dialog::wait_dialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      prompt_label(new QLabel(QStringLiteral("Запрос соединения:"), this)),
      countdown_label(new QLabel(this)),
      abort_button(new QPushButton(QStringLiteral("Прервать"), this)) {
  setObjectName(QStringLiteral("waitWindow"));
  setWindowTitle(QStringLiteral("ejscope"));
  prompt_label->setObjectName(QStringLiteral("promptLabel"));
  countdown_label->setObjectName(QStringLiteral("countdownLabel"));
  abort_button->setObjectName(QStringLiteral("abortButton"));
  countdown_label->setAlignment(Qt::AlignCenter);
  QFont big = countdown_label->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  countdown_label->setFont(big);
  countdown_label->setMinimumWidth(countdown_label->fontMetrics().horizontalAdvance(QStringLiteral("00 : 00")) + 24);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_label);
  layout->addWidget(countdown_label);
  layout->addWidget(abort_button, 0, Qt::AlignCenter);
  setMinimumWidth(260);

  connect(abort_button, &QPushButton::clicked, this, [this] { request_abort(); });
}

void wait_dialog::show() {
  QWidget::show();
  raise();
}

void wait_dialog::hide() { QWidget::hide(); }

void wait_dialog::set_countdown(const std::string& text) { countdown_label->setText(from_cp1251(text)); }

void wait_dialog::process_events() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ejscope::ui
