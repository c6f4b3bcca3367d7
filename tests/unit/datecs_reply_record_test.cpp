#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datecs/record_from_reply.h"
#include "protocol/result_flags.h"
#include "datecs_frames.h"
#include "text/cp1251.h"

namespace ejscope::datecs {
namespace {

std::vector<std::string> fields_of(const RetData& r) {
  return {r.fields.begin(), r.fields.begin() + r.count};
}

TEST(DatecsSplit, CommasMakeFields) {
  struct Case {
    std::string data;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"", {}},
      {"12", {"12"}},
      {"12,ABC,", {"12", "ABC", ""}},
      {",,", {"", "", ""}},
      {"1,,3", {"1", "", "3"}},
      {"a b,c", {"a b", "c"}},
  };
  for (const auto& c : cases) {
    RetData r;
    split_fields(c.data, r);
    EXPECT_EQ(r.count, static_cast<int>(c.fields.size())) << c.data;
    EXPECT_EQ(fields_of(r), c.fields) << c.data;
  }
}

TEST(DatecsSplit, MoreThanTwentyFieldsKeepTheRestInTheLast) {
  std::string data;
  for (int i = 0; i < 25; ++i) data += std::to_string(i) + ",";
  RetData r;
  split_fields(data, r);
  EXPECT_EQ(r.count, 20);
  EXPECT_EQ(r.fields[18], "18");
  EXPECT_EQ(r.fields[19], "19,20,21,22,23,24,");
}

TEST(DatecsSplit, OldFieldsAreCleared) {
  RetData r;
  split_fields("a,b,c", r);
  split_fields("", r);
  EXPECT_EQ(r.count, 0);
  for (const auto& f : r.fields) EXPECT_TRUE(f.empty());
}

TEST(DatecsReshape, SpacesAmongTheFirstTwentyBytesBecomeCommas) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"A1 15Dec04 1200,X", "A1,15Dec04,1200,X"},
      {"0123456789012345678 9 x", "0123456789012345678,9 x"},
      {" ", " "},  // a reply of one byte is left as it is
      {"  ", ",,"},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    reshape_diagnostic(s);
    EXPECT_EQ(s, c.out) << c.in;
  }
}

RetData record_for(const std::string& stream, std::uint8_t command) {
  reply_parser p;
  p.begin_command();
  p.feed(stream);
  RetData r;
  fill_record(r, p, command, 7, "sent", "frame");
  return r;
}

TEST(DatecsRecord, DiagnosticReplyIsReshapedBeforeTheSplit) {
  std::string data = "A1 15Dec04 1200,0,C0 00,ZZ9 12345678 ab cd";
  RetData r = record_for(datecs_testing::reply_frame(data), 0x5A);
  EXPECT_EQ(r.flags, 0u);
  EXPECT_EQ(r.reply_copy, data);
  EXPECT_EQ(fields_of(r), (std::vector<std::string>{"A1", "15Dec04", "1200", "0", "C0 00",
                                                     "ZZ9 12345678 ab cd"}));
  EXPECT_EQ(r.command, 0x5A);
  EXPECT_EQ(r.user_value, 7);
  EXPECT_EQ(r.sent_data, "sent");
  EXPECT_EQ(r.sent_frame, "frame");
  EXPECT_EQ(text::cp1251_to_utf8(r.name), "Запрос диагностической информации");
  EXPECT_EQ(r.received, datecs_testing::reply_frame(data));
  EXPECT_TRUE(r.error_code.empty());
}

TEST(DatecsRecord, OtherCommandsKeepTheirSpaces) {
  RetData r = record_for(datecs_testing::reply_frame("1 2,3"), 0xA7);
  EXPECT_EQ(fields_of(r), (std::vector<std::string>{"1 2", "3"}));
}

