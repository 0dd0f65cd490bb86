#include "tools/layout/ImageLocator.h"

#include "tools/layout/VirtualKeys.h"

#include <algorithm>
#include <cstdio>

namespace {

void AddWord(std::vector<uint8_t>& bytes, uint16_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
}

// Offsets of every occurrence of needle in haystack.
std::vector<size_t> FindAll(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle)
{
    std::vector<size_t> found;
    auto it = haystack.begin();
    while (true) {
        it = std::search(it, haystack.end(), needle.begin(), needle.end());
        if (it == haystack.end())
            return found;
        found.push_back(size_t(it - haystack.begin()));
        ++it;
    }
}

int FindOnce(const std::vector<uint8_t>& image, const std::vector<uint8_t>& bytes, const char* what, size_t& offset,
             std::string& error)
{
    std::vector<size_t> found = FindAll(image, bytes);
    if (found.size() != 1) {
        error = std::string("the ") + what + " occurs " + std::to_string(found.size()) +
                " times in the image instead of once";
        return 0;
    }
    offset = found.front();
    return 1;
}

std::string Line(const char* item, size_t offset, size_t length)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s 0x%08zx %zu\n", item, offset, length);
    return text;
}

} // namespace

std::vector<uint8_t> ScanTableBytes(const LayoutTables& tables)
{
    std::vector<uint8_t> bytes;
    for (uint16_t virtualKey : tables.m_scanToVk)
        AddWord(bytes, virtualKey);
    return bytes;
}

std::vector<uint8_t> PrefixedTableBytes(const std::vector<ScanVk>& entries)
{
    std::vector<uint8_t> bytes;
    for (const ScanVk& entry : entries) {
        bytes.push_back(entry.m_scanCode);
        bytes.push_back(0);
        AddWord(bytes, entry.m_virtualKey);
    }
    bytes.insert(bytes.end(), 4, 0);
    return bytes;
}

std::vector<uint8_t> CharTableBytes(const CharTable& table)
{
    std::vector<uint8_t> bytes;
    for (const CharEntry& entry : table.m_entries) {
        bytes.push_back(entry.m_virtualKey);
        bytes.push_back(entry.m_attributes);
        for (uint16_t character : entry.m_characters)
            AddWord(bytes, character);
    }
    bytes.insert(bytes.end(), 2 + 2 * table.m_width, 0);
    return bytes;
}

int LocatePatchedTables(const LayoutTables& tables, const std::vector<uint8_t>& image, const std::string& header,
                        std::string& report, std::string& error)
{
    size_t scanTable = 0;
    size_t e0Table = 0;
    size_t e1Table = 0;
    const std::vector<uint8_t> scanBytes = ScanTableBytes(tables);
    const std::vector<uint8_t> e0Bytes = PrefixedTableBytes(tables.m_scanToVkE0);
    const std::vector<uint8_t> e1Bytes = PrefixedTableBytes(tables.m_scanToVkE1);
    if (!FindOnce(image, scanBytes, "scan-code table", scanTable, error) ||
        !FindOnce(image, e0Bytes, "0xE0 table", e0Table, error) ||
        !FindOnce(image, e1Bytes, "0xE1 table", e1Table, error))
        return 0;

    size_t table = 0;
    size_t entry = 0;
    if (!FindCharEntry(tables, VirtualKey::kDecimal, table, entry)) {
        error = "the layout has no numeric-pad decimal key";
        return 0;
    }
    const CharTable& decimalTable = tables.m_charTables[table];
    if (decimalTable.m_width < 2 || tables.m_modNumbers[0] != 0 || tables.m_modNumbers[ModifierBit::kShift] != 1) {
        error = "the numeric-pad decimal key needs the base and Shift characters in its first two columns";
        return 0;
    }
    size_t charTable = 0;
    if (!FindOnce(image, CharTableBytes(decimalTable), "character table of the decimal key", charTable, error))
        return 0;
    const size_t decimal = charTable + entry * (2 + 2 * decimalTable.m_width) + 2;

    report = header;
    report += "# <item> <file offset> <length in bytes>\n";
    report += Line("scan-table", scanTable, scanBytes.size());
    report += Line("e0-table", e0Table, e0Bytes.size());
    report += Line("e1-table", e1Table, e1Bytes.size());
    report += Line("decimal-characters", decimal, 4);
    return 1;
}
