#pragma once
// Every time-out and pause of the exchanges, in milliseconds. The defaults
// are the register protocols' own; tests scale them down so that the real
// loops run in seconds.
namespace ejscope {

struct timeouts {
  int stream_ms = 60000;         // every read and write on the gateway connection
  int handshake_tick_ms = 2000;  // one wait of the "Ready" countdown
  int datecs_slice_ms = 1000;    // one wait of the Datecs countdown
  int kelvora_slice_ms = 200;    // one poll of the Kelvora first wait
  int resend_pause_ms = 2000;    // pause before a Kelvora frame is sent again
  int startup_step_ms = 100;     // start-up title step
  int startup_wait_ms = 1000;    // start-up pause
  int packet_rest_ms = 60000;    // one wait for the rest of a reply packet

  // All values divided by factor, never below 1 ms.
  timeouts scaled(int factor) const {
    auto s = [factor](int v) { return v / factor > 0 ? v / factor : 1; };
    timeouts t;
    t.stream_ms = s(stream_ms);
    t.handshake_tick_ms = s(handshake_tick_ms);
    t.datecs_slice_ms = s(datecs_slice_ms);
    t.kelvora_slice_ms = s(kelvora_slice_ms);
    t.resend_pause_ms = s(resend_pause_ms);
    t.startup_step_ms = s(startup_step_ms);
    t.startup_wait_ms = s(startup_wait_ms);
    t.packet_rest_ms = s(packet_rest_ms);
    return t;
  }
};

}  // namespace ejscope
