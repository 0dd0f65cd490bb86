// The library patch on a small synthetic image: filler bytes with the three scan-code tables and
// the decimal key's characters at known places, found by patterns that are their first bytes.

#include "core/LibraryPatch.h"
#include "tests/core/KeyTableTestSupport.h"

#include <cstring>
#include <functional>
#include <list>
#include <string>

namespace {

constexpr uint32_t kImageSize = 0x900;
constexpr uint32_t kScanTable = 0x100;
constexpr uint32_t kE1Table = 0x300;
constexpr uint32_t kDecimal = 0x500;
constexpr uint32_t kE0Table = 0x700; // the last: nothing after it ends a walk by chance
constexpr uint32_t kPatternSize = 12;

// Offsets where two images differ.
std::string Differences(const Bytes& actual, const Bytes& expected)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    std::string text;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i])
            text += std::to_string(i) + " ";
    }
    return text;
}

class LibraryPatchTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        // Filler that never holds a zero byte, so a prefixed table ends only where it should.
        m_image.resize(kImageSize);
        uint32_t state = 0x2545F491;
        for (unsigned char& byte : m_image) {
            state = state * 1103515245 + 12345;
            byte = uint8_t(1 + (state >> 16) % 255);
        }
        const ScanCodeEntry* catalogue = KeyCatalogue();
        for (int i = 0; catalogue[i].m_scanCode != 0; ++i) {
            const uint16_t scanCode = catalogue[i].m_scanCode;
            if (scanCode < 0x80)
                WriteWord(kScanTable + 2 * scanCode, catalogue[i].m_virtualKey);
        }
        // The 0xE0 table has no entry for 0xE01D (right Ctrl).
        WritePrefixedTable(kE0Table, {{0x1C, 0x10D}, {0x35, 0x16F}, {0x5B, 0x15B}, {0x5C, 0x15C}});
        WritePrefixedTable(kE1Table, {{0x1D, 0x13}});
        // Base and Shift character of the decimal key, each 16 bits: "." and ".".
        WriteWord(kDecimal, 0x2E);
        WriteWord(kDecimal + 2, 0x2E);
        m_patterns = {PatternAt(kScanTable), PatternAt(kE0Table), PatternAt(kE1Table), PatternAt(kDecimal)};
        m_original = m_image;
    }

    void WriteWord(uint32_t offset, uint16_t value)
    {
        m_image[offset] = uint8_t(value);
        m_image[offset + 1] = uint8_t(value >> 8);
    }

    void WritePrefixedTable(uint32_t offset, std::initializer_list<std::pair<uint8_t, uint16_t>> entries)
    {
        for (const auto& [scanCode, virtualKey] : entries) {
            m_image[offset] = scanCode;
            m_image[offset + 1] = 0;
            WriteWord(offset + 2, virtualKey);
            offset += 4;
        }
        std::memset(&m_image[offset], 0, 4);
    }

    BytePattern PatternAt(uint32_t offset)
    {
        m_patternBytes.emplace_back(m_image.begin() + offset, m_image.begin() + offset + kPatternSize);
        return {m_patternBytes.back().data(), int32_t(kPatternSize)};
    }

    int Patch(int comma)
    {
        return PatchLayoutImage(m_image.data(), uint32_t(m_image.size()), m_keys.data(), int(m_keys.size()), m_patterns,
                                comma);
    }

    Bytes m_image;
    Bytes m_original;
    std::list<Bytes> m_patternBytes;
    LibraryPatterns m_patterns {};
    std::vector<ScanCodeEntry> m_keys = FreshKeyTable();
};

TEST_F(LibraryPatchTest, WithoutChoicesTheImageStaysAsBuilt)
{
    ASSERT_EQ(Patch(0), 1);
    EXPECT_EQ(Differences(m_image, m_original), "");
}

TEST_F(LibraryPatchTest, WritesEachOverrideAndTheCommaExactlyWhereTheyBelong)
{
    KeyRow(m_keys, 0x01).m_virtualKey = 0x14;
    KeyRow(m_keys, 0x7E).m_virtualKey = 0x6E;   // the last entry a key can reach: table + 252
    KeyRow(m_keys, 0x15).m_virtualKey = 0x59;   // Y where QWERTZ has Z
    KeyRow(m_keys, 0xE05C).m_virtualKey = 0x1A5;
    KeyRow(m_keys, 0xE01D).m_virtualKey = 0x1A5; // no entry in the 0xE0 table: nothing written
    KeyRow(m_keys, 0xE11D).m_virtualKey = 0x91;
    KeyRow(m_keys, 0x3A).m_remap = 0x1D;        // remaps belong to the scan-code map, not here
    Bytes expected = m_image;
    auto word = [&expected](uint32_t offset, uint16_t value) {
        expected[offset] = uint8_t(value);
        expected[offset + 1] = uint8_t(value >> 8);
    };
    word(kScanTable + 2 * 0x01, 0x14);
    word(kScanTable + 252, 0x6E);
    word(kScanTable + 2 * 0x15, 0x59);
    word(kE0Table + 3 * 4 + 2, 0x1A5);
    word(kE1Table + 2, 0x91);
    expected[kDecimal] = 0x2C;
    expected[kDecimal + 2] = 0x2C;

    ASSERT_EQ(Patch(1), 1);
    EXPECT_EQ(Differences(m_image, expected), "");
}

