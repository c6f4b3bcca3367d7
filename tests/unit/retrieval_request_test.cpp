#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "window/journal_window_texts.h"
#include "window/journal_window.h"
#include "retrieval_fakes.h"

namespace ejscope {
namespace {

using testing::journal_register;
using testing::packet_register_link;
using testing::receipt_xml;
using testing::reply_record;
using testing::recording_messages;
using testing::recording_request_view;
using testing::z_report_xml;

class RetrievalRequest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_xml = std::filesystem::path(::testing::TempDir()) /
               (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_temp.xml");
    for (int n = 1; n <= 12; ++n) {
      reg.add(1, n, receipt_xml(n));
      link.add(1, n, receipt_xml(n));
    }
    // Z-reports are asked by their Z-report numbers only: they have no receipt number.
    reg.add(0, 1, z_report_xml(13, 1));
    reg.add(0, 2, z_report_xml(14, 2));
  }

  journal_window& logic() {
    if (!logic_) {
      request_environment env;
      env.link = &link;
      env.commands = &reg;
      env.limits = timeouts{}.scaled(1000);
      env.current_protocol = [this] { return proto; };
      env.packet_mode = [this] { return packet; };
      logic_.emplace(view, messages, env);
      logic_->set_temp_xml_path(temp_xml);
    }
    return *logic_;
  }

  void ask(int first, int last, int type = 1) {
    view.first = std::to_string(first);
    view.last = std::to_string(last);
    view.type = type;
    logic().fetch_by_numbers();
  }

  std::vector<int> numbers_asked() const {
    std::vector<int> out;
    for (const auto& c : reg.a7_calls)
      if (c.fragment == 0) out.push_back(c.number);
    return out;
  }

  bool display_has(const std::string& text) const {
    return std::any_of(view.lines.begin(), view.lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }

  std::filesystem::path temp_xml;
  journal_register reg;
  packet_register_link link;
  recording_request_view view;
  recording_messages messages;
  protocol proto = protocol::datecs;
  bool packet = false;
  std::optional<journal_window> logic_;
};

TEST_F(RetrievalRequest, ValidationMessagesSendNothing) {
  struct Case {
    const char *first, *last;
    const std::string* message;
  } cases[] = {{"0", "5", &request_texts::first_not_positive()},
               {"-3", "5", &request_texts::first_not_positive()},
               {"7", "3", &request_texts::last_before_first()}};
  for (const auto& c : cases) {
    view.first = c.first;
    view.last = c.last;
    view.lines = {"kept"};
    messages.shown.clear();
    logic().fetch_by_numbers();
    ASSERT_EQ(messages.shown.size(), 1u) << c.first;
    EXPECT_EQ(messages.shown[0].first, *c.message) << c.first;
    EXPECT_TRUE(reg.a7_calls.empty());
    EXPECT_EQ(view.lines, std::vector<std::string>{"kept"}) << "the display is unchanged";
    EXPECT_TRUE(view.window_shown);
    EXPECT_FALSE(view.attention_shown);
  }
}

TEST_F(RetrievalRequest, NumbersThatAreNotIntegersAppendTheTwoLines) {
  ask(1, 1);
  const auto before = view.lines;
  view.first = "abc";
  logic().fetch_by_numbers();
  ASSERT_EQ(view.lines.size(), before.size() + 2);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), view.lines.begin()));
  EXPECT_EQ(view.lines[before.size()], request_texts::failure_structure());
  EXPECT_EQ(view.lines[before.size() + 1], request_texts::failure_try_other());
}

TEST_F(RetrievalRequest, DocumentKindFollowsTheType) {
  for (int type : {0, 1, 2, 3}) {
    reg.a7_calls.clear();
    logic().empty_model();
    ask(1, 1, type);
    ASSERT_FALSE(reg.a7_calls.empty());
    EXPECT_EQ(reg.a7_calls[0].kind, type == 0 ? 0 : 1) << type;
    EXPECT_EQ(reg.a7_calls[0].password, "418257");
  }
}

