#pragma once
// gateway_link on POSIX sockets: host names resolved for IPv4 and IPv6, a
// blocking stream whose every connect, read and write is bounded by the
// time-out (poll before each call), and a readiness wait that also reports a
// peer that closed. A Winsock backend sits beside it with the same interface.
#include <cstdint>
#include <string>

#include "link/gateway_link.h"

namespace ejscope {

class posix_gateway_link final : public gateway_link {
 public:
  posix_gateway_link() = default;
  ~posix_gateway_link() override;
  posix_gateway_link(const posix_gateway_link&) = delete;
  posix_gateway_link& operator=(const posix_gateway_link&) = delete;

  void set_host(const std::string& host) override { host_ = host; }
  void set_port(std::uint16_t port) override { port_ = port; }
  void set_timeout_ms(int ms) override { timeout_ms_ = ms > 0 ? ms : 1; }

  void open() override;
  void close() override;
  bool is_open() const override { return fd_ >= 0; }

  std::size_t write(const void* data, std::size_t count) override;
  std::size_t read(void* buffer, std::size_t max) override;
  bool wait_readable(int ms) override;

  const std::string& host() const { return host_; }
  std::uint16_t port() const { return port_; }
  int timeout_ms() const { return timeout_ms_; }

 private:
  std::string host_;
  std::uint16_t port_ = 0;
  int timeout_ms_ = 60000;
  int fd_ = -1;
};

}  // namespace ejscope
