#include "text/base64.h"

#include <array>
#include <cstdint>

namespace ejscope::text {
namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> make_values() {
  std::array<std::int8_t, 256> v{};
  for (auto& x : v) x = -1;
  for (int i = 0; i < 64; ++i) v[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  return v;
}
constexpr auto values = make_values();

}  // namespace

void base64_decode_append(std::string_view encoded, std::string& out) {
  std::uint32_t group = 0;
  int have = 0;
  for (unsigned char c : encoded) {
    int v = values[c];
    if (v < 0) break;  // "=", blank, line break or any foreign character ends the text
    group = (group << 6) | static_cast<std::uint32_t>(v);
    if (++have == 4) {
      out += static_cast<char>(group >> 16);
      out += static_cast<char>((group >> 8) & 0xFF);
      out += static_cast<char>(group & 0xFF);
      group = 0;
      have = 0;
    }
  }
  if (have == 2) {
    out += static_cast<char>(group >> 4);
  } else if (have == 3) {
    out += static_cast<char>(group >> 10);
    out += static_cast<char>((group >> 2) & 0xFF);
  }
}

std::string base64_decode(std::string_view encoded) {
  std::string out;
  out.reserve(encoded.size() / 4 * 3 + 2);
  base64_decode_append(encoded, out);
  return out;
}

std::string base64_encode(std::string_view raw) {
  std::string out;
  out.reserve((raw.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= raw.size(); i += 3) {
    std::uint32_t g = (static_cast<unsigned char>(raw[i]) << 16) | (static_cast<unsigned char>(raw[i + 1]) << 8) |
                      static_cast<unsigned char>(raw[i + 2]);
    out += alphabet[g >> 18];
    out += alphabet[(g >> 12) & 63];
    out += alphabet[(g >> 6) & 63];
    out += alphabet[g & 63];
  }
  std::size_t rest = raw.size() - i;
  if (rest > 0) {
    std::uint32_t g = static_cast<unsigned char>(raw[i]) << 16;
    if (rest == 2) g |= static_cast<unsigned char>(raw[i + 1]) << 8;
    out += alphabet[g >> 18];
    out += alphabet[(g >> 12) & 63];
    out += rest == 2 ? alphabet[(g >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace ejscope::text
