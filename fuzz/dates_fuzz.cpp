// The date and time texts of the request by dates on arbitrary bytes: a
// field either fails with period_error or gives two-digit parts that are
// written back as six or four digits; the start/end comparison is a strict
// order; the progress text never fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "retrieval/period.h"
#include "retrieval/progress.h"

namespace {

bool digits(const std::string& s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string_view a = in.substr(0, std::min<std::size_t>(8, in.size()));
  const std::string_view b = in.size() > 8 ? in.substr(8, 8) : std::string_view{};
  using namespace ejscope;
  try {
    const short_date d = short_date::read(a);
    const std::string t = d.ddmmyy();
    if (t.size() != 6 || !digits(t) || d.after(d)) std::abort();
    const short_date e = short_date::read(b);
    if (d.after(e) && e.after(d)) std::abort();
  } catch (const period_error&) {
  }
  try {
    const time_e t = time_e::read(a.substr(0, std::min<std::size_t>(5, a.size())));
    const std::string s = t.hhmm();
    if (s.size() != 4 || !digits(s)) std::abort();
  } catch (const period_error&) {
  }
  if (size >= 16) {
    std::tm now{};
    now.tm_mday = 1 + data[0] % 31;
    now.tm_mon = data[1] % 12;
    now.tm_year = data[2] + 70;
    now.tm_hour = data[3] % 24;
    now.tm_min = data[4] % 60;
    const period_texts p = initial_period(now);
    if (p.start_date.size() != 8 || p.end_date.size() != 8 || p.end_time.size() != 5) std::abort();
    std::int64_t n = 0, f = 0, l = 0;
    std::memcpy(&n, data + 4, 4);
    std::memcpy(&f, data + 8, 4);
    std::memcpy(&l, data + 12, 4);
    if (progress_text(progress_percent(n, f, l), n).find("%     ") == std::string::npos) std::abort();
    float any = 0;
    std::memcpy(&any, data, sizeof any);
    (void)progress_text(any, 0);
  }
  return 0;
}
