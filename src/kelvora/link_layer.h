#pragma once
// The Kelvora link layer: the sequence counter, the request frame, the
// silent first wait in short polls, the receive phase that reads until the
// reply frame has ended, the test for a block that answers another command,
// and the exchange log. No user-interface events run while it waits.
#include <cstdint>
#include <string>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "kelvora/exchange_log.h"
#include "kelvora/reply_parser.h"

namespace ejscope::kelvora {

class link_layer {
 public:
  // Largest read of one block.
  static constexpr std::size_t read_block = 500;
  // Passes of the receive phase without a byte before it gives up.
  static constexpr int idle_passes = 50;

  link_layer(gateway_link& link, message_box& messages, clock& clk, const timeouts& t);

  // Runs one exchange of the command and data (kept for a repeat). Errors of
  // opening a closed connection at its start are raised as link_error.
  void exchange(std::uint8_t command, const std::string& data);
  // Runs the last exchange again with the same SEQ byte.
  void repeat_exchange();

  void set_log_file(const std::string& name) { log_.set_file_name(name); }
  const exchange_log& log() const { return log_; }

  const reply_parser& parser() const { return parser_; }
  // An error of the connection ended the last receive phase.
  bool read_failed() const { return read_failed_; }
  // The latest block read answered another command and was dropped.
  bool stale_reply() const { return stale_reply_; }
  void clear_stale_reply() { stale_reply_ = false; }
  const std::string& sent_frame() const { return sent_frame_; }
  std::uint8_t last_command() const { return last_command_; }
  const std::string& last_data() const { return last_data_; }
  std::uint8_t sequence_counter() const { return counter_; }

 private:
  void first_wait();
  void receive_phase();
  // Reads one block; false when an error of the connection ended the phase.
  bool read_one_block();
  void write_reply_entry();
  bool answers_other_command(const char* block, std::size_t count) const;
  void ensure_open();

  gateway_link& link_;
  message_box& messages_;
  clock& clock_;
  timeouts timeouts_;
  std::uint8_t counter_ = 0;
  std::uint8_t previous_counter_ = 0;
  std::uint8_t last_command_ = 0;
  std::string last_data_;
  reply_parser parser_;
  std::string sent_frame_;
  int idle_count_ = 0;
  bool read_failed_ = false;
  bool stale_reply_ = false;
  exchange_log log_;
};

}  // namespace ejscope::kelvora