TEST(DatecsRecord, ReplyCopyIsCutAndStatusLosesTopBit) {
  std::string data(200, 'Q');
  datecs_testing::status6 status{0xA2, 0x88, 0x80, 0xFF, 0x80, 0x81};
  RetData r = record_for(datecs_testing::reply_frame(data, status, 0xA7), 0xA7);
  EXPECT_EQ(r.reply_copy, data.substr(0, reply_copy_limit));
  EXPECT_EQ(r.fields[0], data);
  EXPECT_EQ(r.status, (datecs_testing::status6{0x22, 0x08, 0x00, 0x7F, 0x00, 0x01}));
  EXPECT_EQ(r.flags, (1u << 1) | (1u << 27) | (1u << 7) | (1u << 18));
}

TEST(DatecsRecord, EmptyReplyGivesNoFields) {
  RetData r = record_for(datecs_testing::reply_frame(""), 0x4A);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.flags, 0u);
}

TEST(DatecsRecord, LinkFlagsComeAloneAndStatusIsIgnored) {
  datecs_testing::status6 bad{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  std::string good = datecs_testing::reply_frame("1", bad);
  struct Case {
    const char* name;
    std::string stream;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {"nothing", "", result_flag::no_reply},
      {"cut", good.substr(0, 12), result_flag::no_reply},
      {"nak", "\x15", result_flag::refused},
      {"nak then frame", "\x15" + good, result_flag::refused},
      {"bad checksum", "\x01" + datecs_testing::reply_body("1", bad) + "????\x03",
       result_flag::checksum_mismatch},
      {"bare terminator", "\x03", result_flag::checksum_mismatch},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(record_for(c.stream, 0x4A).flags, c.flags) << c.name;
  }
}

TEST(DatecsFlags, EveryStatusBitTranslatesAlone) {
  struct Case {
    int byte;
    int bit;
    int flag;  // -1: sets nothing
  };
  const Case cases[] = {
      {0, 0, 0},   {0, 1, 1},   {0, 2, 2},   {0, 3, -1},  {0, 4, 3},   {0, 5, 27},
      {0, 6, -1},  {0, 7, -1},  {1, 0, 4},   {1, 1, 5},   {1, 2, 6},   {1, 3, 7},
      {1, 4, 8},   {1, 5, 12},  {1, 6, -1},  {2, 0, 9},   {2, 1, -1},  {2, 3, 10},
      {2, 5, 11},  {3, 0, -1},  {3, 5, -1},  {4, 0, 16},  {4, 2, 13},  {4, 3, 20},
      {4, 4, 17},  {4, 5, 28},  {4, 1, -1},  {5, 0, 18},  {5, 1, 21},  {5, 2, 19},
      {5, 3, 22},  {5, 4, 23},  {5, 5, 14},  {5, 6, -1},
  };
  for (const auto& c : cases) {
    status_bytes s{};
    s[static_cast<std::size_t>(c.byte)] = static_cast<std::uint8_t>(1u << c.bit);
    std::uint32_t expected = c.flag < 0 ? 0u : 1u << c.flag;
    EXPECT_EQ(translate_status(s), expected) << "S" << c.byte << " bit " << c.bit;
  }
}

TEST(DatecsFlags, NeverSetBitsStayClear) {
  status_bytes all{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  std::uint32_t f = translate_status(all);
  EXPECT_EQ(f & ((1u << 15) | (7u << 24) | (7u << 29)), 0u);
  EXPECT_EQ(translate_status(status_bytes{0xA2, 0, 0, 0, 0, 0}), (1u << 1) | (1u << 27));
}

TEST(DatecsFlags, LinkFlagsExcludeEachOther) {
  status_bytes s{0xA2, 0, 0, 0, 0, 0};
  struct Case {
    bool done, refused, mismatch;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {false, true, true, result_flag::no_reply},
      {true, true, true, result_flag::refused},
      {true, false, true, result_flag::checksum_mismatch},
      {true, false, false, (1u << 1) | (1u << 27)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(result_flags(c.done, c.refused, c.mismatch, s), c.flags);
  }
}

}  // namespace
}  // namespace ejscope::datecs
