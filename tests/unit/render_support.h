#pragma once
// Helpers of the renderer tests: windows-1251 texts from UTF-8, expected
// lines built from their columns, and receipts assembled line by line.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tape/documents.h"
#include "text/cp1251.h"

namespace ejscope::render_testing {

inline std::string w(std::string_view utf8) { return text::utf8_to_cp1251(utf8); }

inline std::vector<std::string> utf8_lines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& line : lines) out.push_back(text::cp1251_to_utf8(line));
  return out;
}

// `left`, then blanks so that `value` ends at column `end` (counted from 1),
// then blanks up to `length` characters. Texts are UTF-8; columns count
// windows-1251 bytes.
inline std::string row(std::string_view left, std::string_view value, std::size_t end, std::size_t length) {
  std::string line = w(left);
  const std::string v = w(value);
  line.resize(end - v.size(), ' ');
  line += v;
  line.resize(length, ' ');
  return text::cp1251_to_utf8(line);
}

// Two values: the first ending at column end1, the second at end2.
inline std::string row2(std::string_view left, std::string_view v1, std::size_t end1, std::string_view v2,
                        std::size_t end2, std::size_t length) {
  std::string first = w(row(left, v1, end1, end1));
  return row(text::cp1251_to_utf8(first), v2, end2, length);
}

inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

// Files a receipt line of the given kind as the walk would: the next line
// number refers to it, and its kind's counter advances.
template <class T>
T& add_line(check& r, slot_map<T>& lines, int& count, int kind, T line) {
  record_line(r, r.line_no, kind, count);
  T& stored = lines[count] = std::move(line);
  ++count;
  ++r.line_no;
  return stored;
}

inline sale_end& add_end(check& r) {
  record_line(r, r.line_no, line_kinds::E, r.e_count);
  ++r.e_count;
  ++r.line_no;
  return r.end;
}

// A receipt document with the fields every layout reads.
inline dat receipt_document(float T = 0) {
  dat d;
  d.TN = w("ПН 12345");
  d.ZN = "ZN0001";
  d.FN = "FN0001";
  d.TS.text = "20160331143005";
  check& r = d.checks[0];
  r.T = T;
  r.CN = 5;
  r.ON = w("Оля");
  return d;
}

inline dat z_document(float NO) {
  dat d;
  d.is_check = false;
  d.TN = w("ПН 12345");
  d.ZN = "ZN0001";
  d.FN = "FN0001";
  d.TS.text = "20160331220000";
  d.zvits[0].NO = NO;
  return d;
}

// A fresh folder under the system's temporary folder, removed with its content.
class scratch_folder {
 public:
  scratch_folder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("ejscope-render-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~scratch_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace ejscope::render_testing
