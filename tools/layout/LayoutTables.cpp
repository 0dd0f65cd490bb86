#include "tools/layout/LayoutTables.h"

#include "tools/layout/VirtualKeys.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

// A character key every layout has, given by modifier bits rather than columns, because the
// columns depend on the source's SHIFTSTATE.
struct FixedKey
{
    uint8_t m_virtualKey;
    uint16_t m_base;
    uint16_t m_shift;
    uint16_t m_ctrl; // 0: none
};

const FixedKey s_fixedKeys[] = {
    {VirtualKey::kBack, 0x08, 0x08, 0x7F},   {VirtualKey::kEscape, 0x1B, 0x1B, 0x1B},
    {VirtualKey::kReturn, 0x0D, 0x0D, 0x0A}, {VirtualKey::kCancel, 0x03, 0x03, 0x03},
    {VirtualKey::kTab, 0x09, 0x09, 0},       {VirtualKey::kAdd, '+', '+', 0},
    {VirtualKey::kSubtract, '-', '-', 0},    {VirtualKey::kMultiply, '*', '*', 0},
    {VirtualKey::kDivide, '/', '/', 0},      {VirtualKey::kDecimal, '.', '.', 0},
};

std::string Hex2(uint32_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02x", unsigned(value));
    return text;
}

// Keys whose scan codes a source cannot move: modifiers, locks, and keys with flag bits.
bool IsControlKey(uint16_t virtualKey)
{
    const uint8_t code = uint8_t(virtualKey);
    return (virtualKey & 0xFF00) != 0 || (code >= 0xA0 && code <= 0xA5) || code == 0x14 || code == 0x90 || code == 0x91;
}

int Fail(KlcError& error, int line, const std::string& message)
{
    error = {line, message};
    return 0;
}

void BuildModifiers(const KlcSource& source, LayoutTables& tables)
{
    std::fill(std::begin(tables.m_modNumbers), std::end(tables.m_modNumbers), ModifierBit::kInvalidColumn);
    uint8_t maxBits = 0;
    for (size_t column = 0; column < source.m_shiftStates.size(); ++column) {
        uint8_t bits = source.m_shiftStates[column];
        tables.m_modNumbers[bits] = uint8_t(column);
        maxBits = std::max(maxBits, bits);
    }
    tables.m_maxModBits = maxBits;
    uint16_t flags = source.m_attributeFlags;
    if (tables.m_modNumbers[ModifierBit::kCtrl | ModifierBit::kAlt] != ModifierBit::kInvalidColumn)
        flags |= kLocaleFlagAltGr;
    tables.m_localeFlags = kKbdVersion << 16 | flags;
}

int ApplyLayoutRows(const KlcSource& source, LayoutTables& tables, KlcError& error)
{
    const uint16_t* defaults = DefaultScanToVk();
    std::copy(defaults, defaults + kScanTableSize, tables.m_scanToVk);
    for (const KlcKeyRow& row : source.m_keys) {
        const uint16_t standard = defaults[row.m_scanCode];
        const uint8_t numpad = NumpadVirtualKey(row.m_scanCode);
        if (numpad != 0) {
            // The scan code keeps its numeric-pad entry; the row gives the characters of the key
            // Num Lock turns it into.
            if (row.m_virtualKey != numpad)
                return Fail(error, row.m_line,
                            "scan code " + Hex2(row.m_scanCode) + " is a numeric-pad key and can only give " +
                                VirtualKeyName(numpad));
            continue;
        }
        if (IsControlKey(standard))
            return Fail(error, row.m_line,
                        "scan code " + Hex2(row.m_scanCode) +
                            " is a modifier or control key and cannot carry characters");
        tables.m_scanToVk[row.m_scanCode] = row.m_virtualKey;
    }
    size_t count = 0;
    const ScanVk* e0 = DefaultScanToVkE0(count);
    tables.m_scanToVkE0.assign(e0, e0 + count);
    const ScanVk* e1 = DefaultScanToVkE1(count);
    tables.m_scanToVkE1.assign(e1, e1 + count);
    return 1;
}

CharTable& TableOfWidth(std::map<size_t, CharTable>& tables, size_t width)
{
    CharTable& table = tables[width];
    table.m_width = width;
    return table;
}

void AddLayoutKey(const KlcKeyRow& row, std::map<size_t, CharTable>& tables)
{
    CharTable& table = TableOfWidth(tables, row.m_cells.size());
    CharEntry entry{row.m_virtualKey, row.m_attributes, {}};
    CharEntry deadRow{VirtualKey::kDeadKeyRow, 0, {}};
    bool hasDead = false;
    for (const KlcCell& cell : row.m_cells) {
        uint16_t character = LayoutChar::kNone;
        uint16_t dead = LayoutChar::kNone;
        if (cell.m_kind == KlcCellKind::Character) {
            character = cell.m_character;
        } else if (cell.m_kind == KlcCellKind::Dead) {
            character = LayoutChar::kDead;
            dead = cell.m_character;
            hasDead = true;
        }
        entry.m_characters.push_back(character);
        deadRow.m_characters.push_back(dead);
    }
    table.m_entries.push_back(std::move(entry));
    if (hasDead)
        table.m_entries.push_back(std::move(deadRow));
}

