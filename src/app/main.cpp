// ejscope-gui: creates the windows once, in their order, and runs the event
// loop until the main window closes.
#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ejscope"));
  ejscope::ui::application windows;
  windows.start();
  return QApplication::exec();
}
