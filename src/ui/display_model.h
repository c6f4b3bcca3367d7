#pragma once
// The items of ListBox2: windows-1251 lines kept exactly as the renderer
// built them (trailing blanks included). A list model converts a line only
// when the view paints it, so a million lines cost no more than their bytes.
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

  const std::vector<std::string>& lines() const { return lines_; }
  // Replaces every line at once (one reset of the view).
  void set_lines(std::vector<std::string> lines);
  void append(std::vector<std::string> lines);
  void clear();

 private:
  std::vector<std::string> lines_;
};

}  // namespace ejscope::ui
