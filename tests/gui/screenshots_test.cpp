// Pictures of the windows for the user guide: the main window connected,
// the request window with receipts and a Z-report of the sample tape, and
// the wait window counting down. They are written to the folder named by
// EJSCOPE_SCREENSHOT_DIR (docs/ of the source tree when regenerating the
// guide), else to the test's own folder; the test checks that each picture
// was written and has the window's size.
#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "gui_fixture.h"

namespace ejscope::testing {
namespace {

class Screenshots : public gui_test {
 protected:
  std::filesystem::path output() {
    const char* dir = std::getenv("EJSCOPE_SCREENSHOT_DIR");
    return dir && *dir ? std::filesystem::path(dir) : folder.path();
  }
  void save(QWidget& window, const char* name) {
    const std::filesystem::path path = output() / name;
    ASSERT_TRUE(window.grab().save(QString::fromStdString(path.string()), "PNG")) << path;
    const QImage image(QString::fromStdString(path.string()));
    EXPECT_EQ(image.size(), window.size() * window.devicePixelRatio()) << name;
  }
};

TEST_F(Screenshots, SavesTheWindowsOfTheGuide) {
  sim_harness sim(sim_test_config(sample_tape_text()));
  write_settings(sim.identity().fiscal_number);
  start();
  open_request_window(sim, 1);

  main().resize(main().sizeHint().expandedTo({560, 0}));
  QCoreApplication::processEvents();
  save(main(), "main_window.png");

  ui::request_dialog& w = request();
  // The first request fetches Z-report 1, the second receipts 4 to 9 by
  // their receipt numbers and shows them with the Z-report between them.
  w.document_type_combo->setCurrentIndex(0);
  w.first_number_edit->setText(QStringLiteral("1"));
  w.last_number_edit->setText(QStringLiteral("1"));
  click(w.fetch_by_numbers_button);
  w.document_type_combo->setCurrentIndex(2);
  w.first_number_edit->setText(QStringLiteral("4"));
  w.last_number_edit->setText(QStringLiteral("9"));
  click(w.fetch_by_numbers_button);
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  w.resize(w.sizeHint().width() + 200, 760);  // wide enough for the longest sample line
  // The end of a receipt and the whole Z-report in view.
  const std::vector<std::string> lines = shown_lines();
  const auto z = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return text::cp1251_to_utf8(line).find("Z-звіт") != std::string::npos;
  });
  ASSERT_NE(z, lines.end()) << "no Z-report shown";
  const int z_row = static_cast<int>(z - lines.begin());
  w.display_list->scrollTo(w.display_list->model()->index(std::max(0, z_row - 18), 0),
                       QAbstractItemView::PositionAtTop);
  QCoreApplication::processEvents();
  save(w, "request_window.png");

  ui::wait_dialog& wait = *app->wait_form;
  wait.show();
  wait.set_countdown("3 : 57");
  wait.adjustSize();
  QCoreApplication::processEvents();
  save(wait, "wait_window.png");
  wait.hide();
}

}  // namespace
}  // namespace ejscope::testing
