#include "link/handshake.h"

#include <array>
#include <string_view>

namespace ejscope {
namespace {

constexpr std::string_view ready_text = "Ready";

// The bytes so far are a proper beginning of "Ready" (so no zero byte):
// the rest of the reply is still on its way.
bool ready_still_arriving(const std::string& reply) {
  return !reply.empty() && reply.size() < ready_text.size() && ready_text.starts_with(reply);
}

// Step 7 of the connect: appends what the gateway sends to reply.
void wait_for_reply(gateway_link& link, wait_window& wait, const timeouts& t, std::string& reply) {
  std::array<char, handshake_reply_capacity> block{};
  for (int pass = 0; pass < handshake_passes; ++pass) {
    for (int tick = 1; tick <= handshake_ticks; ++tick) {
      if (link.wait_readable(t.handshake_tick_ms)) {
        std::size_t n = link.read(block.data(), block.size() - reply.size());
        if (n == 0) break;  // the peer closed: on with the next pass
        reply.append(block.data(), n);
        if (!ready_still_arriving(reply)) return;
        continue;
      }
      wait.set_countdown(countdown_text(pass, tick));
      wait.process_events();
      if (wait.abort_requested()) return;
    }
  }
}

}  // namespace

std::string countdown_text(int pass, int tick) {
  return std::to_string(handshake_passes - 1 - pass) + " : " + std::to_string(handshake_ticks - tick);
}

std::string reply_text(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

bool is_ready_reply(const std::string& bytes) { return reply_text(bytes) == ready_text; }

std::string exchange_handshake(gateway_link& link, wait_window& wait, const timeouts& t,
                               const std::string& request) {
  std::string reply;
  try {
    link.write(request.data(), request.size());
    wait.show();
    wait.process_events();
    wait_for_reply(link, wait, t, reply);
  } catch (const link_error&) {
    // The reply as read so far decides; the caller reports the failure.
  }
  wait.hide();
  wait.clear_abort();
  return reply;
}

}  // namespace ejscope
