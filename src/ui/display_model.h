#pragma once
// The items of ListBox2: windows-1251 lines kept exactly as the renderer
// built them (trailing blanks included). The model shows lines that its
// owner (the request logic) keeps and converts a line only when the view
// paints it, so a million lines cost no more than their bytes.
#include <QAbstractListModel>
#include <string>
#include <vector>

namespace ejscope::ui {

class display_model final : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit display_model(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // The lines to show from now on; they must outlive the model or be
  // replaced before they go. One reset of the view.
  void show_lines(const std::vector<std::string>& lines);
  const std::vector<std::string>& lines() const { return *lines_; }

 private:
  static const std::vector<std::string> no_lines;
  const std::vector<std::string>* lines_ = &no_lines;
};

}  // namespace ejscope::ui
