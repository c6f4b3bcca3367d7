#pragma once
// The Kelvora reply parser: an eleven-state machine fed one byte at a time.
// Its reply frame carries a four-character error field ended by ";" in front
// of the data. The parser state, the error text and the reply sequence live
// across commands; the other per-command items are cleared by begin_command().
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/frame_bytes.h"

namespace ejscope::kelvora {

// The shared frame bytes, plus the end of the error field.
namespace reply_byte {
using namespace ::ejscope::reply_byte;
constexpr std::uint8_t error_end = ';';
}  // namespace reply_byte

class reply_parser {
 public:
  // Capacities of the terminated texts: at most capacity - 1 bytes are kept,
  // later bytes are still parsed and summed but not stored.
  static constexpr std::size_t received_capacity = 306;
  static constexpr std::size_t data_capacity = 300;
  static constexpr std::size_t error_capacity = 20;

  // Clears the per-command items (status, data, flags, sums, SYN count,
  // received text); the parser state, error text and sequence are kept.
  void begin_command();

  // Accounts for one byte (SYN count or received text) and runs the rules.
  void feed(std::uint8_t b);
  // Feeds every byte, also those after the end of a frame.
  void feed(std::string_view bytes);

  int state() const { return state_; }
  bool frame_complete() const { return frame_complete_; }
  void clear_frame_complete() { frame_complete_ = false; }
  bool reply_done() const { return reply_done_; }
  bool refused() const { return refused_; }
  // True unless the latest terminator came right after the four checksum
  // characters of a frame whose byte sum they carry, with no frame begun since.
  bool checksum_mismatch() const;
  std::uint32_t running_sum() const { return running_sum_; }
  std::uint32_t received_checksum() const { return received_checksum_; }
  std::int32_t syn_count() const { return syn_count_; }
  const std::string& received() const { return received_; }
  const std::array<std::uint8_t, 6>& status() const { return status_; }
  const std::string& data() const { return data_; }
  // The characters of the error field of the latest frame that reached it.
  const std::string& error_text() const { return error_text_; }
  // The SEQ byte of the latest frame parsed, as received (at least 20h).
  std::uint8_t reply_sequence() const { return reply_sequence_; }
  std::uint8_t reply_command() const { return reply_command_; }

 private:
  void run_rule(std::uint8_t b);
  void end_frame(std::uint8_t b);
  void add(std::uint8_t b) { running_sum_ += b; }

  int state_ = 0;
  std::uint8_t data_length_ = 0;
  std::uint8_t index_ = 0;
  std::uint32_t running_sum_ = 0;
  std::uint32_t received_checksum_ = 0;
  bool frame_complete_ = false;
  bool reply_done_ = false;
  bool refused_ = false;
  // A frame's values began to be parsed during this command and it has not ended.
  bool frame_open_ = false;
  // The frame sums as they stood when a terminator ended a frame in place.
  bool terminated_in_place_ = false;
  std::uint32_t frame_sum_ = 0;
  std::uint32_t frame_checksum_ = 0;
  std::int32_t syn_count_ = 0;
  std::string received_;
  std::array<std::uint8_t, 6> status_{};
  std::string data_;
  std::string error_text_;
  std::uint8_t reply_sequence_ = 0;
  std::uint8_t reply_command_ = 0;
};

}  // namespace ejscope::kelvora
