#pragma once
// CRC-16/MODBUS over the body or payload of a packet of the packet exchange:
// start value 0xFFFF, each byte XORed into the low byte, eight shifts to the
// right with XOR 0xA001 when the bit shifted out is 1, no final XOR. The
// value travels low byte first.
#include <cstddef>
#include <cstdint>

namespace ejscope {

// Every length on the wire is a 16-bit count, so count never exceeds 65535.
std::uint16_t crc16_modbus(const void* data, std::size_t count);

}  // namespace ejscope
