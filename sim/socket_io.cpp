#include "sim/socket_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace ejscope::sim {

stop_signal::stop_signal() {
  if (::pipe(pipe_) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
}

stop_signal::~stop_signal() {
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void stop_signal::raise() {
  {
    std::lock_guard lock(mutex_);
    if (raised_.exchange(true)) return;
  }
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(pipe_[1], &byte, 1);
  wake_.notify_all();
}

bool stop_signal::pause(int ms) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return raised_.load(); });
}

int listen_loopback(std::uint16_t port, std::uint16_t& bound_port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + reason);
  }
  socklen_t size = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  bound_port = ntohs(address.sin_port);
  return fd;
}

wait_result wait_readable(int fd, const stop_signal& stop, int timeout_ms) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {stop.fd(), POLLIN, 0}};
  for (;;) {
    const int ready = ::poll(fds, 2, timeout_ms);
    if (ready < 0 && errno == EINTR) continue;
    if (stop.raised() || fds[1].revents != 0) return wait_result::stopped;
    if (ready <= 0) return ready == 0 ? wait_result::timed_out : wait_result::stopped;
    return wait_result::readable;
  }
}

bool read_some(int fd, std::string& into) {
  char block[4096];
  for (;;) {
    const ssize_t got = ::recv(fd, block, sizeof block, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    into.append(block, static_cast<std::size_t>(got));
    return true;
  }
}

bool write_all(int fd, std::string_view bytes, const stop_signal& stop) {
  while (!bytes.empty()) {
    if (stop.raised()) return false;
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd fds[2] = {{fd, POLLOUT, 0}, {stop.fd(), POLLIN, 0}};
      if (::poll(fds, 2, 1000) < 0 && errno != EINTR) return false;
      continue;
    }
    return false;
  }
  return true;
}

int accept_client(int listener) {
  const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return -1;
  const int yes = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  return fd;
}

void close_socket(int fd) {
  if (fd >= 0) ::close(fd);
}

void shut_down(int fd) {
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

}  // namespace ejscope::sim
