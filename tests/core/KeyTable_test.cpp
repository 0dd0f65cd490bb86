#include "tests/core/KeyTableTestSupport.h"

#include <memory>
#include <set>

namespace {

TEST(KeyCatalogue, HoldsEveryKeyOnceThenTheNoChangeRowAndTheEnd)
{
    const ScanCodeEntry* catalogue = KeyCatalogue();
    std::set<uint16_t> scanCodes;
    for (int i = 0; i < kKeyCatalogueRows - 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(catalogue[i].m_scanCode, 0);
        EXPECT_NE(catalogue[i].m_virtualKey, 0);
        EXPECT_NE(catalogue[i].m_nameId, 0);
        EXPECT_EQ(catalogue[i].m_remap, 0);
        EXPECT_TRUE(scanCodes.insert(catalogue[i].m_scanCode).second) << "scan code listed twice";
    }
    const ScanCodeEntry& noChange = catalogue[kKeyCatalogueRows - 2];
    const ScanCodeEntry& end = catalogue[kKeyCatalogueRows - 1];
    EXPECT_EQ(noChange.m_scanCode, 0);
    EXPECT_EQ(noChange.m_nameId, kNameIdNoChange);
    EXPECT_EQ(end.m_scanCode | end.m_virtualKey | end.m_nameId | end.m_remap, 0);
}

TEST(KeyCatalogue, FindsRowsByTheLow16BitsOfTheScanCode)
{
    ASSERT_NE(FindDefaultKey(0x3A), nullptr);
    EXPECT_EQ(FindDefaultKey(0x3A)->m_nameId, 174); // Caps Lock
    EXPECT_EQ(FindDefaultKey(0x7003A), FindDefaultKey(0x3A));
    ASSERT_NE(FindDefaultKey(0xE11D), nullptr);
    EXPECT_EQ(FindDefaultKey(0xE11D)->m_virtualKey, 0x13); // Pause, the last key
    EXPECT_EQ(FindDefaultKey(0xFF)->m_nameId, kNameIdSwitchedOff);
    EXPECT_EQ(FindDefaultKey(0x54), nullptr);
    EXPECT_EQ(FindDefaultKey(0), nullptr);
}

TEST(KeyCatalogue, QwertzSwapsYAndZOnly)
{
    const ScanCodeEntry* catalogue = KeyCatalogue();
    for (int row = 0; row < kKeyCatalogueRows; ++row) {
        const uint16_t scanCode = catalogue[row].m_scanCode;
        SCOPED_TRACE(scanCode);
        const uint16_t qwertz = scanCode == 0x15 ? 0x5A : scanCode == 0x2C ? 0x59 : catalogue[row].m_virtualKey;
        EXPECT_EQ(VariantDefaultVirtualKey(row, 0), catalogue[row].m_virtualKey);
        EXPECT_EQ(VariantDefaultVirtualKey(row, 1), qwertz);
        EXPECT_EQ(VariantDefaultVirtualKey(row, 2), catalogue[row].m_virtualKey);
    }
}

TEST(KeyTable, StartsAsTheCatalogueWithoutOverrides)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    const ScanCodeEntry* catalogue = KeyCatalogue();
    for (int i = 0; i < kKeyCatalogueRows; ++i) {
        EXPECT_EQ(keys[i].m_scanCode, catalogue[i].m_scanCode);
        EXPECT_EQ(keys[i].m_nameId, catalogue[i].m_nameId);
        EXPECT_EQ(keys[i].m_virtualKey, 0);
        EXPECT_EQ(keys[i].m_remap, 0);
    }
    EXPECT_EQ(FindKey(keys.data(), kKeyCatalogueRows, 0xE05B), &keys[FindDefaultKey(0xE05B) - catalogue]);
    EXPECT_EQ(FindKey(keys.data(), kKeyCatalogueRows, 0), nullptr);
    // The search ends at the first zero scan code, wherever the count ends.
    keys[10].m_scanCode = 0;
    EXPECT_EQ(FindKey(keys.data(), kKeyCatalogueRows, keys[20].m_scanCode), nullptr);
    EXPECT_EQ(FindKey(nullptr, kKeyCatalogueRows, 0x01), nullptr);
}