TEST_F(LibraryPatchTest, TheDecimalPatternIsNeededOnlyForAComma)
{
    m_patterns.m_decimalCharacters = {nullptr, 0};
    EXPECT_EQ(Patch(0), 1);
    EXPECT_EQ(Patch(1), 0);
    EXPECT_EQ(Differences(m_image, m_original), "");
}

TEST_F(LibraryPatchTest, RefusesPlacesItCannotTrustAndLeavesTheImageAlone)
{
    KeyRow(m_keys, 0x01).m_virtualKey = 0x14;
    KeyRow(m_keys, 0xE05C).m_virtualKey = 0x1A5;
    static const unsigned char s_absent[] = {0x00, 0x00, 0x00, 0x01, 0x02, 0x03};
    using Prepare = std::function<void(LibraryPatchTest&)>;
    // Moves the only occurrence of a pattern to `offset`.
    auto moveTo = [](BytePattern LibraryPatterns::*pattern, uint32_t from, uint32_t offset) {
        return [=](LibraryPatchTest& t) {
            const BytePattern bytes = t.m_patterns.*pattern;
            std::memcpy(&t.m_image[offset], bytes.m_bytes, size_t(bytes.m_size));
            t.m_image[from] ^= 0xFF;
        };
    };
    const struct
    {
        const char* m_name;
        Prepare m_prepare;
    } cases[] = {
        {"scan table pattern missing", [](LibraryPatchTest& t) { t.m_patterns.m_scanTable = {nullptr, 0}; }},
        {"0xE0 pattern empty", [](LibraryPatchTest& t) { t.m_patterns.m_e0Table = {s_absent, 0}; }},
        {"0xE1 pattern not in the image", [](LibraryPatchTest& t) { t.m_patterns.m_e1Table = {s_absent, 6}; }},
        {"scan table pattern twice",
         [](LibraryPatchTest& t) {
             std::memcpy(&t.m_image[kImageSize - 20], t.m_patterns.m_scanTable.m_bytes, kPatternSize);
         }},
        // Entries 0..0x7E need 254 bytes from the start of the table.
        {"scan table cut off by the image end", moveTo(&LibraryPatterns::m_scanTable, kScanTable, kImageSize - 253)},
        {"0xE0 table without its zero entry",
         [](LibraryPatchTest& t) { std::memset(&t.m_image[kE0Table + 4 * 4], 0x77, 4); }},
        {"decimal characters at the very end",
         [](LibraryPatchTest& t) {
             t.m_patterns.m_decimalCharacters = {&t.m_original[kImageSize - 2], 2};
             uint32_t offset = 0;
             ASSERT_EQ(FindPattern(t.m_image.data(), kImageSize, t.m_patterns.m_decimalCharacters, offset), 1);
             ASSERT_EQ(offset, kImageSize - 2);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m_name);
        SetUp();
        c.m_prepare(*this);
        const Bytes before = m_image;
        EXPECT_EQ(Patch(1), 0);
        EXPECT_EQ(Differences(m_image, before), "");
    }
}

TEST(FindPattern, FindsTheOnlyOccurrenceAtEitherEnd)
{
    const unsigned char image[] = {1, 2, 3, 4, 5, 6, 1, 2};
    const unsigned char head[] = {1, 2, 3};
    const unsigned char tail[] = {6, 1, 2};
    const unsigned char twice[] = {1, 2};
    const unsigned char longer[] = {1, 2, 3, 4, 5, 6, 1, 2, 3};
    uint32_t offset = 99;
    EXPECT_EQ(FindPattern(image, sizeof image, {head, 3}, offset), 1);
    EXPECT_EQ(offset, 0u);
    EXPECT_EQ(FindPattern(image, sizeof image, {tail, 3}, offset), 1);
    EXPECT_EQ(offset, 5u);
    EXPECT_EQ(FindPattern(image, sizeof image, {twice, 2}, offset), 0);
    EXPECT_EQ(FindPattern(image, sizeof image, {longer, 9}, offset), 0);
    EXPECT_EQ(FindPattern(image, sizeof image, {head, -1}, offset), 0);
    EXPECT_EQ(FindPattern(nullptr, 0, {head, 3}, offset), 0);
    EXPECT_EQ(offset, 5u);
}

} // namespace
