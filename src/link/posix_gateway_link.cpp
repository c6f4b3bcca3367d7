#include "link/posix_gateway_link.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

namespace ejscope {
namespace {

#ifdef MSG_NOSIGNAL
constexpr int send_flags = MSG_NOSIGNAL;  // a closed peer gives EPIPE, not SIGPIPE
#else
constexpr int send_flags = 0;
#endif

using steady = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what, int err) {
  throw link_error(what + ": " + std::strerror(err));
}

// The time left until deadline in whole milliseconds, rounded up: rounded
// down, a wait of 1 ms would be a poll of 0 ms that ends at once.
std::chrono::milliseconds time_left(steady::time_point deadline) {
  return std::chrono::ceil<std::chrono::milliseconds>(deadline - steady::now());
}

// poll on one descriptor for up to ms milliseconds, resumed after a signal
// with the time that is left. Returns the revents, 0 on time-out.
short poll_for(int fd, short events, int ms) {
  auto deadline = steady::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
  for (;;) {
    pollfd p{fd, events, 0};
    auto left = time_left(deadline);
    int rc = ::poll(&p, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (rc > 0) return p.revents;
    if (rc == 0) return 0;
    if (errno != EINTR) fail("poll", errno);
  }
}

struct addrinfo_deleter {
  void operator()(addrinfo* a) const { ::freeaddrinfo(a); }
};

// Connects one address within ms milliseconds; the descriptor, or -1 with
// err set.
int connect_within(const addrinfo& a, int ms, int& err) {
  int fd = ::socket(a.ai_family, a.ai_socktype, a.ai_protocol);
  if (fd < 0) {
    err = errno;
    return -1;
  }
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  int flags = ::fcntl(fd, F_GETFL, 0);
  ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  int rc = ::connect(fd, a.ai_addr, a.ai_addrlen);
  if (rc != 0 && errno == EINPROGRESS) {
    short ev = poll_for(fd, POLLOUT, ms);
    if (ev == 0) {
      err = ETIMEDOUT;
    } else {
      socklen_t len = sizeof err;
      if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    }
    rc = err == 0 ? 0 : -1;
  } else if (rc != 0) {
    err = errno;
  }
  if (rc != 0) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#ifdef SO_NOSIGPIPE
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &one, sizeof one);
#endif
  return fd;
}

}  // namespace

posix_gateway_link::~posix_gateway_link() { close(); }

void posix_gateway_link::open() {
  close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG;
  addrinfo* found = nullptr;
  std::string service = std::to_string(port_);
  int rc = ::getaddrinfo(host_.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) throw link_error("host " + host_ + ": " + ::gai_strerror(rc));
  std::unique_ptr<addrinfo, addrinfo_deleter> list(found);
  int err = EHOSTUNREACH;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    fd_ = connect_within(*a, timeout_ms_, err);
    if (fd_ >= 0) return;
  }
  fail("connect to " + host_ + ":" + service, err);
}

void posix_gateway_link::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

std::size_t posix_gateway_link::write(const void* data, std::size_t count) {
  if (fd_ < 0) throw link_error("write: not connected");
  const char* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < count) {
    short ev = poll_for(fd_, POLLOUT, timeout_ms_);
    if (ev == 0) throw link_error("write: timed out");
    ssize_t n = ::send(fd_, p + done, count - done, send_flags);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      fail("write", errno);
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t posix_gateway_link::read(void* buffer, std::size_t max) {
  if (fd_ < 0) throw link_error("read: not connected");
  if (max == 0) return 0;
  auto deadline = steady::now() + std::chrono::milliseconds(timeout_ms_);
  for (;;) {
    auto left = time_left(deadline);
    if (left.count() <= 0 || poll_for(fd_, POLLIN, static_cast<int>(left.count())) == 0) return 0;
    ssize_t n = ::recv(fd_, buffer, max, MSG_DONTWAIT);
    if (n >= 0) return static_cast<std::size_t>(n);  // 0: the peer closed
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
    fail("read", errno);
  }
}

bool posix_gateway_link::wait_readable(int ms) {
  if (fd_ < 0) throw link_error("wait: not connected");
  return poll_for(fd_, POLLIN, ms) != 0;
}

}  // namespace ejscope
