#include <gtest/gtest.h>

#include "tape/tape_walker.h"
#include "walk_fixture.h"

using namespace ejscope;
using ejscope::testing::tape;
using ejscope::testing::walked;

TEST(TapeWalk, OneReceiptFillsSlotCountersAndLineOrder) {
  rq store = walked(tape(R"(<DAT FN="4000123456" TN="1234567890" ZN="AB1" DI="30" DT="0" V="1">)"
                         R"(<C T="0" CN="3" ON="cashier"><P N="1" C="7" NM="Bread" SM="1250" Q="1000" PRC="1250" TX="1"/>)"
                         R"(<E N="2" NO="15" SM="1250"/></C><TS>20160331143005</TS></DAT>)"
                         R"(<MAC DI="30" NT="1">AABB</MAC>)"));
  EXPECT_EQ(store.doc_index, 1);
  EXPECT_EQ(store.V, 1);
  dat& d = store.dats[0];
  EXPECT_TRUE(d.is_check);
  EXPECT_EQ(d.FN, "4000123456");
  EXPECT_EQ(d.TN, "1234567890");
  EXPECT_EQ(d.ZN, "AB1");
  EXPECT_EQ(d.DI, 30);
  EXPECT_EQ(d.TS.text, "20160331143005");
  check& c = d.checks[0];
  EXPECT_EQ(c.CN, 3);
  EXPECT_EQ(c.ON, "cashier");
  EXPECT_EQ(c.p_lines.size(), 1u);
  EXPECT_EQ(c.p_lines[0].NM, "Bread");
  EXPECT_EQ(c.p_lines[0].SM, 1250);
  EXPECT_EQ(c.p_lines[0].Q, 1000);
  EXPECT_EQ(c.end.NO, 15);
  EXPECT_EQ(c.end.N, 2);
  const slot_map<line_ref> order{{1, {line_kinds::P, 0}}, {2, {line_kinds::E, 0}}};
  EXPECT_EQ(c.line_order, order);
  EXPECT_EQ(c.p_count, 1);
  EXPECT_EQ(c.e_count, 1);
  EXPECT_EQ(c.line_no, 3);
  EXPECT_EQ(store.check_no_min, 15);
  EXPECT_EQ(store.check_no_max, 15);
  EXPECT_EQ(store.macs.count(0), 0u);
  EXPECT_EQ(store.macs[1].DI, 30);
  EXPECT_EQ(store.macs[1].NT, 1);
  EXPECT_EQ(store.dats.size(), 1u);
}

TEST(TapeWalk, LineNumbersFollowAppearance) {
  struct Case {
    const char* receipt;
    slot_map<line_ref> order;
    int line_no;
  } cases[] = {
      // An S line keeps its number, the P after it gets the next.
      {R"(<S N="1" TR="0"/><P N="2"/><E N="3"/>)",
       {{1, {line_kinds::S, 0}}, {2, {line_kinds::P, 0}}, {3, {line_kinds::E, 0}}}, 4},
      // A line without N is counted but leaves its number unused.
      {R"(<P N="1"/><P SM="5"/><P N="3"/><E N="4"/>)",
       {{1, {line_kinds::P, 0}}, {3, {line_kinds::P, 2}}, {4, {line_kinds::E, 0}}}, 5},
      // Every kind, each with its own key.
      {R"(<P N="1"/><CP N="2"/><D N="3"/><S N="4"/><M N="5"/><I N="6"/><O N="7"/><L N="8">t</L>)"
       R"(<H N="9">h</H><VD N="10"/><P N="11"/><E N="12"/>)",
       {{1, {1, 0}}, {2, {2, 0}}, {3, {3, 0}}, {4, {4, 0}}, {5, {5, 0}}, {6, {6, 0}}, {7, {7, 0}},
        {8, {8, 0}}, {9, {9, 0}}, {10, {10, 0}}, {11, {1, 1}}, {12, {11, 0}}}, 13},
  };
  for (const auto& c : cases) {
    rq store = walked(tape(std::string("<DAT><C>") + c.receipt + "</C><TS>1</TS></DAT><MAC/>"));
    check& r = store.dats[0].checks[0];
    EXPECT_EQ(r.line_order, c.order) << c.receipt;
    EXPECT_EQ(r.line_no, c.line_no) << c.receipt;
    EXPECT_EQ(total_lines(r), c.line_no - 1) << c.receipt;
  }
}

