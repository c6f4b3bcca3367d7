#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "text/base64.h"
#include "text/cp1251.h"

using namespace ejscope::text;

TEST(Base64, DecodesByTheTapeRule) {
  struct Case {
    const char* in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"TWFu", "Man"},
      {"TWE=", "Ma"},
      {"TQ==", "M"},
      {"TWE", "Ma"},                  // final group of 3 gives 2 bytes
      {"TQ", "M"},                    // final group of 2 gives 1 byte
      {"TWFuT", "Man"},               // a single leftover character gives nothing
      {"TWFu=TWFu", "Man"},           // stops at the first "="
      {"TWFu TWFu", "Man"},           // stops at a blank
      {"TWFu\r\nTWFu", "Man"},        // stops at a line break
      {"TW*Fu", "M"},                 // stops at a foreign character
      {"+/+/", std::string("\xfb\xff\xbf", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(base64_decode(c.in), c.out) << c.in;
}

TEST(Base64, EncodeRoundTripsEveryByte) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (std::size_t n = 0; n <= all.size(); n += 37) {
    auto part = all.substr(0, n);
    EXPECT_EQ(base64_decode(base64_encode(part)), part) << n;
  }
}

namespace {
std::string run_iconv(const std::string& from, const std::string& to, const std::string& input) {
  std::string path = testing::TempDir() + "iconv_in.bin";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(input.data(), 1, input.size(), f);
  std::fclose(f);
  std::string cmd = "iconv -f " + from + " -t " + to + " " + path;
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}
}  // namespace

TEST(Cp1251, MatchesIconvOnEveryAssignedByte) {
  std::string all;
  for (int i = 1; i < 256; ++i)
    if (i != 0x98) all += static_cast<char>(i);
  std::string utf8 = run_iconv("CP1251", "UTF-8", all);
  ASSERT_FALSE(utf8.empty());
  EXPECT_EQ(cp1251_to_utf8(all), utf8);
  EXPECT_EQ(utf8_to_cp1251(utf8), all);
}

TEST(Cp1251, UnassignedByteAndBadUtf8NeverFail) {
  EXPECT_EQ(cp1251_to_utf8("\x98"), "\xEF\xBF\xBD");
  EXPECT_EQ(utf8_to_cp1251("\xEF\xBF\xBD"), "?");
  EXPECT_EQ(utf8_to_cp1251("a\xC3"), "a?");          // cut sequence
  EXPECT_EQ(utf8_to_cp1251("\x80\xFF"), "??");         // stray bytes
  EXPECT_EQ(utf8_to_cp1251("\xD0\x87"), "\xAF");       // Ї
  EXPECT_EQ(utf8_to_cp1251("\xE2\x82\xAC"), "\x88");   // euro sign
}
