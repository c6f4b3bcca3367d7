#pragma once
// The fixed texts of the main window and the wait window, as windows-1251
// bytes.
#include <string>

#include "register/register_texts.h"
#include "text/fixed_text.h"

namespace ejscope::texts {

EJSCOPE_CP1251_TEXT(version, "вер. 1.31 от 02.03.2016")
EJSCOPE_CP1251_TEXT(window_title_base, "Соединение с РРО")
EJSCOPE_CP1251_TEXT(startup_step_title, "Тестирование USB устройств: Шаг ")
EJSCOPE_CP1251_TEXT(settings_missing, "Файл ejscope.ini отсутствует.\n Создание файла!")
EJSCOPE_CP1251_TEXT(connect_caption, "Подключить")
EJSCOPE_CP1251_TEXT(disconnect_caption, "Отключить")
EJSCOPE_CP1251_TEXT(server_no_answer_address, "Сервер не отвечает, проверьте IP адрес")
EJSCOPE_CP1251_TEXT(server_no_answer_settings,
                    "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)")
EJSCOPE_CP1251_TEXT(wait_caption, "ejscope")
EJSCOPE_CP1251_TEXT(wait_label, "Запрос соединения:")
EJSCOPE_CP1251_TEXT(abort_button, "Прервать")
EJSCOPE_CP1251_TEXT(close_button, "Закрыть")
EJSCOPE_CP1251_TEXT(about_menu, "О программе...")
EJSCOPE_CP1251_TEXT(journal_menu, "КЛЭФ")
EJSCOPE_CP1251_TEXT(journal_output_menu, "Вывод документов в электронном виде")
EJSCOPE_CP1251_TEXT(address_label, "IP адрес:")
EJSCOPE_CP1251_TEXT(id_kind_caption, "Призн. исп.")
EJSCOPE_CP1251_TEXT(id_kind_dev, "ID_DEV")
EJSCOPE_CP1251_TEXT(id_kind_fiscal, "Фиск. номер")
EJSCOPE_CP1251_TEXT(protocol_caption, "Протокол")
EJSCOPE_CP1251_TEXT(protocol_datecs, "Datecs")
EJSCOPE_CP1251_TEXT(protocol_kelvora, "Kelvora")
EJSCOPE_CP1251_TEXT(connection_group, "Подключение к  сокету TCP/IP")


// "Соединение с РРО" + " " + version.
inline std::string window_title() { return window_title_base() + " " + version(); }

}  // namespace ejscope::texts
