#include <gtest/gtest.h>

#include "tape/tape_walker.h"
#include "walk_fixture.h"

using namespace ejscope;
using ejscope::testing::tape;
using ejscope::testing::walk_failure;
using ejscope::testing::walked;

TEST(TapeWalkFailure, MessagesNameSlotElementAttributeAndValue) {
  struct Case {
    const char* documents;
    const char* message;
  } cases[] = {
      {R"(<DAT/><MAC/><DAT><C><E N="1" NS="abc"/></C></DAT>)",
       R"(document slot 1, element E, attribute NS, value "abc": not a 32-bit whole number)"},
      {R"(<DAT><C><E NS=""/></C></DAT>)",
       R"(document slot 0, element E, attribute NS, value "": empty whole number)"},
      {R"(<DAT><C><P N="1" SM=""/></C></DAT>)",
       R"(document slot 0, element P, attribute SM, value "": empty number)"},
      {R"(<DAT DI="12,5"/>)",
       R"(document slot 0, element DAT, attribute DI, value "12,5": not a number within the 32-bit float range)"},
      {R"(<DAT><Z><M T="x"/></Z></DAT>)",
       R"(document slot 0, element M, attribute T, value "x": not a number within the 32-bit float range)"},
      {R"(<DAT><C CN=""/></DAT>)",
       R"(document slot 0, element C, attribute CN, value "": empty whole number)"},
      {R"(<DAT/><MAC DI="1e99"/>)",
       R"(document slot 1, element MAC, attribute DI, value "1e99": not a number within the 32-bit float range)"},
  };
  for (const auto& c : cases) EXPECT_EQ(walk_failure(tape(c.documents)), c.message) << c.documents;
}

TEST(TapeWalkFailure, LongAndControlValuesAreShownShort) {
  std::string value(100, '7');
  value[0] = 'x';
  value[1] = '\x01';
  std::string message = walk_failure(tape("<DAT DI=\"" + value + "\"/>"));
  EXPECT_NE(message.find("value \"x?" + std::string(62, '7') + "...\""), std::string::npos) << message;
}

TEST(TapeWalkFailure, RejectedXmlIsAWalkError) {
  for (const char* text : {"", "<RQ>", "<RQ><DAT></RQ>", "not xml", "<RQ V='1'/><RQ/>",
                           "<RQ/><DAT/>", "<?xml version='1.0'?>"}) {
    std::string message = walk_failure(text);
    EXPECT_EQ(message.rfind("document slot 0: XML text rejected: ", 0), 0u) << text << " -> " << message;
  }
}

TEST(TapeWalkFailure, WhatWasFiledStays) {
  control walk;
  rq store;
  EXPECT_THROW(walk_tape(walk, store, tape(R"(<DAT FN="7"><C><P N="1" NM="a"/><E NO="5" NS="?"/></C></DAT>)")),
               walk_error);
  EXPECT_EQ(store.dats[0].FN, "7");
  EXPECT_EQ(store.dats[0].checks[0].p_lines[0].NM, "a");
  EXPECT_EQ(store.check_no_max, 5);
}

// Names outside the dictionary, comments and processing instructions are
// invisible: they close nothing, keep `current`, store nothing, and the
// children of an unknown element are still walked.
TEST(TapeWalkUnknowns, UnknownElementsAreInvisible) {
  struct Case {
    const char* receipt;
  } cases[] = {
      {R"(<P N="1" SM="5"/><X V="not a number" N="9"/><P N="2" SM="6"/>)"},
      {R"(<P N="1" SM="5"/><!-- a comment --><P N="2" SM="6"/>)"},
      {R"(<P N="1" SM="5"/><?pi data?><P N="2" SM="6"/>)"},
      {R"(<P N="1" SM="5"/><p N="7"/><P N="2" SM="6"/>)"},
      {R"(<WRAP><P N="1" SM="5"/><NEW A="b"><P N="2" SM="6"/></NEW></WRAP>)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.receipt);
    rq store = walked(tape(std::string("<DAT><C>") + c.receipt + "<E N=\"3\"/></C><TS>1</TS></DAT><MAC/>"));
    check& r = store.dats[0].checks[0];
    EXPECT_EQ(r.p_count, 2);
    EXPECT_EQ(r.p_lines[0].SM, 5);
    EXPECT_EQ(r.p_lines[1].SM, 6);
    EXPECT_EQ(r.p_lines[0].N, 1);
    EXPECT_EQ(r.e_count, 1);
    EXPECT_EQ(r.line_no, 4);
    EXPECT_EQ(store.V, 1);
  }
}

TEST(TapeWalkUnknowns, UnknownAttributesAreIgnored) {
  rq store = walked(tape(R"(<DAT XX="y" DI="4"><C><P N="1" PAYSYS="Visa" SM="5"/>)"
                         R"(<E N="2" NO="3" EXTRA="z"/><TX X="q" TX="1"/></C><TS>1</TS></DAT><MAC/>)"));
  dat& d = store.dats[0];
  EXPECT_EQ(d.FN, "");
  EXPECT_EQ(d.DI, 4);
  check& c = d.checks[0];
  EXPECT_EQ(c.p_lines[0].N, 1);
  EXPECT_EQ(c.end.N, 2);
  EXPECT_EQ(c.end.tx_lines[0].TX, "1");
}

TEST(TapeWalkUnknowns, UnknownAttributeDoesNotSetPresenceFlags) {
  rq store = walked(tape(R"(<DAT><Z NO="1"><TXS UNKNOWN="1"/><IO SMT="2"/></Z><TS>1</TS></DAT><MAC/>)"));
  zvit& z = store.dats[0].zvits[0];
  EXPECT_FALSE(z.has_txs);
  EXPECT_EQ(z.txs_count, 1);
  EXPECT_TRUE(z.has_io);
}
