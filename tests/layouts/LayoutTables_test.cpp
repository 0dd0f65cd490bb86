#include "tests/layouts/KlcFixture.h"

#include "tools/layout/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Keys(const CharTable& table)
{
    std::vector<uint8_t> keys;
    for (const CharEntry& entry : table.m_entries)
        keys.push_back(entry.m_virtualKey);
    return keys;
}

LayoutTables Compile(const std::u16string& text)
{
    KlcSource source;
    LayoutTables tables;
    KlcError error;
    EXPECT_TRUE(CompileSource(text, source, tables, error)) << error.m_line << ": " << error.m_message;
    return tables;
}

// A minimal source with these SHIFTSTATE rows, LAYOUT rows and further lines.
std::u16string MinimalSource(const std::vector<std::u16string>& states, const std::vector<std::u16string>& rows,
                             const std::vector<std::u16string>& more = {})
{
    std::vector<std::u16string> lines = {u"KBD T \"t\"", u"SHIFTSTATE"};
    lines.insert(lines.end(), states.begin(), states.end());
    lines.push_back(u"LAYOUT");
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), more.begin(), more.end());
    lines.push_back(u"ENDKBD");
    return JoinLines(lines);
}

TEST(LayoutTables, ScanTableIsTheDefaultWithTheLayoutRows)
{
    const LayoutTables tables = FixtureTables();
    const uint16_t* defaults = DefaultScanToVk();
    for (size_t scan = 0; scan < kScanTableSize; ++scan) {
        SCOPED_TRACE(scan);
        // The row "15 Z" moves Z; "53 DECIMAL" only gives the characters of the numeric-pad key,
        // whose entry keeps its numeric-pad flags.
        EXPECT_EQ(tables.m_scanToVk[scan], scan == 0x15 ? 'Z' : defaults[scan]);
    }
    EXPECT_EQ(tables.m_scanToVk[0x53], 0x2E | KeyFlag::kNumpad | KeyFlag::kSpecial);
    size_t count = 0;
    const ScanVk* e0 = DefaultScanToVkE0(count);
    ASSERT_EQ(tables.m_scanToVkE0.size(), count);
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(tables.m_scanToVkE0[i].m_scanCode, e0[i].m_scanCode);
        EXPECT_EQ(tables.m_scanToVkE0[i].m_virtualKey, e0[i].m_virtualKey);
        EXPECT_TRUE(e0[i].m_virtualKey & KeyFlag::kExtended) << "every 0xE0 key is an extended key";
    }
    ASSERT_EQ(tables.m_scanToVkE1.size(), 1u);
    EXPECT_EQ(tables.m_scanToVkE1[0].m_scanCode, 0x1D);
    EXPECT_EQ(tables.m_scanToVkE1[0].m_virtualKey, 0x13) << "Pause";
}

TEST(LayoutTables, CharacterTablesGroupKeysByWidthWithTheNumericPadLast)
{
    const LayoutTables tables = FixtureTables();
    ASSERT_EQ(tables.m_charTables.size(), 4u);
    EXPECT_EQ(tables.m_charTables[0].m_width, 5u);
    EXPECT_EQ(tables.m_charTables[1].m_width, 3u);
    EXPECT_EQ(tables.m_charTables[2].m_width, 2u);
    EXPECT_EQ(tables.m_charTables[3].m_width, 1u);
    for (const CharTable& table : tables.m_charTables) {
        for (const CharEntry& entry : table.m_entries)
            EXPECT_EQ(entry.m_characters.size(), table.m_width);
    }

    // Source order; the dead-key row right after its key. DECIMAL is listed, so it is not added.
    EXPECT_EQ(Keys(tables.m_charTables[0]), (std::vector<uint8_t>{'A', 'Z', 0xDE, 0xFF, VirtualKey::kDecimal}));
    EXPECT_EQ(Keys(tables.m_charTables[1]),
              (std::vector<uint8_t>{VirtualKey::kBack, VirtualKey::kEscape, VirtualKey::kReturn, VirtualKey::kCancel}));
    EXPECT_EQ(Keys(tables.m_charTables[2]),
              (std::vector<uint8_t>{VirtualKey::kTab, VirtualKey::kAdd, VirtualKey::kSubtract, VirtualKey::kMultiply,
                                    VirtualKey::kDivide}));
    EXPECT_EQ(Keys(tables.m_charTables[3]),
              (std::vector<uint8_t>{0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69}));

    const CharEntry& quote = tables.m_charTables[0].m_entries[2];
    const CharEntry& deadRow = tables.m_charTables[0].m_entries[3];
    EXPECT_EQ(quote.m_characters,
              (std::vector<uint16_t>{LayoutChar::kDead, '"', LayoutChar::kNone, LayoutChar::kDead, LayoutChar::kNone}));
    EXPECT_EQ(deadRow.m_characters,
              (std::vector<uint16_t>{'\'', LayoutChar::kNone, LayoutChar::kNone, 0xB4, LayoutChar::kNone}));
    EXPECT_EQ(tables.m_charTables[0].m_entries[0].m_attributes, 5) << "Caps Lock with and without AltGr";
    EXPECT_EQ(tables.m_charTables[1].m_entries[2].m_characters, (std::vector<uint16_t>{'\r', '\r', '\n'}));
    EXPECT_EQ(tables.m_charTables[3].m_entries[7].m_characters, (std::vector<uint16_t>{'7'}));
}

