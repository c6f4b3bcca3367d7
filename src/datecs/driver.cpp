#include "datecs/driver.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "datecs/record_from_reply.h"

namespace ejscope::datecs {
namespace {

std::string join(std::initializer_list<std::string> parts) {
  std::string out;
  for (const auto& p : parts) {
    if (&p != parts.begin()) out += ',';
    out += p;
  }
  return out;
}

}  // namespace

driver::driver(gateway_link& link, wait_window& wait, const timeouts& t,
               std::function<reconnect_target()> reconnect)
    : link_(link, wait, t, std::move(reconnect)) {}

int driver::execute(const result_handler& handler, int user_value, std::uint8_t command,
                    const std::string& data) {
  const std::string sent_data = data;
  record_.command = command;
  record_.user_value = user_value;
  record_.flags = 0;
  record_.count = 0;
  abandoned_ = true;
  if (!link_.exchange(command, sent_data)) return 0;
  fill_record(record_, link_.parser(), command, user_value, sent_data, link_.sent_frame());
  abandoned_ = false;
  if (handler) handler(record_);
  return 0;
}

void driver::diagnostic_info(const result_handler& handler, int user_value, int flag) {
  execute(handler, user_value, 0x5A, flag ? "1" : "0");
}

void driver::documents_output(const result_handler& handler, const std::string& /*password*/,
                              int type, int number, int fragment) {
  execute(handler, 0, 0xA7,
          join({std::to_string(type), std::to_string(number), std::to_string(fragment)}));
}

void driver::interval_output_by_date(const result_handler& handler,
                                     const std::string& /*password*/, const std::string& sd,
                                     const std::string& st, const std::string& ed,
                                     const std::string& et, int print_flag) {
  execute(handler, 0, 0xEE, join({sd, st, ed, et, std::to_string(print_flag)}));
}

void driver::print_interval(const result_handler& handler, const std::string& /*password*/,
                            int first, int last) {
  execute(handler, 0, 0xEB, join({std::to_string(first), std::to_string(last)}));
}

}  // namespace ejscope::datecs
