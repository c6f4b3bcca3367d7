#pragma once
// A fixed text of the program as windows-1251 bytes. The source files are
// UTF-8, so each text is converted once, on first use, and kept.
#include <string>

#include "text/cp1251.h"

#define EJSCOPE_CP1251_TEXT(name, utf8)                                           \
  inline const std::string& name() {                                              \
    static const std::string converted = ::ejscope::text::utf8_to_cp1251(utf8); \
    return converted;                                                             \
  }
