#pragma once
// The bytes that name the register to the gateway, written once right after
// the connection opens.
#include <cstddef>
#include <string>

namespace ejscope {

// The kind of identifier the user typed.
enum class id_kind { dev = 0, fiscal = 1 };

inline constexpr std::size_t access_request_dev_size = 9;
inline constexpr std::size_t access_request_fiscal_size = 12;

// dev: the first 9 bytes of the identifier, zero-filled to 9 bytes;
// fiscal: ":" + identifier + ":", cut or zero-filled to 12 bytes.
std::string access_request(const std::string& identifier, id_kind kind);

}  // namespace ejscope
