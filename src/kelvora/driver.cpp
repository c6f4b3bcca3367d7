#include "kelvora/driver.h"

#include "kelvora/frame.h"
#include "kelvora/record_from_reply.h"

namespace ejscope::kelvora {

driver::driver(gateway_link& link, message_box& messages, clock& clk, const timeouts& t)
    : link_(link, messages, clk, t), clock_(clk), timeouts_(t) {}

void driver::set_log_file(bool enabled, const std::string& path) {
  link_.set_log_file(enabled ? path : std::string());
}

void driver::build_record() {
  fill_record(record_, exchange_result{link_.parser(), link_.read_failed(), link_.last_command(),
                                       link_.last_data(), link_.sent_frame()});
}

const RetData& driver::execute(std::uint8_t command, const std::string& data) {
  // The flag tells about the blocks of this command only, repeats included.
  link_.clear_stale_reply();
  link_.exchange(command, data);
  build_record();
  for (int attempt = 0; attempt < reply_attempts_; ++attempt) {
    if (has_reply_shape(link_.parser().received())) break;
    clock_.sleep_ms(timeouts_.resend_pause_ms);
    link_.repeat_exchange();
    build_record();
  }
  return record_;
}

const RetData& driver::run_operation(std::uint8_t command, const std::string& data, int& status) {
  execute(command, data);
  status = 0;
  return record_;
}

const RetData& driver::diagnostic_info(const std::string& pw, int& status) {
  return run_operation(0x80, pw + ";", status);
}

const RetData& driver::read_header_line(const std::string& pw, int line, int& status) {
  if (line < 0 || line > 20) {
    status = bad_line_number;
    return record_;
  }
  return run_operation(0x23, pw + ";" + std::to_string(line) + ";", status);
}

const RetData& driver::documents_output(const std::string& pw, int type, int number, int fragment,
                                        int& status) {
  return run_operation(0xA7,
                       pw + ";" + std::to_string(type) + ";" + std::to_string(number) + ";" +
                           std::to_string(fragment) + ";",
                       status);
}

const RetData& driver::print_interval(const std::string& pw, int first, int last, int& status) {
  return run_operation(0xEB, pw + ";" + std::to_string(first) + ";" + std::to_string(last) + ";",
                       status);
}

const RetData& driver::interval_output_by_date(const std::string& pw, const std::string& sd,
                                               const std::string& st, const std::string& ed,
                                               const std::string& et, int flag, int& status) {
  return run_operation(0xEE,
                       pw + ";" + sd + ";" + st + ";" + ed + ";" + et + ";" +
                           std::to_string(flag) + ";",
                       status);
}

}  // namespace ejscope::kelvora
