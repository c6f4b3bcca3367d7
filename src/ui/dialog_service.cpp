#include "ui/dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt_text.h"

namespace ejscope::ui {

namespace {

// A box without a caption carries the program's name, as the platform's
// message boxes do.
QString caption_or_title(const std::string& caption) {
  return caption.empty() ? QApplication::applicationName() : from_cp1251(caption);
}

QWidget* active_or(QWidget* fallback) {
  QWidget* active = QApplication::activeModalWidget();
  return active ? active : fallback;
}

}  // namespace

void qt_dialog_service::show(const std::string& text, const std::string& caption) {
  QMessageBox::information(active_or(parent_), caption_or_title(caption), from_cp1251(text));
}

bool qt_dialog_service::ask_yes_no(const std::string& text, const std::string& caption) {
  return QMessageBox::question(active_or(parent_), caption_or_title(caption), from_cp1251(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

std::string qt_dialog_service::choose_save_file(const save_request& request) {
  QFileDialog dialog(active_or(parent_));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(from_cp1251(request.filter));
  dialog.setDefaultSuffix(from_cp1251(request.default_suffix));
  dialog.selectFile(from_cp1251(request.file_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

void qt_dialog_service::show_error(const std::string& text) {
  QMessageBox::critical(active_or(parent_), QApplication::applicationName(), from_cp1251(text));
}

}  // namespace ejscope::ui
