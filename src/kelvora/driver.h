#pragma once
// The Kelvora driver: one command at a time through the gateway connection,
// repeated while the bytes received lack the shape of a reply frame, its
// reply turned into the record RetData that the driver owns.
#include <algorithm>
#include <cstdint>
#include <string>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "protocol/reply_record.h"
#include "kelvora/link_layer.h"

namespace ejscope::kelvora {

// Status output of read_header_line for a line number outside 0..20.
constexpr int bad_line_number = -131;

class driver {
 public:
  driver(gateway_link& link, message_box& messages, clock& clk, const timeouts& t);

  // Runs the command (data cut to 219 bytes), repeats it while the reply
  // lacks the shape of a frame (at most set_retry_count times) and returns
  // the rebuilt record. Only a failure to open the connection is raised.
  const RetData& execute(std::uint8_t command, const std::string& data);
  const RetData& reply() const { return record_; }

  // Number of repeats of a malformed exchange (4 until set), held within
  // 0 ... max_retry_count.
  // Implementer's choice: at most 10 repeats, so that a settings file's "Reply" of millions cannot hold a silent register's command for days.
  static constexpr int max_retry_count = 10;
  void set_retry_count(int n) { reply_attempts_ = std::clamp(n, 0, max_retry_count); }
  // Switches the exchange log on with the file name (cut to 299 characters),
  // or off when disabled or the name is empty.
  void set_log_file(bool enabled, const std::string& path);
  // The latest block read for the last command answered another command.
  bool stale_reply() const { return link_.stale_reply(); }

  // The command operations begin the data with the password, set status to 0
  // and return the record; the record is also the latest result that a
  // refused call returns unchanged.
  const RetData& diagnostic_info(const std::string& pw, int& status);             // 80h
  const RetData& read_header_line(const std::string& pw, int line, int& status);  // 23h
  const RetData& documents_output(const std::string& pw, int type, int number, int fragment,
                                  int& status);  // A7h
  const RetData& print_interval(const std::string& pw, int first, int last, int& status);  // EBh
  const RetData& interval_output_by_date(const std::string& pw, const std::string& sd,
                                         const std::string& st, const std::string& ed,
                                         const std::string& et, int flag, int& status);  // EEh

 private:
  void build_record();
  const RetData& run_operation(std::uint8_t command, const std::string& data, int& status);

  link_layer link_;
  clock& clock_;
  timeouts timeouts_;
  int reply_attempts_ = 4;
  RetData record_;
};

}  // namespace ejscope::kelvora
