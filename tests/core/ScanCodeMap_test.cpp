#include "core/ScanCodeMap.h"
#include "tests/core/KeyTableTestSupport.h"

#include <memory>

namespace {

// A map value: header with the given count, the entries (new, physical), the closing entry.
Bytes Map(std::initializer_list<std::pair<uint16_t, uint16_t>> entries, int count = -1)
{
    Bytes bytes;
    AddLe32(bytes, 0);
    AddLe32(bytes, 0);
    AddLe32(bytes, count >= 0 ? uint32_t(count) : uint32_t(entries.size() + 1));
    for (const auto& [sent, physical] : entries)
        AddLe32(bytes, uint32_t(physical) << 16 | sent);
    AddLe32(bytes, 0);
    return bytes;
}

int Apply(std::vector<ScanCodeEntry>& keys, const Bytes& value)
{
    return ApplyScancodeMap(keys.data(), kKeyCatalogueRows, value.data(), uint32_t(value.size()));
}

// The map BuildScancodeMap gives; "(nothing)" when nothing is to be written.
Bytes Built(const std::vector<ScanCodeEntry>& keys, int hadMap)
{
    unsigned char* value = nullptr;
    uint32_t length = 99;
    EXPECT_EQ(BuildScancodeMap(keys.data(), kKeyCatalogueRows, hadMap, value, length), 1);
    std::unique_ptr<unsigned char[]> owned(value);
    if (value == nullptr) {
        EXPECT_EQ(length, 0u);
        return Bytes();
    }
    return Bytes(value, value + length);
}

TEST(ScancodeMap, ReadsRemapsIntoTheTable)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    ASSERT_EQ(Apply(keys, Map({{0x1D, 0x3A}, {0, 0xE05B}, {0xE038, 0x38}, {0x2A, 0x2A}})), 1);
    EXPECT_EQ(KeyRow(keys, 0x3A).m_remap, 0x1D);                // Caps Lock sends Left Ctrl
    EXPECT_EQ(KeyRow(keys, 0xE05B).m_remap, kRemapSwitchedOff); // left Windows key off
    EXPECT_EQ(KeyRow(keys, 0x38).m_remap, 0xE038);
    EXPECT_EQ(KeyRow(keys, 0x2A).m_remap, 0); // onto itself: normalised away
}

TEST(ScancodeMap, WritesTheRemappedKeysInTableOrder)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    KeyRow(keys, 0xE05B).m_remap = kRemapSwitchedOff;
    KeyRow(keys, 0x3A).m_remap = 0x1D;
    KeyRow(keys, 0x38).m_remap = 0xE038;
    EXPECT_EQ(Built(keys, 0), Map({{0xE038, 0x38}, {0x1D, 0x3A}, {0, 0xE05B}}));
    EXPECT_EQ(Built(keys, 1), Map({{0xE038, 0x38}, {0x1D, 0x3A}, {0, 0xE05B}}));
}

TEST(ScancodeMap, WithoutRemapsOnlyAnExistingMapIsRewritten)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    EXPECT_EQ(Built(keys, 0), Bytes());
    const Bytes empty = Built(keys, 1);
    EXPECT_EQ(empty, Map({}));
    EXPECT_EQ(empty.size(), kEmptyScancodeMapSize);
    // Remaps after the end of the key list are not part of it.
    keys[kKeyCatalogueRows - 1].m_remap = 0x1D;
    EXPECT_EQ(Built(keys, 0), Bytes());

    unsigned char* value = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(BuildScancodeMap(nullptr, kKeyCatalogueRows, 1, value, length), 0);
    EXPECT_EQ(value, nullptr);
}

TEST(ScancodeMap, KeysOutsideTheCatalogueAreDroppedOnTheWayThrough)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    ASSERT_EQ(Apply(keys, Map({{0x1D, 0x54}, {0x1D, 0x3A}, {0x3A, 0xE07F}, {0x1D, 0xE11D}})), 1);
    EXPECT_EQ(Built(keys, 1), Map({{0x1D, 0x3A}, {0x1D, 0xE11D}}));
}

TEST(ScancodeMap, MalformedValuesAreIgnored)
{
    const Bytes good = Map({{0x1D, 0x3A}});
    Bytes countTooLarge = Map({{0x1D, 0x3A}}, 3);
    Bytes hugeCount = Map({{0x1D, 0x3A}}, -1);
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = 0xFF; // 12 + 4 n wraps in 32 bits
    struct Case
    {
        const char* m_name;
        Bytes m_value;
    };
    const Case cases[] = {
        {"empty", Bytes()},
        {"header only", Bytes(good.begin(), good.begin() + 12)},
        {"15 bytes", Bytes(good.begin(), good.begin() + 15)},
        {"truncated entry list", Bytes(good.begin(), good.end() - 1)},
        {"count 0", Map({{0x1D, 0x3A}}, 0)},
        {"count 1 with an entry", Map({{0x1D, 0x3A}}, 1)},
        {"count beyond the length", countTooLarge},
        {"count that overflows", hugeCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        std::vector<ScanCodeEntry> keys = FreshKeyTable();
        EXPECT_EQ(Apply(keys, c.m_value), 0);
        EXPECT_EQ(KeyRow(keys, 0x3A).m_remap, 0);
    }
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    EXPECT_EQ(ApplyScancodeMap(keys.data(), kKeyCatalogueRows, nullptr, 16), 0);
    EXPECT_EQ(ApplyScancodeMap(nullptr, kKeyCatalogueRows, good.data(), uint32_t(good.size())), 0);
}

TEST(ScancodeMap, BytesBeyondTheCountAreNotRead)
{
    // Count 2: one entry; what follows the closing entry is not part of the map.
    Bytes value = Map({{0x1D, 0x3A}});
    AddLe32(value, 0x002A001D);
    AddLe32(value, 0);
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    ASSERT_EQ(Apply(keys, value), 1);
    EXPECT_EQ(KeyRow(keys, 0x3A).m_remap, 0x1D);
    EXPECT_EQ(KeyRow(keys, 0x2A).m_remap, 0);
    // The closing entry itself is not checked: the count alone says where the entries end.
    Bytes unclosed = Map({{0x1D, 0x3A}});
    unclosed[unclosed.size() - 2] = 0x2A;
    keys = FreshKeyTable();
    ASSERT_EQ(Apply(keys, unclosed), 1);
    EXPECT_EQ(KeyRow(keys, 0x2A).m_remap, 0);
}

} // namespace
