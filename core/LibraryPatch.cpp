#include "core/LibraryPatch.h"

#include "core/ByteOrder.h"

#include <cstring>

namespace {

// Scan codes below this index the scan-code table; it holds at least this many 16-bit entries.
constexpr uint32_t kScanTableEntries = 0x7F;
constexpr uint32_t kPrefixedEntrySize = 4;
constexpr unsigned char kComma = 0x2C;

int FindNext(const unsigned char* image, uint32_t size, const BytePattern& pattern, uint32_t from, uint32_t& offset)
{
    const uint32_t patternSize = uint32_t(pattern.m_size);
    for (uint32_t at = from; size - at >= patternSize; ++at) {
        const void* hit = std::memchr(image + at, pattern.m_bytes[0], size - at - patternSize + 1);
        if (hit == nullptr)
            return 0;
        at = uint32_t(static_cast<const unsigned char*>(hit) - image);
        if (std::memcmp(image + at, pattern.m_bytes, patternSize) == 0) {
            offset = at;
            return 1;
        }
    }
    return 0;
}

// A prefixed table is usable when its zero entry lies inside the image.
int IsTerminatedTable(const unsigned char* image, uint32_t size, uint32_t table)
{
    for (uint32_t entry = table; size - entry >= kPrefixedEntrySize; entry += kPrefixedEntrySize) {
        if (image[entry] == 0)
            return 1;
    }
    return 0;
}

// The walk is bounded by the image too: the other tables' writes may have hit this one.
void PatchPrefixedTable(unsigned char* image, uint32_t size, uint32_t table, const ScanCodeEntry* keys, int count,
                        uint16_t prefix)
{
    for (int i = 0; i < count; ++i) {
        if ((keys[i].m_scanCode & 0xFF00) != prefix || keys[i].m_virtualKey == 0)
            continue;
        for (uint32_t entry = table; size - entry >= kPrefixedEntrySize && image[entry] != 0;
             entry += kPrefixedEntrySize) {
            if (image[entry] == uint8_t(keys[i].m_scanCode)) {
                WriteLe16(image + entry + 2, keys[i].m_virtualKey);
                break;
            }
        }
    }
}

} // namespace

int FindPattern(const unsigned char* image, uint32_t size, const BytePattern& pattern, uint32_t& offset)
{
    if (image == nullptr || pattern.m_bytes == nullptr || pattern.m_size <= 0 || uint32_t(pattern.m_size) > size)
        return 0;
    uint32_t first = 0;
    uint32_t second = 0;
    if (!FindNext(image, size, pattern, 0, first) || FindNext(image, size, pattern, first + 1, second))
        return 0;
    offset = first;
    return 1;
}

int PatchLayoutImage(unsigned char* image, uint32_t size, const ScanCodeEntry* keys, int count,
                     const LibraryPatterns& patterns, int comma)
{
    if (keys == nullptr || count < 0)
        return 0;
    uint32_t scanTable = 0;
    uint32_t e0Table = 0;
    uint32_t e1Table = 0;
    uint32_t decimal = 0;
    if (!FindPattern(image, size, patterns.m_scanTable, scanTable) || size - scanTable < 2 * kScanTableEntries)
        return 0;
    if (!FindPattern(image, size, patterns.m_e0Table, e0Table) || !IsTerminatedTable(image, size, e0Table))
        return 0;
    if (!FindPattern(image, size, patterns.m_e1Table, e1Table) || !IsTerminatedTable(image, size, e1Table))
        return 0;
    // Both characters are 16-bit; the bytes written are the low byte of each.
    if (comma && (!FindPattern(image, size, patterns.m_decimalCharacters, decimal) || size - decimal < 3))
        return 0;

    for (int i = 0; i < count; ++i) {
        if (keys[i].m_scanCode < kScanTableEntries && keys[i].m_virtualKey != 0)
            WriteLe16(image + scanTable + 2 * keys[i].m_scanCode, keys[i].m_virtualKey);
    }
    PatchPrefixedTable(image, size, e0Table, keys, count, 0xE000);
    PatchPrefixedTable(image, size, e1Table, keys, count, 0xE100);
    if (comma) {
        image[decimal] = kComma;
        image[decimal + 2] = kComma;
    }
    return 1;
}
