#pragma once
// The main window's working parts assembled for one run: the POSIX gateway
// connection, the register session and the main window's logic. The desktop
// application and the command line each build one over their own view,
// wait window and message boxes.
#include "window/connection_window.h"
#include "link/platform.h"
#include "link/posix_gateway_link.h"
#include "register/register_session.h"
#include "link/timeouts.h"

namespace ejscope {

class connection_core {
 public:
  connection_core(connection_view& view, wait_window& wait, message_box& messages,
                  const timeouts& t = {})
      : session(link, wait, messages, clk, t, [this] { return logic.reconnect_target(); }),
        logic(view, link, wait, messages, clk, session, t) {}

  posix_gateway_link link;
  system_clock clk;
  register_session session;
  connection_window logic;
};

}  // namespace ejscope
