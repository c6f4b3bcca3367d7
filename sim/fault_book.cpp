#include "sim/fault_book.h"

#include <algorithm>

namespace ejscope::sim {

namespace {

constexpr fault_kind all_kinds[] = {
    fault_kind::syn_before,   fault_kind::syn_inside,    fault_kind::stray_byte,    fault_kind::short_len,
    fault_kind::nak,          fault_kind::bad_checksum,  fault_kind::other_command, fault_kind::kelvora_error,
    fault_kind::bad_crc,      fault_kind::stream_stops,  fault_kind::split,         fault_kind::slow_sender,
    fault_kind::silence,      fault_kind::close_connection, fault_kind::wrong_ready, fault_kind::ready_split,
    fault_kind::garbage,      fault_kind::oversized_packet, fault_kind::length_past_end, fault_kind::endless_stream,
};

bool transport_kind(fault_kind kind) {
  return kind == fault_kind::split || kind == fault_kind::slow_sender || kind == fault_kind::silence ||
         kind == fault_kind::close_connection || kind == fault_kind::garbage;
}

}  // namespace

bool fits(fault_kind kind, const exchange_info& info, bool on_handshake) {
  switch (info.what) {
    case exchange::handshake:
      return kind == fault_kind::wrong_ready || kind == fault_kind::ready_split || (on_handshake && transport_kind(kind));
    case exchange::packet:
      if (on_handshake) return false;
      if (kind == fault_kind::stream_stops || kind == fault_kind::endless_stream) return info.carries_document;
      return kind == fault_kind::bad_crc || kind == fault_kind::oversized_packet ||
             kind == fault_kind::length_past_end || transport_kind(kind);
    case exchange::frame:
      if (on_handshake) return false;
      switch (kind) {
        case fault_kind::kelvora_error: return info.protocol == register_protocol::kelvora;
        case fault_kind::bad_crc:
        case fault_kind::stream_stops:
        case fault_kind::oversized_packet:
        case fault_kind::length_past_end:
        case fault_kind::endless_stream:
        case fault_kind::wrong_ready:
        case fault_kind::ready_split: return false;
        default: return true;
      }
  }
  return false;
}

void fault_book::add(const fault_rule& rule) {
  std::lock_guard lock(mutex_);
  rules_.push_back(rule);
}

void fault_book::set_storm(const random_faults& storm) {
  std::lock_guard lock(mutex_);
  storm_ = storm;
  random_.seed(storm.seed);
}

void fault_book::clear() {
  std::lock_guard lock(mutex_);
  rules_.clear();
  storm_.reset();
}

int fault_book::injected() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(injected_.size());
}

std::vector<fault_kind> fault_book::injected_kinds() const {
  std::lock_guard lock(mutex_);
  return injected_;
}

chosen_fault fault_book::with_defaults(fault_kind kind, int param, int interval_ms, std::string text) const {
  chosen_fault fault{kind, param, interval_ms, std::move(text)};
  const auto fill = [](int& value, int fallback) {
    if (value <= 0) value = fallback;
  };
  switch (kind) {
    case fault_kind::syn_before: fill(fault.param, 3); fill(fault.interval_ms, 20); break;
    case fault_kind::stray_byte: fill(fault.param, 'Z'); break;
    case fault_kind::other_command: fill(fault.interval_ms, 20); break;
    case fault_kind::split: fill(fault.param, 3); fill(fault.interval_ms, 20); break;
    case fault_kind::slow_sender: fill(fault.interval_ms, 1000); break;
    case fault_kind::ready_split: fill(fault.interval_ms, 50); break;
    case fault_kind::kelvora_error: if (fault.text.empty()) fault.text = "0CD0"; break;
    case fault_kind::wrong_ready: if (fault.text.empty()) fault.text = "ready"; break;
    case fault_kind::garbage: fill(fault.param, 600); break;
    case fault_kind::length_past_end: fill(fault.param, 1000); break;
    default: break;
  }
  return fault;
}

std::optional<chosen_fault> fault_book::draw(const exchange_info& info) {
  std::lock_guard lock(mutex_);
  for (fault_rule& rule : rules_) {
    if (rule.times == 0 || !fits(rule.kind, info, rule.on_handshake)) continue;
    if (rule.command && *rule.command != info.command) continue;
    if (rule.protocol && *rule.protocol != info.protocol) continue;
    if (rule.skip > 0) {
      --rule.skip;
      continue;
    }
    if (rule.times > 0) --rule.times;
    injected_.push_back(rule.kind);
    return with_defaults(rule.kind, rule.param, rule.interval_ms, rule.text);
  }
  return draw_storm(info);
}

std::optional<chosen_fault> fault_book::draw_storm(const exchange_info& info) {
  if (!storm_) return std::nullopt;
  std::vector<fault_kind> candidates;
  for (const fault_kind kind : all_kinds) {
    const bool wanted = storm_->kinds.empty() ? kind != fault_kind::slow_sender && kind != fault_kind::endless_stream
                                              : std::find(storm_->kinds.begin(), storm_->kinds.end(), kind) !=
                                                    storm_->kinds.end();
    const bool tellable = !(kind == fault_kind::other_command && info.protocol == register_protocol::datecs);
    if (wanted && tellable && fits(kind, info, false)) candidates.push_back(kind);
  }
  // Both draws happen for every exchange so that the sequence depends on the seed alone.
  const double roll = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
  const std::uint64_t pick = random_();
  if (candidates.empty() || roll >= storm_->probability) return std::nullopt;
  const fault_kind kind = candidates[pick % candidates.size()];
  injected_.push_back(kind);
  return with_defaults(kind, 0, storm_->interval_ms, {});
}

}  // namespace ejscope::sim
