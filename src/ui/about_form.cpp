#include "ui/about_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/version.h"

namespace ejscope::ui {

about_dialog::about_dialog(QWidget* parent)
    : QDialog(parent),
      name_label(new QLabel(QStringLiteral("ejscope"), this)),
      version_label(new QLabel(QString::fromUtf8(version_text), this)),
      description_label(new QLabel(QStringLiteral(
                            "Чтение электронной контрольной ленты (КЛЭФ) фискальных "
                            "регистраторов через шлюз удалённого доступа по протоколам "
                            "Datecs и Kelvora: запрос документов по номерам и датам, "
                            "просмотр чеков и Z-отчетов, сохранение в текстовый файл, "
                            "печать диапазона на РРО."),
                        this)),
      ok_button(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("aboutWindow"));
  setWindowTitle(QStringLiteral("О программе"));
  setModal(true);
  name_label->setObjectName(QStringLiteral("nameLabel"));
  version_label->setObjectName(QStringLiteral("versionLabel"));
  description_label->setObjectName(QStringLiteral("descriptionLabel"));
  ok_button->setObjectName(QStringLiteral("okButton"));
  QFont title = name_label->font();
  title.setPointSize(title.pointSize() * 3 / 2);
  title.setBold(true);
  name_label->setFont(title);
  description_label->setWordWrap(true);
  description_label->setMinimumWidth(340);
  for (QLabel* label : {name_label, version_label}) label->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name_label);
  layout->addWidget(version_label);
  layout->addWidget(description_label);
  layout->addWidget(ok_button, 0, Qt::AlignCenter);
  connect(ok_button, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ejscope::ui
