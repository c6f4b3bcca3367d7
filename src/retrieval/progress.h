#pragma once
// The progress text of the assemblies: (number - first) / (last - first + 1)
// x 100 in single precision, written with two decimals, "%", five blanks and
// the number, so number 12 of 1 ... 33 reads "33.33%     12".
#include <cstdint>
#include <string>

namespace ejscope {

float progress_percent(std::int64_t number, std::int64_t first, std::int64_t last);
std::string progress_text(float percent, std::int64_t number);

}  // namespace ejscope
