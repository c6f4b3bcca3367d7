#include "ui/display_model.h"

#include <QSize>
#include <algorithm>

#include "ui/qt_text.h"

namespace ejscope::ui {

const std::vector<std::string> display_model::no_lines;

int display_model::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_->size());
}

QVariant display_model::data(const QModelIndex& index, int role) const {
  // Bounds are checked against the lines themselves: the owner may change
  // them before it tells the model.
  if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= lines_->size())
    return {};
  if (role == Qt::SizeHintRole) {
    constexpr std::size_t columns = 40, padding = 8;
    return QSize(static_cast<int>(std::max(widest_, columns)) * char_width_ + static_cast<int>(padding),
                 line_height_);
  }
  if (role != Qt::DisplayRole) return {};
  return from_cp1251((*lines_)[static_cast<std::size_t>(index.row())]);
}

void display_model::set_cell(int char_width, int line_height) {
  char_width_ = char_width > 0 ? char_width : 1;
  line_height_ = line_height > 0 ? line_height : 1;
}

void display_model::show_lines(const std::vector<std::string>& lines) {
  beginResetModel();
  lines_ = &lines;
  widest_ = 0;
  for (const std::string& line : lines) {
    const std::size_t end = line.find_last_not_of(' ');
    if (end != std::string::npos) widest_ = std::max(widest_, end + 1);
  }
  endResetModel();
}

}  // namespace ejscope::ui
