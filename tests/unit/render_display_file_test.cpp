// The save format of the display and the error log that keeps the last failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "render/display_file.h"
#include "render/render_pass.h"
#include "render_support.h"

namespace ejscope {
namespace {

using render_testing::file_bytes;
using render_testing::scratch_folder;
using render_testing::w;

TEST(RenderSaveDisplay, WritesEveryLineWithCrLfAndNothingElse) {
  scratch_folder folder;
  const std::string footer = "  001234567 000042  31.03.2016  14:30" + std::string(10, ' ');
  struct save_case {
    std::vector<std::string> lines;
    std::string bytes;
  };
  const std::vector<save_case> cases = {
      {{}, ""},
      {{no_data_line()}, no_data_line() + "\r\n"},
      {{footer, w("  Сума"), ""}, footer + "\r\n" + w("  Сума") + "\r\n\r\n"},
  };
  for (const auto& c : cases) {
    const std::string path = folder.file("saved.txt");
    save_display(c.lines, path);
    EXPECT_EQ(file_bytes(path), c.bytes);
  }
  // "Запрашиваемые данные отсутствуют!" is 33 windows-1251 bytes.
  save_display({no_data_line()}, folder.file("one.txt"));
  EXPECT_EQ(std::filesystem::file_size(folder.file("one.txt")), 35u);
  EXPECT_EQ(static_cast<unsigned char>(file_bytes(folder.file("one.txt"))[0]), 0xC7u);
  // The footer keeps its ten trailing blanks.
  save_display({footer}, folder.file("footer.txt"));
  EXPECT_EQ(file_bytes(folder.file("footer.txt")).size(), 49u);
}

TEST(RenderSaveDisplay, ReplacesAnExistingFileAndNamesAFileItCannotCreate) {
  scratch_folder folder;
  const std::string path = folder.file("saved.txt");
  save_display({"a long first version", "of the file"}, path);
  save_display({"b"}, path);
  EXPECT_EQ(file_bytes(path), "b\r\n");

  const std::vector<std::string> unwritable = {folder.file("missing/saved.txt"), folder.path().string()};
  for (const auto& bad : unwritable) {
    try {
      save_display({"x"}, bad);
      ADD_FAILURE() << "saved to " << bad;
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot create file " + bad);
    }
  }
}

TEST(RenderErrorLog, KeepsOnlyTheLastMessage) {
  scratch_folder folder;
  const std::string path = folder.file("error.log");
  log_render_error("Range check error", path);
  log_render_error(w("'Б' is not a valid integer value"), path);
  EXPECT_EQ(file_bytes(path), w("'Б' is not a valid integer value") + "\r\n");
  log_render_error("", path);
  EXPECT_EQ(file_bytes(path), "\r\n");
}

TEST(RenderErrorLog, IsSilentWhenTheLogCannotBeWritten) {
  scratch_folder folder;
  EXPECT_NO_THROW(log_render_error("Range check error", folder.file("missing/error.log")));
  EXPECT_NO_THROW(log_render_error("Range check error", folder.path().string()));
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

}  // namespace
}  // namespace ejscope
