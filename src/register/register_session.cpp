#include "register/register_session.h"

namespace ejscope {

register_session::register_session(gateway_link& link, wait_window& wait, message_box& messages,
                                   clock& clk, const timeouts& t,
                                   std::function<datecs::reconnect_target()> reconnect)
    : datecs_(link, wait, t, std::move(reconnect)),
      kelvora_(link, messages, clk, t),
      printer_results_(datecs::PrinterResultsx(replies_, messages)) {
  replies_.kelvora_reply = &kelvora_.reply();
}

const RetData& register_session::datecs_diagnostic_info() {
  bool delivered = false;
  datecs_.diagnostic_info(
      [&](RetData& r) {
        delivered = true;
        printer_results_(r);
      },
      0, 0);
  // A command ended without a result leaves an earlier record in
  // last_reply; the identification must not take that one for this register.
  return delivered ? replies_.datecs_reply : no_result_;
}

const RetData& register_session::kelvora_diagnostic_info(const std::string& password) {
  int status = 0;
  const RetData& r = kelvora_.diagnostic_info(password, status);
  replies_.kelvora_reply = &r;
  return r;
}

const RetData& register_session::kelvora_read_header_line(const std::string& password, int line) {
  int status = 0;
  const RetData& r = kelvora_.read_header_line(password, line, status);
  replies_.kelvora_reply = &r;
  return r;
}

}  // namespace ejscope
