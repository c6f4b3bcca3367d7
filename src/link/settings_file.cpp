#include "link/settings_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace ejscope {
namespace {

// Letter case of windows-1251: Latin A-Z, Cyrillic А-Я, and the Cyrillic
// letters of the upper half that sit outside that block.
unsigned char fold_case(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 0x20);
  switch (c) {
    case 0xA8: return 0xB8;  // Ё
    case 0xAA: return 0xBA;  // Є
    case 0xAF: return 0xBF;  // Ї
    case 0xB2: return 0xB3;  // І
    case 0xA5: return 0xB4;  // Ґ
    case 0xA1: return 0xA2;  // Ў
    default: return c;
  }
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return fold_case(static_cast<unsigned char>(x)) ==
                  fold_case(static_cast<unsigned char>(y));
         });
}

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// One line of the file: its text and its terminator ("\r\n", "\n" or none
// for a last line without one), kept apart so that lines are rewritten as read.
struct line {
  std::string text;
  std::string end;
};

std::vector<line> split_lines(const std::string& content) {
  std::vector<line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t lf = content.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({content.substr(start), ""});
      break;
    }
    std::size_t text_end = (lf > start && content[lf - 1] == '\r') ? lf - 1 : lf;
    lines.push_back({content.substr(start, text_end - start), content.substr(text_end, lf + 1 - text_end)});
    start = lf + 1;
  }
  return lines;
}

// The section name of a "[name]" line (blanks around it ignored).
std::optional<std::string_view> section_name(std::string_view text) {
  std::string_view t = trim_blanks(text);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  std::size_t close = t.find(']');
  return trim_blanks(t.substr(0, close));
}

// The key name of a "name=value" line (blanks around the name ignored).
std::optional<std::string_view> key_name(std::string_view text) {
  std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return trim_blanks(text.substr(0, eq));
}

// Reads the whole file; nullopt when it is missing, unreadable or too large.
std::optional<std::string> load(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  auto size = std::filesystem::file_size(path, ec);
  if (ec || size > settings_file::max_file_size) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (content.size() > settings_file::max_file_size) return std::nullopt;
  return content;
}

struct key_position {
  std::size_t section = 0;  // index of the section line
  std::optional<std::size_t> key;
  std::size_t last_key = 0;  // index of the section's last key line (or its header)
};

// The first section of that name and, within it, the first key of that name.
std::optional<key_position> find_key(const std::vector<line>& lines, std::string_view section,
                                     std::string_view key) {
  std::optional<key_position> found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = section_name(lines[i].text)) {
      if (found) break;
      if (same_name(*name, section)) found = key_position{i, std::nullopt, i};
      continue;
    }
    if (!found) continue;
    if (auto name = key_name(lines[i].text)) {
      found->last_key = i;
      if (!found->key && same_name(*name, key)) found->key = i;
    }
  }
  return found;
}

std::optional<std::string> raw_value(const std::filesystem::path& path, const std::string& section,
                                     const std::string& key) {
  auto content = load(path);
  if (!content) return std::nullopt;
  auto lines = split_lines(*content);
  auto pos = find_key(lines, section, key);
  if (!pos || !pos->key) return std::nullopt;
  const std::string& text = lines[*pos->key].text;
  return text.substr(text.find('=') + 1);
}

// Ends a last line that had no break. A text ending in a carriage return
// gets "\r\n", so that its own "\r" stays part of it.
void end_line(line& l, const std::string& newline) {
  if (l.end.empty()) l.end = !l.text.empty() && l.text.back() == '\r' ? "\r\n" : newline;
}

bool store(const std::filesystem::path& path, const std::vector<line>& lines) {
  // Written beside the file and renamed over it, so that a failed write
  // never leaves a half-written settings file.
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const auto& l : lines) out << l.text << l.end;
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

bool settings_file::exists() const {
  std::error_code ec;
  return std::filesystem::exists(path_, ec);
}

bool settings_file::create_empty() const {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out);
}

std::string settings_file::read_text(const std::string& section, const std::string& key,
                                     const std::string& fallback, std::size_t limit) const {
  std::string value = raw_value(path_, section, key).value_or(fallback);
  if (value.size() > limit) value.resize(limit);
  return value;
}

int settings_file::read_int(const std::string& section, const std::string& key, int fallback) const {
  auto value = raw_value(path_, section, key);
  if (!value) return fallback;
  // Blanks before the number are skipped, as the profile reader trims them.
  std::string_view v = *value;
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  bool negative = !v.empty() && v.front() == '-';
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
  long long n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
    if (n > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) n = -n;
  return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

bool settings_file::write_text(const std::string& section, const std::string& key,
                               const std::string& value) const {
  // A value ends at a line break: it could not be read back otherwise, and
  // its rest would become lines of its own.
  std::string one_line = value.substr(0, value.find_first_of("\r\n"));
  std::vector<line> lines;
  if (exists()) {
    auto content = load(path_);
    if (!content) return false;
    lines = split_lines(*content);
  }
  const std::string newline = lines.empty() || lines.front().end.empty() ? "\r\n" : lines.front().end;
  auto pos = find_key(lines, section, key);
  if (pos && pos->key) {
    std::string& text = lines[*pos->key].text;
    text = text.substr(0, text.find('=') + 1) + one_line;
  } else if (pos) {
    end_line(lines[pos->last_key], newline);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos->last_key + 1),
                 line{key + "=" + one_line, newline});
  } else {
    if (!lines.empty()) end_line(lines.back(), newline);
    lines.push_back({"[" + section + "]", newline});
    lines.push_back({key + "=" + one_line, newline});
  }
  return store(path_, lines);
}

}  // namespace ejscope
