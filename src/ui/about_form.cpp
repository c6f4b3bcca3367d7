#include "ui/about_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/version.h"

namespace ejscope::ui {

TForm54::TForm54(QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(QStringLiteral("ejscope"), this)),
      Label2(new QLabel(QString::fromUtf8(version_text), this)),
      Label3(new QLabel(QStringLiteral(
                            "Чтение электронной контрольной ленты (КЛЭФ) фискальных "
                            "регистраторов через шлюз удалённого доступа по протоколам "
                            "Datecs и Kelvora: запрос документов по номерам и датам, "
                            "просмотр чеков и Z-отчетов, сохранение в текстовый файл, "
                            "печать диапазона на РРО."),
                        this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("TForm54"));
  setWindowTitle(QStringLiteral("О программе"));
  setModal(true);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2->setObjectName(QStringLiteral("Label2"));
  Label3->setObjectName(QStringLiteral("Label3"));
  Button1->setObjectName(QStringLiteral("Button1"));
  QFont title = Label1->font();
  title.setPointSize(title.pointSize() * 3 / 2);
  title.setBold(true);
  Label1->setFont(title);
  Label3->setWordWrap(true);
  Label3->setMinimumWidth(340);
  for (QLabel* label : {Label1, Label2}) label->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Label2);
  layout->addWidget(Label3);
  layout->addWidget(Button1, 0, Qt::AlignCenter);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ejscope::ui
