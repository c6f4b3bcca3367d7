#include "retrieval/progress.h"

#include <cmath>
#include <cstdio>

namespace ejscope {

float progress_percent(std::int64_t number, std::int64_t first, std::int64_t last) {
  const auto done = static_cast<float>(number - first);
  const auto total = static_cast<float>(last - first + 1);
  return done / total * 100.0f;
}

std::string progress_text(float percent, std::int64_t number) {
  char buf[64];
  const double p = static_cast<double>(percent);
  if (std::isfinite(p) && std::fabs(p) < 1e8) {
    // Two decimals, halves away from zero; at most 8 significant digits fit.
    std::snprintf(buf, sizeof buf, "%.2f", std::round(p * 100.0) / 100.0 + 0.0);  // + 0.0: no "-0.00"
  } else {
    // A value with more than 8 digits before the point (a register sending a
    // number far outside the range) is written in scientific notation.
    std::snprintf(buf, sizeof buf, "%.7E", p);
  }
  std::string text(buf);
  text += "%     ";
  text += std::to_string(number);
  return text;
}

}  // namespace ejscope
