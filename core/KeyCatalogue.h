#pragma once
// The key catalogue: every key the installer knows, with its default virtual key in the layout
// libraries' encoding (low byte the Windows virtual key; 0x100 extended, 0x400 special, 0x800
// numeric pad) and the string id of its display name. The live key table starts as a copy.

#include <cstdint>

// One key. In the catalogue m_virtualKey is the default and m_remap 0; in the live table
// m_virtualKey is the user's override (0 = none) and m_remap the scan code the key is remapped to
// (0 = none, kRemapSwitchedOff = the key sends nothing).
struct ScanCodeEntry
{
    uint16_t m_scanCode;
    uint16_t m_virtualKey;
    uint16_t m_nameId;
    uint16_t m_remap;
};
static_assert(sizeof(ScanCodeEntry) == 8);

// 144 keys, the "no change" row and a row of zeros.
constexpr int kKeyCatalogueRows = 146;
constexpr uint16_t kRemapSwitchedOff = 0xFF;
// Display names of the value 0 (no change) and of 0xFF (switched off) in the expert pages' lists.
constexpr uint16_t kNameIdNoChange = 154;
constexpr uint16_t kNameIdSwitchedOff = 326;
// The layout variants: 0 QWERTY, 1 QWERTZ, 2 Polish programmers.
constexpr int kLayoutVariantCount = 3;

const ScanCodeEntry* KeyCatalogue();

// The catalogue row of scanCode (its low 16 bits), or null. Searches stop at the first row whose
// scan code is 0.
const ScanCodeEntry* FindDefaultKey(uint32_t scanCode);

// The virtual key that the library of a variant gives the key of catalogue row `row` as built: the
// catalogue's default, except where a variant moves a letter (QWERTZ swaps Y and Z).
uint16_t VariantDefaultVirtualKey(int row, int variant);

// 1 when virtualKey is what every variant's library gives the key of catalogue row `row`: only
// then does an override with that value change nothing, whichever variant is installed.
int IsDefaultInEveryVariant(int row, uint16_t virtualKey);
