#pragma once
// The Datecs driver: one command at a time through the gateway connection,
// its reply turned into the record RetData and handed to a result handler.
#include <cstdint>
#include <functional>
#include <string>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "datecs/link_layer.h"
#include "protocol/reply_record.h"

namespace ejscope::datecs {

using result_handler = std::function<void(RetData&)>;

class driver {
 public:
  driver(gateway_link& link, wait_window& wait, const timeouts& t,
         std::function<reconnect_target()> reconnect);

  // Sends one command (data of at most 199 bytes), fills the record and calls
  // the handler with it; returns 0. After a link error the gateway is
  // reconnected and the handler is not called. Errors of opening the
  // connection or of the reconnect itself are raised as link_error.
  int execute(const result_handler& handler, int user_value, std::uint8_t command,
              const std::string& data);

  const RetData& reply() const { return record_; }
  // The last command delivered no result (link error) or the user aborted its wait.
  bool last_abandoned() const { return abandoned_ || link_.aborted(); }

  void diagnostic_info(const result_handler& handler, int user_value, int flag);  // 5Ah
  void documents_output(const result_handler& handler, const std::string& password, int type,
                        int number, int fragment);  // A7h
  void interval_output_by_date(const result_handler& handler, const std::string& password,
                               const std::string& sd, const std::string& st,
                               const std::string& ed, const std::string& et,
                               int print_flag);  // EEh
  void print_interval(const result_handler& handler, const std::string& password, int first,
                      int last);  // EBh

 private:
  link_layer link_;
  RetData record_;
  bool abandoned_ = false;
};

}  // namespace ejscope::datecs
