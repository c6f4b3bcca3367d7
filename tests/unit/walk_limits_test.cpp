// The walk's size limit, and a tape that stays under it but is hostile in
// shape: a million attributes on one element (ten million, 50 MB of text,
// walk the same way in about 0.5 GiB and five seconds of an unoptimised
// build, too long for the unit tests).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tape/tape_walker.h"
#include "walk_fixture.h"

namespace ejscope {
namespace {

using testing::walked;

TEST(TapeLimits, TextsBeyondTheLimitAreRefusedBeforeTheyAreParsed) {
  const std::string over(max_tape_bytes + 1, ' ');
  control walk;
  rq store;
  try {
    walk_tape(walk, store, over);
    FAIL() << "a text over the limit was walked";
  } catch (const walk_error& e) {
    EXPECT_NE(std::string(e.what()).find(std::to_string(max_tape_bytes)), std::string::npos) << e.what();
  }
  // The assembled lines count their line breaks: two halves and their breaks pass the limit.
  const std::vector<std::string> lines = {std::string(max_tape_bytes / 2, ' '), std::string(max_tape_bytes / 2 - 1, ' ')};
  EXPECT_THROW(walk_tape(walk, store, lines), walk_error);
  EXPECT_EQ(store.doc_index, 0);
}

TEST(TapeLimits, AMillionAttributesOnOneElement) {
  constexpr int attributes = 1'000'000;
  std::string xml = "<RQ V=\"1\"><DAT";
  xml.reserve(xml.size() + attributes * 5 + 64);
  for (int i = 0; i < attributes; ++i) xml += " a=\"\"";
  xml += " DI=\"7\"/><MAC/></RQ>";
  ASSERT_LE(xml.size(), max_tape_bytes);
  const rq store = walked(xml);
  EXPECT_EQ(store.doc_index, 1);
  EXPECT_EQ(store.dats.at(0).DI, 7);
}

}  // namespace
}  // namespace ejscope
