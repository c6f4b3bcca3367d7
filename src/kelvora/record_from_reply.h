#pragma once
// Turning what the Kelvora parser found into the reply record RetData.
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/reply_record.h"
#include "kelvora/reply_parser.h"

namespace ejscope::kelvora {

// reply_copy keeps at most this many bytes of the reply data.
constexpr std::size_t reply_copy_limit = 128;

// Splits data at ";" into r.fields and sets r.count (0 for empty data): a
// final ";" is dropped, and only a ";" followed by more text separates. A
// reply of more than 20 fields keeps the rest, ";" included, in the 20th.
void split_fields(const std::string& data, RetData& r);

// What the link layer hands over for one exchange.
struct exchange_result {
  const reply_parser& parser;
  bool read_failed;  // an error of the connection ended the receive phase
  std::uint8_t command;
  const std::string& sent_data;
  const std::string& sent_frame;
};

// Rebuilds r from one exchange.
void fill_record(RetData& r, const exchange_result& x);

}  // namespace ejscope::kelvora
