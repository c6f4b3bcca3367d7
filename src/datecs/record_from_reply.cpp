#include "datecs/record_from_reply.h"

#include <algorithm>

#include "datecs/command_names.h"
#include "protocol/result_flags.h"

namespace ejscope::datecs {

namespace {
constexpr std::uint8_t diagnostic_command = 0x5A;
constexpr std::size_t reshape_span = 20;
}  // namespace

void reshape_diagnostic(std::string& data) {
  if (data.size() <= 1) return;
  std::size_t end = std::min(data.size(), reshape_span);
  std::replace(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(end), ' ', ',');
}

void split_fields(const std::string& data, RetData& r) {
  for (auto& f : r.fields) f.clear();
  r.count = 0;
  if (data.empty()) return;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = data.find(',', start);
    bool last = comma == std::string::npos || r.count + 1 == static_cast<int>(RetData::max_fields);
    std::size_t end = last ? data.size() : comma;
    r.fields[static_cast<std::size_t>(r.count++)] = data.substr(start, end - start);
    if (last) return;
    start = comma + 1;
  }
}

void fill_record(RetData& r, const reply_parser& parser, std::uint8_t command, int user_value,
                 const std::string& sent_data, const std::string& sent_frame) {
  r.command = command;
  r.user_value = user_value;
  r.error_code.clear();
  for (std::size_t i = 0; i < r.status.size(); ++i) {
    r.status[i] = static_cast<std::uint8_t>(parser.status()[i] & 0x7F);
  }
  r.flags = result_flags(parser.reply_done(), parser.refused(), parser.checksum_mismatch(),
                         parser.status());
  std::string data = parser.data();
  r.reply_copy = data.substr(0, reply_copy_limit);
  if (command == diagnostic_command) reshape_diagnostic(data);
  r.name = command_name(command);
  r.sent_data = sent_data;
  split_fields(data, r);
  r.sent_frame = sent_frame.substr(0, sent_frame_capacity - 1);
  r.received = parser.received();
}

}  // namespace ejscope::datecs
