#include "ui/application.h"

#include <QAction>

namespace ejscope::ui {

application::application() { wire_menus(); }

application::~application() = default;

void application::start() { Form3.show(); }

void application::wire_menus() {
  // Both windows are application-modal but shown without a nested event
  // loop, so that hiding the request window during a request (and tests
  // driving it) cannot end a modal loop early.
  QObject::connect(Form3.N45, &QAction::triggered, &Form53, [this] { Form53.show(); });
  QObject::connect(Form3.N5, &QAction::triggered, &Form54, [this] { Form54.show(); });
}

}  // namespace ejscope::ui
