#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "retrieval/fragment_fetch.h"
#include "retrieval_fakes.h"
#include "text/base64.h"

namespace ejscope {
namespace {

using testing::journal_register;
using testing::reply_record;

const std::string part_a = text::base64_encode("<DAT>");
const std::string part_b = text::base64_encode("</DAT>");

// The fragment loop's reply table, for both protocols.
TEST(RetrievalFetchDocument, ReplyTable) {
  struct Case {
    const char* name;
    protocol p;
    std::vector<std::optional<RetData>> replies;  // fragments 0, 1, ...
    std::string text;
    bool fetched, incomplete;
  } cases[] = {
      {"datecs -1 ends", protocol::datecs, {reply_record(2, {"1", part_a}), reply_record(2, {"1", part_b}), reply_record(2, {"-1", ""})},
       "<DAT></DAT>", true, false},
      {"datecs 0 ends", protocol::datecs, {reply_record(2, {"5", part_a}), reply_record(2, {"0", "QUJD"})}, "<DAT>", true, false},
      {"kelvora 0 ends", protocol::kelvora, {reply_record(2, {"1", part_a}), reply_record(2, {"0", "QUJD"})}, "<DAT>", true, false},
      {"kelvora -1 does not end", protocol::kelvora,
       {reply_record(2, {"-1", part_a}), reply_record(2, {"0", ""})}, "<DAT>", true, false},
      {"one field ends, fetched", protocol::kelvora, {reply_record(1, {"0"})}, "", true, false},
      {"one field after fragments", protocol::datecs, {reply_record(2, {"1", part_a}), reply_record(1, {"x"})}, "<DAT>", true, false},
      {"absent: no fields", protocol::datecs, {reply_record(0, {}, "", 1u << 5)}, "", false, false},
      {"absent: kelvora error", protocol::kelvora, {reply_record(2, {"1", part_a}, "0005")}, "", false, false},
      {"three fields at the start", protocol::datecs, {reply_record(3, {"1", part_a, "x"})}, "", false, false},
      {"kelvora error after a fragment", protocol::kelvora,
       {reply_record(2, {"1", part_a}), reply_record(0, {}, "0005")}, "<DAT>", true, true},
      {"no result after a fragment", protocol::datecs, {reply_record(2, {"1", part_a}), std::nullopt}, "<DAT>", true, true},
      {"no result at once", protocol::datecs, {std::nullopt}, "", false, true},
      {"bad checksum is not appended", protocol::datecs,
       {reply_record(2, {"1", part_a}), reply_record(2, {"1", part_b}, "", result_flag::checksum_mismatch)}, "<DAT>", true, true},
      {"refused", protocol::kelvora, {reply_record(2, {"1", part_a}, "0000", result_flag::refused)}, "", false, true},
      {"no reply", protocol::datecs, {reply_record(2, {"1", part_a}, "", result_flag::no_reply)}, "", false, true},
      {"status bits alone do not break", protocol::datecs,
       {reply_record(2, {"1", part_a}, "", 1u << 9), reply_record(2, {"-1", ""})}, "<DAT>", true, false},
  };
  for (const auto& c : cases) {
    journal_register reg;
    for (std::size_t j = 0; j < c.replies.size(); ++j) reg.faults[{1, static_cast<int>(j)}] = c.replies[j];
    const fetched_document doc = fetch_document(reg, c.p, 1, 1, "pw");
    EXPECT_EQ(doc.text, c.text) << c.name;
    EXPECT_EQ(doc.fetched, c.fetched) << c.name;
    EXPECT_EQ(doc.incomplete, c.incomplete) << c.name;
    EXPECT_EQ(reg.a7_calls.size(), c.replies.size()) << c.name;  // nothing asked after the end
    for (std::size_t j = 0; j < reg.a7_calls.size(); ++j) {
      EXPECT_EQ(reg.a7_calls[j].fragment, static_cast<int>(j)) << c.name;
      EXPECT_EQ(reg.a7_calls[j].password, "pw") << c.name;
    }
  }
}

TEST(RetrievalFetchDocument, NonIntegerFieldEndsTheRequest) {
  journal_register reg;
  reg.faults[{1, 0}] = reply_record(2, {"x1", part_a});
  EXPECT_THROW(fetch_document(reg, protocol::datecs, 1, 1, ""), reply_field_error);
}

TEST(RetrievalFetchDocument, FragmentLimitEndsTheDocumentIncomplete) {
  // A register that never ends the document: 32768 fragments, then the stop.
  class endless : public journal_register {
   public:
    int calls = 0;
    RetData r = reply_record(2, {"1", "QQ"});
    const RetData* documents_output(protocol, const std::string&, int, int, int fragment) override {
      ++calls;
      last_fragment = fragment;
      return &r;
    }
    int last_fragment = -1;
  } reg;
  const fetched_document doc = fetch_document(reg, protocol::datecs, 1, 1, "");
  EXPECT_EQ(reg.calls, max_fragment_index + 1);
  EXPECT_EQ(reg.last_fragment, max_fragment_index);
  EXPECT_TRUE(doc.incomplete);
  EXPECT_EQ(doc.text.size(), static_cast<std::size_t>(max_fragment_index + 1));
}

}  // namespace
}  // namespace ejscope
