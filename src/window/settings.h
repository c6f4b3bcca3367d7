#pragma once
// The keys of ejscope.ini and when the main window reads and writes them.
#include <string>

#include "link/settings_file.h"

namespace ejscope {

// Read at every activation of the main window.
struct startup_settings {
  std::string address;      // "Connection"/"IPAddres", at most 15 bytes
  std::string identifier;   // "Property"/"ID", at most 14 bytes
  bool colvo_flag = false;  // "Property"/"Colvo" is exactly "1"
};

// Read once per run, at the first connect.
struct first_connect_settings {
  int log = 0;                         // "LogFile"/"Log": non-zero switches the log on
  std::string log_name;                // "LogFile"/"LogName", read only when log is non-zero
  int reply_attempts = 1;              // "Fiscal Printer"/"Reply"
};

// The settings file name inside the base folder.
inline constexpr const char* settings_file_name = "ejscope.ini";

// Writes the three keys of a new file in their order: IPAddres = "127.0.0.1",
// Colvo = "1", ID = "".
void write_new_settings(const settings_file& file);
startup_settings read_startup_settings(const settings_file& file);
first_connect_settings read_first_connect_settings(const settings_file& file);
// At close: "Connection"/"IPAddres" := address, then "Property"/"ID" := identifier.
void write_close_settings(const settings_file& file, const std::string& address,
                          const std::string& identifier);

}  // namespace ejscope
