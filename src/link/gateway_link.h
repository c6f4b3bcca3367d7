#pragma once
// The single TCP client connection to the remote-access gateway. Every user
// of the connection (handshake, both drivers, the packet exchange) goes
// through this interface, so a platform backend (POSIX today, Winsock beside
// it) or a test double can sit behind it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ejscope {

// Raised by a gateway_link when the connection itself fails (host not found,
// refused, reset); every other outcome is a return value.
class link_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class gateway_link {
 public:
  virtual ~gateway_link() = default;

  virtual void set_host(const std::string& host) = 0;
  virtual void set_port(std::uint16_t port) = 0;
  // Bound of every read and write, 60000 ms unless a test scales it down.
  virtual void set_timeout_ms(int ms) = 0;

  // Opens the connection to the host and port set; throws link_error on failure.
  virtual void open() = 0;
  virtual void close() = 0;
  virtual bool is_open() const = 0;

  // Writes all bytes or throws link_error; returns the count written.
  virtual std::size_t write(const void* data, std::size_t count) = 0;
  // Waits up to the time-out for data; returns the count read, 0 on time-out
  // or when the peer has closed. Throws link_error on a connection failure.
  virtual std::size_t read(void* buffer, std::size_t max) = 0;
  // True when data can be read within ms milliseconds, or the peer closed.
  virtual bool wait_readable(int ms) = 0;
};

}  // namespace ejscope
