#pragma once
// Result flags of a reply record, shared by both register drivers: the link
// flags exclude each other and the status flags; only a sound reply has its
// status bits translated.
#include <array>
#include <cstdint>

namespace ejscope {

using status_bytes = std::array<std::uint8_t, 6>;

// The status bits S0..S5 translated into flag bits 0..23, 27, 28.
std::uint32_t translate_status(const status_bytes& status);

// No complete reply (bit 26), else refused (bit 25), else checksum mismatch
// (bit 24), else the translated status.
std::uint32_t result_flags(bool reply_done, bool refused, bool checksum_mismatch,
                           const status_bytes& status);

}  // namespace ejscope
