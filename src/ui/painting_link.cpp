#include "ui/painting_link.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>

namespace ejscope::ui {

painting_link::painting_link(gateway_link& inner, std::function<void()> paint)
    : inner_(inner), paint_(std::move(paint)) {
  if (!paint_)
    paint_ = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
}

void painting_link::set_timeout_ms(int ms) {
  timeout_ms_ = ms > 0 ? ms : 1;
  inner_.set_timeout_ms(ms);
}

std::size_t painting_link::read(void* buffer, std::size_t max) {
  // A closed link answers (or fails) at once, exactly as the inner one does.
  if (inner_.is_open() && !wait_readable(timeout_ms_)) return 0;
  return inner_.read(buffer, max);
}

bool painting_link::wait_readable(int ms) {
  if (!inner_.is_open()) return inner_.wait_readable(ms);
  using steady = std::chrono::steady_clock;
  const auto deadline = steady::now() + std::chrono::milliseconds(std::max(ms, 0));
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count();
    const int slice = static_cast<int>(std::clamp<long long>(left, 0, slice_ms));
    if (inner_.wait_readable(slice)) return true;
    if (slice >= left) return false;
    paint_();
  }
}

}  // namespace ejscope::ui
