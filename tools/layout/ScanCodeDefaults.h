#pragma once
// The scan-code tables every layout library starts from, in the library's virtual-key encoding:
// the low byte is the Windows virtual key, the high byte carries flag bits. The values are those
// of the installer's key catalogue, so that an override the installer writes into a table means
// what the expert pages show; the catalogue has no multi-key bit, so the four keys that Windows'
// own layouts give it (and the extended bit of Num Lock and Print Screen) get it here.

#include <cstddef>
#include <cstdint>

namespace KeyFlag {
constexpr uint16_t kExtended = 0x100;
constexpr uint16_t kMultiVk = 0x200;
constexpr uint16_t kSpecial = 0x400;
constexpr uint16_t kNumpad = 0x800;
} // namespace KeyFlag

// One entry of the tables of prefixed (0xE0, 0xE1) scan codes.
struct ScanVk
{
    uint8_t m_scanCode;
    uint16_t m_virtualKey;
};

constexpr size_t kScanTableSize = 128;
// No virtual key: the scan code does nothing.
constexpr uint16_t kNoVirtualKey = 0xFF;

// kScanTableSize entries, indexed by the unprefixed scan code.
const uint16_t* DefaultScanToVk();
const ScanVk* DefaultScanToVkE0(size_t& count);
const ScanVk* DefaultScanToVkE1(size_t& count);

// The virtual key a numeric-pad scan code types while Num Lock is on, or 0 when the scan code is
// not one of the numeric pad's digit or decimal keys.
uint8_t NumpadVirtualKey(uint8_t scanCode);
