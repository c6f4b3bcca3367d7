#pragma once
// A gateway_link double for driver tests: records every write and answers
// reads from a queue of scripted chunks (one chunk per read call, so a reply
// split over several TCP segments can be played). An empty chunk plays a
// time-out; a failing open or a reset can be scripted too.
#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/gateway_link.h"

namespace ejscope::testing {

class fake_gateway_link : public gateway_link {
 public:
  // Queue the bytes of one read.
  void push_read(std::string chunk) { reads_.push_back(std::move(chunk)); }
  // Queue a read that fails with link_error (a reset connection).
  void push_reset() { reads_.push_back(reset_mark()); }
  // Queue a peer that closed: the wait reports readiness and the read gives 0 bytes.
  void push_peer_closed() { reads_.push_back(closed_mark()); }
  void fail_next_open(bool fail = true) { fail_open_ = fail; }

  const std::vector<std::string>& writes() const { return writes_; }
  std::string all_written() const {
    std::string all;
    for (const auto& w : writes_) all += w;
    return all;
  }
  int open_count() const { return open_count_; }
  std::size_t pending_reads() const { return reads_.size(); }
  const std::string& host() const { return host_; }
  std::uint16_t port() const { return port_; }
  int timeout_ms() const { return timeout_ms_; }

  void set_host(const std::string& host) override { host_ = host; }
  void set_port(std::uint16_t port) override { port_ = port; }
  void set_timeout_ms(int ms) override { timeout_ms_ = ms; }
  void open() override {
    ++open_count_;
    if (fail_open_) {
      fail_open_ = false;
      throw link_error("connection refused");
    }
    open_ = true;
  }
  void close() override { open_ = false; }
  bool is_open() const override { return open_; }
  std::size_t write(const void* data, std::size_t count) override {
    if (!open_) throw link_error("not connected");
    writes_.emplace_back(static_cast<const char*>(data), count);
    return count;
  }
  std::size_t read(void* buffer, std::size_t max) override {
    if (reads_.empty()) return 0;
    std::string& front = reads_.front();
    if (front == reset_mark()) {
      reads_.pop_front();
      open_ = false;
      throw link_error("connection reset");
    }
    if (front == closed_mark()) {
      reads_.pop_front();
      return 0;
    }
    std::size_t n = std::min(max, front.size());
    std::memcpy(buffer, front.data(), n);
    if (n == front.size()) {
      reads_.pop_front();
    } else {
      front.erase(0, n);
    }
    return n;
  }
  bool wait_readable(int) override {
    // An empty scripted chunk is a wait that times out.
    if (!reads_.empty() && reads_.front().empty()) {
      reads_.pop_front();
      return false;
    }
    return !reads_.empty();
  }

 private:
  static const std::string& reset_mark() {
    static const std::string mark("\0<reset>\0", 9);
    return mark;
  }
  static const std::string& closed_mark() {
    static const std::string mark("\0<closed>\0", 10);
    return mark;
  }
  std::deque<std::string> reads_;
  std::vector<std::string> writes_;
  std::string host_;
  std::uint16_t port_ = 0;
  int timeout_ms_ = 0;
  int open_count_ = 0;
  bool open_ = false;
  bool fail_open_ = false;
};

}  // namespace ejscope::testing
