#pragma once
// The faults waiting to be injected: rules added by the tests and the
// seeded storm. Each exchange asks once which fault, if any, it gets.
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace ejscope::sim {

enum class exchange { handshake, frame, packet };

struct exchange_info {
  exchange what = exchange::frame;
  register_protocol protocol = register_protocol::datecs;
  std::uint8_t command = 0;          // frame CMD or packet command
  bool carries_document = false;     // a packet that will carry document bytes
};

// A fault to inject now, its defaults filled in.
struct chosen_fault {
  fault_kind kind = fault_kind::silence;
  int param = 0;
  int interval_ms = 0;
  std::string text;
};

// Whether a fault of that kind can act on that exchange. Rules that name
// silence, close_connection, split or slow_sender act on handshakes only
// with on_handshake; the storm never gives Datecs a reply to another
// command, which the protocol has no means to tell from the right one.
bool fits(fault_kind kind, const exchange_info& info, bool on_handshake);

class fault_book {
 public:
  void add(const fault_rule& rule);
  void set_storm(const random_faults& storm);
  void clear();
  std::optional<chosen_fault> draw(const exchange_info& info);
  int injected() const;
  std::vector<fault_kind> injected_kinds() const;

 private:
  chosen_fault with_defaults(fault_kind kind, int param, int interval_ms, std::string text) const;
  std::optional<chosen_fault> draw_storm(const exchange_info& info);

  mutable std::mutex mutex_;
  std::vector<fault_rule> rules_;
  std::optional<random_faults> storm_;
  std::mt19937_64 random_;
  std::vector<fault_kind> injected_;
};

}  // namespace ejscope::sim
