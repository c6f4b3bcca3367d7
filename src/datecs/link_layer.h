#pragma once
// The Datecs link layer: the sequence counter, the request frame, the wait
// with its countdown, the reading of the reply and its parse, and the
// reconnect after a link error.
#include <cstdint>
#include <functional>
#include <string>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "link/timeouts.h"
#include "datecs/reply_parser.h"

namespace ejscope::datecs {

// What the reconnect needs from the main window: the address box and the
// access request built from the identifier and its kind.
struct reconnect_target {
  std::string host;
  std::string access_request;
};

class link_layer {
 public:
  link_layer(gateway_link& link, wait_window& wait, const timeouts& t,
             std::function<reconnect_target()> reconnect);

  // Runs one exchange. Returns true when it completed (the parser holds what
  // arrived, possibly nothing), false when a link error ended it and the
  // gateway was reconnected. Errors of opening or reconnecting are raised.
  bool exchange(std::uint8_t command, const std::string& data);

  const reply_parser& parser() const { return parser_; }
  const std::string& sent_frame() const { return sent_frame_; }
  std::uint8_t sequence_counter() const { return counter_; }
  // The user pressed abort during the last exchange.
  bool aborted() const { return aborted_; }

 private:
  void wait_and_read();
  bool answers_other_command() const;
  void reconnect();
  // One countdown slice; false when the user asked to abort.
  bool show_countdown(int attempt, int second);

  gateway_link& link_;
  wait_window& wait_;
  timeouts timeouts_;
  std::function<reconnect_target()> reconnect_;
  std::uint8_t counter_ = 0;
  reply_parser parser_;
  std::string sent_frame_;
  bool aborted_ = false;
};

}  // namespace ejscope::datecs
