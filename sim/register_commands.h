#pragma once
// What the register does with one command: checks the data text of the
// command and answers it from its identity and its journal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/frames.h"
#include "sim/journal.h"
#include "sim/simulator.h"

namespace ejscope::sim {

// Error codes of the Kelvora register.
namespace kelvora_code {
constexpr const char* success = "0000";
constexpr const char* unknown_command = "0001";
constexpr const char* bad_data = "0002";
constexpr const char* bad_password = "0003";
constexpr const char* no_document = "0104";
}  // namespace kelvora_code

struct register_context {
  const identity& id;
  const journal& tape;
  std::size_t fragment_bytes;
};

struct command_outcome {
  reply answer;                          // seq and command are the caller's
  std::optional<std::string> problem;    // why the data text was refused
  std::optional<printed_range> printed;  // a print job the command started
};

command_outcome run_command(register_protocol protocol, const register_context& context, std::uint8_t command,
                            std::string_view data);

// Document bytes per A7h fragment: the wanted count, cut so that the reply
// "count" + separator + base64 (+ ";") fits one reply frame of the protocol.
std::size_t fragment_capacity(register_protocol protocol, std::size_t wanted);

}  // namespace ejscope::sim
