#pragma once
// An unpacked string table: n entries of (id, text offset), two little-endian 32-bit words each,
// sorted by id in ascending unsigned order, followed by the text area holding the PackedString
// records. A text offset counts from the start of the text area.

#include <cstdint>

struct PackedString;

class StringTable {
public:
    static constexpr uint32_t kEntrySize = 8;

    StringTable();
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    // Forgets the buffer without releasing it.
    void Clear();
    // Releases the owned buffer (delete[]) and empties the table.
    void Reset();
    // Takes ownership of buffer (size bytes, count entries) when the table in it is well formed;
    // otherwise returns 0, changes nothing and leaves the buffer with the caller.
    int Attach(unsigned char* buffer, int32_t count, uint32_t size);
    // The record of id, or null when the table does not hold it.
    const PackedString* Find(uint32_t id) const;

    int32_t Count() const { return m_count; }

    // True when ids ascend strictly and every entry's record, header and text, lies in the buffer.
    static bool IsWellFormed(const unsigned char* buffer, int32_t count, uint32_t size);

private:
    int32_t m_count;
    unsigned char* m_buffer;
    const unsigned char* m_entries;
    const unsigned char* m_texts;
};
