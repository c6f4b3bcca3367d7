#include "ui/attention_form.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace ejscope::ui {

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)) {
  setObjectName(QStringLiteral("TForm4"));
  setWindowTitle(QStringLiteral("ВНИМАНИЕ!!!!"));
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2->setObjectName(QStringLiteral("Label2"));
  for (QLabel* label : {Label1, Label2}) label->setAlignment(Qt::AlignCenter);
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->setMinimumWidth(
      Label1->fontMetrics().horizontalAdvance(QStringLiteral("ИДЁТ ЗАГРУЗКА ДАННЫХ....")) + 40);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
}

void TForm4::present() {
  if (!isVisible()) show();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ejscope::ui