TEST(LayoutTables, FixedKeysFollowTheSourceColumns)
{
    // Shift before base and no Ctrl column: Backspace has no Ctrl character, and each fixed
    // character sits in the column of its modifier bits.
    const LayoutTables tables = Compile(MinimalSource({u"1", u"0"}, {u"1e A 1 A a"}));
    ASSERT_EQ(tables.m_charTables.size(), 1u) << "every key has two columns";
    const CharTable& table = tables.m_charTables[0];
    size_t index = 0;
    size_t entry = 0;
    ASSERT_TRUE(FindCharEntry(tables, VirtualKey::kBack, index, entry));
    EXPECT_EQ(table.m_entries[entry].m_characters, (std::vector<uint16_t>{0x08, 0x08}));
    ASSERT_TRUE(FindCharEntry(tables, VirtualKey::kNumpad0 + 5, index, entry));
    EXPECT_EQ(table.m_entries[entry].m_characters, (std::vector<uint16_t>{LayoutChar::kNone, '5'}));
    ASSERT_TRUE(FindCharEntry(tables, VirtualKey::kDecimal, index, entry)) << "added when the source lacks it";
    EXPECT_EQ(table.m_entries[entry].m_characters, (std::vector<uint16_t>{'.', '.'}));
    EXPECT_EQ(tables.m_modNumbers[0], 1);
    EXPECT_EQ(tables.m_modNumbers[ModifierBit::kShift], 0);
}

TEST(LayoutTables, ModifiersAndLocaleFlagsFollowTheShiftStates)
{
    struct Case
    {
        const char* m_name;
        std::vector<std::u16string> m_states;
        std::vector<std::u16string> m_attributes;
        uint16_t m_maxModBits;
        std::vector<uint8_t> m_modNumbers;
        uint32_t m_localeFlags;
    };
    const uint8_t x = ModifierBit::kInvalidColumn;
    const Case cases[] = {
        {"AltGr", {u"0", u"1", u"2", u"6", u"7"}, {}, 7, {0, 1, 2, x, x, x, 3, 4}, 0x00010001},
        {"NoAltGr", {u"0", u"1", u"2"}, {}, 2, {0, 1, 2, x, x, x, x, x}, 0x00010000},
        {"ShiftLock", {u"0", u"1"}, {u"ATTRIBUTES", u"SHIFTLOCK"}, 1, {0, 1, x, x, x, x, x, x}, 0x00010002},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        std::u16string row = u"1e A 1 a";
        for (size_t i = 1; i < c.m_states.size(); ++i)
            row += u" A";
        const std::u16string text = MinimalSource(c.m_states, {row}, c.m_attributes);
        const LayoutTables tables = Compile(text);
        EXPECT_EQ(tables.m_maxModBits, c.m_maxModBits);
        EXPECT_EQ(std::vector<uint8_t>(std::begin(tables.m_modNumbers), std::end(tables.m_modNumbers)), c.m_modNumbers);
        EXPECT_EQ(tables.m_localeFlags, c.m_localeFlags);
    }
}

TEST(LayoutTables, DeadKeysPairBaseAndAccent)
{
    const LayoutTables tables = FixtureTables();
    ASSERT_EQ(tables.m_deadKeys.size(), 4u);
    EXPECT_EQ(tables.m_deadKeys[0].m_both, 0x00270061u);
    EXPECT_EQ(tables.m_deadKeys[0].m_composed, 0xE1);
    EXPECT_EQ(tables.m_deadKeys[0].m_flags, 0);
    EXPECT_EQ(tables.m_deadKeys[3].m_both, 0x00B40065u);
    EXPECT_EQ(tables.m_deadKeys[3].m_composed, '\'');
    EXPECT_EQ(tables.m_deadKeys[3].m_flags, kDeadKeyChained);
}

TEST(LayoutTables, KeyNamesAreOrderedByScanCode)
{
    const LayoutTables tables = FixtureTables();
    ASSERT_EQ(tables.m_keyNames.size(), 2u);
    EXPECT_EQ(tables.m_keyNames[0].m_scanCode, 0x01);
    EXPECT_EQ(tables.m_keyNames[1].m_scanCode, 0x3A);
    ASSERT_EQ(tables.m_keyNamesDead.size(), 1u);
    EXPECT_EQ(tables.m_keyNamesDead[0], u"'ACUTE ACCENT");
}

} // namespace
