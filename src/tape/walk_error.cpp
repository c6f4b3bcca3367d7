#include "tape/tape_walker.h"

namespace ejscope {

namespace {

// A value as shown in a message: at most 64 bytes, control bytes as "?".
std::string shown_value(const std::string& value) {
  constexpr std::size_t limit = 64;
  std::string shown = value.substr(0, limit);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  if (value.size() > limit) shown += "...";
  return shown;
}

std::string describe(int slot, const std::string& element, const std::string& attribute,
                     const std::string& value, const std::string& reason) {
  std::string where = "document slot " + std::to_string(slot) + ", element " + element + ", ";
  where += attribute.empty() ? std::string("element text") : "attribute " + attribute;
  return where + ", value \"" + shown_value(value) + "\": " + reason;
}

}  // namespace

walk_error::walk_error(int slot, std::string element, std::string attribute, std::string value,
                       const std::string& reason)
    : std::runtime_error(describe(slot, element, attribute, value, reason)),
      slot_(slot),
      element_(std::move(element)),
      attribute_(std::move(attribute)),
      value_(std::move(value)) {}

walk_error::walk_error(int slot, const std::string& reason)
    : std::runtime_error("document slot " + std::to_string(slot) + ": " + reason), slot_(slot) {}

}  // namespace ejscope
