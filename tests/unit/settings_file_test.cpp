// The private-profile file: names matched without regard to case, values
// as written, read limits, integers, and writes that touch one line only.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "window/settings.h"
#include "link/settings_file.h"
#include "unit/settings_temp_folder.h"

namespace ejscope {
namespace {

using testing::temp_folder;

const std::string sample =
    "; kept as it is\r\n"
    "[Connection]\r\n"
    "IPAddres=10.0.0.7\r\n"
    "\r\n"
    "[Property]\r\n"
    "ID=KV0000001\r\n"
    "Colvo=1\r\n"
    "Other = keep me \r\n"
    "[Fiscal Printer]\r\n"
    "Reply=3\r\n";

struct read_case {
  const char* name;
  std::string content;
  std::string section;
  std::string key;
  std::size_t limit;
  std::string expected;
};

class settings_read : public ::testing::TestWithParam<read_case> {};

TEST_P(settings_read, reads_the_value) {
  temp_folder dir;
  dir.put("ejscope.ini", GetParam().content);
  settings_file file(dir.file("ejscope.ini"));
  EXPECT_EQ(file.read_text(GetParam().section, GetParam().key, "<default>", GetParam().limit),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    cases, settings_read,
    ::testing::Values(
        read_case{"plain", sample, "Connection", "IPAddres", 15, "10.0.0.7"},
        read_case{"section_case", sample, "connection", "ipaddres", 15, "10.0.0.7"},
        read_case{"upper_case", sample, "PROPERTY", "ID", 14, "KV0000001"},
        read_case{"blanks_of_value_kept", sample, "Property", "Other", 50, " keep me "},
        read_case{"absent_key", sample, "Property", "Missing", 14, "<default>"},
        read_case{"absent_section", sample, "LogFile", "Log", 14, "<default>"},
        read_case{"key_of_another_section", sample, "Connection", "ID", 14, "<default>"},
        read_case{"cut_to_limit", "[Connection]\nIPAddres=192.168.100.200:1\n", "Connection", "IPAddres",
                  15, "192.168.100.200"},
        read_case{"lf_lines", "[a]\nk=v\n", "A", "K", 5, "v"},
        read_case{"no_final_line_break", "[a]\r\nk=v", "a", "k", 5, "v"},
        read_case{"first_key_wins", "[a]\nk=1\nk=2\n", "a", "k", 5, "1"},
        read_case{"first_section_wins", "[a]\nk=1\n[a]\nk=2\n", "a", "k", 5, "1"},
        read_case{"empty_value", "[a]\nk=\n", "a", "k", 5, ""},
        read_case{"equals_in_value", "[a]\nk=x=y\n", "a", "k", 5, "x=y"},
        read_case{"key_before_any_section", "k=1\n[a]\n", "a", "k", 14, "<default>"},
        // "[Раздел]", "Ключ=да" read as "рАЗДЕЛ", "КЛЮЧ" (windows-1251 bytes).
        read_case{"cyrillic_case", "[\xD0\xE0\xE7\xE4\xE5\xEB]\n\xCA\xEB\xFE\xF7=\xE4\xE0\n",
                  "\xF0\xC0\xC7\xC4\xC5\xCB", "\xCA\xCB\xDE\xD7", 5, "\xE4\xE0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(settings_read, missing_file_gives_the_default) {
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  EXPECT_FALSE(file.exists());
  EXPECT_EQ(file.read_text("Connection", "IPAddres", "", 15), "");
  EXPECT_EQ(file.read_int("Fiscal Printer", "Reply", 1), 1);
}

TEST(settings_read, integers) {
  struct {
    const char* value;
    int expected;
  } cases[] = {
      {"5", 5},         {"0", 0},        {"abc", 0},       {"", 0},          {"12abc", 12},
      {" 7", 7},        {"-3", -3},      {"+4", 4},        {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},         {"1.5", 1},
  };
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  for (const auto& c : cases) {
    dir.put("ejscope.ini", std::string("[Fiscal Printer]\r\nReply=") + c.value + "\r\n");
    EXPECT_EQ(file.read_int("fiscal printer", "REPLY", 1), c.expected) << '"' << c.value << '"';
  }
  EXPECT_EQ(file.read_int("Fiscal Printer", "Absent", 9), 9);
}

struct write_case {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

class settings_write : public ::testing::TestWithParam<write_case> {};

TEST_P(settings_write, changes_one_line_only) {
  temp_folder dir;
  dir.put("ejscope.ini", GetParam().before);
  settings_file file(dir.file("ejscope.ini"));
  ASSERT_TRUE(file.write_text(GetParam().section, GetParam().key, GetParam().value));
  EXPECT_EQ(dir.take("ejscope.ini"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    cases, settings_write,
    ::testing::Values(
        write_case{"replace", sample, "Connection", "IPAddres", "127.0.0.1",
                   "; kept as it is\r\n[Connection]\r\nIPAddres=127.0.0.1\r\n\r\n[Property]\r\n"
                   "ID=KV0000001\r\nColvo=1\r\nOther = keep me \r\n[Fiscal Printer]\r\nReply=3\r\n"},
        write_case{"replace_any_case_keeps_spelling", sample, "property", "other", "",
                   "; kept as it is\r\n[Connection]\r\nIPAddres=10.0.0.7\r\n\r\n[Property]\r\n"
                   "ID=KV0000001\r\nColvo=1\r\nOther =\r\n[Fiscal Printer]\r\nReply=3\r\n"},
        write_case{"add_key_after_last_key", sample, "Connection", "Port", "34950",
                   "; kept as it is\r\n[Connection]\r\nIPAddres=10.0.0.7\r\nPort=34950\r\n\r\n[Property]\r\n"
                   "ID=KV0000001\r\nColvo=1\r\nOther = keep me \r\n[Fiscal Printer]\r\nReply=3\r\n"},
        write_case{"add_section", "[a]\r\nk=1\r\n", "LogFile", "Log", "1",
                   "[a]\r\nk=1\r\n[LogFile]\r\nLog=1\r\n"},
        write_case{"add_to_last_line_without_break", "[a]\r\nk=1", "a", "j", "2", "[a]\r\nk=1\r\nj=2\r\n"},
        write_case{"add_section_after_line_without_break", "[a]\r\nk=1", "b", "j", "2",
                   "[a]\r\nk=1\r\n[b]\r\nj=2\r\n"},
        write_case{"lf_file_stays_lf", "[a]\nk=1\n", "a", "j", "2", "[a]\nk=1\nj=2\n"},
        write_case{"last_line_ending_in_cr_keeps_it", "[a]\nk=1\r", "a", "j", "2", "[a]\nk=1\r\r\nj=2\n"},
        write_case{"section_after_last_line_ending_in_cr", "[a]\nk=1\r", "b", "j", "2",
                   "[a]\nk=1\r\r\n[b]\nj=2\n"},
        write_case{"empty_section", "[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
        write_case{"value_cut_at_line_break", "[a]\r\nk=1\r\n", "a", "k", "x\r\n[evil]\r\nk=2",
                   "[a]\r\nk=x\r\n"},
        write_case{"cp1251_bytes_kept", "[a]\r\nk=\xEF\xF0\xE8\xE2\xB3\xF2\r\nn=1\r\n", "a", "n", "\xC0",
                   "[a]\r\nk=\xEF\xF0\xE8\xE2\xB3\xF2\r\nn=\xC0\r\n"},
        write_case{"empty_file", "", "Connection", "IPAddres", "127.0.0.1",
                   "[Connection]\r\nIPAddres=127.0.0.1\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(settings_write, creates_a_missing_file) {
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  ASSERT_TRUE(file.write_text("Property", "ID", ""));
  EXPECT_EQ(dir.take("ejscope.ini"), "[Property]\r\nID=\r\n");
}

TEST(settings_write, oversized_file_is_neither_read_nor_rewritten) {
  temp_folder dir;
  std::string big = "[Connection]\r\nIPAddres=10.0.0.7\r\n" + std::string(settings_file::max_file_size, 'x');
  dir.put("ejscope.ini", big);
  settings_file file(dir.file("ejscope.ini"));
  EXPECT_EQ(file.read_text("Connection", "IPAddres", "", 15), "");
  EXPECT_FALSE(file.write_text("Connection", "IPAddres", "1.2.3.4"));
  EXPECT_EQ(dir.take("ejscope.ini"), big);
}

TEST(settings_write, unwritable_folder_reports_failure) {
  temp_folder dir;
  settings_file file(dir.file("missing-folder/ejscope.ini"));
  EXPECT_FALSE(file.create_empty());
  EXPECT_FALSE(file.write_text("Connection", "IPAddres", "1.2.3.4"));
  EXPECT_EQ(file.read_text("Connection", "IPAddres", "", 15), "");
}

}  // namespace
}  // namespace ejscope
