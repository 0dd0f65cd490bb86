#include "core/KeyTable.h"

#include "core/ByteOrder.h"

void InitKeyTable(ScanCodeEntry* keys)
{
    const ScanCodeEntry* catalogue = KeyCatalogue();
    for (int i = 0; i < kKeyCatalogueRows; ++i) {
        keys[i] = catalogue[i];
        keys[i].m_virtualKey = 0;
    }
}

ScanCodeEntry* FindKey(ScanCodeEntry* keys, int count, uint32_t scanCode)
{
    if (keys == nullptr)
        return nullptr;
    const uint16_t wanted = uint16_t(scanCode);
    for (int i = 0; i < count && keys[i].m_scanCode != 0; ++i) {
        if (keys[i].m_scanCode == wanted)
            return &keys[i];
    }
    return nullptr;
}

int NormalizeKeys(ScanCodeEntry* keys, int count)
{
    if (keys == nullptr || count <= 0)
        return 0;
    const ScanCodeEntry* catalogue = KeyCatalogue();
    // A table longer than the catalogue has no defaults for its extra rows.
    const int rows = count < kKeyCatalogueRows ? count : kKeyCatalogueRows;
    for (int i = 0; i < rows; ++i) {
        if (keys[i].m_remap == catalogue[i].m_scanCode)
            keys[i].m_remap = 0;
        if (keys[i].m_virtualKey != 0 && IsDefaultInEveryVariant(i, keys[i].m_virtualKey))
            keys[i].m_virtualKey = 0;
    }
    return 1;
}

int ApplyKeyOverrides(ScanCodeEntry* keys, int count, const unsigned char* pairs, uint32_t length)
{
    if (keys == nullptr || count <= 0 || pairs == nullptr || length == 0)
        return 0;
    for (uint32_t offset = 0; length - offset >= 4; offset += 4) {
        const uint16_t virtualKey = ReadLe16(pairs + offset + 2);
        ScanCodeEntry* row = FindKey(keys, count, ReadLe16(pairs + offset));
        if (row != nullptr && virtualKey != 0)
            row->m_virtualKey = virtualKey;
    }
    return NormalizeKeys(keys, count);
}

unsigned char* BuildKeyOverrides(ScanCodeEntry* keys, int count, uint32_t& length)
{
    length = 0;
    if (!NormalizeKeys(keys, count))
        return nullptr;
    uint32_t pairs = 0;
    for (int i = 0; i < count && keys[i].m_scanCode != 0; ++i)
        pairs += keys[i].m_virtualKey != 0;
    unsigned char* buffer = new unsigned char[4 * pairs];
    unsigned char* out = buffer;
    for (int i = 0; i < count && keys[i].m_scanCode != 0; ++i) {
        if (keys[i].m_virtualKey == 0)
            continue;
        WriteLe16(out, keys[i].m_scanCode);
        WriteLe16(out + 2, keys[i].m_virtualKey);
        out += 4;
    }
    length = 4 * pairs;
    return buffer;
}