TEST(TapeWalk, FillsEveryReceiptKind) {
  rq store = walked(tape(
      R"(<DAT><C T="1"><P N="1" CD="482" NM="Milk" TX="2"/><CP N="2" NM="Extra" SM="7"/>)"
      R"(<D N="3" TR="1" TY="2" ST="3" NI="1" TX="1" PR="10" SM="-125"/><S N="4" SM="50"/>)"
      R"(<M N="5" T="0" NM="cash" SM="2000" RM="750" RRN="r1"/><I N="6" T="1" NM="in" SM="100"/>)"
      R"(<O N="7" T="2" NM="out" SM="200"/><L N="8">Thank you</L><H N="9" HP="p" HT="t">svc</H>)"
      R"(<VD N="10" NI="2"/><E N="11" NO="16" SM="1250" SE="5" TX="2" TXPR="20" TXSM="208" DTPR="5")"
      R"( DTSM="50" TXTY="0" TXAL="1" CS="3" VD="1" TS="20160101" FN="99" NS="70000">)"
      R"(<TX TX="1" TXPR="20" TXSM="100" DTPR="5" DTSM="10" TXTY="1" TXAL="0"/><TX TX="2"/></E>)"
      R"(</C><TS>20160101120000</TS></DAT><MAC/>)"));
  check& c = store.dats[0].checks[0];
  EXPECT_EQ(c.T, 1);
  EXPECT_EQ(c.p_lines[0].CD, "482");
  EXPECT_EQ(c.p_lines[0].TX, "2");
  EXPECT_EQ(c.cp_lines[0].SM, 7);
  EXPECT_EQ(c.d_lines[0].N, 3);
  EXPECT_EQ(c.d_lines[0].TY, 2);
  EXPECT_EQ(c.d_lines[0].SM, -125);
  EXPECT_EQ(c.d_lines[0].TX, "1");
  EXPECT_EQ(c.s_lines[0].SM, 50);
  EXPECT_EQ(c.m_lines[0].RM, 750);
  EXPECT_EQ(c.m_lines[0].RRN, "r1");
  EXPECT_EQ(c.i_lines[0].NM, "in");
  EXPECT_EQ(c.o_lines[0].SM, 200);
  EXPECT_EQ(c.l_lines[0].text, "Thank you");
  EXPECT_EQ(c.h_lines[0].text, "svc");
  EXPECT_EQ(c.h_lines[0].HP, "p");
  EXPECT_EQ(c.h_lines[0].HT, "t");
  EXPECT_EQ(c.cancel.NI, 2);
  EXPECT_EQ(c.vd_count, 1);
  EXPECT_EQ(c.end.SE, 5);
  EXPECT_EQ(c.end.TX, "2");
  EXPECT_EQ(c.end.VD, 1);
  EXPECT_EQ(c.end.TS, "20160101");
  EXPECT_EQ(c.end.FN, "99");
  EXPECT_EQ(c.end.NS, 4464);
  EXPECT_TRUE(c.end.has_tx);
  EXPECT_EQ(c.end.tx_count, 2);  // the second TX is closed by the TS that follows
  EXPECT_EQ(c.end.tx_lines[0].TXSM, 100);
  EXPECT_EQ(c.end.tx_lines[0].TXTY, 1);
  EXPECT_EQ(c.end.tx_lines[1].TX, "2");
  // The TX elements do not advance the receipt's lines: E was closed by the first TX.
  EXPECT_EQ(c.e_count, 1);
  EXPECT_EQ(c.line_no, 12);
}

