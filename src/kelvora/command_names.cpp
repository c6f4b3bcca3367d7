#include "kelvora/command_names.h"

#include <array>

#include "text/cp1251.h"

namespace ejscope::kelvora {

namespace {

constexpr int first_code = 0x20;
constexpr int last_code = 0xEE;

struct named_command {
  int code;
  const char* name;       // UTF-8 here, windows-1251 in the table
  const char* parameters;  // nullptr when the template is not known
};

// clang-format off
constexpr named_command named_commands[] = {
  {0x20, "Команда 20h: Установка даты и времени", "<DDMMYY>;<HHMM>;"},
  {0x21, "Команда 21h: Чтение даты и времени", nullptr},
  {0x22, "Команда 22h: Программирование заголовка и окончания документа", "<номер строки>;<текст>;"},
  {0x23, "Команда 23h: Чтение заголовка и окончания документа", "<номер строки>;"},
  {0x24, "Команда 24h: Добавление товара", nullptr},
  {0x25, "Команда 25h: Поиск индекса товара", nullptr},
  {0x26, "Команда 26h: Чтение параметров товара по индексу", nullptr},
  {0x27, "Команда 27h: Программирование параметров регистратора", nullptr},
  {0x28, "Команда 28h: Получение параметров регистратора", nullptr},
  {0x29, "Команда 29h: Установка логотипа пользователя", nullptr},
  {0x2B, "Команда 2Bh: Установить пароли Режимов", nullptr},
  {0x2C, "Команда 2Ch: Сбросить пароль Оператора", nullptr},
  {0x2D, "Команда 2Dh: Установка параметров оплаты", nullptr},
  {0x2E, "Команда 2Eh: Чтение параметров оплаты", nullptr},
  {0x2F, "Команда 2Fh: Установка параметров оператора", "<индекс оператора>;<пароль>;<имя>;"},
  {0x30, "Команда 30h: Чтение параметров оператора", nullptr},
  {0x40, "Команда 40h: Фискализация", nullptr},
  {0x41, "Команда 41h: Программирование заводского номера", nullptr},
  {0x42, "Команда 42h: Чтение заводского номера", nullptr},
  {0x43, "Команда 43h: Программирование фискального номера", nullptr},
  {0x44, "Команда 44h: Чтение фискального номера", nullptr},
  {0x45, "Команда 45h: Программирование налогового/идентификационного номера", nullptr},
  {0x46, "Команда 46h: Чтение налогового/идентификационного номера", nullptr},
  {0x47, "Команда 47h: Установка налоговых ставок", nullptr},
  {0x48, "Команда 48h: Чтение налоговых ставок", nullptr},
  {0x60, "Команда 60h: Открытие нефискального чека", nullptr},
  {0x61, "Команда 61h: Печать текста", nullptr},
  {0x62, "Команда 62h: Закрытие нефискального чека", nullptr},
  {0x63, "Команда 63h: Открытие фискального чека", nullptr},
  {0x64, "Команда 64h: Продажа запрограммированного товара", nullptr},
  {0x65, "Команда 65h: Закрытие  фискального чека", nullptr},
  {0x66, "Команда 66h: Копия чека", nullptr},
  {0x67, "Команда 67h: Оплата", nullptr},
  {0x68, "Команда 68h: Скидка/наценка на товар процентная", nullptr},
  {0x69, "Команда 69h: Скидка/наценка на товар абсолютная", nullptr},
  {0x6A, "Команда 6Ah: Дополнительный налог", nullptr},
  {0x6B, "Команда 6Bh: Аннулирования", nullptr},
  {0x6C, "Команда 6Ch: Скидка/наценка на сумму процентная", nullptr},
  {0x6D, "Команда 6Dh: Напечатать итог", nullptr},
  {0x6E, "Команда 6Eh: Внесение/выдача сумм", nullptr},
  {0x6F, "Команда 6Fh: Печать штрих кода", nullptr},
  {0x80, "Команда 80h: Диагностическая информация", "Параметров нет"},
  {0x81, "Команда 81h: Вывод информации на дисплей", nullptr},
  {0x82, "Команда 82h: Звук", nullptr},
  {0x83, "Команда 83h: Открытие денежного ящика", nullptr},
  {0xA0, "Команда A0h: Информация о свободных ресурсах и статусе", nullptr},
  {0xA1, "Команда A1h: Печать отчетов", nullptr},
  {0xA2, "Команда A2h: Поиск отчета по дате", "<дата DDMMYY>;<тип: 0 - первый, 1 - последний>;"},
  {0xA3, "Команда A3h: Печать периодического отчета", "<номер начального>;<номер завершающего>;<тип: 0 - сокращенный, 1 - полный>;"},
  {0xA7, "Команда A7h: Вывод документов в электронном виде", "<Тип документа>;<Номер чека/отчета>;<Номер фрагмента>;"},
  {0xEB, "Команда EBh: Печать интервала документов", "<Номер начала>;<Номер конца>;"},
  {0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате", "<Дата начала>;<Время начала>;<Дата конца>;<Время конца>;<Признак печати>;"},
};
// clang-format on

struct entry {
  std::string name;
  std::string parameters;
};

using table = std::array<entry, last_code - first_code + 1>;

const table& commands() {
  static const table t = [] {
    table built;
    for (const auto& c : named_commands) {
      entry& e = built[static_cast<std::size_t>(c.code - first_code)];
      e.name = text::utf8_to_cp1251(c.name);
      if (c.parameters != nullptr) e.parameters = text::utf8_to_cp1251(c.parameters);
    }
    return built;
  }();
  return t;
}

const entry* find(int code) {
  if (code < first_code || code > last_code) return nullptr;
  return &commands()[static_cast<std::size_t>(code - first_code)];
}

}  // namespace

const std::string& command_name(int code) {
  static const std::string invalid = text::utf8_to_cp1251("Неверная команда");
  const entry* e = find(code);
  return e != nullptr && !e->name.empty() ? e->name : invalid;
}

const std::string& command_template(int code) {
  static const std::string none;
  const entry* e = find(code);
  return e != nullptr ? e->parameters : none;
}

}  // namespace ejscope::kelvora
