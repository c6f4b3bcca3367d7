// The POSIX gateway link on loopback: reads bounded by the time-out, the
// readiness wait reporting a closed peer, errors raised, IPv4 and IPv6,
// short waits that last their whole time.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "link/posix_gateway_link.h"

namespace ejscope {
namespace {

// A listening socket on an ephemeral loopback port, accepting one client.
class loopback_listener {
 public:
  explicit loopback_listener(int family) {
    fd_ = ::socket(family, SOCK_STREAM, 0);
    if (fd_ < 0) return;
    sockaddr_storage addr{};
    socklen_t len = 0;
    if (family == AF_INET6) {
      auto* a = reinterpret_cast<sockaddr_in6*>(&addr);
      a->sin6_family = AF_INET6;
      a->sin6_addr = in6addr_loopback;
      len = sizeof *a;
    } else {
      auto* a = reinterpret_cast<sockaddr_in*>(&addr);
      a->sin_family = AF_INET;
      a->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      len = sizeof *a;
    }
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd_, 1) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    port_ = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port
                                     : reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
  }
  ~loopback_listener() {
    if (client_ >= 0) ::close(client_);
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  std::uint16_t port() const { return port_; }
  void accept_client() { client_ = ::accept(fd_, nullptr, nullptr); }
  void send(const std::string& bytes) { ASSERT_EQ(::send(client_, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size())); }
  std::string receive(std::size_t n) {
    std::string out(n, '\0');
    ssize_t got = ::recv(client_, out.data(), n, MSG_WAITALL);
    out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return out;
  }
  void close_client() {
    ::close(client_);
    client_ = -1;
  }

 private:
  int fd_ = -1;
  int client_ = -1;
  std::uint16_t port_ = 0;
};

TEST(connection_posix_link, exchange_time_out_and_closed_peer) {
  struct {
    const char* host;
    int family;
  } cases[] = {{"127.0.0.1", AF_INET}, {"localhost", AF_INET}, {"::1", AF_INET6}};
  for (const auto& c : cases) {
    loopback_listener server(c.family);
    if (!server.ok()) {
      GTEST_LOG_(INFO) << "no loopback for family " << c.family << ", case " << c.host << " skipped";
      continue;
    }
    posix_gateway_link link;
    link.set_host(c.host);
    link.set_port(server.port());
    link.set_timeout_ms(50);
    try {
      link.open();
    } catch (const link_error& e) {
      // "localhost" may resolve to an address family the listener lacks.
      if (std::string(c.host) == "localhost") continue;
      FAIL() << c.host << ": " << e.what();
    }
    ASSERT_TRUE(link.is_open()) << c.host;
    server.accept_client();

    EXPECT_EQ(link.write(":3000123456:", 12), 12u);
    EXPECT_EQ(server.receive(12), ":3000123456:");

    char buffer[500];
    EXPECT_FALSE(link.wait_readable(10)) << c.host;
    EXPECT_EQ(link.read(buffer, sizeof buffer), 0u) << c.host;  // time-out

    server.send("Ready");
    EXPECT_TRUE(link.wait_readable(1000));
    ASSERT_EQ(link.read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::string(buffer, 5), "Ready");

    server.close_client();
    EXPECT_TRUE(link.wait_readable(1000)) << c.host;  // a closed peer is readable
    EXPECT_EQ(link.read(buffer, sizeof buffer), 0u) << c.host;
    link.close();
    EXPECT_FALSE(link.is_open());
  }
}

// A wait of a few milliseconds (the scaled slices of the countdowns) is not
// cut short: the time left is never rounded down to a poll of 0 ms.
TEST(connection_posix_link, short_waits_last_their_whole_time) {
  loopback_listener server(AF_INET);
  ASSERT_TRUE(server.ok());
  posix_gateway_link link;
  link.set_host("127.0.0.1");
  link.set_port(server.port());
  link.set_timeout_ms(2);
  link.open();
  server.accept_client();
  char buffer[8];
  using steady = std::chrono::steady_clock;
  for (int ms : {1, 2, 3}) {
    link.set_timeout_ms(ms);
    for (int i = 0; i < 20; ++i) {
      const auto start = steady::now();
      EXPECT_FALSE(link.wait_readable(ms));
      EXPECT_GE(steady::now() - start, std::chrono::milliseconds(ms)) << "wait_readable(" << ms << ")";
      const auto read_start = steady::now();
      EXPECT_EQ(link.read(buffer, sizeof buffer), 0u);
      EXPECT_GE(steady::now() - read_start, std::chrono::milliseconds(ms)) << "read with time-out " << ms;
    }
  }
}

TEST(connection_posix_link, failures_raise_link_error) {
  posix_gateway_link link;
  char buffer[8];
  EXPECT_THROW(link.write("x", 1), link_error);
  EXPECT_THROW(link.read(buffer, sizeof buffer), link_error);
  EXPECT_THROW(link.wait_readable(1), link_error);

  std::uint16_t unused_port = 0;
  {
    loopback_listener gone(AF_INET);
    ASSERT_TRUE(gone.ok());
    unused_port = gone.port();
  }
  link.set_host("127.0.0.1");
  link.set_port(unused_port);
  EXPECT_THROW(link.open(), link_error);
  EXPECT_FALSE(link.is_open());
}

TEST(connection_posix_link, write_to_a_reset_peer_raises) {
  loopback_listener server(AF_INET);
  ASSERT_TRUE(server.ok());
  posix_gateway_link link;
  link.set_host("127.0.0.1");
  link.set_port(server.port());
  link.set_timeout_ms(200);
  link.open();
  server.accept_client();
  server.close_client();
  char buffer[8];
  EXPECT_EQ(link.read(buffer, sizeof buffer), 0u);
  // The first write after the close draws a reset; a later one fails.
  bool raised = false;
  for (int i = 0; i < 20 && !raised; ++i) {
    try {
      link.write("0123456789", 10);
      ::usleep(10000);
    } catch (const link_error&) {
      raised = true;
    }
  }
  EXPECT_TRUE(raised);
}

}  // namespace
}  // namespace ejscope
