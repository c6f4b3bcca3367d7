#pragma once
// Turning what the parser found into the reply record RetData.
#include <cstdint>
#include <string>

#include "datecs/reply_parser.h"
#include "protocol/reply_record.h"

namespace ejscope::datecs {

// reply_copy keeps at most this many bytes of the reply data.
constexpr std::size_t reply_copy_limit = 128;
constexpr std::size_t sent_frame_capacity = 300;

// For 5Ah replies longer than one byte: every space among the first 20
// bytes becomes a comma.
void reshape_diagnostic(std::string& data);

// Splits data at commas into r.fields and sets r.count (0 for empty data).
// A reply of more than 20 fields keeps the rest, commas included, in the
// 20th field so that no byte is lost.
void split_fields(const std::string& data, RetData& r);

// Rebuilds r from the parser's findings for the command sent.
void fill_record(RetData& r, const reply_parser& parser, std::uint8_t command, int user_value,
                 const std::string& sent_data, const std::string& sent_frame);

}  // namespace ejscope::datecs
