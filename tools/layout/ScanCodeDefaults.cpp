#include "tools/layout/ScanCodeDefaults.h"

namespace {

using namespace KeyFlag;

constexpr uint16_t kPad = kNumpad | kSpecial;
constexpr uint16_t kExt = kExtended;
constexpr uint16_t kMulti = kMultiVk;
constexpr uint16_t kNo = kNoVirtualKey;

// 0x54 (System Request, sent by Alt+Print Screen) types Print Screen as on every Windows layout.
// clang-format off
const uint16_t s_scanToVk[kScanTableSize] = {
    /* 00 */ kNo,        0x1B,       0x31,       0x32,       0x33,       0x34,       0x35,       0x36,
    /* 08 */ 0x37,       0x38,       0x39,       0x30,       0xBD,       0xBB,       0x08,       0x09,
    /* 10 */ 0x51,       0x57,       0x45,       0x52,       0x54,       0x59,       0x55,       0x49,
    /* 18 */ 0x4F,       0x50,       0xDB,       0xDD,       0x0D,       0xA2,       0x41,       0x53,
    /* 20 */ 0x44,       0x46,       0x47,       0x48,       0x4A,       0x4B,       0x4C,       0xBA,
    /* 28 */ 0xDE,       0xC0,       0xA0,       0xDC,       0x5A,       0x58,       0x43,       0x56,
    /* 30 */ 0x42,       0x4E,       0x4D,       0xBC,       0xBE,       0xBF,       0xA1|kExt,  0x6A|kMulti,
    /* 38 */ 0xA4,       0x20,       0x14,       0x70,       0x71,       0x72,       0x73,       0x74,
    /* 40 */ 0x75,       0x76,       0x77,       0x78,       0x79,       0x90|kExt|kMulti, 0x91|kMulti, 0x24|kPad,
    /* 48 */ 0x26|kPad,  0x21|kPad,  0x6D,       0x25|kPad,  0x0C|kPad,  0x27|kPad,  0x6B,       0x23|kPad,
    /* 50 */ 0x28|kPad,  0x22|kPad,  0x2D|kPad,  0x2E|kPad,  0x2C,       kNo,        0xE2,       0x7A,
    /* 58 */ 0x7B,       0x0C,       kNo,        kNo,        kNo,        kNo,        kNo,        kNo,
    /* 60 */ kNo,        kNo,        kNo,        0x2F,       0x7C,       0x7D,       0x7E,       0x7F,
    /* 68 */ 0x80,       0x81,       0x82,       0x83,       0x84,       0x85,       0x86,       kNo,
    /* 70 */ kNo,        kNo,        kNo,        0xC1,       kNo,        kNo,        0x87,       kNo,
    /* 78 */ kNo,        kNo,        kNo,        0xEB,       kNo,        kNo,        0xC2,       kNo,
};
// clang-format on

const ScanVk s_scanToVkE0[] = {
    {0x10, 0xB1 | kExtended}, // previous track
    {0x19, 0xB0 | kExtended}, // next track
    {0x1C, 0x0D | kExtended}, // numeric pad Enter
    {0x1D, 0xA3 | kExtended}, // right Ctrl
    {0x20, 0xAD | kExtended}, // mute
    {0x21, 0xB7 | kExtended}, // calculator
    {0x22, 0xB3 | kExtended}, // play/pause
    {0x24, 0xB2 | kExtended}, // stop
    {0x2E, 0xAE | kExtended}, // volume down
    {0x30, 0xAF | kExtended}, // volume up
    {0x32, 0xAC | kExtended}, // browser home
    {0x35, 0x6F | kExtended}, // numeric pad /
    {0x37, 0x2C | kExtended}, // Print Screen
    {0x38, 0xA5 | kExtended}, // right Alt
    {0x46, 0x03 | kExtended}, // Break (Ctrl+Pause)
    {0x47, 0x24 | kExtended}, // Home
    {0x48, 0x26 | kExtended}, // Up
    {0x49, 0x21 | kExtended}, // Page Up
    {0x4B, 0x25 | kExtended}, // Left
    {0x4D, 0x27 | kExtended}, // Right
    {0x4F, 0x23 | kExtended}, // End
    {0x50, 0x28 | kExtended}, // Down
    {0x51, 0x22 | kExtended}, // Page Down
    {0x52, 0x2D | kExtended}, // Insert
    {0x53, 0x2E | kExtended}, // Delete
    {0x5B, 0x5B | kExtended}, // left Windows
    {0x5C, 0x5C | kExtended}, // right Windows
    {0x5D, 0x5D | kExtended}, // application
    {0x5E, 0x5E | kExtended}, // power
    {0x5F, 0x5F | kExtended}, // sleep
    {0x65, 0xAA | kExtended}, // browser search
    {0x66, 0xAB | kExtended}, // browser favourites
    {0x67, 0xA8 | kExtended}, // browser refresh
    {0x68, 0xA9 | kExtended}, // browser stop
    {0x69, 0xA7 | kExtended}, // browser forward
    {0x6A, 0xA6 | kExtended}, // browser back
    {0x6B, 0xB6 | kExtended}, // launch application 1
    {0x6C, 0xB4 | kExtended}, // mail
    {0x6D, 0xB5 | kExtended}, // media select
};

const ScanVk s_scanToVkE1[] = {
    {0x1D, 0x13}, // Pause
};

} // namespace

const uint16_t* DefaultScanToVk()
{
    return s_scanToVk;
}

const ScanVk* DefaultScanToVkE0(size_t& count)
{
    count = sizeof s_scanToVkE0 / sizeof s_scanToVkE0[0];
    return s_scanToVkE0;
}

const ScanVk* DefaultScanToVkE1(size_t& count)
{
    count = sizeof s_scanToVkE1 / sizeof s_scanToVkE1[0];
    return s_scanToVkE1;
}

uint8_t NumpadVirtualKey(uint8_t scanCode)
{
    switch (scanCode) {
    case 0x47:
        return 0x67;
    case 0x48:
        return 0x68;
    case 0x49:
        return 0x69;
    case 0x4B:
        return 0x64;
    case 0x4C:
        return 0x65;
    case 0x4D:
        return 0x66;
    case 0x4F:
        return 0x61;
    case 0x50:
        return 0x62;
    case 0x51:
        return 0x63;
    case 0x52:
        return 0x60;
    case 0x53:
        return 0x6E;
    default:
        return 0;
    }
}
