#include "datecs/printer_results.h"

#include <string_view>

#include "text/cp1251.h"

namespace ejscope::datecs {
namespace {

struct flag_message {
  int bit;
  std::string_view text;  // UTF-8 here, shown in windows-1251
};

// The flags in the order they are tested; the first set one is shown.
constexpr flag_message messages[] = {
    {0, "Синтаксическая ошибка"},
    {1, "Неверная команда"},
    {2, "Дата и время неверны"},
    {3, "Ошибка печати"},
    {4, "Арифметическое переполнение"},
    {5, "Команда не разрешена - Возможен запрос несуществующего номера чека"},
    {6, "Обнуление ОЗУ"},
    {8, "Обнуление ОЗУ"},
    {9, "Нет бумаги"},
    {13, "Не модуля фиск. памяти"},
    {20, "В фиск. памяти мало места"},
    {16, "Ошибка записи в фиск. память"},
    {17, "Фиск. память переполнена"},
    {18, "Запись в фиск. память запрещена"},
    {19, "Ошибка последнего Z-отчета"},
    {24, "Ошибка протокола"},
    {25, "Ошибка приема команды"},
    {26, "Таймаут"},
    {27, "Общая ошибка"},
    {28, "Общая ошибка фиск. памяти"},
};

}  // namespace

std::string first_error_message(std::uint32_t flags) {
  for (const auto& m : messages) {
    if (flags & (1u << m.bit)) return text::utf8_to_cp1251(m.text);
  }
  return {};
}

void PrinterResultsx::operator()(RetData& r) {
  store_.datecs_reply = r;
  std::string text = first_error_message(r.flags);
  if (!text.empty()) box_.show(text);
}

}  // namespace ejscope::datecs
