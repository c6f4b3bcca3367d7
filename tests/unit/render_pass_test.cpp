// The rendering pass: position look-up, dispatch by document type, order,
// header block, and the guard that logs a failing document and goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "render/render_error.h"
#include "render/render_pass.h"
#include "render_support.h"

namespace ejscope {
namespace {

using render_testing::add_end;
using render_testing::add_line;
using render_testing::file_bytes;
using render_testing::receipt_document;
using render_testing::scratch_folder;
using render_testing::utf8_lines;
using render_testing::w;
using render_testing::z_document;

const std::string tn_prefix = std::string(11, ' ') + "doc:";

dat receipt_no(int no, float T = 0) {
  dat d = receipt_document(T);
  d.TN = "doc:R" + std::to_string(no);
  add_end(d.checks[0]).NO = static_cast<float>(no);
  d.checks[0].end.VD = 1;  // no totals: the tests look at which documents are rendered
  return d;
}

dat z_no(int no) {
  dat d = z_document(static_cast<float>(no));
  d.TN = "doc:Z" + std::to_string(no);
  return d;
}

rq store_of(std::vector<dat> documents) {
  rq store;
  for (std::size_t s = 0; s < documents.size(); ++s) {
    documents[s].DI = static_cast<float>(100 + s);
    store.dats[static_cast<int>(s)] = documents[s];
  }
  store.doc_index = static_cast<int>(documents.size());
  return store;
}

struct pass_result {
  std::vector<std::string> documents;  // the taxpayer texts of the rendered documents, in order
  std::vector<std::string> lines;      // UTF-8
  int failed = 0;
};

pass_result run(const rq& store, int type, const std::string& first, const std::string& last,
                render_settings settings = {}) {
  sootv z_doc_map, fetched_z;
  settings.document_type = type;
  std::vector<std::string> display;
  pass_result result;
  result.failed = render_documents(store, settings, first, last, z_doc_map, fetched_z, display);
  result.lines = utf8_lines(display);
  for (const auto& line : result.lines) {
    if (line.rfind(tn_prefix, 0) == 0) result.documents.push_back(line.substr(tn_prefix.size()));
  }
  return result;
}

using names = std::vector<std::string>;

TEST(RenderPass, PositionsReceiptsByTheirNumbers) {
  struct range_case {
    std::vector<int> numbers;
    std::string first, last;
    names expected;
  };
  const std::vector<range_case> cases = {
      {{5, 6, 7}, "6", "7", {"R6", "R7"}},
      {{5, 6, 7}, "3", "6", {"R5", "R6"}},
      {{5, 6, 7}, "9", "9", {"R7"}},
      {{5, 6, 7}, "9", "3", {}},
      {{5, 6, 7}, "5", "7", {"R5", "R6", "R7"}},
      {{5, 8}, "6", "8", {"R5", "R8"}},  // a first number between two receipts starts at the smaller
      {{5, 6, 7}, "-2147483648", "2147483647", {"R5", "R6", "R7"}},
  };
  for (const auto& c : cases) {
    std::vector<dat> documents;
    for (int no : c.numbers) documents.push_back(receipt_no(no));
    EXPECT_EQ(run(store_of(documents), document_types::check, c.first, c.last).documents, c.expected)
        << c.first << ".." << c.last;
  }
  const rq store = store_of({receipt_no(5), receipt_no(6), receipt_no(7)});
  EXPECT_EQ(find_position(store, document_types::check, 9, position_side::first), 2);
  EXPECT_EQ(find_position(store, document_types::check, 3, position_side::last), 0);
  EXPECT_EQ(find_position(store, document_types::check, 6, position_side::first), 1);
}

TEST(RenderPass, FindsZReportsByTheirOwnNumbers) {
  const rq only_z = store_of({z_no(4), z_no(5), z_no(6)});
  struct range_case {
    int type;
    std::string first, last;
    names expected;
  };
  const std::vector<range_case> cases = {
      {document_types::z_report, "5", "6", {"Z5", "Z6"}},
      {document_types::z_report, "5", "5", {"Z5"}},
      {document_types::z_report, "1", "9", {"Z4", "Z5", "Z6"}},
      {document_types::z_report, "7", "9", {"Z6"}},
      // The other types position receipts only: with none, both positions are slot 0.
      {document_types::check_and_z, "5", "6", {"Z4"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(only_z, c.type, c.first, c.last).documents, c.expected) << c.type << ": " << c.first << ".." << c.last;
  }
}

TEST(RenderPass, OnAMixedTapeEachTypeKeepsItsOwnPositions) {
  const rq mixed = store_of({receipt_no(1), receipt_no(2), z_no(1), receipt_no(3), z_no(2), receipt_no(4)});
  struct range_case {
    int type;
    std::string first, last;
    names expected;
  };
  const std::vector<range_case> cases = {
      {document_types::check_and_z, "2", "3", {"R2", "Z1", "R3"}},
      {document_types::check_and_z, "1", "4", {"R1", "R2", "Z1", "R3", "Z2", "R4"}},
      {document_types::check, "1", "4", {"R1", "R2", "R3", "R4"}},
      {document_types::z_report, "1", "2", {"Z1", "Z2"}},
      {document_types::z_report, "2", "2", {"Z2"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(mixed, c.type, c.first, c.last).documents, c.expected) << c.type << ": " << c.first << ".." << c.last;
  }
  // The look-up reads no correspondence map: only the reports shown leave entries.
  sootv z_doc_map, fetched_z;
  std::vector<std::string> display;
  render_settings settings;
  settings.document_type = document_types::check_and_z;
  render_documents(mixed, settings, "2", "3", z_doc_map, fetched_z, display);
  EXPECT_EQ(z_doc_map.get(2), 1);  // Z1 shown at pass counter 2 (slot 1 is the first rendered)
  EXPECT_EQ(z_doc_map.smallest_key_of(0), -1);
  EXPECT_EQ(fetched_z.get(1), 1);
}

TEST(RenderPass, DispatchesEachDocumentByTheType) {
  const rq store = store_of({receipt_no(1), z_no(1), receipt_no(2, 2)});
  // For each rendered document: its taxpayer text and the line after its serial line.
  auto shown = [&](int type, const std::string& first, const std::string& last) {
    const auto result = run(store, type, first, last);
    names out;
    for (std::size_t i = 0; i + 2 < result.lines.size(); ++i) {
      if (result.lines[i].rfind(tn_prefix, 0) == 0) {
        out.push_back(result.lines[i].substr(tn_prefix.size()) + "|" + result.lines[i + 2]);
      }
    }
    return out;
  };
  const std::string sale = "         Оля Каса05";
  const std::string service = "            Каса00";
  const std::string z = "           Z-звіт N 1";
  EXPECT_EQ(shown(document_types::z_report, "0", "9"), (names{"Z1|" + z}));
  EXPECT_EQ(shown(document_types::check, "1", "2"), (names{"R1|" + sale, "R2|" + sale}));
  EXPECT_EQ(shown(document_types::check_and_z, "1", "2"), (names{"R1|" + sale, "Z1|" + z, "R2|" + sale}));
  EXPECT_EQ(shown(document_types::cash_in_out, "1", "2"), (names{"R2|" + service}));
  EXPECT_EQ(shown(7, "1", "2"), names{});
}

TEST(RenderPass, WalksUnsortedSlotsInKeyOrderFromTheFirstPosition) {
  rq store = store_of({receipt_no(1), receipt_no(2), receipt_no(3)});
  store.dats[0].DI = 30;
  store.dats[1].DI = 10;
  store.dats[2].DI = 20;
  // Slot 0 is last in DI order: the pass starts there and the list ends.
  EXPECT_EQ(run(store, document_types::check, "1", "3").documents, names{"R1"});
  EXPECT_EQ(run(store, document_types::check, "2", "3").documents, (names{"R2", "R3"}));
  const auto order = build_doc_order(store);
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{0, 30}, {1, 10}, {2, 20}}));
}

TEST(RenderPass, AnEmptyStoreGivesTheNoDataLine) {
  rq store;
  const auto result = run(store, document_types::check, "1", "9");
  EXPECT_EQ(result.lines, names{"Запрашиваемые данные отсутствуют!"});
}

TEST(RenderPass, ANumberTextThatIsNotAnIntegerRaisesBeforeAnyLine) {
  const rq store = store_of({receipt_no(1)});
  for (const auto& [first, last] : std::vector<std::pair<std::string, std::string>>{{"x", "1"}, {"1", ""}, {"1.5", "2"}}) {
    sootv z_doc_map, fetched_z;
    std::vector<std::string> display;
    EXPECT_THROW(render_documents(store, {}, first, last, z_doc_map, fetched_z, display), render_error);
    EXPECT_TRUE(display.empty());
  }
}

TEST(RenderPass, LogsAFailingDocumentKeepsItsLinesAndGoesOn) {
  scratch_folder folder;
  dat bad_tax = receipt_no(1);
  check& r = bad_tax.checks[0];
  add_line(r, r.l_lines, r.l_count, line_kinds::L, sale_comment{2, "partial"});
  add_line(r, r.p_lines, r.p_count, line_kinds::P, sale{3, "", "", "X", 100, 0, 0, ""});
  dat too_wide = receipt_no(2);
  too_wide.checks[0].ON = std::string(40, 'o');
  add_line(too_wide.checks[0], too_wide.checks[0].i_lines, too_wide.checks[0].i_count, line_kinds::I,
           sale_in_out{2, 0, "", 1e38f});
  const rq store = store_of({bad_tax, too_wide, receipt_no(3)});

  render_settings settings;
  settings.error_log_path = folder.file("error.log");
  const auto result = run(store, document_types::check, "1", "3", settings);
  EXPECT_EQ(result.failed, 2);
  EXPECT_EQ(result.documents, (names{"R1", "R2", "R3"}));
  EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), "  partial"), result.lines.end());
  EXPECT_EQ(file_bytes(settings.error_log_path), "Range check error\r\n");

  // A log that cannot be written changes nothing else.
  const std::vector<std::string> unwritable_logs = {folder.file("missing/error.log"), folder.path().string()};
  for (const auto& unwritable : unwritable_logs) {
    settings.error_log_path = unwritable;
    const auto again = run(store, document_types::check, "1", "3", settings);
    EXPECT_EQ(again.failed, 2);
    EXPECT_EQ(again.lines, result.lines);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

TEST(RenderPass, TheDefaultErrorLogLiesInTheWorkingFolder) {
  scratch_folder folder;
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  dat bad = receipt_no(1);
  bad.checks[0].end.VD = 0;
  bad.checks[0].end.TX = "";
  run(store_of({bad}), document_types::check, "1", "1");
  std::filesystem::current_path(before);
  EXPECT_EQ(file_bytes(folder.file("error.log")), "'' is not a valid integer value\r\n");
}

TEST(RenderPass, OpensEveryDocumentWithItsHeaderBlock) {
  dat first = receipt_no(1);
  first.FN = "FIRST";
  dat second = receipt_no(2);
  second.FN = "SECOND";
  const rq store = store_of({first, z_no(1), second});
  struct header_case {
    register_header header;
    names receipt_top;  // the lines before the taxpayer line
    names z_top;
  };
  const std::vector<header_case> cases = {
      {{{w("Один")}, 0}, {"          ДП \"Компанія KORVA\"", "                м.Київ"},
       {"          ДП \"Компанія KORVA\"", "                м.Київ"}},
      {{{w("Один"), w("Два")}, 1}, {"                 Один", "                 Два"}, {"                 Один"}},
      {{{std::string(38, 'a'), std::string(36, 'b'), std::string(37, 'c')}, 2},
       {std::string(38, 'a'), " " + std::string(36, 'b'), std::string(37, 'c')},
       {std::string(38, 'a'), " " + std::string(36, 'b')}},
      // An index past the lines held prints the lines there are.
      {{{w("Один"), w("Два")}, 5}, {"                 Один", "                 Два"},
       {"                 Один", "                 Два"}},
  };
  for (const auto& c : cases) {
    render_settings settings;
    settings.header = c.header;
    const auto lines = run(store, document_types::check_and_z, "1", "9", settings).lines;
    const auto top = names(lines.begin(), lines.begin() + static_cast<long>(c.receipt_top.size()));
    EXPECT_EQ(top, c.receipt_top);
    const auto z_at = std::find(lines.begin(), lines.end(), tn_prefix + "Z1");
    ASSERT_NE(z_at, lines.end());
    EXPECT_EQ(names(z_at - static_cast<long>(c.z_top.size()), z_at), c.z_top);
    // Every serial line shows the FN of the document in slot 0.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "     ЗН ZN0001  ФН FIRST"), 3);
  }
  // The service receipt always prints the fixed lines.
  render_settings settings;
  settings.header = {{w("Один"), w("Два")}, 1};
  const auto service = run(store_of({receipt_no(1, 2)}), document_types::cash_in_out, "1", "1", settings).lines;
  EXPECT_EQ(service[0], "          ДП \"Компанія KORVA\"");
}

}  // namespace
}  // namespace ejscope
