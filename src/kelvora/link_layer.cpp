#include "kelvora/link_layer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

#include "protocol/frame_bytes.h"
#include "kelvora/frame.h"

namespace ejscope::kelvora {

namespace {
// Turns and polls of the first wait for the reply.
constexpr int wait_turns = 4;
constexpr int polls_per_turn = 60;
// Shown in front of the message of an error of the connection.
constexpr const char* link_error_type = "link_error";
}  // namespace

link_layer::link_layer(gateway_link& link, message_box& messages, clock& clk, const timeouts& t)
    : link_(link), messages_(messages), clock_(clk), timeouts_(t) {}

void link_layer::ensure_open() {
  if (!link_.is_open()) link_.open();
  link_.set_timeout_ms(timeouts_.stream_ms);
}

void link_layer::exchange(std::uint8_t command, const std::string& data) {
  std::string kept = data.substr(0, max_request_data);
  last_command_ = command;
  last_data_ = std::move(kept);
  previous_counter_ = counter_;
  ++counter_;

  parser_.begin_command();
  read_failed_ = false;

  if (log_.enabled()) {
    log_.write_entry(clock_.local_now(), request_entry_text(sequence_byte(counter_)),
                     request_entry_line(command, last_data_));
  }
  sent_frame_ = build_request_frame(counter_, command, last_data_);

  ensure_open();
  if (link_.is_open()) {
    try {
      link_.write(sent_frame_.data(), sent_frame_.size());
      first_wait();
    } catch (const link_error& e) {
      messages_.show(std::string(link_error_type) + e.what());
    }
  }

  receive_phase();
  parser_.clear_frame_complete();
  write_reply_entry();
}

void link_layer::repeat_exchange() {
  counter_ = previous_counter_;
  std::string data = last_data_;
  exchange(last_command_, data);
}

// Once data is there every later turn ends at its first poll.
void link_layer::first_wait() {
  for (int turn = 0; turn < wait_turns; ++turn) {
    for (int poll = 0; poll < polls_per_turn; ++poll) {
      if (link_.wait_readable(timeouts_.kelvora_slice_ms)) break;
    }
  }
}

void link_layer::receive_phase() {
  idle_count_ = 0;
  // Implementer's choice: the reply must be whole within one stream time-out, so a register that trickles bytes (one a second, SYN for ever) cannot hold the command.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeouts_.stream_ms);
  while (idle_count_ < idle_passes && std::chrono::steady_clock::now() < deadline) {
    if (!parser_.frame_complete() && !read_one_block()) {
      // An error of the connection ends the phase without a reply.
      read_failed_ = true;
      return;
    }
    if (parser_.reply_done()) return;
    ++idle_count_;
  }
}

bool link_layer::read_one_block() {
  std::array<char, read_block> block;
  std::size_t count = 0;
  try {
    ensure_open();
    if (link_.is_open()) count = link_.read(block.data(), block.size());
  } catch (const link_error&) {
    return false;
  }
  count = std::min(count, block.size());
  // A block without bytes tells nothing about the command it answers.
  if (count == 0) return true;
  stale_reply_ = answers_other_command(block.data(), count);
  if (stale_reply_) return true;
  for (std::size_t i = 0; i < count; ++i) {
    idle_count_ = 0;
    parser_.feed(static_cast<std::uint8_t>(block[i]));
  }
  return true;
}

// A block that begins a frame (after any SYN bytes) answers another command
// when its SEQ or CMD byte differs from those of the command in progress.
bool link_layer::answers_other_command(const char* block, std::size_t count) const {
  std::size_t start = 0;
  while (start < count && static_cast<std::uint8_t>(block[start]) == reply_byte::syn) ++start;
  if (count - start < 4 || static_cast<std::uint8_t>(block[start]) != reply_byte::preamble) {
    return false;
  }
  const auto seq = static_cast<std::uint8_t>(block[start + 2]);
  const auto cmd = static_cast<std::uint8_t>(block[start + 3]);
  return seq != sequence_byte(counter_) || cmd != last_command_;
}

void link_layer::write_reply_entry() {
  if (!log_.enabled()) return;
  log_.write_entry(clock_.local_now(), reply_entry_text(parser_.reply_sequence(), parser_.syn_count()),
                   parser_.received());
}

}  // namespace ejscope::kelvora
