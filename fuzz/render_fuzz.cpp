// Tape bytes walked into a fresh store, sorted and rendered under every
// document type: nothing may crash, and no rendered line may grow beyond a
// bound set by the tape's size (every line is made of constant texts and of
// fields taken from the tape, each written at most twice).
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tape/tape_walker.h"
#include "render/render_error.h"
#include "render/render_pass.h"
#include "tape/number_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view tape(reinterpret_cast<const char*>(data), size);
  ejscope::rq store;
  ejscope::control walk;
  try {
    ejscope::walk_tape(walk, store, tape);
  } catch (const ejscope::walk_error&) {
    return 0;
  }
  ejscope::sort_documents(store);

  const std::size_t bound = 4 * size + 256;
  ejscope::render_settings settings;
  settings.error_log_path = "/dev/null";
  settings.header = {{"Header one", "Header two"}, size % 3 == 0 ? 0 : 1};
  settings.colvo_flag = size % 2 == 0;
  const std::vector<std::pair<std::string, std::string>> ranges = {
      {std::to_string(INT_MIN), std::to_string(INT_MAX)}, {"0", "3"}, {"5", "2"}};
  ejscope::sootv z_doc_map, fetched_z;  // kept across the passes, as the request window keeps them
  for (int type = 0; type <= 3; ++type) {
    settings.document_type = type;
    for (const auto& [first, last] : ranges) {
      std::vector<std::string> display;
      const int failed = ejscope::render_documents(store, settings, first, last, z_doc_map, fetched_z, display);
      if (failed < 0) std::abort();
      for (const auto& line : display) {
        if (line.size() > bound) std::abort();
      }
    }
  }
  return 0;
}
