#pragma once
// Windows virtual-key codes by the names the layout source format uses (the VK_ name without
// its prefix: A, 1, OEM_4, SPACE, DECIMAL, ...).

#include <cstdint>
#include <string_view>

namespace VirtualKey {
constexpr uint8_t kCancel = 0x03;
constexpr uint8_t kBack = 0x08;
constexpr uint8_t kTab = 0x09;
constexpr uint8_t kReturn = 0x0D;
constexpr uint8_t kShift = 0x10;
constexpr uint8_t kControl = 0x11;
constexpr uint8_t kMenu = 0x12;
constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kNumpad0 = 0x60;
constexpr uint8_t kMultiply = 0x6A;
constexpr uint8_t kAdd = 0x6B;
constexpr uint8_t kSubtract = 0x6D;
constexpr uint8_t kDecimal = 0x6E;
constexpr uint8_t kDivide = 0x6F;
// Marks the entry after a dead key in a character table; never a key of its own.
constexpr uint8_t kDeadKeyRow = 0xFF;
} // namespace VirtualKey

// Returns 1 and the code for a known name, else 0.
int VirtualKeyFromName(std::u16string_view name, uint8_t& code);
// The name of a code, or null when it has none.
const char* VirtualKeyName(uint8_t code);