TEST(TapeWalk, ZReportReadsMAsZM) {
  rq store = walked(tape(
      R"(<DAT><Z NO="42"><M T="0" NM="cash" SMI="100" SMO="5"/><TXS TX="1" TS="20160101" TXPR="20" SMI="9"/>)"
      R"(<M T="1" SMI="3"/><IO T="0" NM="io" SMI="1" SMO="2" SMT="3"/><NC NI="4" NO="5"/></Z><TS>2</TS></DAT><MAC/>)"));
  dat& d = store.dats[0];
  EXPECT_FALSE(d.is_check);
  zvit& z = d.zvits[0];
  EXPECT_EQ(z.NO, 42);
  EXPECT_EQ(store.z_no_min, 42);
  EXPECT_EQ(store.z_no_max, 42);
  EXPECT_TRUE(z.has_z_m && z.has_txs && z.has_io && z.has_nc);
  EXPECT_EQ(z.z_m_count, 2);
  EXPECT_EQ(z.txs_count, 1);
  EXPECT_EQ(z.io_count, 1);
  EXPECT_EQ(z.nc_count, 1);
  EXPECT_EQ(z.z_m_lines[0].NM, "cash");
  EXPECT_EQ(z.z_m_lines[1].SMI, 3);
  EXPECT_EQ(z.txs_lines[0].TS, "20160101");
  EXPECT_EQ(z.io_lines[0].SMT, 3);
  EXPECT_EQ(z.nc_lines[0].NO, 5);
  EXPECT_TRUE(d.checks.empty());
}

TEST(TapeWalk, MAfterAnEndIsAPayment) {
  rq store = walked(tape(R"(<DAT><C><E N="1"/><M N="2" SM="5"/></C><TS>1</TS></DAT><MAC/>)"));
  check& c = store.dats[0].checks[0];
  EXPECT_EQ(c.m_count, 1);
  EXPECT_EQ(c.m_lines[0].SM, 5);
  EXPECT_TRUE(store.dats[0].zvits.empty());
}

TEST(TapeWalk, TwoDatWithoutMacShareOneSlot) {
  rq store = walked(tape(R"(<DAT FN="1" DI="5"><C><P N="1" NM="a"/></C><TS>1</TS></DAT>)"
                         R"(<DAT FN="2" DI="6"><C><P N="1" NM="b"/></C><TS>2</TS></DAT><MAC/>)"));
  EXPECT_EQ(store.doc_index, 1);
  dat& d = store.dats[0];
  EXPECT_EQ(d.FN, "2");
  EXPECT_EQ(d.DI, 6);
  EXPECT_EQ(d.TS.text, "2");
  check& c = d.checks[0];
  EXPECT_EQ(c.p_count, 2);
  EXPECT_EQ(c.p_lines[0].NM, "a");
  EXPECT_EQ(c.p_lines[1].NM, "b");
  const slot_map<line_ref> order{{1, {line_kinds::P, 0}}, {2, {line_kinds::P, 1}}};
  EXPECT_EQ(c.line_order, order);
}

TEST(TapeWalk, TextValuesAndTheOnRule) {
  struct Case {
    const char* receipt;
    std::string on;
    int cn;
    std::string nm;
  } cases[] = {
      {R"(<C ON="" CN="x1"><P N="1" NM=""/></C>)", "       ", 0, ""},
      {R"(<C ON="Іван" CN=" 12 "><P N="1" NM="Хліб &amp; сіль"/></C>)", "Іван", 12, "Хліб & сіль"},
      {R"(<C CN="99999999999"><P NM=" a "/></C>)", "", 0, " a "},
  };
  for (const auto& c : cases) {
    rq store = walked(tape(std::string("<DAT>") + c.receipt + "<TS></TS></DAT><MAC/>"));
    check& r = store.dats[0].checks[0];
    EXPECT_EQ(r.ON, c.on) << c.receipt;
    EXPECT_EQ(r.CN, c.cn) << c.receipt;
    EXPECT_EQ(r.p_lines[0].NM, c.nm) << c.receipt;
  }
}

