#pragma once
// The messages of the identification, as windows-1251 bytes.
#include "text/fixed_text.h"

namespace ejscope::texts {

EJSCOPE_CP1251_TEXT(device_timeout, "Ошибка! Таймаут устройства!")
EJSCOPE_CP1251_TEXT(bad_firmware_date, "Ошибка преобразования даты прошивки РРО: ")

}  // namespace ejscope::texts
