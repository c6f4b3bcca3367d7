#pragma once
// Starts the register simulator in-process on ephemeral loopback ports for
// one test and stops it at the end. The simulator itself is the fault handle:
// harness.sim().add_fault({...}), harness.sim().requests(), printed().
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "sim/journal.h"
#include "sim/simulator.h"

namespace ejscope::testing {

// The tape of the samples when it is there, else a synthetic one of 30 documents.
inline std::string sample_tape_text() {
  std::ifstream in(std::string(EJSCOPE_SOURCE_DIR) + "/samples/tape.xml", std::ios::binary);
  if (!in) return sim::make_tape(30);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A configuration for tests: ephemeral ports and the given tape (default: a
// synthetic tape of 30 documents, so that tests do not depend on the samples).
inline sim::config sim_test_config(std::string tape_text = sim::make_tape(30)) {
  sim::config cfg;
  cfg.datecs_port = 0;
  cfg.kelvora_port = 0;
  cfg.tape_text = std::move(tape_text);
  return cfg;
}

class sim_harness {
 public:
  explicit sim_harness(sim::config cfg = sim_test_config()) : sim_(std::move(cfg)), ports_(sim_.start()) {}

  std::uint16_t port(sim::register_protocol p) const { return ports_.of(p); }
  std::uint16_t datecs_port() const { return ports_.datecs; }
  std::uint16_t kelvora_port() const { return ports_.kelvora; }
  static constexpr const char* host() { return "127.0.0.1"; }

  sim::simulator& sim() { return sim_; }
  const sim::journal& tape() const { return sim_.tape(); }
  const sim::identity& identity() const { return sim_.settings().register_identity; }
  void fault(const sim::fault_rule& rule) { sim_.add_fault(rule); }

 private:
  sim::simulator sim_;
  sim::ports ports_;
};

}  // namespace ejscope::testing
