#include "datecs/link_layer.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "datecs/request_frame.h"

namespace ejscope::datecs {
namespace {

constexpr std::size_t read_block_size = 500;
constexpr int seconds_per_attempt = 60;
constexpr int exchange_attempts = 2;
constexpr int reconnect_attempts = 4;

// Hides the wait window and clears its abort flag however the wait ends.
class wait_window_guard {
 public:
  explicit wait_window_guard(wait_window& w) : w_(w) {}
  ~wait_window_guard() {
    w_.hide();
    w_.clear_abort();
  }
  wait_window_guard(const wait_window_guard&) = delete;
  wait_window_guard& operator=(const wait_window_guard&) = delete;

 private:
  wait_window& w_;
};

}  // namespace

link_layer::link_layer(gateway_link& link, wait_window& wait, const timeouts& t,
                       std::function<reconnect_target()> reconnect)
    : link_(link), wait_(wait), timeouts_(t), reconnect_(std::move(reconnect)) {}

bool link_layer::exchange(std::uint8_t command, const std::string& data) {
  ++counter_;
  parser_.begin_command();
  aborted_ = false;
  sent_frame_ = build_request_frame(counter_, command, data);

  bool link_failed = false;
  {
    wait_window_guard guard(wait_);
    if (!link_.is_open()) link_.open();
    link_.set_timeout_ms(timeouts_.stream_ms);
    if (!link_.is_open()) return true;  // nothing sent: the parse finds nothing
    try {
      link_.write(sent_frame_.data(), sent_frame_.size());
      wait_and_read();
    } catch (const link_error&) {
      link_failed = true;
    }
  }
  if (!link_failed) return true;
  reconnect();
  return false;
}

bool link_layer::show_countdown(int attempt, int second) {
  wait_.show();
  wait_.set_countdown(std::to_string(3 - attempt) + " : " + std::to_string(seconds_per_attempt - second));
  wait_.process_events();
  if (!wait_.abort_requested()) return true;
  aborted_ = true;
  return false;
}

// A frame that ended in place with a SEQ or CMD other than those sent: a
// late reply to an earlier command, or one found after noise.
bool link_layer::answers_other_command() const {
  return parser_.frame_complete() && parser_.terminated_in_place() && sent_frame_.size() > 3 &&
         (static_cast<std::uint8_t>(parser_.reply_sequence() + 0x20) != static_cast<std::uint8_t>(sent_frame_[2]) ||
          parser_.reply_command() != static_cast<std::uint8_t>(sent_frame_[3]));
}

void link_layer::wait_and_read() {
  std::array<char, read_block_size> block{};
  bool dropped = false;  // a reply to another command was passed over
  for (int attempt = 0; attempt < exchange_attempts; ++attempt) {
    int second = 1;
    for (;;) {
      bool ready = false;
      for (; second <= seconds_per_attempt; ++second) {
        if (link_.wait_readable(timeouts_.datecs_slice_ms)) {
          ready = true;
          break;
        }
        if (!show_countdown(attempt, second)) {
          second = seconds_per_attempt + 1;
          attempt = exchange_attempts + 2;
        }
      }
      block.fill(0);
      std::size_t n = link_.read(block.data(), block.size());
      if (n == 0) break;
      std::string_view bytes(block.data(), std::min(n, block.size()));
      bytes.remove_prefix(parser_.feed(bytes));
      // Another command's reply is not this one's: it is passed over and the
      // bytes after it are read on.
      while (answers_other_command()) {
        dropped = true;
        parser_.begin_command();
        bytes.remove_prefix(parser_.feed(bytes));
      }
      // A busy register sends SYN bytes and TCP may split a frame: keep
      // reading within this attempt's seconds while the reply is unfinished.
      bool unfinished = !parser_.reply_done() && !parser_.frame_complete() &&
                        (dropped || parser_.in_frame() || parser_.only_syn_so_far());
      if (!unfinished) return;
      if (!ready) break;
      ++second;  // every wait spends its second, so a SYN stream cannot hold the command
    }
  }
}

void link_layer::reconnect() {
  wait_window_guard guard(wait_);
  if (link_.is_open()) link_.close();
  reconnect_target target = reconnect_ ? reconnect_() : reconnect_target{};
  link_.set_host(target.host);
  link_.open();
  if (!link_.is_open()) link_.open();
  link_.set_timeout_ms(timeouts_.stream_ms);
  // Waiting on a connection that did not open could only time out.
  if (!link_.is_open()) return;
  link_.write(target.access_request.data(), target.access_request.size());

  std::array<char, read_block_size> block{};
  for (int attempt = 0; attempt < reconnect_attempts; ++attempt) {
    bool ready = false;
    for (int second = 1; second <= seconds_per_attempt; ++second) {
      if (link_.wait_readable(timeouts_.datecs_slice_ms)) {
        ready = true;
        break;
      }
      if (!show_countdown(attempt, second)) {
        second = seconds_per_attempt + 1;
        attempt = reconnect_attempts;
      }
    }
    // The gateway's answer is read so that it does not precede the next reply.
    if (ready && link_.read(block.data(), block.size()) > 0) break;
  }
}

}  // namespace ejscope::datecs
