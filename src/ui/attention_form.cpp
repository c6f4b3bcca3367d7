#include "ui/attention_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace ejscope::ui {

attention_dialog::attention_dialog(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      phase_label(new QLabel(this)),
      progress_label(new QLabel(this)) {
  setObjectName(QStringLiteral("attentionWindow"));
  setWindowTitle(QStringLiteral("ВНИМАНИЕ!!!!"));
  phase_label->setObjectName(QStringLiteral("phaseLabel"));
  progress_label->setObjectName(QStringLiteral("progressLabel"));
  for (QLabel* label : {phase_label, progress_label}) label->setAlignment(Qt::AlignCenter);
  QFont bold = phase_label->font();
  bold.setBold(true);
  phase_label->setFont(bold);
  phase_label->setMinimumWidth(
      phase_label->fontMetrics().horizontalAdvance(QStringLiteral("ИДЁТ ЗАГРУЗКА ДАННЫХ....")) + 40);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(phase_label);
  layout->addWidget(progress_label);
}

void attention_dialog::present() {
  if (!isVisible()) show();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ejscope::ui
