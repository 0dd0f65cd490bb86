#pragma once
// A live key table as the installer holds it, for the key-table, map and patch tests.

#include "core/KeyTable.h"

#include <gtest/gtest.h>

#include <vector>

using Bytes = std::vector<unsigned char>;

inline std::vector<ScanCodeEntry> FreshKeyTable()
{
    std::vector<ScanCodeEntry> keys(kKeyCatalogueRows);
    InitKeyTable(keys.data());
    return keys;
}

inline ScanCodeEntry& KeyRow(std::vector<ScanCodeEntry>& keys, uint16_t scanCode)
{
    ScanCodeEntry* row = FindKey(keys.data(), int(keys.size()), scanCode);
    if (row == nullptr)
        ADD_FAILURE() << "no row for scan code " << std::hex << scanCode;
    static ScanCodeEntry s_dummy;
    return row != nullptr ? *row : s_dummy;
}

inline void AddLe16(Bytes& bytes, uint16_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
}

inline void AddLe32(Bytes& bytes, uint32_t value)
{
    AddLe16(bytes, uint16_t(value));
    AddLe16(bytes, uint16_t(value >> 16));
}
