#pragma once
// The core speaks windows-1251 bytes; Qt speaks UTF-16. These two helpers
// are the only place where the windows cross between them.
#include <QString>
#include <string>

#include "text/cp1251.h"

namespace ejscope::ui {

inline QString from_cp1251(const std::string& bytes) {
  return QString::fromStdString(text::cp1251_to_utf8(bytes));
}

inline std::string to_cp1251(const QString& text) {
  return text::utf8_to_cp1251(text.toStdString());
}

}  // namespace ejscope::ui
