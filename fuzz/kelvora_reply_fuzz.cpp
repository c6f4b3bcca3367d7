// Reply bytes of a Kelvora register, fed to the parser, the shape test, the
// ";" split and the whole driver over a scripted gateway: every text stays
// within its buffer, the received text is the input without SYN bytes, at
// most one link flag is set, and the fields never hold more than the data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "../tests/unit/fake_gateway_link.h"
#include "protocol/reply_record.h"
#include "kelvora/driver.h"
#include "kelvora/frame.h"
#include "kelvora/reply_parser.h"
#include "kelvora/record_from_reply.h"

namespace {

using namespace ejscope;

class quiet_box : public message_box {
 public:
  void show(const std::string&, const std::string&) override {}
  bool ask_yes_no(const std::string&, const std::string&) override { return false; }
};

class still_clock : public clock {
 public:
  std::tm local_now() override { return std::tm{}; }
  void sleep_ms(int) override {}
};

void check(bool ok) {
  if (!ok) std::abort();
}

void check_record(const RetData& r) {
  check(r.count >= 0 && r.count <= static_cast<int>(RetData::max_fields));
  check(r.received.size() < kelvora::reply_parser::received_capacity);
  check(r.error_code.size() < kelvora::reply_parser::error_capacity);
  check(r.reply_copy.size() <= kelvora::reply_copy_limit);
  const std::uint32_t link_flags =
      r.flags & (result_flag::no_reply | result_flag::refused | result_flag::checksum_mismatch);
  check(link_flags == 0 || link_flags == r.flags);
  check(link_flags == 0 || (link_flags & (link_flags - 1)) == 0);
  for (auto s : r.status) check(s < 0x80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);

  kelvora::reply_parser p;
  p.begin_command();
  p.feed(in);
  std::string without_syn;
  for (char c : in) {
    if (c != '\x16') without_syn += c;
  }
  check(p.received() == without_syn.substr(0, kelvora::reply_parser::received_capacity - 1));
  check(p.data().size() < kelvora::reply_parser::data_capacity);
  check(p.error_text().size() < kelvora::reply_parser::error_capacity);
  check(static_cast<std::size_t>(p.syn_count()) == size - without_syn.size());
  check(p.state() >= 0 && p.state() <= 10);
  if (kelvora::has_reply_shape(p.received())) {
    check(p.received().size() >= 9 && p.received()[8] == ';' && p.received().back() == '\x03');
  }

  RetData split;
  kelvora::split_fields(std::string(in), split);
  check(split.count >= 0 && split.count <= static_cast<int>(RetData::max_fields));
  check((split.count == 0) == in.empty());
  std::size_t held = 0;
  for (int i = 0; i < split.count; ++i) held += split.fields[static_cast<std::size_t>(i)].size();
  check(split.count == 0 || held + static_cast<std::size_t>(split.count - 1) <= size);

  std::string sent_data = "418257;";
  std::string frame = kelvora::build_request_frame(1, 0x80, sent_data);
  RetData r;
  kelvora::fill_record(r, kelvora::exchange_result{p, false, 0x80, sent_data, frame});
  check_record(r);

  // The whole driver, the input played as reads of sizes taken from its first byte.
  ejscope::testing::fake_gateway_link link;
  const std::size_t chunk = size > 0 ? 1 + static_cast<std::uint8_t>(in[0]) % 64 : 1;
  for (std::size_t at = 0; at < size; at += chunk) link.push_read(std::string(in.substr(at, chunk)));
  quiet_box box;
  still_clock clk;
  kelvora::driver d(link, box, clk, timeouts{});
  d.set_retry_count(1);
  check_record(d.execute(0x80, sent_data));
  check(link.writes().size() <= 2);
  return 0;
}
