// The base64 rule and the code-page conversion on arbitrary bytes: decoding
// never yields more than 3 bytes per 4 characters, encoding round-trips, and
// windows-1251 -> UTF-8 -> windows-1251 gives the input back except for the
// one unassigned byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/base64.h"
#include "text/cp1251.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  using namespace ejscope::text;

  std::string decoded = base64_decode(in);
  if (decoded.size() > size / 4 * 3 + 2) std::abort();
  if (base64_decode(base64_encode(in)) != in) std::abort();

  std::string back = utf8_to_cp1251(cp1251_to_utf8(in));
  if (back.size() != size) std::abort();
  for (std::size_t i = 0; i < size; ++i) {
    bool unassigned = static_cast<unsigned char>(in[i]) == 0x98;
    if (unassigned ? back[i] != '?' : back[i] != in[i]) std::abort();
  }
  if (utf8_to_cp1251(in).size() > size) std::abort();
  return 0;
}
