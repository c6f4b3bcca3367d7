// The sample tape rendered under every document type, compared byte for byte
// with the checked-in texts (windows-1251, CR LF) that were reviewed line by
// line against the layouts.
#include <gtest/gtest.h>

#include <filesystem>

#include "tape/tape_walker.h"
#include "render/display_file.h"
#include "render/render_pass.h"
#include "render_support.h"

namespace ejscope {
namespace {

using render_testing::file_bytes;
using render_testing::scratch_folder;
using render_testing::w;

struct golden_case {
  const char* golden;
  int type;
  const char* first;
  const char* last;
  std::vector<std::string> headers;  // UTF-8
  bool colvo;
};

// The lines of a saved text, for a readable report of the first difference.
std::vector<std::string> saved_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
    lines.push_back(text::cp1251_to_utf8(bytes.substr(start, end - start)));
    start = end + 2;
  }
  return lines;
}

TEST(RenderGolden, TheSampleTapeRendersAsReviewed) {
  const std::vector<std::string> shop = {"ТОВ \"Зелений кошик\"", "вул. Хрещатик, 22", "м. Київ"};
  const std::vector<golden_case> cases = {
      {"tape_both.txt", document_types::check_and_z, "1", "99", shop, false},
      {"tape_check.txt", document_types::check, "1", "99", {}, true},
      {"tape_z.txt", document_types::z_report, "1", "3", shop, false},
      {"tape_service.txt", document_types::cash_in_out, "1", "99", {}, false},
  };
  const std::string tape = file_bytes(std::string(EJSCOPE_SOURCE_DIR) + "/samples/tape.xml");
  ASSERT_FALSE(tape.empty());
  scratch_folder folder;
  for (const auto& c : cases) {
    rq store;
    control walk;
    walk_tape(walk, store, tape);
    sort_documents(store);
    render_settings settings;
    settings.document_type = c.type;
    settings.colvo_flag = c.colvo;
    for (const auto& header : c.headers) settings.header.lines.push_back(w(header));
    settings.header.last = c.headers.empty() ? 0 : static_cast<int>(c.headers.size()) - 1;
    settings.error_log_path = folder.file("error.log");
    sootv z_doc_map, fetched_z;
    std::vector<std::string> display;
    EXPECT_EQ(render_documents(store, settings, c.first, c.last, z_doc_map, fetched_z, display), 0) << c.golden;
    save_display(display, folder.file(c.golden));

    const std::string expected = file_bytes(std::string(EJSCOPE_SOURCE_DIR) + "/tests/golden/" + c.golden);
    const std::string actual = file_bytes(folder.file(c.golden));
    if (actual != expected) {
      const auto want = saved_lines(expected);
      const auto got = saved_lines(actual);
      std::size_t i = 0;
      while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
      ADD_FAILURE() << c.golden << " differs at line " << i + 1 << ":\n  expected |"
                    << (i < want.size() ? want[i] : "(end)") << "|\n  actual   |" << (i < got.size() ? got[i] : "(end)")
                    << "|";
    }
    EXPECT_FALSE(std::filesystem::exists(settings.error_log_path)) << c.golden;
  }
}

TEST(RenderGolden, TheSampleTapeHoldsEveryKindOfDocument) {
  rq store;
  control walk;
  walk_tape(walk, store, file_bytes(std::string(EJSCOPE_SOURCE_DIR) + "/samples/tape.xml"));
  sort_documents(store);
  int receipts = 0, z_reports = 0;
  float last_di = 0;
  for (int s = 0; s < store.doc_index; ++s) {
    const dat& d = store.dats.at(s);
    EXPECT_GT(d.DI, last_di);
    last_di = d.DI;
    d.is_check ? ++receipts : ++z_reports;
    if (!d.is_check) {
      const zvit& z = d.zvits.at(0);
      EXPECT_TRUE(z.has_txs && z.has_z_m && z.has_io && z.has_nc) << "Z-report " << z.NO;
    }
  }
  EXPECT_EQ(receipts, 19);
  EXPECT_EQ(z_reports, 3);
  EXPECT_EQ(store.check_no_min, 1);
  EXPECT_EQ(store.check_no_max, 19);
  EXPECT_EQ(store.z_no_min, 1);
  EXPECT_EQ(store.z_no_max, 3);
}

}  // namespace
}  // namespace ejscope
