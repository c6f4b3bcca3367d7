#include "ui/display_model.h"

#include "ui/qt_text.h"

namespace ejscope::ui {

const std::vector<std::string> display_model::no_lines;

int display_model::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_->size());
}

QVariant display_model::data(const QModelIndex& index, int role) const {
  // Bounds are checked against the lines themselves: the owner may change
  // them before it tells the model.
  if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0 ||
      static_cast<std::size_t>(index.row()) >= lines_->size())
    return {};
  return from_cp1251((*lines_)[static_cast<std::size_t>(index.row())]);
}

void display_model::show_lines(const std::vector<std::string>& lines) {
  beginResetModel();
  lines_ = &lines;
  endResetModel();
}

}  // namespace ejscope::ui
