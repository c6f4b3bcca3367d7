#pragma once
// The tape's base64 rule: standard alphabet; decoding stops at the first "="
// or at the first character outside the alphabet (blank and line break
// included); each full group of 4 gives 3 bytes, a final group of 2 or 3
// gives 1 or 2 bytes, a single leftover character gives nothing.
#include <string>
#include <string_view>

namespace ejscope::text {

std::string base64_decode(std::string_view encoded);
// Appends the decoded bytes to out (no intermediate copy on the hot path).
void base64_decode_append(std::string_view encoded, std::string& out);
// Standard encoding with "=" padding; used by the simulator and the tests.
std::string base64_encode(std::string_view raw);

}  // namespace ejscope::text
