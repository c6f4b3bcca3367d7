#pragma once
// The wait for the gateway's "Ready" after the access request: at most 4
// passes of 60 waits of handshake_tick_ms each, with the countdown in the
// wait window and its abort button.
#include <cstddef>
#include <string>

#include "link/gateway_link.h"
#include "link/platform.h"
#include "link/timeouts.h"

namespace ejscope {

inline constexpr int handshake_passes = 4;
inline constexpr int handshake_ticks = 60;
inline constexpr std::size_t handshake_reply_capacity = 500;

// The wait window's countdown for pass r and tick t: (3 - r) " : " (60 - t),
// "3 : 59" for the first tick down to "0 : 0" for the last.
std::string countdown_text(int pass, int tick);

// The reply's text: the bytes up to the first zero byte, or all of them.
std::string reply_text(const std::string& bytes);
// The handshake succeeded: the reply's text is exactly "Ready".
bool is_ready_reply(const std::string& bytes);

// Steps 5 to 8 of the connect: writes request, shows the wait window, waits
// and reads the reply, hides the window and clears abort_requested. Returns
// the bytes read (empty when nothing came, the user aborted or the
// connection failed; a link_error is caught here). A reply whose text so
// far is a proper beginning of "Ready" without a zero byte is read on
// within the same waits, since TCP may split it.
std::string exchange_handshake(gateway_link& link, wait_window& wait, const timeouts& t,
                               const std::string& request);

}  // namespace ejscope
