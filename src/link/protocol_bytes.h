#pragma once

#include <cstdint>

namespace qz::wire {

// The module's single-byte commands and its replies.
inline constexpr std::uint8_t kResync = 0x33;
inline constexpr std::uint8_t kReadId = 0x10;
inline constexpr std::uint8_t kSetAddress = 0x14;
inline constexpr std::uint8_t kReadByte = 0x15;
inline constexpr std::uint8_t kWriteByte = 0x16;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kTerminator = 0x0D;  // ends the identification

}  // namespace qz::wire
