#include "ui/display_model.h"

#include "ui/qt_text.h"

namespace ejscope::ui {

int display_model::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant display_model::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= lines_.size())
    return {};
  if (role != Qt::DisplayRole) return {};
  return from_cp1251(lines_[static_cast<std::size_t>(index.row())]);
}

void display_model::set_lines(std::vector<std::string> lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

void display_model::append(std::vector<std::string> lines) {
  if (lines.empty()) return;
  const int first = static_cast<int>(lines_.size());
  beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
  lines_.insert(lines_.end(), std::make_move_iterator(lines.begin()),
                std::make_move_iterator(lines.end()));
  endInsertRows();
}

void display_model::clear() {
  if (lines_.empty()) return;
  beginResetModel();
  lines_.clear();
  endResetModel();
}

}  // namespace ejscope::ui