// A tape whose documents (DI 101 ...) are numbered apart from its receipts
// (1 ...): the typed numbers are receipt numbers, asked, cached, shown, and
// the number fields are filled back with them.
TEST_F(RetrievalRequest, ReceiptNumbersAreAskedCachedAndShownWhateverTheDocumentNumbers) {
  for (const bool packets : {false, true}) {
    SCOPED_TRACE(packets ? "packets" : "fragments");
    packet = packets;
    logic().empty_model();
    for (int n = 1; n <= 3; ++n) {
      reg.add(1, n, receipt_xml(n, 100 + n));
      link.add(1, n, receipt_xml(n, 100 + n));
    }
    reg.a7_calls.clear();
    link.ranges_asked.clear();
    view.progress.clear();
    ask(1, 3);
    if (packets) {
      EXPECT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{1, 3}}));
      EXPECT_TRUE(logic().fetched_ranges().covers(1, 3));
    } else {
      EXPECT_EQ(numbers_asked(), (std::vector<int>{1, 2, 3}));
      for (int n = 1; n <= 3; ++n) EXPECT_TRUE(logic().fetched_docs().contains(n)) << n;
      EXPECT_FALSE(logic().fetched_docs().contains(101));
    }
    ASSERT_FALSE(view.progress.empty());
    EXPECT_EQ(view.progress.front(), "0.00%     1");
    EXPECT_EQ(logic().model().doc_index, 3);
    // Each receipt's footer opens with its receipt number.
    for (int n = 1; n <= 3; ++n) {
      const std::string footer = "  00000000" + std::to_string(n) + " ";
      EXPECT_TRUE(std::any_of(view.lines.begin(), view.lines.end(),
                              [&](const std::string& l) { return l.rfind(footer, 0) == 0; }))
          << n;
    }
    logic().choose_document_type();
    EXPECT_EQ(view.first, "1");
    EXPECT_EQ(view.last, "3");
  }
}

