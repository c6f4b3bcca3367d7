// The settings file on arbitrary bytes: every key of the program is read
// within its limit, one key is written, and then the written key reads back
// as written (cut at a line break and at its read limit), every other key
// reads as before, and every other line of the file is unchanged byte for
// byte (only a last line without a break may gain one).
// Input: [choice][value length][value bytes][file bytes].
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "window/settings.h"
#include "link/settings_file.h"

namespace {

using ejscope::settings_file;

void check(bool ok) {
  if (!ok) std::abort();
}

struct key {
  const char* section;
  const char* name;
  std::size_t limit;
};

// The keys the program reads and writes, and one in Cyrillic letters to
// exercise the windows-1251 letter case.
const key keys[] = {
    {"Connection", "IPAddres", 15}, {"Property", "ID", 14},        {"Property", "Colvo", 14},
    {"LogFile", "Log", 14},         {"LogFile", "LogName", 299},   {"Fiscal Printer", "Reply", 14},
    {"\xD0\xE0\xE7\xE4\xE5\xEB", "\xCA\xEB\xFE\xF7", 64},
};
constexpr std::size_t key_count = sizeof keys / sizeof keys[0];

struct line {
  std::string text;
  std::string end;
};

// Lines with their terminators, split here on their own so that the check
// does not share the reader's code.
std::vector<line> lines_of(const std::string& s) {
  std::vector<line> out;
  std::size_t at = 0;
  while (at < s.size()) {
    const std::size_t lf = s.find('\n', at);
    if (lf == std::string::npos) {
      out.push_back({s.substr(at), ""});
      break;
    }
    const std::size_t cr = lf > at && s[lf - 1] == '\r' ? 1 : 0;
    out.push_back({s.substr(at, lf - at - cr), s.substr(lf - cr, 1 + cr)});
    at = lf + 1;
  }
  return out;
}

bool is_break(const std::string& end) { return end == "\r\n" || end == "\n"; }

// An old line kept by the write: the same bytes, or the old last line
// without a break that gained one.
bool kept(const std::vector<line>& before, std::size_t i, const line& now) {
  const line& old = before[i];
  if (old.text != now.text) return false;
  return old.end == now.end || (old.end.empty() && i + 1 == before.size() && is_break(now.end));
}

std::string lower_ascii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
  return s;
}

std::string bytes_of(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const std::filesystem::path& folder() {
  static const std::filesystem::path path = [] {
    std::string name = (std::filesystem::temp_directory_path() / "ejscope-settings-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) std::abort();
    return std::filesystem::path(name);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const std::size_t value_size = std::min<std::size_t>(data[1], size - 2);
  const std::string value(reinterpret_cast<const char*>(data) + 2, value_size);
  const std::string before(reinterpret_cast<const char*>(data) + 2 + value_size, size - 2 - value_size);

  const std::filesystem::path path = folder() / ejscope::settings_file_name;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << before;
  }
  const settings_file file(path);

  std::string read_before[key_count];
  for (std::size_t i = 0; i < key_count; ++i) {
    read_before[i] = file.read_text(keys[i].section, keys[i].name, "\x01" "absent", keys[i].limit);
    check(read_before[i].size() <= std::max<std::size_t>(keys[i].limit, 7));
  }
  const auto startup = ejscope::read_startup_settings(file);
  check(startup.address.size() <= 15 && startup.identifier.size() <= 14);
  const auto first = ejscope::read_first_connect_settings(file);
  check(first.log_name.size() <= 299);

  // The key written, spelt as in the table or in small letters.
  const key& target = keys[choice % key_count];
  const bool lower = choice & 0x80;
  const std::string section = lower ? lower_ascii(target.section) : target.section;
  const std::string name = lower ? lower_ascii(target.name) : target.name;
  check(file.write_text(section, name, value));
  const std::string after = bytes_of(path);
  check(std::distance(std::filesystem::directory_iterator(folder()), std::filesystem::directory_iterator()) == 1);

  const std::string one_line = value.substr(0, value.find_first_of("\r\n"));
  for (std::size_t i = 0; i < key_count; ++i) {
    const std::string now = file.read_text(keys[i].section, keys[i].name, "\x01" "absent", keys[i].limit);
    if (&keys[i] == &target) {
      check(now == one_line.substr(0, target.limit));
    } else {
      check(now == read_before[i]);
    }
  }

  const auto old_lines = lines_of(before);
  const auto new_lines = lines_of(after);
  const std::string written = name + "=" + one_line;
  if (new_lines.size() == old_lines.size()) {
    // The key's line changed after its "=", and no other line.
    std::size_t changed = 0;
    for (std::size_t i = 0; i < old_lines.size(); ++i) {
      if (kept(old_lines, i, new_lines[i])) continue;
      ++changed;
      const std::string& old = old_lines[i].text;
      check(old.find('=') != std::string::npos);
      check(new_lines[i].text == old.substr(0, old.find('=') + 1) + one_line);
      check(new_lines[i].end == old_lines[i].end);
    }
    check(changed <= 1);
  } else if (new_lines.size() == old_lines.size() + 1) {
    // The key added inside its section.
    std::size_t k = 0;
    while (k < old_lines.size() && kept(old_lines, k, new_lines[k])) ++k;
    check(new_lines[k].text == written && is_break(new_lines[k].end));
    for (std::size_t i = k; i < old_lines.size(); ++i) check(kept(old_lines, i, new_lines[i + 1]));
  } else {
    // The section and the key added at the end.
    check(new_lines.size() == old_lines.size() + 2);
    for (std::size_t i = 0; i < old_lines.size(); ++i) check(kept(old_lines, i, new_lines[i]));
    check(new_lines[old_lines.size()].text == "[" + section + "]");
    check(new_lines.back().text == written && is_break(new_lines.back().end));
  }
  return 0;
}
