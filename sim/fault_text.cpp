#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "sim/simulator.h"

namespace ejscope::sim {

namespace {

struct named_kind {
  const char* name;
  fault_kind kind;
};

constexpr named_kind kind_names[] = {
    {"syn_before", fault_kind::syn_before},       {"syn_inside", fault_kind::syn_inside},
    {"stray_byte", fault_kind::stray_byte},       {"short_len", fault_kind::short_len},
    {"nak", fault_kind::nak},                     {"bad_checksum", fault_kind::bad_checksum},
    {"other_command", fault_kind::other_command}, {"kelvora_error", fault_kind::kelvora_error},
    {"bad_crc", fault_kind::bad_crc},             {"stream_stops", fault_kind::stream_stops},
    {"split", fault_kind::split},                 {"slow_sender", fault_kind::slow_sender},
    {"silence", fault_kind::silence},             {"close_connection", fault_kind::close_connection},
    {"wrong_ready", fault_kind::wrong_ready},     {"ready_split", fault_kind::ready_split},
    {"garbage", fault_kind::garbage},             {"oversized_packet", fault_kind::oversized_packet},
    {"length_past_end", fault_kind::length_past_end}, {"endless_stream", fault_kind::endless_stream},
};

long number(const std::string& key, const std::string& value, int base = 10) {
  char* end = nullptr;
  const long n = std::strtol(value.c_str(), &end, base);
  if (value.empty() || *end != '\0') throw std::invalid_argument("fault: " + key + " is not a number: " + value);
  return n;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || text[at] == separator) {
      parts.push_back(text.substr(start, at - start));
      start = at + 1;
    }
  }
  return parts;
}

fault_kind kind_of(const std::string& name) {
  const auto kind = fault_from_name(name);
  if (!kind) throw std::invalid_argument("fault: unknown kind " + name);
  return *kind;
}

}  // namespace

const char* fault_name(fault_kind kind) {
  for (const auto& k : kind_names) {
    if (k.kind == kind) return k.name;
  }
  return "?";
}

std::optional<fault_kind> fault_from_name(const std::string& name) {
  for (const auto& k : kind_names) {
    if (name == k.name) return k.kind;
  }
  return std::nullopt;
}

parsed_fault parse_fault(const std::string& text) {
  const std::vector<std::string> parts = split(text, ',');
  parsed_fault parsed;
  const bool storm = parts[0] == "random";
  random_faults r;
  fault_rule rule;
  if (!storm) rule.kind = kind_of(parts[0]);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::size_t equals = parts[i].find('=');
    if (equals == std::string::npos) throw std::invalid_argument("fault: expected key=value, got " + parts[i]);
    const std::string key = parts[i].substr(0, equals);
    const std::string value = parts[i].substr(equals + 1);
    if (storm && key == "seed") {
      r.seed = static_cast<std::uint64_t>(number(key, value));
    } else if (storm && key == "p") {
      char* end = nullptr;
      r.probability = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0' || r.probability < 0 || r.probability > 1) {
        throw std::invalid_argument("fault: p must be a number from 0 to 1");
      }
    } else if (storm && key == "kinds") {
      for (const std::string& name : split(value, '+')) r.kinds.push_back(kind_of(name));
    } else if (key == "interval") {
      (storm ? r.interval_ms : rule.interval_ms) = static_cast<int>(number(key, value));
    } else if (!storm && key == "cmd") {
      const long code = number(key, value, 16);
      if (code < 0 || code > 0xFF) throw std::invalid_argument("fault: cmd must be one byte in hexadecimal");
      rule.command = static_cast<std::uint8_t>(code);
    } else if (!storm && key == "proto") {
      if (value != "datecs" && value != "kelvora") throw std::invalid_argument("fault: proto is datecs or kelvora");
      rule.protocol = value == "datecs" ? register_protocol::datecs : register_protocol::kelvora;
    } else if (!storm && key == "skip") {
      rule.skip = static_cast<int>(number(key, value));
    } else if (!storm && key == "times") {
      rule.times = static_cast<int>(number(key, value));
    } else if (!storm && key == "param") {
      rule.param = static_cast<int>(number(key, value));
    } else if (!storm && key == "text") {
      rule.text = value;
    } else if (!storm && key == "handshake") {
      rule.on_handshake = number(key, value) != 0;
    } else {
      throw std::invalid_argument("fault: unknown key " + key);
    }
  }
  if (storm) {
    parsed.storm = r;
  } else {
    parsed.rule = rule;
  }
  return parsed;
}

}  // namespace ejscope::sim
