#include "kelvora/record_from_reply.h"

#include <vector>

#include "protocol/result_flags.h"
#include "kelvora/command_names.h"

namespace ejscope::kelvora {

void split_fields(const std::string& data, RetData& r) {
  for (auto& f : r.fields) f.clear();
  if (data.empty()) {
    r.count = 0;
    return;
  }
  std::string text = data;
  if (text.back() == ';') text.pop_back();
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size() && starts.size() < RetData::max_fields; ++i) {
    if (text[i] != ';' || i + 1 >= text.size()) continue;
    starts.push_back(i + 1);
    // The new field runs to the end of the text; a ";" ending it is dropped.
    if (text.back() == ';') text.pop_back();
  }
  for (std::size_t k = 0; k < starts.size(); ++k) {
    std::size_t end = k + 1 < starts.size() ? starts[k + 1] - 1 : text.size();
    r.fields[k] = text.substr(starts[k], end - starts[k]);
  }
  r.count = static_cast<std::int32_t>(starts.size());
}

void fill_record(RetData& r, const exchange_result& x) {
  const reply_parser& p = x.parser;
  const bool reply_done = p.reply_done() && !x.read_failed;
  const bool mismatch = reply_done && !p.refused() && p.checksum_mismatch();
  for (std::size_t i = 0; i < r.status.size(); ++i) {
    r.status[i] = static_cast<std::uint8_t>(p.status()[i] & 0x7F);
  }
  r.flags = result_flags(reply_done, p.refused(), mismatch, r.status);
  r.user_value = 0;
  r.reply_copy = p.data().substr(0, reply_copy_limit);
  r.error_code = p.error_text();
  r.name = command_name(x.command);
  r.sent_data = x.sent_data;
  r.command = x.command;
  r.sent_frame = x.sent_frame;
  r.received = p.received();
  split_fields(p.data(), r);
}

}  // namespace ejscope::kelvora