struct NormalizeCase
{
    const char* m_name;
    uint16_t m_scanCode;
    uint16_t m_virtualKey;
    uint16_t m_remap;
    uint16_t m_keptVirtualKey;
    uint16_t m_keptRemap;
};

TEST(KeyTable, NormalizationDropsOnlyWhatChangesNothing)
{
    const NormalizeCase cases[] = {
        {"remap onto itself", 0x3A, 0, 0x3A, 0, 0},
        {"remap elsewhere", 0x3A, 0, 0x1D, 0, 0x1D},
        {"switched off", 0x3A, 0, kRemapSwitchedOff, 0, kRemapSwitchedOff},
        {"override equal to the default", 0x1E, 0x41, 0, 0, 0},
        {"override of another key", 0x1E, 0x42, 0, 0x42, 0},
        {"default of an extended key", 0xE05B, 0x15B, 0, 0, 0},
        {"same key, other flags", 0xE05B, 0x5B, 0, 0x5B, 0},
        {"both at once", 0x01, 0x1B, 0x01, 0, 0},
        // The QWERTZ library has Z at 0x15 and Y at 0x2C: either letter on either key changes
        // the library of one variant, so it is kept.
        {"Y on 0x15", 0x15, 0x59, 0, 0x59, 0},
        {"Z on 0x15", 0x15, 0x5A, 0, 0x5A, 0},
        {"Z on 0x2C", 0x2C, 0x5A, 0, 0x5A, 0},
        {"Y on 0x2C", 0x2C, 0x59, 0, 0x59, 0},
    };
    for (const NormalizeCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        std::vector<ScanCodeEntry> keys = FreshKeyTable();
        ScanCodeEntry& row = KeyRow(keys, c.m_scanCode);
        row.m_virtualKey = c.m_virtualKey;
        row.m_remap = c.m_remap;
        ASSERT_EQ(NormalizeKeys(keys.data(), kKeyCatalogueRows), 1);
        EXPECT_EQ(row.m_virtualKey, c.m_keptVirtualKey);
        EXPECT_EQ(row.m_remap, c.m_keptRemap);
    }
}

TEST(KeyTable, NormalizationComparesRowByRowAndNeedsATable)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    // Row 1 holds key 0x02 ("1", VK 0x31); the value of row 0's default means nothing there.
    keys[1].m_virtualKey = KeyCatalogue()[0].m_virtualKey;
    keys[1].m_remap = KeyCatalogue()[0].m_scanCode;
    ASSERT_EQ(NormalizeKeys(keys.data(), kKeyCatalogueRows), 1);
    EXPECT_EQ(keys[1].m_virtualKey, KeyCatalogue()[0].m_virtualKey);
    EXPECT_EQ(keys[1].m_remap, KeyCatalogue()[0].m_scanCode);

    EXPECT_EQ(NormalizeKeys(nullptr, kKeyCatalogueRows), 0);
    EXPECT_EQ(NormalizeKeys(keys.data(), 0), 0);
}

Bytes Pairs(std::initializer_list<std::pair<uint16_t, uint16_t>> pairs)
{
    Bytes bytes;
    for (const auto& [scanCode, virtualKey] : pairs) {
        AddLe16(bytes, scanCode);
        AddLe16(bytes, virtualKey);
    }
    return bytes;
}

Bytes Built(std::vector<ScanCodeEntry>& keys)
{
    uint32_t length = 99;
    std::unique_ptr<unsigned char[]> buffer(BuildKeyOverrides(keys.data(), kKeyCatalogueRows, length));
    EXPECT_NE(buffer, nullptr);
    return buffer ? Bytes(buffer.get(), buffer.get() + length) : Bytes();
}

