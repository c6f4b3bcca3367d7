// The whole road against the simulator: connect, identify, retrieve in
// fragment or packet mode through each protocol, walk, render. The rendered
// text must equal the offline rendering of the tape the simulator serves.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "integration/retrieval_session.h"
#include "window/journal_window_texts.h"

namespace ejscope {
namespace {

using testing::retrieval_session;
using testing::sim_harness;

struct road_mode {
  sim::register_protocol protocol;
  bool packet;
};

sim::fault_rule rule(sim::fault_kind kind, std::optional<std::uint8_t> command = {}, int skip = 0, int times = 1) {
  sim::fault_rule r;
  r.kind = kind;
  r.command = command;
  r.skip = skip;
  r.times = times;
  return r;
}

std::string mode_name(const ::testing::TestParamInfo<road_mode>& info) {
  return std::string(info.param.protocol == sim::register_protocol::datecs ? "Datecs" : "Kelvora") +
         (info.param.packet ? "Packets" : "Fragments");
}

class RetrievalRoad : public ::testing::TestWithParam<road_mode> {
 protected:
  RetrievalRoad() : sim(config()), session(sim, GetParam().protocol, mode_name({GetParam(), 0})) {}

  static sim::config config() {
    sim::config cfg = testing::sim_test_config(sim::make_tape(30));
    cfg.fragment_bytes = 90;
    cfg.packet_bytes = 200;
    if (!GetParam().packet) cfg.register_identity.set_firmware_date(2015, 11, 1);
    return cfg;
  }

  void SetUp() override {
    ASSERT_TRUE(session.connect());
    ASSERT_EQ(session.main().packet_mode(), GetParam().packet);
  }

  // Commands that ask the register for documents: A7h frames or range requests.
  int retrieval_requests() const {
    int n = 0;
    for (const auto& r : sim.sim().requests())
      n += (r.kind == sim::request_kind::frame && r.command == 0xA7) ||
           (r.kind == sim::request_kind::packet && r.command == 0x10);
    return n;
  }

  std::vector<std::string> offline(int type) { return session.offline(sim.tape().tape_text(), type); }

  // The offline rendering of only the documents a request of that kind
  // brings for [first, last]: receipts by their receipt numbers, Z-reports by theirs.
  std::vector<std::string> offline_of(int kind, int first, int last, int type) {
    std::string tape = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<RQ V=\"1\">\n";
    for (const sim::journal_document* doc : sim.tape().range(kind, first, last)) tape += doc->text + "\n";
    return session.offline(tape + "</RQ>\n", type);
  }

  bool display_has(const std::string& text) {
    const auto& lines = session.request().display();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }

