#pragma once
// A fresh temporary folder per test, removed at the end, with helpers to
// put and take the bytes of a file in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace ejscope::testing {

class temp_folder {
 public:
  temp_folder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("ejscope-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~temp_folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path file(const std::string& name) const { return path_ / name; }

  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string take(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace ejscope::testing
