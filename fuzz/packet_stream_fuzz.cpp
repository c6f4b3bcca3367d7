// Reply bytes of the packet exchange into the packet assembly, through a
// scripted gateway link. Input: one byte for the range size, one for the
// read size, then replies as [length: 2 bytes little-endian][bytes], one
// reply per request written. Invariants: no crash or overrun, every added
// line is a document counted complete, a range that ended whole lost
// nothing, no more documents are counted than the range holds numbers (+2
// for the packet that ended it, which may drop one document and end another,
// +1 for the first number a stream that stopped did not reach), and no line
// or range passes its size bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "link/gateway_link.h"
#include "retrieval/packet.h"
#include "retrieval/packet_assembly.h"
#include "retrieval/packet_exchange.h"
#include "retrieval/text_limits.h"

namespace {

class scripted_link final : public ejscope::gateway_link {
 public:
  scripted_link(std::deque<std::string> replies, std::size_t piece) : replies_(std::move(replies)), piece_(piece) {}
  void set_host(const std::string&) override {}
  void set_port(std::uint16_t) override {}
  void set_timeout_ms(int) override {}
  void open() override {}
  void close() override {}
  bool is_open() const override { return true; }
  std::size_t write(const void*, std::size_t count) override {
    current_.clear();
    if (!replies_.empty()) {
      current_ = std::move(replies_.front());
      replies_.pop_front();
    }
    ++writes;
    return count;
  }
  std::size_t read(void* buffer, std::size_t max) override {
    const std::size_t n = std::min({max, piece_, current_.size()});
    std::memcpy(buffer, current_.data(), n);
    current_.erase(0, n);
    return n;
  }
  bool wait_readable(int) override { return !current_.empty(); }
  int writes = 0;

 private:
  std::deque<std::string> replies_;
  std::string current_;
  std::size_t piece_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int span = data[0] % 16;
  const std::size_t piece = 1 + data[1] * 8u;
  // Small size bounds from the same bytes, so that both are reached: a
  // document past document_bytes and a range past text_bytes.
  const ejscope::text_limits sizes{64u + data[0] * 16u, 128u + data[1] * 32u};
  std::deque<std::string> replies;
  for (std::size_t at = 2; at + 2 <= size;) {
    const std::size_t length = data[at] | (data[at + 1] << 8);
    at += 2;
    const std::size_t n = std::min(length, size - at);
    replies.emplace_back(reinterpret_cast<const char*>(data + at), n);
    at += n;
  }
  scripted_link link(std::move(replies), piece);
  ejscope::timeouts limits = ejscope::timeouts{}.scaled(60000);
  std::vector<std::string> lines;
  const auto out = ejscope::exchange_range(link, limits, 1, 1 + span, 1, lines, [](std::int32_t) {}, sizes);
  if (lines.size() != out.complete.size()) std::abort();
  if (ejscope::joined_size(lines) > sizes.text_bytes) std::abort();
  if (out.text_limit && (out.whole || out.incomplete.empty())) std::abort();
  if (out.whole && !out.incomplete.empty()) std::abort();
  if (out.complete.size() + out.incomplete.size() > static_cast<std::size_t>(span) + 4) std::abort();
  for (const auto& line : lines)
    if (line.empty() || line.size() > sizes.document_bytes) std::abort();
  // One exchange never takes bytes past the packet's announced end.
  if (size >= 4) {
    const std::size_t first = data[2] | (data[3] << 8);
    scripted_link again({std::string(reinterpret_cast<const char*>(data) + 4, std::min(first, size - 4))}, piece);
    std::string reply;
    ejscope::exchange_packet(again, limits, ejscope::continue_request(), reply);
    const bool marked = reply.size() >= 2 && reply[0] == '\x07' && reply[1] == '\x07';
    const std::size_t announced = marked ? ejscope::announced_packet_size(reply) : 0;
    if (announced != 0 && reply.size() > announced) std::abort();
    if (announced == 0 && reply.size() > ejscope::max_reply_packet) std::abort();
  }
  return 0;
}
