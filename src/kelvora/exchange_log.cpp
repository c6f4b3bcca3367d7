#include "kelvora/exchange_log.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace ejscope::kelvora {

void exchange_log::set_file_name(const std::string& name) { name_ = name.substr(0, max_name); }

std::string exchange_log::first_line(const std::tm& now, const std::string& text) {
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, ";%2d-%02d-%4d %2d:%02d:%02d  ", now.tm_mday, now.tm_mon + 1,
                now.tm_year + 1900, now.tm_hour, now.tm_min, now.tm_sec);
  return stamp + text;
}

void exchange_log::write_entry(const std::tm& now, const std::string& first,
                               const std::string& second) {
  if (!enabled()) return;
  if (path_.empty()) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    // The platform's own separator joins the working folder and the name.
    path_ = (folder / name_).string();
  }
  std::ofstream out(path_, std::ios::binary | std::ios::app);
  if (!out) return;
  out << first_line(now, first) << "\r\n" << second << "\r\n";
}

std::string request_entry_text(std::uint8_t seq_byte) {
  char text[8];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(seq_byte));
  return text;
}

std::string request_entry_line(std::uint8_t command, const std::string& data) {
  return request_entry_text(command) + data;
}

std::string reply_entry_text(std::uint8_t reply_sequence, std::int32_t syn_count) {
  char text[32];
  std::snprintf(text, sizeof text, "%X SYN=%ld", static_cast<unsigned>(reply_sequence),
                static_cast<long>(syn_count));
  return text;
}

}  // namespace ejscope::kelvora
