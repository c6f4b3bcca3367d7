#include "protocol/result_flags.h"

#include "protocol/reply_record.h"

namespace ejscope {
namespace {

struct status_bit {
  int byte;
  int bit;
  int flag;
};

// Status byte and bit -> flag bit. Unlisted status bits set nothing.
constexpr status_bit status_table[] = {
    {0, 0, 0},  {0, 1, 1},  {0, 2, 2},  {0, 4, 3},  {1, 0, 4},  {1, 1, 5},  {1, 2, 6},
    {1, 3, 7},  {1, 4, 8},  {2, 0, 9},  {2, 3, 10}, {2, 5, 11}, {1, 5, 12}, {4, 2, 13},
    {5, 5, 14}, {4, 0, 16}, {4, 4, 17}, {5, 0, 18}, {5, 2, 19}, {4, 3, 20}, {5, 1, 21},
    {5, 3, 22}, {5, 4, 23}, {0, 5, 27}, {4, 5, 28},
};

}  // namespace

std::uint32_t translate_status(const status_bytes& status) {
  std::uint32_t flags = 0;
  for (const auto& e : status_table) {
    if (status[static_cast<std::size_t>(e.byte)] & (1u << e.bit)) flags |= 1u << e.flag;
  }
  return flags;
}

std::uint32_t result_flags(bool reply_done, bool refused, bool checksum_mismatch,
                           const status_bytes& status) {
  if (!reply_done) return result_flag::no_reply;
  if (refused) return result_flag::refused;
  if (checksum_mismatch) return result_flag::checksum_mismatch;
  return translate_status(status);
}

}  // namespace ejscope
