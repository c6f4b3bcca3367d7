// The bounds on what a register may send: one document that never ends, in
// packets or in fragments, is dropped once it passes its size; a request
// whose text would pass its size stops asking, keeps what fitted and says so.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_gateway_link.h"
#include "retrieval/fragment_fetch.h"
#include "retrieval/packet_assembly.h"
#include "window/journal_window_texts.h"
#include "window/journal_window.h"
#include "retrieval/text_limits.h"
#include "retrieval_fakes.h"
#include "text/base64.h"

namespace ejscope {
namespace {

using testing::journal_register;
using testing::packet_register_link;
using testing::receipt_xml;
using testing::reply_record;

// A register whose one document goes on for ever: every reply packet is a
// part flagged as continuing.
class endless_packets : public testing::fake_gateway_link {
 public:
  std::size_t write(const void* data, std::size_t count) override {
    ++writes;
    push_read(packet_register_link::packet(0x02, 1, text::base64_encode(std::string(600, 'x'))));
    return testing::fake_gateway_link::write(data, count);
  }
  int writes = 0;
};

TEST(RetrievalLimits, EndlessPacketDocumentIsDroppedAtItsSize) {
  endless_packets link;
  link.open();
  std::vector<std::string> lines;
  const range_outcome out = exchange_range(link, timeouts{}.scaled(1000), 1, 5, 1, lines, {},
                                           text_limits{6000, max_tape_bytes});
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(out.incomplete, std::vector<std::int32_t>{1});
  EXPECT_FALSE(out.whole);
  EXPECT_FALSE(out.text_limit);
  EXPECT_EQ(link.writes, 11);  // 10 parts of 600 bytes reach 6000, the 11th passes it
}

TEST(RetrievalLimits, EndlessFragmentDocumentIsDroppedAtItsSize) {
  class endless : public journal_register {
   public:
    int calls = 0;
    RetData r = reply_record(2, {"1", text::base64_encode(std::string(300, 'x'))});
    const RetData* documents_output(protocol, const std::string&, int, int, int) override {
      ++calls;
      return &r;
    }
  } reg;
  const fetched_document doc = fetch_document(reg, protocol::datecs, 1, 1, "", 3000);
  EXPECT_TRUE(doc.incomplete);
  EXPECT_EQ(reg.calls, 11);
}

TEST(RetrievalLimits, RangeStopsBeforeItsTextPassesTheBudget) {
  packet_register_link reg;
  for (int n = 1; n <= 4; ++n) reg.add(1, n, receipt_xml(n));
  reg.open();
  const std::size_t two = receipt_xml(1).size() + receipt_xml(2).size() + 2;
  std::vector<std::string> lines;
  const range_outcome out = exchange_range(reg, timeouts{}.scaled(1000), 1, 4, 1, lines, {}, text_limits{4096, two});
  EXPECT_EQ(lines, (std::vector<std::string>{receipt_xml(1), receipt_xml(2)}));
  EXPECT_EQ(out.complete, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(out.incomplete, std::vector<std::int32_t>{3});
  EXPECT_TRUE(out.text_limit);
  EXPECT_FALSE(out.whole);
}

// A request whose text has room for three receipts, in both assemblies.
class RequestTextLimit : public ::testing::TestWithParam<bool> {
 protected:
  RequestTextLimit() {
    for (int n = 1; n <= 12; ++n) {
      reg.add(1, n, receipt_xml(n));
      link.add(1, n, receipt_xml(n));
    }
    temp_xml = std::filesystem::path(::testing::TempDir()) / (GetParam() ? "limits_packets.xml" : "limits_fragments.xml");
  }

  request_environment environment(std::size_t text_bytes) {
    request_environment env;
    env.link = &link;
    env.commands = &reg;
    env.limits = timeouts{}.scaled(1000);
    env.packet_mode = [] { return GetParam(); };
    env.sizes.text_bytes = text_bytes;
    return env;
  }

  void ask(journal_window& logic, int first, int last) {
    view.first = std::to_string(first);
    view.last = std::to_string(last);
    view.type = 1;
    logic.set_temp_xml_path(temp_xml);
    logic.fetch_by_numbers();
  }

  journal_register reg;
  packet_register_link link;
  testing::recording_request_view view;
  testing::recording_messages messages;
  std::filesystem::path temp_xml;
};

TEST_P(RequestTextLimit, KeepsWhatFittedAndSaysSo) {
  // The text of the whole request, to size the limit: envelope, three receipts, closing line.
  std::size_t three = 0;
  {
    journal_window whole(view, messages, environment(max_tape_bytes));
    ask(whole, 1, 3);
    three = joined_size(whole.xml_lines());
    EXPECT_FALSE(whole.text_limit_reached());
  }
  journal_window logic(view, messages, environment(three));
  ask(logic, 1, 12);
  EXPECT_EQ(logic.outcome(), request_outcome::done);
  EXPECT_TRUE(logic.text_limit_reached());
  EXPECT_EQ(logic.model().doc_index, 3);
  EXPECT_EQ(logic.incomplete(), std::vector<int>{4});
  EXPECT_LE(joined_size(logic.xml_lines()), three);
  ASSERT_FALSE(logic.display().empty());
  EXPECT_EQ(logic.display().back(), request_texts::text_limit_reached());
  // The next request asks on from where this one stopped; nothing was marked held past it.
  ask(logic, 4, 6);
  EXPECT_FALSE(logic.text_limit_reached());
  EXPECT_EQ(logic.model().doc_index, 6);
  EXPECT_TRUE(logic.incomplete().empty());
}

INSTANTIATE_TEST_SUITE_P(Assemblies, RequestTextLimit, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Packets" : "Fragments"); });

}  // namespace
}  // namespace ejscope
