#include "kelvora/reply_parser.h"

#include <limits>

namespace ejscope::kelvora {

namespace {
enum state : int {
  in_wait_preamble = 0,
  in_length = 1,
  in_sequence = 2,
  in_command = 3,
  in_error_field = 4,
  in_data = 5,
  in_separator = 6,
  in_status = 7,
  in_postamble = 8,
  in_checksum = 9,
  in_end = 10,
};

void append_bounded(std::string& text, std::size_t capacity, std::uint8_t b) {
  if (text.size() + 1 < capacity) text += static_cast<char>(b);
}
}  // namespace

void reply_parser::begin_command() {
  running_sum_ = 0;
  received_checksum_ = 0;
  frame_complete_ = false;
  reply_done_ = false;
  refused_ = false;
  frame_open_ = false;
  terminated_in_place_ = false;
  frame_sum_ = 0;
  frame_checksum_ = 0;
  syn_count_ = 0;
  received_.clear();
  status_.fill(0);
  data_.clear();
}

bool reply_parser::checksum_mismatch() const {
  return !(terminated_in_place_ && frame_sum_ == frame_checksum_);
}

void reply_parser::feed(std::string_view bytes) {
  for (char c : bytes) feed(static_cast<std::uint8_t>(c));
}

void reply_parser::feed(std::uint8_t b) {
  if (b == reply_byte::syn) {
    if (syn_count_ < std::numeric_limits<std::int32_t>::max()) ++syn_count_;
  } else {
    append_bounded(received_, received_capacity, b);
  }

  switch (b) {
    case reply_byte::preamble:
      state_ = in_wait_preamble;
      run_rule(b);
      break;
    case reply_byte::terminator:
      end_frame(b);
      break;
    case reply_byte::nak:
      state_ = in_wait_preamble;
      refused_ = true;
      reply_done_ = true;
      break;
    default:
      run_rule(b);
  }
}

// A terminator ends the frame in any state, but only one that follows the
// four checksum characters of a frame begun in this command keeps the sums
// of that frame for the checksum comparison.
void reply_parser::end_frame(std::uint8_t b) {
  terminated_in_place_ = state_ == in_end && frame_open_;
  frame_sum_ = running_sum_;
  frame_checksum_ = received_checksum_;
  frame_open_ = false;
  state_ = in_end;
  run_rule(b);
}

void reply_parser::run_rule(std::uint8_t b) {
  switch (state_) {
    case in_wait_preamble:
      running_sum_ = 0;
      if (b == reply_byte::preamble) state_ = in_length;
      break;
    case in_length:
      if (b < 0x30) {
        state_ = in_wait_preamble;
        break;
      }
      data_length_ = static_cast<std::uint8_t>(b - 0x30);
      add(b);
      state_ = in_sequence;
      break;
    case in_sequence:
      if (b < 0x20) {
        state_ = in_wait_preamble;
        break;
      }
      reply_sequence_ = b;
      add(b);
      frame_open_ = true;
      terminated_in_place_ = false;
      state_ = in_command;
      break;
    case in_command:
      reply_command_ = b;
      add(b);
      index_ = 0;
      data_.clear();
      error_text_.clear();
      state_ = in_error_field;
      break;
    case in_error_field:
      add(b);
      if (b != reply_byte::error_end) {
        append_bounded(error_text_, error_capacity, b);
      } else {
        state_ = data_length_ > 0 ? in_data : in_separator;
      }
      break;
    case in_data:
      append_bounded(data_, data_capacity, b);
      add(b);
      if (++index_ == data_length_) state_ = in_separator;
      break;
    case in_separator:
      if (b == reply_byte::separator) {
        index_ = 0;
        add(b);
        state_ = in_status;
      } else {
        state_ = in_wait_preamble;
      }
      break;
    case in_status:
      status_[index_] = b;
      add(b);
      if (++index_ == status_.size()) state_ = in_postamble;
      break;
    case in_postamble:
      if (b == reply_byte::postamble) {
        index_ = 0;
        received_checksum_ = 0;
        add(b);
        state_ = in_checksum;
      } else {
        state_ = in_wait_preamble;
      }
      break;
    case in_checksum:
      received_checksum_ = received_checksum_ * 16 + static_cast<std::uint32_t>(b - 0x30);
      if (++index_ == 4) state_ = in_end;
      break;
    case in_end:
      state_ = in_wait_preamble;
      frame_complete_ = true;
      if (b == reply_byte::terminator) reply_done_ = true;
      break;
  }
}

}  // namespace ejscope::kelvora
