#pragma once
// The Datecs reply parser: a ten-state machine fed one byte at a time. Its
// state lives across commands (a new reply resynchronises on its preamble);
// the per-command items are cleared by begin_command().
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/frame_bytes.h"

namespace ejscope::datecs {

class reply_parser {
 public:
  // Capacities of the terminated texts: at most capacity - 1 bytes are kept.
  static constexpr std::size_t received_capacity = 306;
  static constexpr std::size_t data_capacity = 300;

  // Clears every per-command item (status, data, flags, sums, SYN count,
  // received text, frame_complete); the state machine (state, data length,
  // index) is kept.
  void begin_command();

  // Accounts for one byte and runs the state rules.
  void feed(std::uint8_t b);
  // Feeds bytes in order until a frame completes; returns how many were used.
  std::size_t feed(std::string_view bytes);

  int state() const { return state_; }
  bool frame_complete() const { return frame_complete_; }
  bool reply_done() const { return reply_done_; }
  bool refused() const { return refused_; }
  // The terminator came right after the four checksum characters of a
  // frame that began during this command.
  bool terminated_in_place() const { return terminated_in_place_; }
  // True unless a complete frame in place carries the checksum of its bytes.
  bool checksum_mismatch() const;
  std::uint32_t running_sum() const { return running_sum_; }
  std::uint32_t received_checksum() const { return received_checksum_; }
  std::int32_t syn_count() const { return syn_count_; }
  // Every byte received for the command except SYN bytes (first 305 kept).
  const std::string& received() const { return received_; }
  const std::array<std::uint8_t, 6>& status() const { return status_; }
  const std::string& data() const { return data_; }
  std::uint8_t reply_sequence() const { return reply_sequence_; }
  std::uint8_t reply_command() const { return reply_command_; }
  // A frame began during this command and has not ended yet.
  bool in_frame() const { return preamble_seen_ && state_ != 0 && !frame_complete_; }
  // Only SYN bytes have arrived for this command so far.
  bool only_syn_so_far() const { return syn_count_ > 0 && received_.empty(); }

 private:
  void run_rule(std::uint8_t b);
  void add(std::uint8_t b) { running_sum_ += b; }

  int state_ = 0;
  std::uint8_t data_length_ = 0;
  std::uint8_t index_ = 0;
  std::uint32_t running_sum_ = 0;
  std::uint32_t received_checksum_ = 0;
  bool frame_complete_ = false;
  bool reply_done_ = false;
  bool refused_ = false;
  bool terminated_in_place_ = false;
  bool preamble_seen_ = false;  // a frame began during this command
  std::int32_t syn_count_ = 0;
  std::string received_;
  std::array<std::uint8_t, 6> status_{};
  std::string data_;
  std::uint8_t reply_sequence_ = 0;
  std::uint8_t reply_command_ = 0;
};

}  // namespace ejscope::datecs
