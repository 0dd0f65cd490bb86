#pragma once
// The tables of one layout library, resolved from its source: what the generated C source,
// the expectation file and the image locator all describe.

#include "tools/layout/KlcSource.h"
#include "tools/layout/ScanCodeDefaults.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace LayoutChar {
constexpr uint16_t kNone = 0xF000;
constexpr uint16_t kDead = 0xF001;
} // namespace LayoutChar

// Bits of the modifier keys, and the column value of a combination that types nothing.
namespace ModifierBit {
constexpr uint8_t kShift = 0x1;
constexpr uint8_t kCtrl = 0x2;
constexpr uint8_t kAlt = 0x4;
constexpr uint8_t kInvalidColumn = 0x0F;
} // namespace ModifierBit

constexpr uint16_t kLocaleFlagAltGr = 0x1;
constexpr uint32_t kKbdVersion = 1;
// DEADKEY flag: the composed character is itself a dead key.
constexpr uint16_t kDeadKeyChained = 0x1;

// One entry of a character table. An entry whose virtual key is VirtualKey::kDeadKeyRow follows
// a dead key and holds the dead characters in the dead key's columns.
struct CharEntry
{
    uint8_t m_virtualKey = 0;
    uint8_t m_attributes = 0;
    std::vector<uint16_t> m_characters;
};

// Entries that all have m_width characters.
struct CharTable
{
    size_t m_width = 0;
    std::vector<CharEntry> m_entries;
};

struct DeadKeyEntry
{
    uint32_t m_both = 0; // base character in the low word, dead character in the high word
    uint16_t m_composed = 0;
    uint16_t m_flags = 0;
};

struct ScanName
{
    uint8_t m_scanCode = 0;
    std::u16string m_name;
};

struct LayoutTables
{
    uint8_t m_modNumbers[8] = {};
    uint16_t m_maxModBits = 0;
    uint32_t m_localeFlags = 0;
    uint16_t m_scanToVk[kScanTableSize] = {};
    std::vector<ScanVk> m_scanToVkE0;
    std::vector<ScanVk> m_scanToVkE1;
    // Widest first; the numeric pad's one-column table last.
    std::vector<CharTable> m_charTables;
    std::vector<DeadKeyEntry> m_deadKeys;
    std::vector<ScanName> m_keyNames;
    std::vector<ScanName> m_keyNamesExtended;
    // Each starts with its dead character, followed by the name.
    std::vector<std::u16string> m_keyNamesDead;
};

// Resolves a parsed source: starts from the default scan-code tables, applies the LAYOUT rows,
// adds the fixed character keys a source does not list (Tab, Backspace, Enter, Esc, Ctrl+Break,
// the numeric pad's digits and operators, and its decimal key unless listed). Returns 1, or 0
// with error naming the source line.
int BuildLayoutTables(const KlcSource& source, LayoutTables& tables, KlcError& error);

// Finds the character entry of a virtual key (never a dead-key row). Returns 1 with the table
// and entry index, else 0.
int FindCharEntry(const LayoutTables& tables, uint8_t virtualKey, size_t& table, size_t& entry);