  mutable sim_harness sim;
  retrieval_session session;
};

// The tape of 30 documents holds receipts 1 ... 27 and Z-reports 1 ... 3.
TEST_P(RetrievalRoad, WholeTapeRendersAsOffline) {
  session.by_numbers(1, 3, 0);
  session.by_numbers(1, 27, 2);  // the Z-reports held lie between receipts 1 and 27
  EXPECT_EQ(session.request().display(), offline(2));
  EXPECT_EQ(session.request().model().doc_index, 30);
  EXPECT_TRUE(session.request().incomplete().empty());

  // temp.xml: the envelope around one line per receipt, CR LF after each.
  std::ifstream in(session.temp_xml(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string text = s.str();
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 7), "</RQ>\r\n");
  EXPECT_EQ(session.request().xml_lines().size(), 30u);
  for (const auto& doc : sim.tape().documents())
    EXPECT_EQ(text.find(doc.text + "\r\n") != std::string::npos, doc.receipt_number.has_value()) << doc.number;
}

// Receipt numbers, not the documents' DIs, are asked, cached and rendered:
// receipts 8 ... 12 are documents 8, 9, 11, 12, 13 of the tape.
TEST_P(RetrievalRoad, ReceiptsByTheirNumbersAcrossAZReport) {
  session.by_numbers(8, 12, 2);
  EXPECT_EQ(session.request().model().doc_index, 5);
  EXPECT_EQ(session.request().display(), offline_of(sim::kind_document, 8, 12, 2));
  // The same receipts as the whole tape shows them under "Чек", which lays out no Z-report.
  EXPECT_EQ(session.request().display(), offline(1));
  if (!GetParam().packet) {
    for (int n = 8; n <= 12; ++n) EXPECT_TRUE(session.request().fetched_docs().contains(n)) << n;
    EXPECT_FALSE(session.request().fetched_docs().contains(13));
  } else {
    EXPECT_TRUE(session.request().fetched_ranges(1).covers(8, 12));
  }
  const int asked = retrieval_requests();
  session.by_numbers(9, 11, 1);  // held already
  EXPECT_EQ(retrieval_requests(), asked);
}

TEST_P(RetrievalRoad, SeveralRequestsUseTheCaches) {
  session.by_numbers(1, 10, 1);
  EXPECT_EQ(session.request().display(), offline(1));
  const int asked = retrieval_requests();

  session.by_numbers(5, 8, 1);  // held already: nothing is asked
  EXPECT_EQ(retrieval_requests(), asked);
  EXPECT_EQ(session.request().display(), offline(1));
  EXPECT_EQ(session.request().model().doc_index, 10);

  session.by_numbers(8, 14, 2);  // only 11 ... 14 are new
  EXPECT_EQ(session.request().model().doc_index, 14);
  EXPECT_EQ(session.request().display(), offline_of(sim::kind_document, 1, 14, 2));
}

TEST_P(RetrievalRoad, ZReportsByTheirNumbers) {
  session.by_numbers(1, 3, 0);
  EXPECT_EQ(session.request().model().doc_index, 3);
  EXPECT_EQ(session.request().display(), offline(0));
  EXPECT_TRUE(session.request().z_doc_map().has_entries());
}

TEST_P(RetrievalRoad, ByDates) {
  // Documents are ten minutes apart from 01.03.2016 08:00: 09:00 ... 10:00
  // holds documents 6 ... 12, that is receipts 6 ... 11 and Z-report 1 (09:40).
  session.view.start_date = "01.03.16";
  session.view.end_date = "01.03.16";
  session.view.start_time = "09:00";
  session.view.end_time = "10:00";
  session.request().look_up_period_numbers();
  EXPECT_EQ(session.view.first, "6");
  EXPECT_EQ(session.view.last, "11");
  session.view.type = 2;
  session.request().fetch_by_period();
  EXPECT_EQ(session.request().model().doc_index, 6);
  EXPECT_EQ(session.request().display(), offline_of(sim::kind_document, 6, 11, 2));
}

TEST_P(RetrievalRoad, EmptyingTheModelAsksAgain) {
  session.by_numbers(1, 5, 1);
  const int asked = retrieval_requests();
  session.main().choose_protocol(static_cast<int>(GetParam().protocol));  // the protocol chosen: model and caches emptied
  session.by_numbers(1, 5, 1);
  EXPECT_GT(retrieval_requests(), asked);
  EXPECT_EQ(session.request().model().doc_index, 5);
  EXPECT_EQ(session.request().display(), offline(1));
}

TEST_P(RetrievalRoad, SplitRepliesAreJoined) {
  sim::fault_rule split = rule(sim::fault_kind::split, {}, 0, -1);
  split.param = 3;
  split.interval_ms = 1;
  sim.fault(split);
  session.by_numbers(1, 4, 2);
  EXPECT_EQ(session.request().display(), offline(2));
}

TEST_P(RetrievalRoad, BrokenDocumentIsReportedAndFetchedAgain) {
  // Fragment mode: one reply frame with a wrong checksum; packet mode: one packet with a wrong CRC.
  if (GetParam().packet) {
    sim.fault(rule(sim::fault_kind::bad_crc, 0x21, 4));
  } else {
    sim.fault(rule(sim::fault_kind::bad_checksum, 0xA7, 5));
  }
  session.by_numbers(1, 6, 1);
  ASSERT_EQ(session.request().incomplete().size(), 1u);
  const int lost = session.request().incomplete()[0];
  EXPECT_EQ(session.request().model().doc_index, 5);
  EXPECT_TRUE(display_has(request_texts::incomplete_documents() + std::to_string(lost)));
  ASSERT_FALSE(session.view.incomplete_reports.empty());

  session.by_numbers(1, 6, 1);
  EXPECT_TRUE(session.request().incomplete().empty());
  EXPECT_EQ(session.request().model().doc_index, 6);
  EXPECT_EQ(session.request().display(), offline(1));
}

// The register stops inside a document: the packet stream ends in its middle,
// a Datecs fragment gets no reply, a Kelvora fragment an error code.
TEST_P(RetrievalRoad, RegisterStoppingInsideADocumentEndsTheRequestSoundly) {
  session.by_numbers(1, 3, 1);
  if (GetParam().packet) {
    sim.fault(rule(sim::fault_kind::stream_stops, 0x10));
  } else if (GetParam().protocol == sim::register_protocol::datecs) {
    sim.fault(rule(sim::fault_kind::silence, 0xA7, 1));
  } else {
    sim.fault(rule(sim::fault_kind::kelvora_error, 0xA7, 1));
  }
  session.by_numbers(4, 5, 1);
  EXPECT_EQ(session.request().incomplete(), std::vector<int>{4});
  EXPECT_EQ(session.request().model().doc_index, GetParam().packet ? 3 : 4);  // nothing held is lost
  session.by_numbers(1, 5, 1);
  EXPECT_EQ(session.request().model().doc_index, 5);
  EXPECT_EQ(session.request().display(), offline(1));
}

TEST_P(RetrievalRoad, ByDatesRegisterErrorIsShown) {
  if (GetParam().protocol == sim::register_protocol::datecs) {
    sim.fault(rule(sim::fault_kind::nak, 0xEE));
  } else {
    sim.fault(rule(sim::fault_kind::kelvora_error, 0xEE));  // "0CD0"
  }
  session.request().fetch_by_period();
  const auto& lines = session.request().display();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind(request_texts::register_error_line(), 0), 0u);
  if (GetParam().protocol == sim::register_protocol::kelvora) {
    EXPECT_EQ(lines, (std::vector<std::string>{request_texts::register_error_line() + "0CD0 !",
                                               request_texts::contact_acquirer()}));
  }
  EXPECT_EQ(retrieval_requests(), 0);
}

TEST_P(RetrievalRoad, PrintsTheTypedRangeOrTheRenderedZReports) {
  session.view.type = 1;
  session.view.first = "5";
  session.view.last = "9";
  session.request().print_range();
  session.by_numbers(2, 3, 0);  // renders Z-reports 2 and 3 (documents 20 and 30)
  session.view.first = "0";
  session.view.last = "1";
  session.request().print_range();
  const auto printed = sim.sim().printed();
  ASSERT_EQ(printed.size(), 2u);
  EXPECT_EQ(printed[0].first, 5);
  EXPECT_EQ(printed[0].last, 9);
  EXPECT_EQ(printed[1].first, session.request().z_doc_map().get(0));
  EXPECT_EQ(printed[1].last, session.request().z_doc_map().get(1));
}

INSTANTIATE_TEST_SUITE_P(Modes, RetrievalRoad,
                         ::testing::Values(road_mode{sim::register_protocol::datecs, false},
                                           road_mode{sim::register_protocol::datecs, true},
                                           road_mode{sim::register_protocol::kelvora, false},
                                           road_mode{sim::register_protocol::kelvora, true}),
                         mode_name);

}  // namespace
}  // namespace ejscope
