#pragma once
// A gateway_link that keeps the windows painted while a driver blocks on
// the connection (the Kelvora polls and the packet exchange let no events
// run themselves). Long waits are cut into short slices of the same total
// length; between slices only non-input events run (paints, timers), so
// the bytes on the wire and their timings stay those of the inner link and
// no user action can start in the middle of a command.
#include <functional>

#include "link/gateway_link.h"

namespace ejscope::ui {

class painting_link final : public gateway_link {
 public:
  static constexpr int slice_ms = 50;

  // paint runs between slices; the default processes non-input Qt events.
  explicit painting_link(gateway_link& inner, std::function<void()> paint = {});

  void set_host(const std::string& host) override { inner_.set_host(host); }
  void set_port(std::uint16_t port) override { inner_.set_port(port); }
  void set_timeout_ms(int ms) override;
  void open() override { inner_.open(); }
  void close() override { inner_.close(); }
  bool is_open() const override { return inner_.is_open(); }
  std::size_t write(const void* data, std::size_t count) override {
    return inner_.write(data, count);
  }
  // Waits for readiness in slices up to the time-out, then reads at once.
  std::size_t read(void* buffer, std::size_t max) override;
  bool wait_readable(int ms) override;

 private:
  gateway_link& inner_;
  std::function<void()> paint_;
  int timeout_ms_ = 60000;
};

}  // namespace ejscope::ui
