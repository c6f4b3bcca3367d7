// The Kelvora reply record: the ";" split, the command-name table with its
// templates, and the flags built from what the parser found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelvora/command_names.h"
#include "kelvora/record_from_reply.h"
#include "kelvora_frames.h"
#include "text/cp1251.h"

namespace ejscope::kelvora {
namespace {

using text::utf8_to_cp1251;

std::vector<std::string> fields_of(const RetData& r) {
  return std::vector<std::string>(r.fields.begin(), r.fields.begin() + r.count);
}

TEST(KelvoraSplit, FieldsEndWithSemicolons) {
  struct {
    std::string data;
    std::vector<std::string> fields;
  } cases[] = {
      {"", {}},
      {"1;ABC;", {"1", "ABC"}},
      {"0;", {"0"}},
      {";", {""}},
      {"1;;X;", {"1", "", "X"}},
      {"1;ABC", {"1", "ABC"}},
      {"A;B;;", {"A", "B"}},
      {"A;;", {"A;"}},
      {";;;", {"", ""}},
      {"abc", {"abc"}},
      {";X;", {"", "X"}},
  };
  for (const auto& c : cases) {
    RetData r;
    r.fields[5] = "stale";
    split_fields(c.data, r);
    EXPECT_EQ(fields_of(r), c.fields) << c.data;
    for (std::size_t i = c.fields.size(); i < RetData::max_fields; ++i) EXPECT_EQ(r.fields[i], "") << c.data;
  }
}

TEST(KelvoraSplit, MoreThanTwentyFieldsKeepTheRestInTheLast) {
  std::string data;
  for (int i = 0; i < 25; ++i) data += std::to_string(i) + ";";
  RetData r;
  split_fields(data, r);
  ASSERT_EQ(r.count, 20);
  EXPECT_EQ(r.fields[0], "0");
  EXPECT_EQ(r.fields[18], "18");
  EXPECT_EQ(r.fields[19], "19;20;21;22;23;24");
}

TEST(KelvoraNames, LookupAndTemplates) {
  struct {
    int code;
    const char* name;
    const char* parameters;
  } cases[] = {
      {0xEE, "Команда EEh: Вывод интервала документов в электронном виде по дате",
       "<Дата начала>;<Время начала>;<Дата конца>;<Время конца>;<Признак печати>;"},
      {0x80, "Команда 80h: Диагностическая информация", "Параметров нет"},
      {0x23, "Команда 23h: Чтение заголовка и окончания документа", "<номер строки>;"},
      {0xA7, "Команда A7h: Вывод документов в электронном виде",
       "<Тип документа>;<Номер чека/отчета>;<Номер фрагмента>;"},
      {0xEB, "Команда EBh: Печать интервала документов", "<Номер начала>;<Номер конца>;"},
      {0x20, "Команда 20h: Установка даты и времени", "<DDMMYY>;<HHMM>;"},
      {0x65, "Команда 65h: Закрытие  фискального чека", ""},
      {0xED, "Неверная команда", ""},
      {0x1F, "Неверная команда", ""},
      {0xF0, "Неверная команда", ""},
      {0x2A, "Неверная команда", ""},
      {-1, "Неверная команда", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(command_name(c.code), utf8_to_cp1251(c.name)) << c.code;
    EXPECT_EQ(command_template(c.code), utf8_to_cp1251(c.parameters)) << c.code;
  }
}

TEST(KelvoraNames, FiftyTwoCommandsAreNamed) {
  int named = 0;
  for (int code = 0; code < 0x100; ++code) {
    if (command_name(code) != utf8_to_cp1251("Неверная команда")) ++named;
  }
  EXPECT_EQ(named, 52);
}

RetData record_of(const std::string& bytes, bool read_failed = false) {
  reply_parser p;
  p.begin_command();
  p.feed(bytes);
  std::string data = "418257;";
  std::string frame = "frame";
  RetData r;
  fill_record(r, exchange_result{p, read_failed, 0x80, data, frame});
  return r;
}

TEST(KelvoraRecord, ErrorCodeNoDataCleanStatus) {
  RetData r = record_of(testing::kelvora_reply{}.bytes());
  EXPECT_EQ(r.error_code, "0000");
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.user_value, 0);
  EXPECT_EQ(r.command, 0x80);
  EXPECT_EQ(r.sent_data, "418257;");
  EXPECT_EQ(r.sent_frame, "frame");
  EXPECT_EQ(r.name, command_name(0x80));
  EXPECT_EQ(r.status, (std::array<std::uint8_t, 6>{}));
  EXPECT_EQ(r.received, testing::kelvora_reply{}.bytes());
}

TEST(KelvoraRecord, Flags) {
  testing::kelvora_reply general_error;
  general_error.status[0] = 0xA2;
  testing::kelvora_reply bad;
  bad.wrong_checksum = true;
  std::string good = testing::kelvora_reply{}.bytes();
  struct {
    const char* name;
    std::string bytes;
    bool read_failed;
    std::uint32_t flags;
  } cases[] = {
      {"good", good, false, 0},
      {"status S0 A2h", general_error.bytes(), false, (1u << 1) | (1u << 27)},
      {"checksum", bad.bytes(), false, result_flag::checksum_mismatch},
      {"NAK", "\x15", false, result_flag::refused},
      {"nothing", "", false, result_flag::no_reply},
      {"cut frame", good.substr(0, 20), false, result_flag::no_reply},
      {"an error while reading is no reply", good, true, result_flag::no_reply},
  };
  for (const auto& c : cases) EXPECT_EQ(record_of(c.bytes, c.read_failed).flags, c.flags) << c.name;
}

TEST(KelvoraRecord, ReplyCopyKeeps128Bytes) {
  testing::kelvora_reply r;
  r.data = std::string(200, 'q');
  RetData rec = record_of(r.bytes());
  EXPECT_EQ(rec.reply_copy, std::string(128, 'q'));
  EXPECT_EQ(rec.fields[0], std::string(200, 'q'));
}

}  // namespace
}  // namespace ejscope::kelvora
