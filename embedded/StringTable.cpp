#include "embedded/StringTable.h"

#include "text/PackedString.h"

namespace {

uint32_t Word(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

StringTable::StringTable() { Clear(); }

StringTable::~StringTable() { Reset(); }

void StringTable::Clear()
{
    m_count = 0;
    m_buffer = nullptr;
    m_entries = nullptr;
    m_texts = nullptr;
}

void StringTable::Reset()
{
    delete[] m_buffer;
    Clear();
}

bool StringTable::IsWellFormed(const unsigned char* buffer, int32_t count, uint32_t size)
{
    if (buffer == nullptr || count <= 0)
        return false;
    const uint64_t entryBytes = uint64_t(count) * kEntrySize;
    if (entryBytes > size)
        return false;
    const uint64_t textBytes = size - entryBytes;
    const unsigned char* texts = buffer + entryBytes;
    for (int32_t i = 0; i < count; ++i) {
        const unsigned char* entry = buffer + uint64_t(i) * kEntrySize;
        if (i > 0 && Word(entry) <= Word(entry - kEntrySize))
            return false;
        const uint64_t offset = Word(entry + 4);
        if (offset + PackedString::kHeaderSize > textBytes)
            return false;
        const PackedString* record = reinterpret_cast<const PackedString*>(texts + offset);
        const uint64_t characterBytes = record->IsUtf8() ? record->Length() : uint64_t(record->Length()) * 2;
        if (offset + PackedString::kHeaderSize + characterBytes > textBytes)
            return false;
    }
    return true;
}

int StringTable::Attach(unsigned char* buffer, int32_t count, uint32_t size)
{
    if (!IsWellFormed(buffer, count, size))
        return 0;
    Reset();
    m_count = count;
    m_buffer = buffer;
    m_entries = buffer;
    m_texts = buffer + uint32_t(count) * kEntrySize;
    return 1;
}

const PackedString* StringTable::Find(uint32_t id) const
{
    if (m_entries == nullptr || m_texts == nullptr)
        return nullptr;
    int32_t lo = 0;
    int32_t hi = m_count - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const unsigned char* entry = m_entries + uint32_t(mid) * kEntrySize;
        const uint32_t entryId = Word(entry);
        if (id == entryId)
            return reinterpret_cast<const PackedString*>(m_texts + Word(entry + 4));
        if (id > entryId)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return nullptr;
}
