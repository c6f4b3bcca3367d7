#include "register/identification.h"

#include "register/firmware_date.h"
#include "register/register_texts.h"

namespace ejscope {
namespace {

constexpr int datecs_diagnostic_count = 8;
constexpr int kelvora_diagnostic_count = 11;
constexpr int header_line_reply_count = 2;

bool timed_out(const RetData& r) { return (r.flags & result_flag::no_reply) != 0; }
// A reply the driver flagged (bad checksum, refused, none) is asked again
// like one with the wrong field count: its fields may be cut.
bool broken(const RetData& r) {
  return (r.flags & (result_flag::checksum_mismatch | result_flag::refused | result_flag::no_reply)) != 0;
}

void identify_datecs(register_commands& commands, identification_state& state) {
  const RetData* r = &commands.datecs_diagnostic_info();
  if (r->count != datecs_diagnostic_count || broken(*r)) r = &commands.datecs_diagnostic_info();
  state.panels[1] = r->fields[0];
  state.panels[3] = r->fields[1];
  state.packet_mode = firmware_date_is_new(normalize_datecs_date(r->fields[1]));
}

identification_result identify_kelvora(register_commands& commands, message_box& messages,
                                       identification_state& state) {
  const RetData* r = &commands.kelvora_diagnostic_info(identification_password);
  if (timed_out(*r)) {
    messages.show(texts::device_timeout());
    return identification_result::device_timeout;
  }
  if (r->count != kelvora_diagnostic_count || broken(*r)) r = &commands.kelvora_diagnostic_info(identification_password);
  for (int i = 0; i < status_panel_count; ++i) state.panels[i] = r->fields[i];
  state.packet_mode = firmware_date_is_new(state.panels[3]);

  for (int k = 0; k < header_line_count; ++k) {
    r = &commands.kelvora_read_header_line(identification_password, k);
    if (timed_out(*r)) {
      messages.show(texts::device_timeout());
      return identification_result::device_timeout;
    }
    if (r->count != header_line_reply_count || broken(*r))
      r = &commands.kelvora_read_header_line(identification_password, k);
    if (r->count != header_line_reply_count || broken(*r) || r->fields[0].empty()) break;
    state.header_lines[k] = r->fields[0];
    state.header_last = k;
  }
  return identification_result::success;
}

}  // namespace

identification_result identify_register(protocol p, register_commands& commands,
                                        message_box& messages, identification_state& state) {
  if (p == protocol::kelvora) return identify_kelvora(commands, messages, state);
  identify_datecs(commands, state);
  return identification_result::success;
}

}  // namespace ejscope
