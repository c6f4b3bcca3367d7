#pragma once
// Every modal question the windows ask goes through a dialog service: the
// message boxes of the core (message_box) and the save-file dialog. The
// application uses the Qt dialogs; tests install a service that answers
// from a script, so that no test ever waits on a modal window.
#include <string>

#include "link/platform.h"

class QWidget;

namespace ejscope::ui {

struct save_request {
  std::string filter;          // e.g. "*.txt"
  std::string file_name;       // initial name shown in the dialog
  std::string default_suffix;  // appended when the chosen name has none
};

class dialog_service : public message_box {
 public:
  // The chosen path (local file-system encoding), or "" when cancelled.
  virtual std::string choose_save_file(const save_request& request) = 0;
  // The platform's error display for an error that escaped a user action.
  virtual void show_error(const std::string& text) = 0;
};

// The real dialogs, parented to the given window (may be null).
class qt_dialog_service final : public dialog_service {
 public:
  explicit qt_dialog_service(QWidget* parent = nullptr) : parent_(parent) {}
  void set_parent(QWidget* parent) { parent_ = parent; }

  void show(const std::string& text, const std::string& caption) override;
  bool ask_yes_no(const std::string& text, const std::string& caption) override;
  std::string choose_save_file(const save_request& request) override;
  void show_error(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace ejscope::ui
