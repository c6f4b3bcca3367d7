#pragma once
// A private-profile settings file: windows-1251 lines of sections ("[name]")
// and keys ("name=value"). Section and key names match without regard to
// letter case; a value is everything after the first "=" up to the line end.
// Writing one key leaves every other line of the file byte for byte as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace ejscope {

class settings_file {
 public:
  explicit settings_file(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }
  bool exists() const;
  // Creates the file empty; false when it cannot be created.
  bool create_empty() const;

  // The value of the key, or fallback when the key (or the file) is absent;
  // a value longer than limit bytes is cut to limit bytes.
  std::string read_text(const std::string& section, const std::string& key,
                        const std::string& fallback, std::size_t limit) const;
  // The leading decimal number of the value (optional sign, then digits);
  // text that does not start with a number gives 0, an absent key gives
  // fallback, a number beyond the int range is held at the range's end.
  int read_int(const std::string& section, const std::string& key, int fallback) const;
  // Replaces the key's value, or adds the key (and the section when absent).
  // False when the file cannot be written; the file is then unchanged.
  bool write_text(const std::string& section, const std::string& key,
                  const std::string& value) const;

  // Files beyond this size are not settings files: reads give the
  // defaults and writes are refused, so nothing of them is lost.
  static constexpr std::uintmax_t max_file_size = 1u << 20;

 private:
  std::filesystem::path path_;
};

}  // namespace ejscope
