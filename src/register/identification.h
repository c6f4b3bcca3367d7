#pragma once
// What the main window asks the register right after "Ready": the status
// panels, the retrieval mode and, for Kelvora, the receipt header lines.
#include <array>
#include <string>

#include "link/platform.h"
#include "protocol/reply_record.h"

namespace ejscope {

enum class protocol { datecs = 0, kelvora = 1 };

// The register commands the identification and the connect action send,
// each returning the record that last_reply holds for it right after.
// register_session implements it with the two drivers; tests script it.
class register_commands {
 public:
  virtual ~register_commands() = default;
  // 5Ah with flag 0 through PrinterResultsx: last_reply.datecs_reply, or an
  // empty record when the driver ended the command without a result.
  virtual const RetData& datecs_diagnostic_info() = 0;
  virtual const RetData& kelvora_diagnostic_info(const std::string& password) = 0;  // 80h
  virtual const RetData& kelvora_read_header_line(const std::string& password, int line) = 0;  // 23h
  virtual void kelvora_set_retry_count(int n) = 0;
  virtual void kelvora_set_log_file(const std::string& name) = 0;
};

inline constexpr const char* identification_password = "418257";
inline constexpr int status_panel_count = 4;
inline constexpr int header_line_count = 9;

// The results of identification; they stay until the next identification
// (a disconnect clears only the panels).
struct identification_state {
  std::array<std::string, status_panel_count> panels;
  bool packet_mode = false;
  std::array<std::string, header_line_count> header_lines;
  int header_last = 0;
};

enum class identification_result { success, device_timeout };

// Runs the identification of the chosen protocol, updating state. The
// device time-out (Kelvora only) shows its message and returns
// device_timeout. An unconvertible firmware date raises
// firmware_date_error after the panels are set and leaves packet_mode as it was.
identification_result identify_register(protocol p, register_commands& commands,
                                        message_box& messages, identification_state& state);

}  // namespace ejscope
