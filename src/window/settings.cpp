#include "window/settings.h"

namespace ejscope {
namespace {

constexpr std::size_t address_limit = 15;
constexpr std::size_t property_limit = 14;
constexpr std::size_t log_name_limit = 299;

}  // namespace

void write_new_settings(const settings_file& file) {
  file.write_text("Connection", "IPAddres", "127.0.0.1");
  file.write_text("Property", "Colvo", "1");
  file.write_text("Property", "ID", "");
}

startup_settings read_startup_settings(const settings_file& file) {
  startup_settings s;
  s.address = file.read_text("Connection", "IPAddres", "", address_limit);
  s.identifier = file.read_text("Property", "ID", "", property_limit);
  s.colvo_flag = file.read_text("Property", "Colvo", "", property_limit) == "1";
  return s;
}

first_connect_settings read_first_connect_settings(const settings_file& file) {
  first_connect_settings s;
  s.log = file.read_int("LogFile", "Log", 0);
  if (s.log != 0) s.log_name = file.read_text("LogFile", "LogName", "ejscope.log", log_name_limit);
  s.reply_attempts = file.read_int("Fiscal Printer", "Reply", 1);
  return s;
}

void write_close_settings(const settings_file& file, const std::string& address,
                          const std::string& identifier) {
  file.write_text("Connection", "IPAddres", address);
  file.write_text("Property", "ID", identifier);
}

}  // namespace ejscope
