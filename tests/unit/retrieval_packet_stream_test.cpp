#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_gateway_link.h"
#include "retrieval/packet.h"
#include "retrieval/packet_assembly.h"
#include "retrieval/packet_exchange.h"
#include "retrieval_fakes.h"
#include "text/base64.h"

namespace ejscope {
namespace {

using testing::fake_gateway_link;
using testing::packet_register_link;
using text::base64_encode;

std::string packet(int flags, int document, const std::string& payload, bool bad_crc = false) {
  return packet_register_link::packet(flags, document, payload, bad_crc);
}

fake_gateway_link open_link() {
  fake_gateway_link link;
  link.open();
  return link;
}

TEST(RetrievalExchangePacket, ReadsOnePacketWhole) {
  const std::string p = packet(0x00, 3, base64_encode(std::string(900, 'x')));
  struct Case {
    const char* name;
    std::vector<std::string> reads;
    std::string reply;
  } cases[] = {
      {"one read", {p}, p},
      {"split in three", {p.substr(0, 4), p.substr(4, 700), p.substr(704)}, p},
      {"header in pieces", {p.substr(0, 1), p.substr(1, 8), p.substr(9)}, p},
      {"bytes after the packet are not taken", {p + "EXTRA"}, p},
      {"time-out before anything", {""}, ""},
      {"peer stops inside the packet", {p.substr(0, 500)}, p.substr(0, 500)},
      {"foreign byte ends at once", {"\x15", p}, "\x15"},
  };
  for (const auto& c : cases) {
    fake_gateway_link link = open_link();
    for (const auto& r : c.reads) link.push_read(r);
    std::string reply = "old";
    exchange_packet(link, timeouts{}.scaled(1000), continue_request(), reply);
    EXPECT_EQ(reply, c.reply) << c.name;
    ASSERT_EQ(link.writes().size(), 1u) << c.name;
    EXPECT_EQ(link.writes()[0], continue_request()) << c.name;
  }
}

TEST(RetrievalExchangePacket, ClosedLinkExchangesNothing) {
  fake_gateway_link link;
  std::string reply = "old";
  exchange_packet(link, timeouts{}, continue_request(), reply);
  EXPECT_TRUE(reply.empty());
  EXPECT_TRUE(link.writes().empty());
}

TEST(RetrievalExchangePacket, OversizedPacketIsReadToItsEndAndRefused) {
  // 2000 payload bytes: more than a packet may hold, read whole so the stream stays in step.
  const std::string p = packet(0x00, 3, std::string(2000, 'A'));
  fake_gateway_link link = open_link();
  link.push_read(p);
  std::string reply;
  exchange_packet(link, timeouts{}.scaled(1000), continue_request(), reply);
  EXPECT_EQ(reply, p);
  EXPECT_EQ(parse_reply_packet(reply).state, packet_state::oversized);
}

struct stream_case {
  const char* name;
  std::vector<std::string> packets;  // one reply per exchange, in order
  std::vector<std::string> lines;
  std::vector<int> complete, incomplete;
  bool whole;
  std::size_t exchanges;
};

TEST(RetrievalExchangeRange, PacketStreams) {
  const std::string a = base64_encode("<DAT>1"), b = base64_encode("2"), c = base64_encode("3</DAT>");
  const stream_case cases[] = {
      {"three packets make one document, then the end",
       {packet(0x02, 1, a), packet(0x02, 1, b), packet(0x00, 1, c), packet(0x01, 1, "")},
       {"<DAT>123</DAT>"}, {1}, {}, true, 4},
      {"two texts in one payload", {packet(0x01, 4, a + '\0' + c + '\0')}, {"<DAT>13</DAT>"}, {4}, {}, true, 1},
      {"flag 0x04 ends after its payload is used", {packet(0x04, 2, a), packet(0x00, 3, b)}, {"<DAT>1"}, {2}, {}, true, 1},
      {"flag 0x08 ends", {packet(0x00, 2, a), packet(0x08, 3, b)}, {"<DAT>1", "2"}, {2, 3}, {}, true, 2},
      {"bad CRC drops the whole document, the next one stays",
       {packet(0x02, 5, a), packet(0x00, 5, c, true), packet(0x00, 6, b), packet(0x01, 6, "")},
       {"2"}, {6}, {5}, false, 4},
      {"bad CRC of a one-packet document", {packet(0x00, 7, a, true), packet(0x01, 7, "")}, {}, {}, {7}, false, 2},
      {"oversized packet drops its document",
       {packet(0x00, 7, std::string(1449, 'A')), packet(0x01, 8, b)}, {"2"}, {8}, {7}, false, 2},
      {"stream stops inside a document", {packet(0x00, 1, a), packet(0x02, 2, b), ""}, {"<DAT>1"}, {1}, {2}, false, 3},
      // The register did not end the range: the document it did not reach is named.
      {"stream stops between documents", {packet(0x00, 1, a), ""}, {"<DAT>1"}, {1}, {2}, false, 2},
      {"no reply at all", {""}, {}, {}, {1}, false, 1},
      {"foreign reply between documents", {packet(0x00, 1, a), "\x15"}, {"<DAT>1"}, {1}, {2}, false, 2},
      {"stream stops after the range's last number", {packet(0x00, 1, a), packet(0x00, 2, b), ""},
       {"<DAT>1", "2"}, {1, 2}, {}, false, 3},
      {"foreign reply ends the range", {packet(0x02, 1, a), "\x15"}, {}, {}, {1}, false, 2},
      {"cut reply ends the range", {packet(0x00, 1, a).substr(0, 9)}, {}, {}, {1}, false, 1},
      {"range ends while a document continues", {packet(0x02, 1, a), packet(0x01, 1, "")}, {}, {}, {1}, false, 2},
      {"a bare packet ends a continuing document", {packet(0x02, 1, a), packet(0x00, 1, ""), packet(0x01, 2, b)},
       {"2"}, {2}, {1}, false, 3},
      {"another document's packet while one continues",
       {packet(0x02, 1, a), packet(0x00, 2, b), packet(0x01, 2, "")}, {"2"}, {2}, {1}, false, 3},
      {"flags 0x03: continuing yet last", {packet(0x03, 9, a)}, {}, {}, {9}, false, 1},
      {"empty payload packets add nothing", {packet(0x00, 1, ""), packet(0x01, 1, "")}, {}, {}, {}, true, 2},
      {"more documents than the range holds",
       {packet(0x00, 1, a), packet(0x00, 2, b), packet(0x00, 3, c), packet(0x00, 4, a)},
       {"<DAT>1", "2", "3</DAT>"}, {1, 2, 3}, {}, false, 3},
  };
  for (const auto& sc : cases) {
    fake_gateway_link link = open_link();
    for (const auto& p : sc.packets) link.push_read(p);
    std::vector<std::string> lines;
    std::vector<int> progress;
    const range_outcome out = exchange_range(link, timeouts{}.scaled(1000), 1, 2, 1, lines,
                                             [&](std::int32_t d) { progress.push_back(d); });
    EXPECT_EQ(lines, sc.lines) << sc.name;
    EXPECT_EQ(std::vector<int>(out.complete.begin(), out.complete.end()), sc.complete) << sc.name;
    EXPECT_EQ(std::vector<int>(out.incomplete.begin(), out.incomplete.end()), sc.incomplete) << sc.name;
    EXPECT_EQ(out.whole, sc.whole) << sc.name;
    ASSERT_EQ(link.writes().size(), sc.exchanges) << sc.name;
    EXPECT_EQ(link.writes()[0], range_request(1, 1, 2)) << sc.name;
    for (std::size_t i = 1; i < link.writes().size(); ++i) EXPECT_EQ(link.writes()[i], continue_request()) << sc.name;
  }
}

TEST(RetrievalExchangeRange, DocumentsSpreadOverManyPackets) {
  packet_register_link reg;
  for (int n = 1; n <= 3; ++n) reg.add(1, n, testing::receipt_xml(n));
  std::vector<std::string> lines;
  const range_outcome out = exchange_range(reg, timeouts{}.scaled(1000), 1, 3, 1, lines, {});
  ASSERT_EQ(lines.size(), 3u);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(lines[static_cast<std::size_t>(n - 1)], testing::receipt_xml(n));
  EXPECT_TRUE(out.whole);
  EXPECT_GT(reg.continues, 6);
}

}  // namespace
}  // namespace ejscope
