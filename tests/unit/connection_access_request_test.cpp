// The access request: 9 bytes of device identifier or 12 bytes of
// ":" + fiscal number + ":", zero-filled and cut.
#include <gtest/gtest.h>

#include <string>

#include "link/access_request.h"

namespace ejscope {
namespace {

TEST(access_request, bytes_for_each_kind) {
  using namespace std::string_literals;
  struct {
    std::string identifier;
    id_kind kind;
    std::string expected;
  } cases[] = {
      {"123", id_kind::dev, "123\0\0\0\0\0\0"s},
      {"KV0000001", id_kind::dev, "KV0000001"s},
      {"KV00000012345", id_kind::dev, "KV0000001"s},
      {"", id_kind::dev, std::string(9, '\0')},
      {"3000123456", id_kind::fiscal, ":3000123456:"s},
      {"30001234567", id_kind::fiscal, ":30001234567"s},
      {"300012345678901", id_kind::fiscal, ":30001234567"s},
      {"42", id_kind::fiscal, ":42:\0\0\0\0\0\0\0\0"s},
      {"", id_kind::fiscal, "::\0\0\0\0\0\0\0\0\0\0"s},
      {"\xCA\xC0", id_kind::dev, "\xCA\xC0\0\0\0\0\0\0\0"s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(access_request(c.identifier, c.kind), c.expected) << c.identifier;
  }
}

}  // namespace
}  // namespace ejscope
