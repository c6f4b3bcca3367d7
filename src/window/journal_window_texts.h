#pragma once
// The fixed texts of the request window and the attention window, as
// windows-1251 bytes.
#include <string>

#include "text/fixed_text.h"

namespace ejscope::request_texts {

EJSCOPE_CP1251_TEXT(window_caption, "Форма запроса и отображения данных")
EJSCOPE_CP1251_TEXT(attention_caption, "ВНИМАНИЕ!!!!")
EJSCOPE_CP1251_TEXT(phase_loading, "ИДЁТ ЗАГРУЗКА ДАННЫХ....")
EJSCOPE_CP1251_TEXT(phase_processing, "ИДЁТ ОБРАБОТКА ДАННЫХ....")
EJSCOPE_CP1251_TEXT(first_not_positive, "Началный номер должен быть >0!")
EJSCOPE_CP1251_TEXT(last_before_first, "Конечный номер должен быть не меньше начального!")
EJSCOPE_CP1251_TEXT(failure_structure, "Непредвиденный сбой в структуре получаемой информации!")
EJSCOPE_CP1251_TEXT(failure_try_other, "Попробуйте выбрать другой диапазон номеров или дат!")
EJSCOPE_CP1251_TEXT(end_before_start, "Конечная дата должна быть не меньше начальной!")
// Followed by the code and " !" in the display, by the code alone in the look-up's box.
EJSCOPE_CP1251_TEXT(register_error_line, "РРО вернул ошибку:  ")
EJSCOPE_CP1251_TEXT(register_error_box, "РРО вернул ошибку:")
EJSCOPE_CP1251_TEXT(register_error_box_caption, "Error")
EJSCOPE_CP1251_TEXT(contact_acquirer, "Необходимо связаться с экваером и передать данные!")
EJSCOPE_CP1251_TEXT(print_question, "Печать требует затрат бумажной ленты")
EJSCOPE_CP1251_TEXT(print_question_caption, "Продолжить?")
// Followed by the numbers the documents were asked by, joined by ", ".
EJSCOPE_CP1251_TEXT(incomplete_documents,
                     "Документы получены не полностью и не показаны (запросите их снова): ")

// The request stopped asking: its text reached the most one request may gather.
EJSCOPE_CP1251_TEXT(text_limit_reached,
                     "Объём данных запроса достиг предела, остальные документы не запрошены. "
                     "Выберите меньший диапазон номеров или дат!")


}  // namespace ejscope::request_texts
