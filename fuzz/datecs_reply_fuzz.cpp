// Arbitrary reply bytes through the Datecs reply parser and into the reply
// record: no buffer grows past its capacity, the record has at most 20
// fields, the flags follow their rules (a link flag always alone), and a
// block fed in pieces parses like the same block fed at once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "datecs/reply_parser.h"
#include "datecs/record_from_reply.h"
#include "protocol/reply_record.h"

namespace {

using namespace ejscope;
using datecs::reply_parser;

void check(bool ok) {
  if (!ok) std::abort();
}

void check_record(const RetData& r, const reply_parser& p) {
  check(r.count >= 0 && r.count <= static_cast<int>(RetData::max_fields));
  for (std::size_t i = static_cast<std::size_t>(r.count); i < RetData::max_fields; ++i) {
    check(r.fields[i].empty());
  }
  std::size_t field_bytes = 0;
  for (int i = 0; i < r.count; ++i) field_bytes += r.fields[static_cast<std::size_t>(i)].size();
  check(field_bytes + (r.count > 0 ? static_cast<std::size_t>(r.count - 1) : 0) == p.data().size());
  check(r.reply_copy.size() <= datecs::reply_copy_limit);
  check(r.received.size() < reply_parser::received_capacity);
  for (auto s : r.status) check((s & 0x80) == 0);

  const std::uint32_t link = result_flag::no_reply | result_flag::refused |
                             result_flag::checksum_mismatch;
  check((r.flags & ((1u << 15) | (7u << 29))) == 0);
  if (r.flags & link) check((r.flags & ~link) == 0 && (r.flags & (r.flags - 1)) == 0);
  check(((r.flags & result_flag::no_reply) != 0) == !p.reply_done());
  if (p.reply_done() && !p.refused() && !p.checksum_mismatch()) {
    // Only a frame that ended in place with its own checksum is sound.
    check(p.terminated_in_place() && p.received_checksum() == p.running_sum());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the command and the piece size of the second feed.
  const std::uint8_t command = data[0] & 1 ? 0x5A : 0xA7;
  const std::size_t piece = 1 + data[0] % 17;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  reply_parser whole;
  whole.begin_command();
  std::size_t used = whole.feed(bytes);
  check(used <= bytes.size());
  check(whole.data().size() < reply_parser::data_capacity);
  check(whole.received().size() < reply_parser::received_capacity);
  check(whole.state() >= 0 && whole.state() <= 9);

  reply_parser pieces;
  pieces.begin_command();
  for (std::size_t at = 0; at < bytes.size() && !pieces.frame_complete(); at += piece) {
    pieces.feed(bytes.substr(at, piece));
  }
  check(pieces.frame_complete() == whole.frame_complete());
  check(pieces.reply_done() == whole.reply_done());
  check(pieces.refused() == whole.refused());
  check(pieces.checksum_mismatch() == whole.checksum_mismatch());
  check(pieces.data() == whole.data());
  check(pieces.received() == whole.received());
  check(pieces.syn_count() == whole.syn_count());

  RetData r;
  datecs::fill_record(r, whole, command, 0, "0", std::string(400, 'F'));
  check(r.sent_frame.size() < datecs::sent_frame_capacity);
  check_record(r, whole);

  // A second command on the same parser starts from clean per-command items.
  whole.begin_command();
  check(!whole.frame_complete() && !whole.reply_done() && whole.received().empty());
  return 0;
}
