// The keys of ejscope.ini: the new file, the values read at activation and
// at the first connect, and the values written at close.
#include <gtest/gtest.h>

#include <string>

#include "window/settings.h"
#include "unit/settings_temp_folder.h"

namespace ejscope {
namespace {

using testing::temp_folder;

TEST(settings_keys, new_file_holds_the_three_keys_in_order) {
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  ASSERT_TRUE(file.create_empty());
  write_new_settings(file);
  EXPECT_EQ(dir.take("ejscope.ini"), "[Connection]\r\nIPAddres=127.0.0.1\r\n[Property]\r\nColvo=1\r\nID=\r\n");
  startup_settings s = read_startup_settings(file);
  EXPECT_EQ(s.address, "127.0.0.1");
  EXPECT_EQ(s.identifier, "");
  EXPECT_TRUE(s.colvo_flag);
}

TEST(settings_keys, colvo_flag_only_for_exactly_one) {
  struct {
    const char* line;
    bool expected;
  } cases[] = {{"Colvo=1", true}, {"colvo=1", true}, {"Colvo= 1", false}, {"Colvo=01", false},
               {"Colvo=1 ", false}, {"Colvo=2", false}, {"Colvo=", false}, {"", false}};
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  for (const auto& c : cases) {
    dir.put("ejscope.ini", std::string("[Property]\r\n") + c.line + "\r\n");
    EXPECT_EQ(read_startup_settings(file).colvo_flag, c.expected) << '"' << c.line << '"';
  }
}

TEST(settings_keys, startup_values_are_cut_to_their_limits) {
  temp_folder dir;
  dir.put("ejscope.ini", "[Connection]\r\nIPAddres=gateway.example.org\r\n[Property]\r\nID=123456789012345678\r\n");
  startup_settings s = read_startup_settings(settings_file(dir.file("ejscope.ini")));
  EXPECT_EQ(s.address, "gateway.example");
  EXPECT_EQ(s.identifier, "12345678901234");
}

TEST(settings_keys, first_connect_values) {
  struct {
    const char* name;
    std::string content;
    int log;
    std::string log_name;
    int reply_attempts;
  } cases[] = {
      {"absent", "", 0, "", 1},
      {"log_off_name_not_read", "[LogFile]\r\nLog=0\r\nLogName=x.log\r\n", 0, "", 1},
      {"log_on_default_name", "[LogFile]\r\nLog=1\r\n", 1, "ejscope.log", 1},
      {"log_on_named", "[logfile]\r\nlog=2\r\nlogname=exchange.txt\r\n", 2, "exchange.txt", 1},
      {"log_not_a_number", "[LogFile]\r\nLog=yes\r\nLogName=x.log\r\n", 0, "", 1},
      {"reply_count", "[Fiscal Printer]\r\nReply=5\r\n", 0, "", 5},
      {"reply_not_a_number", "[Fiscal Printer]\r\nReply=many\r\n", 0, "", 0},
      {"long_log_name_cut", "[LogFile]\r\nLog=1\r\nLogName=" + std::string(400, 'n') + "\r\n", 1,
       std::string(299, 'n'), 1},
  };
  temp_folder dir;
  settings_file file(dir.file("ejscope.ini"));
  for (const auto& c : cases) {
    dir.put("ejscope.ini", c.content);
    first_connect_settings s = read_first_connect_settings(file);
    EXPECT_EQ(s.log, c.log) << c.name;
    EXPECT_EQ(s.log_name, c.log_name) << c.name;
    EXPECT_EQ(s.reply_attempts, c.reply_attempts) << c.name;
  }
}

TEST(settings_keys, close_writes_both_fields_even_empty) {
  temp_folder dir;
  dir.put("ejscope.ini", "[Connection]\r\nIPAddres=10.0.0.7\r\n[Property]\r\nColvo=1\r\nID=KV1\r\n[X]\r\ny=z\r\n");
  write_close_settings(settings_file(dir.file("ejscope.ini")), "", "");
  EXPECT_EQ(dir.take("ejscope.ini"), "[Connection]\r\nIPAddres=\r\n[Property]\r\nColvo=1\r\nID=\r\n[X]\r\ny=z\r\n");
}

}  // namespace
}  // namespace ejscope
