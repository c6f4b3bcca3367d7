#include "render/display_file.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace ejscope {
namespace {

struct file_closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using file_handle = std::unique_ptr<std::FILE, file_closer>;

}  // namespace

void save_display(const std::vector<std::string>& lines, const std::string& path) {
  std::string bytes;
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  bytes.reserve(size);
  for (const auto& line : lines) bytes.append(line).append("\r\n");

  std::FILE* raw = std::fopen(path.c_str(), "wb");
  if (raw == nullptr) throw std::runtime_error("Cannot create file " + path);
  file_handle file(raw);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
  written = std::fclose(file.release()) == 0 && written;
  if (!written) throw std::runtime_error("Cannot create file " + path);
}

void log_render_error(const std::string& message, const std::string& path) {
  file_handle file(std::fopen(path.c_str(), "wb"));
  if (!file) return;
  std::fwrite(message.data(), 1, message.size(), file.get());
  std::fwrite("\r\n", 1, 2, file.get());
}

}  // namespace ejscope
