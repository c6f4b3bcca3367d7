#pragma once
// The exchange log of the Kelvora driver: two CR LF lines per entry,
// appended to a file in the working folder while a log name is set.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace ejscope::kelvora {

class exchange_log {
 public:
  static constexpr std::size_t max_name = 299;

  // An empty name switches the log off; longer names are cut to max_name.
  void set_file_name(const std::string& name);
  bool enabled() const { return !name_.empty(); }
  // The working folder joined with the name, fixed at the first entry of the run.
  const std::string& path() const { return path_; }

  // Appends ";DD-MM-YYYY HH:MM:SS  first" and second, each ended by CR LF.
  // Nothing is written while the log is off or the file cannot be opened.
  void write_entry(const std::tm& now, const std::string& first, const std::string& second);

  // The first line without its line break.
  static std::string first_line(const std::tm& now, const std::string& text);

 private:
  std::string name_;
  std::string path_;
};

// The texts of the request and reply entries.
std::string request_entry_text(std::uint8_t seq_byte);
std::string request_entry_line(std::uint8_t command, const std::string& data);
std::string reply_entry_text(std::uint8_t reply_sequence, std::int32_t syn_count);

}  // namespace ejscope::kelvora
