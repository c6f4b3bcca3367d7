#include "link/platform.h"

#include <chrono>
#include <thread>

namespace ejscope {

std::tm system_clock::local_now() {
  std::time_t t = std::time(nullptr);
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

void system_clock::sleep_ms(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace ejscope
