// The simulator's journal: the tape read into documents, and the documents
// served through A7h fragments, EEh periods, EBh prints and the packet
// exchange, reassembled here from the raw bytes.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "integration/sim_harness.h"
#include "integration/sim_raw_client.h"
#include "text/base64.h"

namespace ejscope::testing {
namespace {

using sim::register_protocol;

// Receipt numbers (E's NO) differ from the DIs, as on a real tape.
constexpr const char* small_tape =
    "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">\n"
    "<DAT DI=\"7\" V=\"1\"><C T=\"0\"><E N=\"1\" NO=\"1\" SM=\"100\"/></C><TS>20160301100000</TS></DAT>"
    "<MAC DI=\"7\" NT=\"1\">ABCD</MAC>\n"
    "<!-- a comment between documents -->\n"
    "<DAT DI=\"8\"><Z NO=\"3\"><NC NI=\"1\" NO=\"0\"/></Z><TS>20160301235900</TS></DAT>\n"
    "<DAT><C T=\"2\"><E NO=\"2\"/></C><TS>20160302000000</TS></DAT><MAC DI=\"9\"/>\n"
    "<DAT DI=\"10\"><C T=\"0\"><E NO=\"2\"/></C><TS>20160303000000</TS></DAT>\n"
    "<DAT DI=\"11\"><C T=\"0\"><E/></C><TS>20160303000000</TS></DAT>\n"
    "</RQ>\n";

TEST(SimJournal, DocumentsAreTheDatWithItsMac) {
  const sim::journal j = sim::journal::parse(small_tape);
  ASSERT_EQ(j.size(), 5u);
  const auto& docs = j.documents();
  EXPECT_EQ(docs[0].number, 7);
  EXPECT_EQ(docs[0].receipt_number, 1);
  EXPECT_EQ(docs[0].ts, "20160301100000");
  EXPECT_EQ(docs[0].text,
            "<DAT DI=\"7\" V=\"1\"><C T=\"0\"><E N=\"1\" NO=\"1\" SM=\"100\"/></C><TS>20160301100000</TS></DAT>"
            "<MAC DI=\"7\" NT=\"1\">ABCD</MAC>");
  EXPECT_EQ(docs[1].number, 8);
  EXPECT_EQ(docs[1].z_number, 3);
  EXPECT_EQ(docs[1].receipt_number, std::nullopt);
  EXPECT_EQ(docs[1].text.find("<MAC"), std::string::npos);  // no MAC follows it
  EXPECT_EQ(docs[2].number, 9);                             // no DI: the one after the previous DI
  EXPECT_EQ(docs[4].receipt_number, std::nullopt);          // an E without NO
}

TEST(SimJournal, EachKindNamesDocumentsByItsOwnNumber) {
  const sim::journal j = sim::journal::parse(small_tape);
  const auto& docs = j.documents();
  const struct {
    int kind;
    int number;
    const sim::journal_document* expected;
  } cases[] = {
      {sim::kind_document, 1, &docs[0]},  // a receipt by its receipt number …
      {sim::kind_document, 7, nullptr},   // … never by its DI
      {sim::kind_document, 8, nullptr},   // a Z-report has no receipt number
      {sim::kind_document, 2, &docs[2]},  // the first of two receipts with the same number
      {sim::kind_z_report, 3, &docs[1]},
      {sim::kind_z_report, 1, nullptr},   // receipts are not Z-reports
      {sim::kind_document, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + ":" + std::to_string(c.number));
    EXPECT_EQ(j.find(c.kind, c.number), c.expected);
    if (c.expected != nullptr) {
      EXPECT_EQ(c.expected->number_of(c.kind), c.number);
    }
  }
  EXPECT_EQ(j.range(sim::kind_document, 1, 20), (std::vector<const sim::journal_document*>{&docs[0], &docs[2]}));
  EXPECT_EQ(j.range(sim::kind_z_report, 1, 20), (std::vector<const sim::journal_document*>{&docs[1]}));
  EXPECT_TRUE(j.range(sim::kind_document, 2, 1).empty());
}

TEST(SimJournal, PeriodGivesTheFirstAndLastReceiptNumberToTheMinute) {
  const sim::journal j = sim::journal::parse(small_tape);
  const struct {
    const char* from;
    const char* to;
    int first;
    int last;
  } cases[] = {
      {"201603010000", "201603022359", 1, 2},
      {"201603011000", "201603011000", 1, 1},
      {"201603011001", "201603012359", 0, 0},  // only the Z-report: no receipt number
      {"201603020000", "201603032359", 2, 2},
      {"201603020001", "201603022359", 0, 0},
      {"201603022359", "201603010000", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    const auto numbers = j.period(c.from, c.to);
    if (c.first == 0) {
      EXPECT_FALSE(numbers);
    } else {
      ASSERT_TRUE(numbers);
      EXPECT_EQ(numbers->first, c.first);
      EXPECT_EQ(numbers->second, c.last);
    }
  }
}

TEST(SimJournal, TapesThatAreNotJournalsAreRefused) {
  for (const char* text : {"not xml", "<RQ><DAT>", "<TAPE><DAT DI=\"1\"/></TAPE>"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(sim::journal::parse(text), std::runtime_error);
    sim::config cfg = sim_test_config(text);
    EXPECT_THROW(sim::simulator{cfg}, std::runtime_error);
  }
  EXPECT_EQ(sim::journal::parse("").size(), 0u);
}

TEST(SimJournal, SyntheticTapeNumbersReceiptsAndZReportsEachInOrder) {
  const sim::journal j = sim::journal::parse(sim::make_tape(25));
  ASSERT_EQ(j.size(), 25u);
  int receipts = 0;
  int z_reports = 0;
  for (const sim::journal_document& doc : j.documents()) {
    SCOPED_TRACE(doc.number);
    EXPECT_EQ(doc.number, receipts + z_reports + 1);  // DI 1 … n in tape order
    if (doc.number % 10 == 0) {
      EXPECT_EQ(doc.z_number, ++z_reports);
      EXPECT_EQ(doc.receipt_number, std::nullopt);
    } else {
      EXPECT_EQ(doc.receipt_number, ++receipts);
      EXPECT_EQ(doc.z_number, std::nullopt);
    }
  }
  EXPECT_EQ(receipts, 23);
  EXPECT_EQ(z_reports, 2);
  EXPECT_EQ(j.find(sim::kind_document, 10)->number, 11);  // receipt 10 follows Z-report 1
  EXPECT_EQ(j.find(sim::kind_document, 24), nullptr);
  EXPECT_EQ(j.documents()[0].ts, "20160301081000");
  EXPECT_EQ(j.documents()[24].ts, "20160301121000");
}

bool frame_ended(const std::string& bytes) { return !bytes.empty() && (bytes.back() == '\x03' || bytes == "\x15"); }

class journal_client {
 public:
  journal_client(sim_harness& h, register_protocol p) : client_(h.port(p)), kelvora_(p == register_protocol::kelvora) {
    client_.send(std::string("KV0000001", 9));
    EXPECT_EQ(client_.read_until([](const std::string& b) { return b.size() >= 5; }), "Ready");
  }

  parsed_reply command(std::uint8_t cmd, const std::string& datecs_data, const std::string& kelvora_data) {
    client_.send(request(next_seq(), cmd, kelvora_ ? "418257;" + kelvora_data : datecs_data));
    const parsed_reply r = parse_reply(client_.read_until(frame_ended), kelvora_);
    EXPECT_TRUE(r.sound);
    return r;
  }

  // Fragment j of a document: A7h with type, number, fragment.
  parsed_reply fragment(int kind, int number, int j) {
    const std::string k = std::to_string(kind), n = std::to_string(number), f = std::to_string(j);
    return command(0xA7, k + "," + n + "," + f, k + ";" + n + ";" + f + ";");
  }

  raw_client& raw() { return client_; }

 private:
  std::uint8_t next_seq() {
    seq_ = static_cast<std::uint8_t>(seq_ == 0x7E ? 0x20 : seq_ + 1);
    return seq_;
  }

  raw_client client_;
  bool kelvora_;
  std::uint8_t seq_ = 0x20;
};

class SimServes : public ::testing::TestWithParam<register_protocol> {
 protected:
  bool kelvora() const { return GetParam() == register_protocol::kelvora; }
  char separator() const { return kelvora() ? ';' : ','; }
  sim_harness h;
};

TEST_P(SimServes, FragmentsRebuildEveryDocumentAndEndWithAOneFieldReply) {
  journal_client c(h, GetParam());
  for (const int kind : {sim::kind_document, sim::kind_z_report}) {
    for (const int number : {1, 3, 10, 27}) {
      const sim::journal_document* doc = h.tape().find(kind, number);
      if (doc == nullptr) continue;
      SCOPED_TRACE(number);
      std::string text;
      int j = 0;
      for (;; ++j) {
        const parsed_reply r = c.fragment(kind, number, j);
        const std::size_t cut = r.data.find(separator());
        if (r.data == (kelvora() ? "0;" : "0")) break;
        ASSERT_NE(cut, std::string::npos) << r.data;
        const std::string part = text::base64_decode(r.data.substr(cut + 1));
        EXPECT_EQ(r.data.substr(0, cut), std::to_string(part.size()));
        text += part;
        ASSERT_LT(j, 100);
      }
      EXPECT_EQ(text, doc->text);
      EXPECT_GT(j, 1);
      // Asking past the end again gives the same end.
      EXPECT_EQ(c.fragment(kind, number, j + 5).data, kelvora() ? "0;" : "0");
    }
  }
}

TEST_P(SimServes, MissingDocumentEndsByEachProtocolsRule) {
  journal_client c(h, GetParam());
  const parsed_reply r = c.fragment(sim::kind_document, 999, 0);
  if (kelvora()) {
    EXPECT_EQ(r.error_code, "0104");
    EXPECT_EQ(r.data, "");
  } else {
    EXPECT_EQ(r.data, "-1,");
  }
  EXPECT_EQ(c.fragment(sim::kind_z_report, 4, 0).data.find("-1"), kelvora() ? std::string::npos : 0u);
}

TEST_P(SimServes, PeriodGivesTheNumbersAndPrintsWhenAsked) {
  journal_client c(h, GetParam());
  const std::string s(1, separator());
  // Documents 1 … 30 are ten minutes apart from 08:10 on 01.03.2016; the
  // tenth (09:40) is Z-report 1, so the receipt numbers fall one behind after it.
  parsed_reply r = c.command(0xEE, "010316,0830,010316,0905,0", "010316;0830;010316;0905;0;");
  EXPECT_EQ(r.data, kelvora() ? "3;6;" : "3,6");
  r = c.command(0xEE, "010316,0930,010316,1000,0", "010316;0930;010316;1000;0;");
  EXPECT_EQ(r.data, kelvora() ? "9;11;" : "9,11");  // documents 9, 10 (the Z-report), 11 and 12
  r = c.command(0xEE, "010316,0940,010316,0940,0", "010316;0940;010316;0940;0;");
  EXPECT_EQ(kelvora() ? r.error_code : r.data, kelvora() ? "0104" : "");  // only the Z-report
  EXPECT_TRUE(h.sim().printed().empty());
  r = c.command(0xEE, "020316,0000,030316,0000,0", "020316;0000;030316;0000;0;");
  if (kelvora()) {
    EXPECT_EQ(r.error_code, "0104");
  } else {
    EXPECT_EQ(r.data, "");
    EXPECT_EQ(static_cast<unsigned char>(r.status[1]) & 0x02, 0x02);  // "command not allowed"
  }
  c.command(0xEE, "010316,0800,010316,0830,1", "010316;0800;010316;0830;1;");
  ASSERT_EQ(h.sim().printed().size(), 1u);
  EXPECT_EQ(h.sim().printed()[0].documents, (std::vector<int>{1, 2, 3}));
}

TEST_P(SimServes, PrintIntervalIsRecorded) {
  journal_client c(h, GetParam());
  EXPECT_EQ(c.command(0xEB, "25,40", "25;40;").data, "");
  const parsed_reply refused = c.command(0xEB, "9,5", "9;5;");
  EXPECT_TRUE(kelvora() ? refused.error_code == "0104" : (static_cast<unsigned char>(refused.status[1]) & 0x02) != 0);
  const auto printed = h.sim().printed();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].protocol, GetParam());
  EXPECT_EQ(printed[0].first, 25);
  EXPECT_EQ(printed[0].last, 40);
  EXPECT_EQ(printed[0].documents, (std::vector<int>{25, 26, 27}));  // the receipts of the range
}

struct packet_reply {
  std::uint8_t flags = 0;
  std::int32_t document = 0;
  std::string decoded;
};

// Reads one reply packet, checks its CRC and decodes its base64 texts.
packet_reply read_packet(raw_client& client) {
  const std::string bytes = client.read_until(packet_whole);
  packet_reply p;
  EXPECT_TRUE(packet_whole(bytes));
  if (!packet_whole(bytes)) return p;
  EXPECT_EQ(bytes.substr(0, 2), "\x07\x07");
  const std::size_t size = get_le(bytes, 8, 2);
  EXPECT_EQ(bytes.size(), 12 + size);
  EXPECT_LE(bytes.size(), 1460u);
  const std::string payload = bytes.substr(10, size);
  EXPECT_EQ(get_le(bytes, 10 + size, 2), crc16(payload));
  p.flags = static_cast<std::uint8_t>(bytes[2]);
  p.document = static_cast<std::int32_t>(get_le(bytes, 4, 4));
  std::size_t start = 0;
  for (std::size_t at = 0; at <= payload.size(); ++at) {
    if (at == payload.size() || payload[at] == '\0') {
      p.decoded += text::base64_decode(payload.substr(start, at - start));
      start = at + 1;
    }
  }
  return p;
}

// The documents of a range as the packet stream delivers them.
std::vector<std::pair<int, std::string>> stream(raw_client& client, int kind, int first, int last,
                                                std::vector<std::uint8_t>& flags) {
  std::vector<std::pair<int, std::string>> docs;
  std::string text;
  client.send(range_packet(kind, first, last));
  for (int packets = 0; packets < 1000; ++packets) {
    const packet_reply p = read_packet(client);
    flags.push_back(p.flags);
    text += p.decoded;
    if (!(p.flags & 0x02) && !text.empty()) {
      docs.emplace_back(p.document, text);
      text.clear();
    }
    if (p.flags & 0x0D) break;
    client.send(continue_packet);
  }
  return docs;
}

TEST_P(SimServes, PacketStreamDeliversTheRangeWithContinuationFlags) {
  sim::config cfg = sim_test_config();
  cfg.packet_bytes = 100;  // every document takes several packets
  sim_harness small(cfg);
  journal_client c(small, GetParam());
  std::vector<std::uint8_t> flags;
  // Receipts 8 … 12 are documents 8, 9, 11, 12, 13: Z-report 1 (document 10) is not among them.
  const auto docs = stream(c.raw(), sim::kind_document, 8, 12, flags);
  ASSERT_EQ(docs.size(), 5u);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(docs[static_cast<std::size_t>(k)].first, 8 + k);
    EXPECT_EQ(docs[static_cast<std::size_t>(k)].second, small.tape().find(sim::kind_document, 8 + k)->text);
  }
  EXPECT_EQ(flags.front(), 0x02);
  EXPECT_EQ(flags.back(), 0x01);
  EXPECT_EQ(std::count(flags.begin(), flags.end(), 0x00), 4);
  EXPECT_GT(flags.size(), 10u);
}

TEST_P(SimServes, PacketStreamByZNumbersAndEmptyRanges) {
  journal_client c(h, GetParam());
  std::vector<std::uint8_t> flags;
  const auto docs = stream(c.raw(), sim::kind_z_report, 2, 3, flags);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(docs[0].first, 2);
  EXPECT_EQ(docs[0].second, h.tape().find(sim::kind_z_report, 2)->text);
  EXPECT_EQ(flags, (std::vector<std::uint8_t>{0x00, 0x01}));

  for (const auto& [first, last] : {std::pair{40, 50}, std::pair{5, 4}}) {
    c.raw().send(range_packet(sim::kind_document, first, last));
    const packet_reply empty = read_packet(c.raw());
    EXPECT_EQ(empty.flags, 0x04);
    EXPECT_EQ(empty.document, first);
    EXPECT_EQ(empty.decoded, "");
  }
  // A continue after the range ended is refused.
  c.raw().send(continue_packet);
  EXPECT_EQ(read_packet(c.raw()).flags, 0x08);
}

TEST_P(SimServes, MalformedPacketsAreRefusedAndRecorded) {
  journal_client c(h, GetParam());
  std::string bad_crc = range_packet(1, 1, 2);
  bad_crc.back() ^= 0x01;
  std::string bad_kind = range_packet(2, 1, 2);
  const std::string bad_continue("\x07\x07\x21\x02\x00\x03\x00\x41\x11", 9);
  for (const std::string& packet : {bad_crc, bad_kind, bad_continue}) {
    c.raw().send(packet);
    EXPECT_EQ(read_packet(c.raw()).flags, 0x08);
    EXPECT_FALSE(h.sim().requests().back().valid);
  }
  const auto requests = h.sim().requests();
  EXPECT_EQ(requests[requests.size() - 3].problem, "wrong CRC");
  EXPECT_EQ(requests[requests.size() - 2].problem, "document kind is not 0 or 1");
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, SimServes,
                         ::testing::Values(register_protocol::datecs, register_protocol::kelvora),
                         [](const auto& info) { return info.param == register_protocol::datecs ? "datecs" : "kelvora"; });

}  // namespace
}  // namespace ejscope::testing
