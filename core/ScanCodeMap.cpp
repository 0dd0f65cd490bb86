#include "core/ScanCodeMap.h"

#include "core/ByteOrder.h"
#include "core/KeyTable.h"

namespace {

constexpr uint32_t kHeaderSize = 12;
constexpr uint32_t kEntrySize = 4;

} // namespace

int ApplyScancodeMap(ScanCodeEntry* keys, int count, const unsigned char* value, uint32_t length)
{
    if (keys == nullptr || count <= 0 || value == nullptr || length < kEmptyScancodeMapSize)
        return 0;
    const uint32_t entries = ReadLe32(value + 8);
    if (entries < 2 || uint64_t(kHeaderSize) + uint64_t(kEntrySize) * entries > length)
        return 0;
    for (uint32_t i = 0; i + 1 < entries; ++i) {
        const unsigned char* entry = value + kHeaderSize + kEntrySize * i;
        const uint16_t sent = ReadLe16(entry);
        ScanCodeEntry* row = FindKey(keys, count, ReadLe16(entry + 2));
        if (row != nullptr)
            row->m_remap = sent != 0 ? sent : kRemapSwitchedOff;
    }
    return NormalizeKeys(keys, count);
}

int BuildScancodeMap(const ScanCodeEntry* keys, int count, int hadMap, unsigned char*& value, uint32_t& length)
{
    value = nullptr;
    length = 0;
    if (keys == nullptr || count <= 0)
        return 0;
    uint32_t remapped = 0;
    for (int i = 0; i < count && keys[i].m_scanCode != 0; ++i)
        remapped += keys[i].m_remap != 0;
    if (remapped == 0 && !hadMap)
        return 1;
    length = kEmptyScancodeMapSize + kEntrySize * remapped;
    value = new unsigned char[length];
    WriteLe32(value, 0);
    WriteLe32(value + 4, 0);
    WriteLe32(value + 8, remapped + 1);
    unsigned char* entry = value + kHeaderSize;
    for (int i = 0; i < count && keys[i].m_scanCode != 0; ++i) {
        if (keys[i].m_remap == 0)
            continue;
        WriteLe16(entry, keys[i].m_remap == kRemapSwitchedOff ? 0 : keys[i].m_remap);
        WriteLe16(entry + 2, keys[i].m_scanCode);
        entry += kEntrySize;
    }
    WriteLe32(entry, 0);
    return 1;
}