void AddFixedKey(const FixedKey& key, const LayoutTables& tables, std::map<size_t, CharTable>& charTables)
{
    const std::pair<uint8_t, uint16_t> characters[] = {
        {0, key.m_base}, {ModifierBit::kShift, key.m_shift}, {ModifierBit::kCtrl, key.m_ctrl}};
    CharEntry entry{key.m_virtualKey, 0, {}};
    for (const auto& [bits, character] : characters) {
        uint8_t column = tables.m_modNumbers[bits];
        if (character == 0 || column == ModifierBit::kInvalidColumn)
            continue;
        if (entry.m_characters.size() <= column)
            entry.m_characters.resize(column + 1, LayoutChar::kNone);
        entry.m_characters[column] = character;
    }
    if (!entry.m_characters.empty())
        TableOfWidth(charTables, entry.m_characters.size()).m_entries.push_back(std::move(entry));
}

void BuildCharTables(const KlcSource& source, LayoutTables& tables)
{
    std::map<size_t, CharTable> byWidth;
    for (const KlcKeyRow& row : source.m_keys)
        AddLayoutKey(row, byWidth);
    auto listed = [&source](uint8_t virtualKey) {
        return std::any_of(source.m_keys.begin(), source.m_keys.end(),
                           [virtualKey](const KlcKeyRow& row) { return row.m_virtualKey == virtualKey; });
    };
    for (const FixedKey& key : s_fixedKeys) {
        if (!listed(key.m_virtualKey))
            AddFixedKey(key, tables, byWidth);
    }
    const uint8_t baseColumn = tables.m_modNumbers[0];
    for (uint8_t digit = 0; digit < 10; ++digit) {
        uint8_t virtualKey = uint8_t(VirtualKey::kNumpad0 + digit);
        if (listed(virtualKey))
            continue;
        CharEntry entry{virtualKey, 0, std::vector<uint16_t>(baseColumn + 1, LayoutChar::kNone)};
        entry.m_characters[baseColumn] = uint16_t('0' + digit);
        TableOfWidth(byWidth, entry.m_characters.size()).m_entries.push_back(std::move(entry));
    }
    tables.m_charTables.clear();
    for (auto it = byWidth.rbegin(); it != byWidth.rend(); ++it)
        tables.m_charTables.push_back(std::move(it->second));
}

void BuildDeadKeys(const KlcSource& source, LayoutTables& tables)
{
    tables.m_deadKeys.clear();
    for (const KlcDeadKey& deadKey : source.m_deadKeys) {
        for (const KlcDeadEntry& entry : deadKey.m_entries) {
            tables.m_deadKeys.push_back({uint32_t(entry.m_base) | uint32_t(deadKey.m_accent) << 16, entry.m_composed,
                                         entry.m_chained ? kDeadKeyChained : uint16_t(0)});
        }
    }
}

std::vector<ScanName> SortedNames(const std::vector<KlcKeyName>& names)
{
    std::vector<ScanName> sorted;
    for (const KlcKeyName& name : names)
        sorted.push_back({uint8_t(name.m_code), name.m_name});
    std::sort(sorted.begin(), sorted.end(),
              [](const ScanName& a, const ScanName& b) { return a.m_scanCode < b.m_scanCode; });
    return sorted;
}

} // namespace

int BuildLayoutTables(const KlcSource& source, LayoutTables& tables, KlcError& error)
{
    tables = LayoutTables();
    BuildModifiers(source, tables);
    if (!ApplyLayoutRows(source, tables, error))
        return 0;
    BuildCharTables(source, tables);
    BuildDeadKeys(source, tables);
    tables.m_keyNames = SortedNames(source.m_keyNames);
    tables.m_keyNamesExtended = SortedNames(source.m_keyNamesExtended);
    for (const KlcKeyName& name : source.m_keyNamesDead)
        tables.m_keyNamesDead.push_back(char16_t(name.m_code) + name.m_name);
    return 1;
}

int FindCharEntry(const LayoutTables& tables, uint8_t virtualKey, size_t& table, size_t& entry)
{
    if (virtualKey == VirtualKey::kDeadKeyRow)
        return 0;
    for (size_t t = 0; t < tables.m_charTables.size(); ++t) {
        const std::vector<CharEntry>& entries = tables.m_charTables[t].m_entries;
        for (size_t e = 0; e < entries.size(); ++e) {
            if (entries[e].m_virtualKey == virtualKey) {
                table = t;
                entry = e;
                return 1;
            }
        }
    }
    return 0;
}
