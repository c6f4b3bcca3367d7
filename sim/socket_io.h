#pragma once
// The few POSIX socket operations the simulator needs, each of which gives
// up at once when the simulator stops.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace ejscope::sim {

// Set once by stop(); every wait of every thread watches it.
class stop_signal {
 public:
  stop_signal();
  ~stop_signal();
  stop_signal(const stop_signal&) = delete;
  stop_signal& operator=(const stop_signal&) = delete;

  void raise();
  bool raised() const { return raised_.load(); }
  // Readable once raised; polled beside the sockets.
  int fd() const { return pipe_[0]; }
  // Sleeps up to ms; false when the signal was raised meanwhile.
  bool pause(int ms);

 private:
  std::atomic<bool> raised_{false};
  int pipe_[2] = {-1, -1};
  std::mutex mutex_;
  std::condition_variable wake_;
};

// A listening socket on 127.0.0.1; port 0 picks a free one. Throws std::runtime_error.
int listen_loopback(std::uint16_t port, std::uint16_t& bound_port);

enum class wait_result { readable, timed_out, stopped };
// Waits until fd is readable (a closed peer counts); timeout_ms < 0 waits for ever.
wait_result wait_readable(int fd, const stop_signal& stop, int timeout_ms);

// Appends what one read delivers; false when the peer closed or the read failed.
bool read_some(int fd, std::string& into);

// Writes all bytes in one go (Nagle is off, so one write is one segment when it fits); false on failure or stop.
bool write_all(int fd, std::string_view bytes, const stop_signal& stop);

// Accepts one connection, with Nagle's delay off; -1 when none is there.
int accept_client(int listener);

void close_socket(int fd);
void shut_down(int fd);

}  // namespace ejscope::sim