TEST_F(RetrievalRequest, FragmentModeAsksEachNumberOnce) {
  for (protocol p : {protocol::datecs, protocol::kelvora}) {
    proto = p;
    logic().empty_model();
    reg.a7_calls.clear();
    ask(1, 3);
    EXPECT_EQ(numbers_asked(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(logic().model().doc_index, 3);
    ASSERT_EQ(logic().xml_lines().size(), 6u);
    EXPECT_EQ(logic().xml_lines()[0], "<?xml version=\"1.0\" encoding=\"windows-1251\"?>");
    EXPECT_EQ(logic().xml_lines()[1], "<RQ V=\"1\">");
    EXPECT_EQ(logic().xml_lines()[2], receipt_xml(1));
    EXPECT_EQ(logic().xml_lines()[5], "</RQ>");
    EXPECT_TRUE(logic().fetched_docs().contains(2));

    // Asking again sends nothing and assembles the envelope alone.
    reg.a7_calls.clear();
    ask(1, 3);
    EXPECT_TRUE(reg.a7_calls.empty());
    EXPECT_EQ(logic().xml_lines().size(), 3u);
    EXPECT_EQ(logic().model().doc_index, 3);
    EXPECT_FALSE(view.lines.empty());
  }
}

TEST_F(RetrievalRequest, TempXmlHoldsTheLinesWithCrLf) {
  ask(1, 2);
  std::ifstream in(temp_xml, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string expected;
  for (const auto& l : logic().xml_lines()) expected += l + "\r\n";
  EXPECT_EQ(s.str(), expected);
}

TEST_F(RetrievalRequest, ProgressTexts) {
  ask(1, 3);
  EXPECT_EQ(view.progress, (std::vector<std::string>{"0.00%     1", "33.33%     2", "66.67%     3"}));
}

TEST_F(RetrievalRequest, IncompleteFragmentDocumentIsLeftOutAndAskedAgain) {
  reg.faults[{2, 1}] = std::nullopt;  // the driver ends fragment 1 of document 2 without a result
  ask(1, 3);
  EXPECT_EQ(logic().xml_lines().size(), 5u);  // documents 1 and 3 only
  EXPECT_EQ(logic().model().doc_index, 2);
  EXPECT_FALSE(logic().fetched_docs().contains(2));
  EXPECT_EQ(logic().incomplete(), std::vector<int>{2});
  ASSERT_EQ(view.incomplete_reports.size(), 1u);
  EXPECT_EQ(view.incomplete_reports[0], std::vector<int>{2});
  EXPECT_EQ(view.lines.back(), request_texts::incomplete_documents() + "2");

  reg.faults.clear();
  reg.a7_calls.clear();
  ask(1, 3);
  EXPECT_EQ(numbers_asked(), std::vector<int>{2});
  EXPECT_EQ(logic().model().doc_index, 3);
}

TEST_F(RetrievalRequest, FlaggedFragmentEndsTheDocumentIncomplete) {
  proto = protocol::kelvora;
  reg.faults[{3, 0}] = reply_record(2, {"1", "PERBVD4="}, "0000", result_flag::checksum_mismatch);
  ask(1, 3);
  EXPECT_EQ(logic().incomplete(), std::vector<int>{3});
  EXPECT_EQ(logic().model().doc_index, 2);
}

TEST_F(RetrievalRequest, CachesAreMarkedOnlyAfterTheWalkSucceeded) {
  reg.add(1, 2, "<DAT DI=\"2\"><C T=\"0\"><E N=\"1\" NO=\"2\" NS=\"abc\"/></C></DAT><MAC DI=\"2\" NT=\"1\">AB</MAC>");
  ask(1, 3);
  EXPECT_EQ(view.lines.back(), request_texts::failure_try_other());
  for (int n : {1, 2, 3}) EXPECT_FALSE(logic().fetched_docs().contains(n)) << n;

  reg.add(1, 2, receipt_xml(2));
  reg.a7_calls.clear();
  ask(1, 3);
  EXPECT_EQ(numbers_asked(), (std::vector<int>{1, 2, 3}));
  for (int n : {1, 2, 3}) EXPECT_TRUE(logic().fetched_docs().contains(n)) << n;
}

TEST_F(RetrievalRequest, EmptyingTheModelEmptiesTheCaches) {
  ask(1, 3);
  logic().empty_model();
  EXPECT_EQ(logic().model().doc_index, 0);
  EXPECT_FALSE(logic().fetched_docs().has_entries());
  EXPECT_FALSE(logic().z_doc_map().has_entries());
  reg.a7_calls.clear();
  ask(1, 3);
  EXPECT_EQ(numbers_asked(), (std::vector<int>{1, 2, 3}));
}

TEST_F(RetrievalRequest, PacketModeCoveredRangeSendsNothing) {
  packet = true;
  ask(1, 10);
  ASSERT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{1, 10}}));
  EXPECT_EQ(logic().model().doc_index, 10);
  EXPECT_TRUE(logic().record_range());
  EXPECT_TRUE(logic().fetched_ranges().covers(1, 10));

  ask(5, 8);
  EXPECT_EQ(link.ranges_asked.size(), 1u);
  EXPECT_TRUE(logic().range_covered());
  EXPECT_FALSE(logic().record_range());
  EXPECT_EQ(logic().xml_lines().size(), 3u);
  EXPECT_EQ(logic().model().doc_index, 10);  // no walk
  EXPECT_FALSE(view.lines.empty());
}

TEST_F(RetrievalRequest, PacketModeAsksOnlyTheUncoveredParts) {
  packet = true;
  ask(1, 3);
  ask(7, 9);
  link.ranges_asked.clear();
  ask(2, 12);
  EXPECT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{4, 6}, {10, 12}}));
  EXPECT_EQ(logic().model().doc_index, 12);  // every number once
  EXPECT_EQ(logic().fetched_ranges().count(), 1);
  EXPECT_EQ(logic().fetched_ranges().at(1), (number_range{1, 12}));

  // One stored range that overlaps: only the part outside it.
  logic().empty_model();
  link.ranges_asked.clear();
  ask(1, 5);
  ask(3, 8);
  EXPECT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{1, 5}, {6, 8}}));
  EXPECT_EQ(logic().model().doc_index, 8);
}

TEST_F(RetrievalRequest, PacketWithBadCrcDropsItsDocumentAndIsAskedAgain) {
  packet = true;
  link.bad_crc_document = 5;
  ask(1, 10);
  EXPECT_EQ(logic().model().doc_index, 9);
  EXPECT_EQ(logic().incomplete(), std::vector<int>{5});
  EXPECT_EQ(view.lines.back(), request_texts::incomplete_documents() + "5");
  EXPECT_FALSE(logic().fetched_ranges().covers(1, 10));
  EXPECT_FALSE(logic().fetched_ranges().covers(5, 5));
  EXPECT_TRUE(logic().fetched_ranges().covers(6, 10));

  link.bad_crc_document.reset();
  link.ranges_asked.clear();
  ask(1, 10);
  EXPECT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{5, 5}}));
  EXPECT_EQ(logic().model().doc_index, 10);
  EXPECT_TRUE(logic().incomplete().empty());
}

