#pragma once
// Hand-made string tables: exact bytes, so that malformed tables can be built as easily as good ones.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void PutWord(Bytes& out, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<unsigned char>(value >> (8 * k)));
}

inline Bytes Utf8Record(const std::string& text, uint32_t extraHeaderBits = 0)
{
    Bytes record;
    PutWord(record, 0x80000000u | extraHeaderBits | static_cast<uint32_t>(text.size()));
    record.insert(record.end(), text.begin(), text.end());
    return record;
}

inline Bytes Utf16Record(const std::u16string& text)
{
    Bytes record;
    PutWord(record, static_cast<uint32_t>(text.size()));
    for (char16_t unit : text) {
        record.push_back(static_cast<unsigned char>(unit));
        record.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return record;
}

// A table whose entries each get their own record, in the given order (ids are not sorted here).
inline Bytes MakeTable(const std::vector<std::pair<uint32_t, Bytes>>& entries)
{
    Bytes index;
    Bytes texts;
    for (const auto& [id, record] : entries) {
        PutWord(index, id);
        PutWord(index, static_cast<uint32_t>(texts.size()));
        texts.insert(texts.end(), record.begin(), record.end());
    }
    index.insert(index.end(), texts.begin(), texts.end());
    return index;
}

// A heap copy of the table, as CGuard::Unpack hands one out; StringTable takes ownership of it.
inline unsigned char* HeapCopy(const Bytes& bytes)
{
    unsigned char* copy = new unsigned char[bytes.size() + 1];
    for (std::size_t i = 0; i < bytes.size(); ++i)
        copy[i] = bytes[i];
    return copy;
}
