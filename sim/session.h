#pragma once
// One client connection: the gateway's handshake, then requests and replies
// of the port's protocol and of the packet exchange until the client leaves,
// a fault closes the connection or the simulator stops.
#include "sim/fault_book.h"
#include "sim/journal.h"
#include "sim/recorder.h"
#include "sim/simulator.h"
#include "sim/socket_io.h"

namespace ejscope::sim {

struct session_env {
  register_protocol protocol;
  const config& settings;
  const journal& tape;
  fault_book& faults;
  recorder& records;
  stop_signal& stop;
};

// Serves the connection on fd; the caller closes it afterwards.
void run_session(int fd, const session_env& env);

}  // namespace ejscope::sim