TEST_F(RetrievalRequest, PacketStreamStoppingInsideADocumentLosesOnlyIt) {
  packet = true;
  link.stop_in_document = 4;
  ask(1, 10);
  EXPECT_EQ(logic().model().doc_index, 3);
  EXPECT_EQ(logic().incomplete(), std::vector<int>{4});
  EXPECT_TRUE(logic().fetched_ranges().covers(1, 3));
  EXPECT_FALSE(logic().fetched_ranges().covers(4, 4));
}

TEST_F(RetrievalRequest, ZReportAndDocumentRangesAreKeptApart) {
  packet = true;
  link.add(0, 1, z_report_xml(13, 1));
  ask(1, 1, 0);
  link.ranges_asked.clear();
  ask(1, 1, 1);
  EXPECT_EQ(link.ranges_asked, (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST_F(RetrievalRequest, ComboBoxFillsTheNumbersFromTheModel) {
  logic().choose_document_type();
  EXPECT_EQ(view.first, "0");
  EXPECT_EQ(view.last, "0");
  ask(2, 5);
  view.type = 1;
  logic().choose_document_type();
  EXPECT_EQ(view.first, "2");
  EXPECT_EQ(view.last, "5");
}

TEST_F(RetrievalRequest, ByDatesChecksTheDatesAndSendsTheTexts) {
  view.start_date = "15.03.16";
  view.end_date = "14.03.16";
  logic().fetch_by_period();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, request_texts::end_before_start());
  EXPECT_TRUE(reg.period_calls.empty());

  view.start_date = "01.03.16";
  view.end_date = "01.03.16";
  view.start_time = "10:00";
  view.end_time = " 9:05";
  reg.period_replies.push_back(reply_record(2, {"2", "4"}));
  view.first = "2";
  view.last = "4";
  logic().fetch_by_period();
  ASSERT_EQ(reg.period_calls.size(), 1u);
  EXPECT_EQ(reg.period_calls[0], (std::vector<std::string>{"418257", "010316", "1000", "010316", "0905"}));
  EXPECT_EQ(numbers_asked(), (std::vector<int>{2, 3, 4}));
  for (const auto& c : reg.a7_calls) EXPECT_EQ(c.kind, 1);
  EXPECT_EQ(logic().model().doc_index, 3);
}

TEST_F(RetrievalRequest, ByDatesRegisterErrorLines) {
  struct Case {
    protocol p;
    std::optional<RetData> reply;
    std::vector<std::string> lines;
  } cases[] = {
      {protocol::kelvora, reply_record(0, {}, "0CD0"),
       {request_texts::register_error_line() + "0CD0 !", request_texts::contact_acquirer()}},
      {protocol::kelvora, reply_record(2, {"1", "2"}, "0A01"), {request_texts::register_error_line() + "0A01 !"}},
      {protocol::kelvora, reply_record(1, {"1"}, "0000"), {request_texts::register_error_line() + "0000 !"}},
      {protocol::datecs, std::nullopt,
       {request_texts::register_error_line() + text::utf8_to_cp1251("Таймаут") + " !"}},
      {protocol::datecs, reply_record(0, {}, "", 1u << 5),
       {request_texts::register_error_line() +
        text::utf8_to_cp1251("Команда не разрешена - Возможен запрос несуществующего номера чека") + " !"}},
      // A broken frame (its LEN one short) still splits into two fields, the
      // last one cut: its numbers are not asked.
      {protocol::datecs, reply_record(2, {"19", "2"}, "", result_flag::checksum_mismatch),
       {request_texts::register_error_line() + text::utf8_to_cp1251("Ошибка протокола") + " !"}},
      {protocol::datecs, reply_record(2, {"19", "22"}, "", result_flag::refused),
       {request_texts::register_error_line() + text::utf8_to_cp1251("Ошибка приема команды") + " !"}},
  };
  for (const auto& c : cases) {
    proto = c.p;
    view.lines = {"old"};
    reg.period_replies.push_back(c.reply);
    logic().fetch_by_period();
    EXPECT_EQ(view.lines, c.lines);
    EXPECT_EQ(logic().outcome(), request_outcome::register_error);
    EXPECT_TRUE(reg.a7_calls.empty());
  }
}

TEST_F(RetrievalRequest, ByDatesWithAHalfTypedFieldAppendsTheTwoLines) {
  ask(1, 1);
  auto expected = view.lines;
  expected.push_back(request_texts::failure_structure());
  expected.push_back(request_texts::failure_try_other());
  view.end_time = "  :  ";
  logic().fetch_by_period();
  EXPECT_EQ(view.lines, expected);
  EXPECT_TRUE(reg.period_calls.empty());
}

TEST_F(RetrievalRequest, NumberLookUp) {
  struct Case {
    protocol p;
    std::vector<std::optional<RetData>> replies;
    bool stale;
    const char *first, *last;
    std::size_t boxes, commands;
  } cases[] = {
      {protocol::datecs, {reply_record(2, {"15", "40"})}, false, "15", "40", 0, 1},
      {protocol::datecs, {reply_record(1, {"15"})}, false, "1", "1", 0, 1},
      {protocol::datecs, {std::nullopt}, false, "1", "1", 0, 1},
      {protocol::datecs, {reply_record(2, {"15", "4"}, "", result_flag::checksum_mismatch)}, false, "1", "1", 0, 1},
      {protocol::kelvora, {reply_record(2, {"3", "9"}, "0000")}, false, "3", "9", 0, 1},
      {protocol::kelvora, {reply_record(2, {"3", "9"}, "0CD0")}, false, "1", "1", 1, 1},
      {protocol::kelvora, {reply_record(2, {"3", "9"}), reply_record(2, {"4", "8"})}, true, "4", "8", 0, 2},
  };
  for (const auto& c : cases) {
    proto = c.p;
    reg.stale = c.stale;
    reg.period_calls.clear();
    messages.shown.clear();
    view.buttons_enabled = false;
    for (const auto& r : c.replies) reg.period_replies.push_back(r);
    logic().look_up_period_numbers();
    EXPECT_EQ(view.first, c.first);
    EXPECT_EQ(view.last, c.last);
    EXPECT_EQ(logic().model().check_no_min, std::stoi(c.first));
    EXPECT_EQ(logic().model().check_no_max, std::stoi(c.last));
    EXPECT_TRUE(view.buttons_enabled);
    EXPECT_EQ(reg.period_calls.size(), c.commands);
    ASSERT_EQ(messages.shown.size(), c.boxes);
    if (c.boxes) {
      EXPECT_EQ(messages.shown[0].first, request_texts::register_error_box() + "0CD0");
      EXPECT_EQ(messages.shown[0].second, "Error");
    }
  }
}

TEST_F(RetrievalRequest, PrintAsksAndTranslatesZReportNumbers) {
  messages.answer = false;
  view.first = "5";
  view.last = "9";
  logic().print_range();
  EXPECT_EQ(messages.asked, std::vector<std::string>{request_texts::print_question()});
  EXPECT_TRUE(reg.print_calls.empty());

  messages.answer = true;
  view.type = 1;
  logic().print_range();
  ASSERT_EQ(reg.print_calls.size(), 1u);
  EXPECT_EQ(reg.print_calls[0].first, 5);
  EXPECT_EQ(reg.print_calls[0].last, 9);

  view.type = 0;  // before any Z-report was rendered: the typed numbers
  logic().print_range();
  EXPECT_EQ(reg.print_calls[1].first, 5);

  ask(1, 2, 0);  // renders Z-reports 1 and 2, filling z_doc_map
  ASSERT_TRUE(logic().z_doc_map().has_entries());
  view.first = "0";
  view.last = "77";
  logic().print_range();
  EXPECT_EQ(reg.print_calls[2].first, logic().z_doc_map().get(0));
  EXPECT_EQ(reg.print_calls[2].last, 0);  // a number the map does not hold

  view.first = "x";
  logic().print_range();
  EXPECT_EQ(reg.print_calls.size(), 3u);  // a number that is not an integer sends nothing
}

}  // namespace
}  // namespace ejscope