TEST(TapeWalk, ElementTextsIncludingCdataAndEmpty) {
  rq store = walked(tape(R"(<DAT><C><L N="1"><![CDATA[<b> & co]]></L><L N="2"><![CDATA[]]></L>)"
                         R"(<H N="3">  x  </H><E N="4"/></C><TS TS="attr">20160101</TS></DAT><MAC/>)"));
  check& c = store.dats[0].checks[0];
  EXPECT_EQ(c.l_lines[0].text, "<b> & co");
  EXPECT_EQ(c.l_lines[1].text, "");
  EXPECT_EQ(c.h_lines[0].text, "  x  ");
  // The TS attribute is read after the element's text and replaces it.
  EXPECT_EQ(store.dats[0].TS.text, "attr");
}

TEST(TapeWalk, KeepsWindows1251Bytes) {
  std::string name = "\xd5\xeb\xb3\xe1";  // "Хліб" in windows-1251
  rq store = walked(tape("<DAT><C><P N=\"1\" NM=\"" + name + "\"/></C><TS>1</TS></DAT><MAC/>"));
  EXPECT_EQ(store.dats[0].checks[0].p_lines[0].NM, name);
}

TEST(TapeWalk, TextOfOtherElementsIsNotKept) {
  rq store = walked(tape(R"(<DAT><C><P N="1">12</P><E N="2">3</E></C><TS>1</TS></DAT><MAC>abc</MAC>)"));
  EXPECT_EQ(store.dats[0].checks[0].p_lines[0].N, 1);
  EXPECT_EQ(store.doc_index, 1);
}

TEST(TapeWalk, CurrentFollowsDocumentOrderNotNesting) {
  // After the Z ends, the TS is met with current = NC; an M inside a later
  // receipt element is still read by the code most recently started.
  rq store = walked(tape(R"(<DAT><Z NO="1"><NC NI="1"/></Z><M T="5" SMI="2"/><TS>1</TS></DAT><MAC/>)"));
  zvit& z = store.dats[0].zvits[0];
  EXPECT_EQ(z.z_m_count, 1);
  EXPECT_EQ(z.z_m_lines[0].T, 5);
  EXPECT_EQ(z.nc_count, 1);
}

TEST(TapeWalk, RootAttributesUseTheRqTableWhateverItsName) {
  rq store = walked(R"(<TAPE V="3" DI="x"><DAT DI="2"/><MAC/></TAPE>)");
  EXPECT_EQ(store.V, 3);
  EXPECT_EQ(store.doc_index, 1);
  EXPECT_EQ(store.dats[0].DI, 2);
}

TEST(TapeWalk, LaterRequestsFileAfterTheHeldDocuments) {
  control walk;
  rq store;
  walk_tape(walk, store, tape(R"(<DAT DI="1"/><MAC/><DAT DI="2"/><MAC/>)"));
  walk.current = tag_codes::NC;  // a new request starts from 0 again
  walk_tape(walk, store, std::vector<std::string>{"<RQ V=\"1\">", "<DAT DI=\"3\"><Z NO=\"4\"><M T=\"1\"/></Z></DAT>",
                                                  "<MAC/>", "</RQ>"});
  EXPECT_EQ(store.doc_index, 3);
  EXPECT_EQ(store.dats[2].DI, 3);
  EXPECT_EQ(store.dats[2].zvits[0].z_m_count, 1);
  EXPECT_EQ(store.dats[2].zvits[0].nc_count, 0);
}

TEST(TapeWalk, FillsItsSlotsWhenReadersCreatedLaterOnes) {
  control walk;
  rq store;
  walk_tape(walk, store, tape(R"(<DAT DI="1"/><MAC/>)"));
  store.dats[4];  // creating access by a reader
  walk_tape(walk, store, tape(R"(<DAT DI="2"><C><P N="1"/></C></DAT><MAC NT="7"/><DAT DI="3"/><MAC/>)"));
  EXPECT_EQ(store.doc_index, 3);
  EXPECT_EQ(store.dats[1].DI, 2);
  EXPECT_EQ(store.dats[1].checks[0].p_count, 1);
  EXPECT_EQ(store.dats[2].DI, 3);
  EXPECT_EQ(store.macs[2].NT, 7);
  EXPECT_EQ(store.dats.size(), 4u);
}
