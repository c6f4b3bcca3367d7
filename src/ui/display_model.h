#pragma once
// The items of the display list: windows-1251 lines kept exactly as the renderer
// built them (trailing blanks included). The model shows lines that its
// owner (the request logic) keeps and converts a line only when the view
// paints it, so a million lines cost no more than their bytes.
#include <QAbstractListModel>
#include <cstddef>
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

  // The fixed-pitch cell of the view's font. Every item then reports the
  // width of the widest line (40 columns at least, trailing blanks not
  // counted), so the view scrolls sideways instead of cutting a long line
  // while it still sizes one item for all.
  void set_cell(int char_width, int line_height);

 private:
  int char_width_ = 8;
  int line_height_ = 16;
  std::size_t widest_ = 0;
  static const std::vector<std::string> no_lines;
  const std::vector<std::string>* lines_ = &no_lines;
};

}  // namespace ejscope::ui
