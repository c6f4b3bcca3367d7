#pragma once
// The two register drivers on the one gateway connection, with the reply
// store last_reply and the Datecs result handler PrinterResultsx. The
// identification reaches them through register_commands; the request
// window uses the drivers directly.
#include <functional>

#include "link/gateway_link.h"
#include "register/identification.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "datecs/driver.h"
#include "datecs/printer_results.h"
#include "protocol/reply_record.h"
#include "kelvora/driver.h"

namespace ejscope {

class register_session final : public register_commands {
 public:
  register_session(gateway_link& link, wait_window& wait, message_box& messages, clock& clk,
                   const timeouts& t, std::function<datecs::reconnect_target()> reconnect);

  datecs::driver& datecs_driver() { return datecs_; }
  kelvora::driver& kelvora_driver() { return kelvora_; }
  last_reply& replies() { return replies_; }
  // PrinterResultsx over replies(), for every Datecs command.
  const datecs::result_handler& printer_results() const { return printer_results_; }

  const RetData& datecs_diagnostic_info() override;
  const RetData& kelvora_diagnostic_info(const std::string& password) override;
  const RetData& kelvora_read_header_line(const std::string& password, int line) override;
  void kelvora_set_retry_count(int n) override { kelvora_.set_retry_count(n); }
  void kelvora_set_log_file(const std::string& name) override { kelvora_.set_log_file(true, name); }

 private:
  last_reply replies_;
  datecs::driver datecs_;
  kelvora::driver kelvora_;
  datecs::result_handler printer_results_;
  RetData no_result_;
};

}  // namespace ejscope
