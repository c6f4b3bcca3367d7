#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datecs/command_names.h"
#include "datecs/printer_results.h"
#include "text/cp1251.h"

namespace ejscope::datecs {
namespace {

class recording_box : public message_box {
 public:
  void show(const std::string& text, const std::string&) override { shown.push_back(text); }
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
  std::vector<std::string> shown;
};

std::uint32_t bit(int n) { return 1u << n; }

TEST(DatecsPrinterResults, FirstFlagInTestOrderIsShown) {
  struct Case {
    std::uint32_t flags;
    const char* message;  // nullptr: no message box
  };
  const Case cases[] = {
      {bit(0), "Синтаксическая ошибка"},
      {bit(1) | bit(27), "Неверная команда"},
      {bit(2), "Дата и время неверны"},
      {bit(3), "Ошибка печати"},
      {bit(4), "Арифметическое переполнение"},
      {bit(5), "Команда не разрешена - Возможен запрос несуществующего номера чека"},
      {bit(6), "Обнуление ОЗУ"},
      {bit(8), "Обнуление ОЗУ"},
      {bit(9), "Нет бумаги"},
      {bit(13), "Не модуля фиск. памяти"},
      {bit(16), "Ошибка записи в фиск. память"},
      {bit(17), "Фиск. память переполнена"},
      {bit(18), "Запись в фиск. память запрещена"},
      {bit(19), "Ошибка последнего Z-отчета"},
      {bit(20), "В фиск. памяти мало места"},
      {bit(24), "Ошибка протокола"},
      {bit(25), "Ошибка приема команды"},
      {bit(26), "Таймаут"},
      {bit(27), "Общая ошибка"},
      {bit(28), "Общая ошибка фиск. памяти"},
      // Order: bit 20 is tested before bits 16..19, bit 13 before bit 20.
      {bit(20) | bit(16), "В фиск. памяти мало места"},
      {bit(13) | bit(20), "Не модуля фиск. памяти"},
      {bit(9) | bit(0), "Синтаксическая ошибка"},
      {bit(28) | bit(26), "Таймаут"},
      // Flags without a message.
      {bit(7), nullptr},
      {bit(10) | bit(11) | bit(12) | bit(14) | bit(21) | bit(22) | bit(23), nullptr},
      {0, nullptr},
  };
  for (const auto& c : cases) {
    last_reply store;
    recording_box box;
    PrinterResultsx handler(store, box);
    RetData r;
    r.flags = c.flags;
    r.count = 2;
    r.fields[1] = "kept";
    handler(r);
    EXPECT_EQ(store.datecs_reply.flags, c.flags);
    EXPECT_EQ(store.datecs_reply.fields[1], "kept");
    if (c.message == nullptr) {
      EXPECT_TRUE(box.shown.empty()) << c.flags;
    } else {
      ASSERT_EQ(box.shown.size(), 1u) << c.flags;
      EXPECT_EQ(box.shown[0], text::utf8_to_cp1251(c.message)) << c.flags;
    }
  }
}

TEST(DatecsCommandNames, LookupAndFallback) {
  struct Case {
    int code;
    const char* name;
  };
  const Case cases[] = {
      {0x20, "Неверная команда"},
      {0x24, "Неверная команда"},
      {0xF0, "Неверная команда"},
      {0xEF, "Неверная команда"},
      {0x1F, "Неверная команда"},
      {-1, "Неверная команда"},
      {0x21, "Очистка дисплея"},
      {0x34, "Регистрация продажи  и вывод на дисплей"},
      {0x5A, "Запрос диагностической информации"},
      {0x77, "Обнулить операторские пароли"},
      {0xA7, "Команда A7h: Вывод документов в электронном виде"},
      {0xEB, "Команда EBh: Печать интервала документов"},
      {0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(command_name(c.code), text::utf8_to_cp1251(c.name)) << c.code;
  }
}

TEST(DatecsCommandNames, SixtySixNamedCodes) {
  int named = 0;
  for (int code = 0x21; code <= 0xEE; ++code) {
    if (command_name(code) != command_name(0x20)) ++named;
  }
  EXPECT_EQ(named, 66);
}

}  // namespace
}  // namespace ejscope::datecs