TEST(KeyOverrides, StoredFormRoundTripsInTableOrder)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    KeyRow(keys, 0xE11D).m_virtualKey = 0x91;
    KeyRow(keys, 0x3A).m_virtualKey = 0xA2;
    KeyRow(keys, 0xE05D).m_virtualKey = 0x1A5;
    KeyRow(keys, 0x1E).m_virtualKey = 0x41; // the default: not stored
    KeyRow(keys, 0x15).m_virtualKey = 0x5A;
    const Bytes stored = Built(keys);
    EXPECT_EQ(stored, Pairs({{0x15, 0x5A}, {0x3A, 0xA2}, {0xE05D, 0x1A5}, {0xE11D, 0x91}}));

    std::vector<ScanCodeEntry> restored = FreshKeyTable();
    ASSERT_EQ(ApplyKeyOverrides(restored.data(), kKeyCatalogueRows, stored.data(), uint32_t(stored.size())), 1);
    for (int i = 0; i < kKeyCatalogueRows; ++i)
        EXPECT_EQ(restored[i].m_virtualKey, keys[i].m_virtualKey) << "row " << i;
}

TEST(KeyOverrides, NoOverridesGiveAnEmptyBuffer)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    // A row after the end of the list is not part of it.
    keys[kKeyCatalogueRows - 1].m_virtualKey = 0x41;
    EXPECT_TRUE(Built(keys).empty());
    uint32_t length = 99;
    EXPECT_EQ(BuildKeyOverrides(nullptr, kKeyCatalogueRows, length), nullptr);
    EXPECT_EQ(length, 0u);
}

TEST(KeyOverrides, StoredValuesAreReadPairByPair)
{
    struct Case
    {
        const char* m_name;
        Bytes m_value;
        uint16_t m_scanCode;
        uint16_t m_virtualKey;
        int m_overrides; // rows with an override afterwards
    };
    const Bytes two = Pairs({{0x3A, 0xA2}, {0x1D, 0x14}});
    const Case cases[] = {
        {"a trailing odd byte is ignored", Bytes(two.begin(), two.end() - 3), 0x3A, 0xA2, 1},
        {"only whole pairs count", Bytes(two.begin(), two.end() - 1), 0x1D, 0, 1},
        {"a zero override keeps the earlier one", Pairs({{0x3A, 0xA2}, {0x3A, 0}}), 0x3A, 0xA2, 1},
        {"a later pair wins", Pairs({{0x3A, 0xA2}, {0x3A, 0xA3}}), 0x3A, 0xA3, 1},
        {"unknown keys are skipped", Pairs({{0x54, 0x41}, {0, 0x41}, {0x3A, 0xA2}}), 0x3A, 0xA2, 1},
        {"a default is normalised away", Pairs({{0x1E, 0x41}}), 0x1E, 0, 0},
        {"shorter than a pair", Bytes{0x3A, 0x00, 0xA2}, 0x3A, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        std::vector<ScanCodeEntry> keys = FreshKeyTable();
        ASSERT_EQ(ApplyKeyOverrides(keys.data(), kKeyCatalogueRows, c.m_value.data(), uint32_t(c.m_value.size())), 1);
        EXPECT_EQ(KeyRow(keys, c.m_scanCode).m_virtualKey, c.m_virtualKey);
        int overrides = 0;
        for (const ScanCodeEntry& row : keys)
            overrides += row.m_virtualKey != 0;
        EXPECT_EQ(overrides, c.m_overrides);
    }
}

TEST(KeyOverrides, NothingToApplyIsRefused)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    const Bytes value = Pairs({{0x3A, 0xA2}});
    EXPECT_EQ(ApplyKeyOverrides(keys.data(), kKeyCatalogueRows, nullptr, 4), 0);
    EXPECT_EQ(ApplyKeyOverrides(keys.data(), kKeyCatalogueRows, value.data(), 0), 0);
    EXPECT_EQ(ApplyKeyOverrides(nullptr, kKeyCatalogueRows, value.data(), 4), 0);
    EXPECT_EQ(KeyRow(keys, 0x3A).m_virtualKey, 0);
}

} // namespace
