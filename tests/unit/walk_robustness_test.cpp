#include <gtest/gtest.h>

#include <string>

#include "tape/tape_walker.h"
#include "walk_fixture.h"

using namespace ejscope;
using ejscope::testing::tape;
using ejscope::testing::walked;

// The walk follows the DOM's links instead of recursing, so depth costs no
// call stack.
TEST(TapeWalkRobustness, DeepNestingDoesNotExhaustTheStack) {
  for (int depth : {10000, 200000}) {
    std::string xml = "<RQ>";
    for (int i = 0; i < depth; ++i) xml += i % 2 ? "<P N=\"1\">" : "<WRAP>";
    for (int i = depth - 1; i >= 0; --i) xml += i % 2 ? "</P>" : "</WRAP>";
    xml += "<MAC/></RQ>";
    rq store = walked(xml);
    EXPECT_EQ(store.doc_index, 1);
    EXPECT_EQ(store.dats[0].checks[0].p_count, depth / 2) << depth;
  }
}

TEST(TapeWalkRobustness, HugeAttributeCounts) {
  std::string attributes;
  for (int i = 0; i < 100000; ++i) attributes += " A" + std::to_string(i) + "=\"x\"";
  rq store = walked(tape("<DAT" + attributes + " DI=\"3\"/><MAC/><DAT><C><P N=\"1\"" + attributes +
                         " SM=\"7\"/></C></DAT><MAC/>"));
  EXPECT_EQ(store.doc_index, 2);
  EXPECT_EQ(store.dats[0].DI, 3);
  EXPECT_EQ(store.dats[1].checks[0].p_lines[0].SM, 7);
}

TEST(TapeWalkRobustness, ManyDocumentsAndLines) {
  std::string documents;
  for (int i = 0; i < 2000; ++i)
    documents += "<DAT DI=\"" + std::to_string(2000 - i) + "\"><C><P N=\"1\"/><P N=\"2\"/><E N=\"3\" NO=\"" +
                 std::to_string(i + 1) + "\"/></C><TS>1</TS></DAT><MAC/>";
  rq store = walked(tape(documents));
  EXPECT_EQ(store.doc_index, 2000);
  EXPECT_EQ(store.check_no_min, 1);
  EXPECT_EQ(store.check_no_max, 2000);
  sort_documents(store);
  EXPECT_EQ(store.dats[0].checks[0].end.NO, 2000);
  EXPECT_EQ(store.dats[1999].checks[0].end.NO, 1);
}

TEST(TapeWalkRobustness, DomDocumentEntry) {
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(R"(<RQ V="2"><!--c--><DAT DI="1"><C><L N="1">x</L></C></DAT><MAC/></RQ>)",
                                   pugi::parse_default | pugi::parse_comments | pugi::parse_pi));
  control walk;
  rq store;
  walk_tape(walk, store, document);
  EXPECT_EQ(store.V, 2);
  EXPECT_EQ(store.dats[0].checks[0].l_lines[0].text, "x");
  EXPECT_EQ(store.dats[0].checks[0].l_count, 1);
}
