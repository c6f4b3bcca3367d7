#include <gtest/gtest.h>

#include <vector>

#include "tape/tape_walker.h"
#include "walk_fixture.h"

using namespace ejscope;
using ejscope::testing::tape;
using ejscope::testing::walked;

namespace {

std::vector<float> keys(rq& store) {
  std::vector<float> out;
  for (int k = 0; k < store.doc_index; ++k) out.push_back(store.dats[k].DI);
  return out;
}

}  // namespace

TEST(DocumentSort, OrdersHeldSlotsByDi) {
  struct Case {
    const char* documents;
    std::vector<float> sorted;
  } cases[] = {
      {R"(<DAT DI="30"/><MAC/><DAT DI="10"/><MAC/><DAT DI="20"/><MAC/>)", {10, 20, 30}},
      {R"(<DAT DI="2"/><MAC/>)", {2}},
      {"", {}},
      {R"(<DAT DI="5.5"/><MAC/><DAT DI="-1"/><MAC/><DAT DI="5.25"/><MAC/><DAT DI="0"/><MAC/>)", {-1, 0, 5.25, 5.5}},
  };
  for (const auto& c : cases) {
    rq store = walked(tape(c.documents));
    sort_documents(store);
    EXPECT_EQ(keys(store), c.sorted) << c.documents;
  }
}

TEST(DocumentSort, MovesWholeDocumentsAndLeavesMacs) {
  rq store = walked(tape(R"(<DAT DI="30" FN="c"><C><P N="1" NM="third"/></C><TS>3</TS></DAT><MAC DI="30"/>)"
                         R"(<DAT DI="10" FN="a"><Z NO="7"/><TS>1</TS></DAT><MAC DI="10"/>)"));
  sort_documents(store);
  EXPECT_EQ(store.dats[0].FN, "a");
  EXPECT_FALSE(store.dats[0].is_check);
  EXPECT_EQ(store.dats[0].zvits[0].NO, 7);
  EXPECT_EQ(store.dats[1].checks[0].p_lines[0].NM, "third");
  EXPECT_EQ(store.macs[1].DI, 30);
  EXPECT_EQ(store.macs[2].DI, 10);
}

TEST(DocumentSort, ASecondRequestSortsEverythingHeld) {
  control walk;
  rq store;
  walk_tape(walk, store, tape(R"(<DAT DI="40"/><MAC/><DAT DI="20"/><MAC/>)"));
  sort_documents(store);
  walk_tape(walk, store, tape(R"(<DAT DI="30"/><MAC/><DAT DI="10"/><MAC/>)"));
  EXPECT_EQ(keys(store), (std::vector<float>{20, 40, 30, 10}));
  sort_documents(store);
  EXPECT_EQ(keys(store), (std::vector<float>{10, 20, 30, 40}));
}

// A document without its MAC (or a slot made by creating access) is not one
// of the held documents: the sort neither drops it into a held slot nor
// loses a held document to it.
TEST(DocumentSort, TrailingDocumentWithoutMacStaysOut) {
  rq store = walked(tape(R"(<DAT DI="20" FN="b"/><MAC/><DAT DI="10" FN="a"/><MAC/><DAT DI="1" FN="trailing"><C><P N="1"/></C></DAT>)"));
  EXPECT_EQ(store.doc_index, 2);
  store.dats[5];  // a slot created by a reader's creating access
  sort_documents(store);
  EXPECT_EQ(store.dats[0].FN, "a");
  EXPECT_EQ(store.dats[1].FN, "b");
  EXPECT_EQ(store.dats[2].FN, "trailing");
  EXPECT_EQ(store.dats[5].FN, "");
  EXPECT_EQ(store.dats.size(), 4u);
}

// A MAC closes the element it ends against its own document, so tapes whose
// documents do not end with TS keep their totals and grow no phantom slot.
TEST(MacClosing, DocumentsWithoutTsKeepTheirCounts) {
  struct Case {
    const char* documents;
  } cases[] = {
      {R"(<DAT DI="2"><C><P N="1"/><E N="2" NO="5"/></C></DAT><MAC/><DAT DI="1"><C><P N="1"/><E N="2" NO="6"/></C></DAT><MAC/>)"},
      {R"(<DAT DI="2"><TS>1</TS><C><P N="1"/><E N="2" NO="5"/></C></DAT><MAC/><DAT DI="1"><TS>2</TS><C><P N="1"/><E N="2" NO="6"/></C></DAT><MAC/>)"},
      {R"(<DAT DI="2"><C><P N="1"/><E N="2" NO="5"/></C><TS>1</TS></DAT><MAC/><DAT DI="1"><C><P N="1"/><E N="2" NO="6"/></C><TS>2</TS></DAT><MAC/>)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.documents);
    rq store = walked(tape(c.documents));
    EXPECT_EQ(store.doc_index, 2);
    EXPECT_EQ(store.dats.size(), 2u);
    for (int k = 0; k < 2; ++k) {
      check& r = store.dats[k].checks[0];
      EXPECT_EQ(r.p_count, 1) << k;
      EXPECT_EQ(r.e_count, 1) << k;
      EXPECT_EQ(r.line_no, 3) << k;
    }
    sort_documents(store);
    EXPECT_EQ(store.dats[0].checks[0].end.NO, 6);
    EXPECT_EQ(store.dats[1].checks[0].end.NO, 5);
    EXPECT_EQ(store.dats.size(), 2u);
  }
}

TEST(MacClosing, ZReportTotalsStayWithTheirReport) {
  rq store = walked(tape(R"(<DAT><Z NO="1"><TXS TX="1"/><NC NI="3"/></Z></DAT><MAC DI="9"/>)"
                         R"(<DAT><Z NO="2"><NC NI="4"/></Z></DAT><MAC/>)"));
  EXPECT_EQ(store.dats[0].zvits[0].nc_count, 1);
  EXPECT_EQ(store.dats[1].zvits[0].nc_count, 1);
  EXPECT_EQ(store.dats[1].zvits[0].txs_count, 0);
  EXPECT_EQ(store.macs[1].DI, 9);
  EXPECT_EQ(store.dats.size(), 2u);
}
