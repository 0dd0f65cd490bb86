#include "tests/layouts/KlcFixture.h"

#include "tools/layout/ImageLocator.h"
#include "tools/layout/VirtualKeys.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct Placement
{
    size_t m_offset;
    std::vector<uint8_t> m_bytes;
};

// An image of filler bytes with the given byte runs placed in it.
std::vector<uint8_t> Image(const std::vector<Placement>& placements)
{
    std::vector<uint8_t> image(4096, 0xCC);
    for (const Placement& placement : placements)
        std::copy(placement.m_bytes.begin(), placement.m_bytes.end(), image.begin() + long(placement.m_offset));
    return image;
}

std::string Line(const char* item, size_t offset, size_t length)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s 0x%08zx %zu\n", item, offset, length);
    return text;
}

TEST(ImageLocator, ReportsWhereThePatchedBytesLie)
{
    const LayoutTables tables = FixtureTables();
    const std::vector<uint8_t> image = Image({{100, ScanTableBytes(tables)},
                                              {700, PrefixedTableBytes(tables.m_scanToVkE0)},
                                              {1000, PrefixedTableBytes(tables.m_scanToVkE1)},
                                              {1200, CharTableBytes(tables.m_charTables[0])}});
    std::string report;
    std::string error;
    ASSERT_TRUE(LocatePatchedTables(tables, image, "# header\n", report, error)) << error;

    // DECIMAL is the fifth entry of the five-column table: 12 bytes each, characters after the
    // virtual key and the attributes.
    const size_t decimal = 1200 + 4 * 12 + 2;
    EXPECT_EQ(report, "# header\n# <item> <file offset> <length in bytes>\n" + Line("scan-table", 100, 256) +
                          Line("e0-table", 700, 4 * (tables.m_scanToVkE0.size() + 1)) + Line("e1-table", 1000, 8) +
                          Line("decimal-characters", decimal, 4));
    EXPECT_EQ(image[decimal - 2], VirtualKey::kDecimal);
    EXPECT_EQ(image[decimal], '.');
    EXPECT_EQ(image[decimal + 2], '.');
}

TEST(ImageLocator, EachItemMustOccurExactlyOnce)
{
    const LayoutTables tables = FixtureTables();
    const Placement scan{100, ScanTableBytes(tables)};
    const Placement e0{700, PrefixedTableBytes(tables.m_scanToVkE0)};
    const Placement e1{1000, PrefixedTableBytes(tables.m_scanToVkE1)};
    const Placement chars{1200, CharTableBytes(tables.m_charTables[0])};
    struct Case
    {
        const char* m_name;
        std::vector<Placement> m_placements;
        const char* m_message;
    };
    const Case cases[] = {
        {"NoScanTable", {e0, e1, chars}, "scan-code table occurs 0 times"},
        {"TwoScanTables", {scan, {3000, scan.m_bytes}, e0, e1, chars}, "scan-code table occurs 2 times"},
        {"NoE1Table", {scan, e0, chars}, "0xE1 table occurs 0 times"},
        {"NoDecimalTable", {scan, e0, e1}, "character table of the decimal key occurs 0 times"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        std::string report = "untouched";
        std::string error;
        EXPECT_FALSE(LocatePatchedTables(tables, Image(c.m_placements), "", report, error));
        EXPECT_NE(error.find(c.m_message), std::string::npos) << error;
        EXPECT_EQ(report, "untouched");
    }
}

} // namespace
