#include "retrieval/packet_exchange.h"

#include <algorithm>
#include <chrono>

#include "retrieval/packet.h"

namespace ejscope {

namespace {

// Reads once, at most max bytes, appended to reply; the count read.
std::size_t read_piece(gateway_link& link, std::string& reply, std::size_t max) {
  const std::size_t old = reply.size();
  reply.resize(old + max);
  const std::size_t n = link.read(reply.data() + old, max);
  reply.resize(old + std::min(n, max));
  return n;
}

// The bytes so far may still be the start of a packet_mark.
bool starts_like_packet(std::string_view bytes) {
  const char mark = static_cast<char>(packet_mark & 0xFF);
  return (bytes.size() < 1 || bytes[0] == mark) && (bytes.size() < 2 || bytes[1] == mark);
}

}  // namespace

void exchange_packet(gateway_link& link, const timeouts& limits, std::string_view request,
                     std::string& reply) {
  reply.clear();
  if (!link.is_open()) return;
  link.write(request.data(), request.size());
  if (!link.wait_readable(limits.stream_ms)) return;
  if (read_piece(link, reply, max_reply_packet) == 0) return;

  using steady = std::chrono::steady_clock;
  const auto deadline = steady::now() + std::chrono::milliseconds(limits.packet_rest_ms);
  for (;;) {
    if (!starts_like_packet(reply)) return;  // foreign bytes: nothing more to wait for
    const std::size_t announced = announced_packet_size(reply);
    if (announced != 0 && reply.size() >= announced) {
      reply.resize(announced);  // bytes past the packet's end are not part of it
      return;
    }
    const std::size_t want = announced == 0 ? packet_header_size - reply.size() : announced - reply.size();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count();
    if (left <= 0) return;
    if (!link.wait_readable(static_cast<int>(std::min<long long>(left, limits.stream_ms)))) return;
    if (read_piece(link, reply, std::min(want, max_reply_packet)) == 0) return;
  }
}

}  // namespace ejscope
