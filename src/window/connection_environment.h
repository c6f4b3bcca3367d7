#pragma once
// Ties the request window's logic to the main window's: the protocol, the
// retrieval mode and the header lines are read from the main window at
// every request, and the main window's protocol and identifier changes
// empty the request window's model and caches.
#include "window/connection_window.h"
#include "render/document_header.h"
#include "window/journal_window.h"

namespace ejscope {

inline request_environment connection_environment(const connection_window& main, gateway_link& link,
                                                  journal_commands& commands, const timeouts& limits) {
  request_environment env;
  env.link = &link;
  env.commands = &commands;
  env.limits = limits;
  env.current_protocol = [&main] { return main.protocol_index() == 1 ? protocol::kelvora : protocol::datecs; };
  env.packet_mode = [&main] { return main.packet_mode(); };
  env.header = [&main] {
    const identification_state& id = main.identification();
    return register_header{{id.header_lines.begin(), id.header_lines.end()}, id.header_last};
  };
  env.colvo_flag = [&main] { return main.colvo_flag(); };
  return env;
}

// Empties the request window's model whenever the main window says so.
inline void empty_model_on_reset(connection_window& main, journal_window& request) {
  main.set_model_reset([&request] { request.empty_model(); });
}

}  // namespace ejscope
