#include "datecs/reply_parser.h"

namespace ejscope::datecs {

void reply_parser::begin_command() {
  running_sum_ = 0;
  received_checksum_ = 0;
  frame_complete_ = false;
  reply_done_ = false;
  refused_ = false;
  terminated_in_place_ = false;
  preamble_seen_ = false;
  syn_count_ = 0;
  received_.clear();
  status_.fill(0);
  data_.clear();
  reply_sequence_ = 0;
  reply_command_ = 0;
}

bool reply_parser::checksum_mismatch() const {
  return !terminated_in_place_ || received_checksum_ != running_sum_;
}

void reply_parser::feed(std::uint8_t b) {
  if (b == reply_byte::syn) {
    ++syn_count_;
  } else if (received_.size() < received_capacity - 1) {
    // Bytes beyond the capacity are left out of the received text only; the
    // parse still sees them.
    received_ += static_cast<char>(b);
  }

  switch (b) {
    case reply_byte::preamble:
      state_ = 0;
      run_rule(b);
      break;
    case reply_byte::terminator: {
      // State 9 is only reached by the fourth checksum character of a frame
      // that started with a preamble; any other terminator, or the end of a
      // frame begun before this command, ends a broken frame.
      bool in_place = state_ == 9 && preamble_seen_;
      state_ = 9;
      run_rule(b);
      terminated_in_place_ = in_place;
      break;
    }
    case reply_byte::nak:
      state_ = 0;
      refused_ = true;
      reply_done_ = true;
      break;
    default:
      run_rule(b);
      break;
  }
}

std::size_t reply_parser::feed(std::string_view bytes) {
  std::size_t used = 0;
  while (used < bytes.size() && !frame_complete_) feed(static_cast<std::uint8_t>(bytes[used++]));
  return used;
}

void reply_parser::run_rule(std::uint8_t b) {
  switch (state_) {
    case 0:
      running_sum_ = 0;
      if (b == reply_byte::preamble) {
        preamble_seen_ = true;
        state_ = 1;
      }
      break;
    case 1:
      if (b < 0x2B) {
        state_ = 0;
      } else {
        data_length_ = static_cast<std::uint8_t>(b - 0x2B);
        add(b);
        state_ = 2;
      }
      break;
    case 2:
      if (b < 0x20) {
        state_ = 0;
      } else {
        reply_sequence_ = static_cast<std::uint8_t>(b - 0x20);
        add(b);
        state_ = 3;
      }
      break;
    case 3:
      reply_command_ = b;
      add(b);
      index_ = 0;
      data_.clear();
      state_ = data_length_ > 0 ? 4 : 5;
      break;
    case 4:
      // LEN allows at most 212 data bytes, well inside the capacity; the
      // bound is kept all the same.
      if (index_ < data_length_) {
        if (data_.size() < data_capacity - 1) data_ += static_cast<char>(b);
        add(b);
        ++index_;
      }
      if (index_ == data_length_) state_ = 5;
      break;
    case 5:
      if (b == reply_byte::separator) {
        index_ = 0;
        add(b);
        state_ = 6;
      } else {
        state_ = 0;
      }
      break;
    case 6:
      if (index_ < status_.size()) {
        status_[index_] = b;
        add(b);
        ++index_;
      }
      if (index_ == status_.size()) state_ = 7;
      break;
    case 7:
      if (b == reply_byte::postamble) {
        index_ = 0;
        received_checksum_ = 0;
        add(b);
        state_ = 8;
      } else {
        state_ = 0;
      }
      break;
    case 8:
      if (index_ < 4) {
        received_checksum_ = received_checksum_ * 16 + (static_cast<std::uint32_t>(b) - 0x30u);
        ++index_;
      }
      if (index_ == 4) state_ = 9;
      break;
    default:  // 9: end of the frame
      state_ = 0;
      frame_complete_ = true;
      if (b == reply_byte::terminator) reply_done_ = true;
      break;
  }
}

}  // namespace ejscope::datecs
