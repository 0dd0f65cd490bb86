// Storage of GString: the block and its growth, room and length, and the scratch string.
#include "text/GString.h"

#include "text/PackedString.h"

#include <cstring>
#include <new>

namespace {

const char16_t kEmptyW[1] = {0};
const char kEmptyUtf8[1] = {0};

GString::AllocationGate g_allocationGate = nullptr;

void* Allocate(std::size_t bytes)
{
    if (g_allocationGate && !g_allocationGate(bytes))
        return nullptr;
    return ::operator new(bytes, std::nothrow);
}

void Release(void* memory)
{
    ::operator delete(memory);
}

} // namespace

GString::AllocationGate GString::SetAllocationGate(AllocationGate gate)
{
    AllocationGate previous = g_allocationGate;
    g_allocationGate = gate;
    return previous;
}

GString::GString()
    : m_block(nullptr), m_length(0), m_start(0), m_capacity(0), m_granule(64), m_codePage(0), m_wide(0), m_options(0),
      m_lineWidth(80), m_scratch(nullptr)
{
}

GString::GString(char16_t unit, int count) : GString()
{
    m_wide = 1;
    if (count > 0)
        AppendCharW(unit, count);
}

GString::~GString()
{
    Release(m_block);
    if (m_scratch) {
        m_scratch->~GString();
        Release(m_scratch);
    }
    m_block = nullptr;
    m_length = 0;
    m_start = 0;
    m_capacity = 0;
    m_granule = 64;
    m_codePage = 0;
    m_wide = 0;
    m_options = 0;
    m_lineWidth = 80;
    m_scratch = nullptr;
}

int GString::Room() const
{
    if (!m_block)
        return 0;
    int units = (m_capacity - 4) / UnitSize();
    if (m_start >= units)
        return 0;
    return units - m_start - 1;
}

int GString::Spare() const
{
    int spare = Room() - m_length;
    return spare < 0 ? 0 : spare;
}

char16_t* GString::TextW() const
{
    return reinterpret_cast<char16_t*>(TextArea()) + m_start;
}

char* GString::TextUtf8() const
{
    return reinterpret_cast<char*>(TextArea()) + m_start;
}

void GString::Terminate()
{
    if (!m_block)
        return;
    if (m_wide)
        TextW()[m_length] = 0;
    else
        TextUtf8()[m_length] = 0;
}

void GString::SetFormAndClear(bool wide)
{
    m_wide = wide ? 1 : 0;
    Clear();
}

const char16_t* GString::GetW(int position) const
{
    if (!m_wide || m_length == 0 || position < 0)
        return kEmptyW;
    return TextW() + (position < m_length ? position : m_length);
}

const char* GString::GetUtf8(int position) const
{
    if (m_wide || m_length == 0 || position < 0)
        return kEmptyUtf8;
    return TextUtf8() + (position < m_length ? position : m_length);
}

int GString::Reserve(int n)
{
    if (n < 0)
        return 1;
    if (n <= m_length)
        return Compact();
    int64_t want = n;
    int64_t grown = int64_t(m_length) + m_length / 2;
    if (grown > want)
        want = grown;
    int unit = UnitSize();
    int64_t bytes = (want + 1) * unit + 4;
    if (bytes <= m_capacity) {
        if (want > Room())
            Compact();
        return 1;
    }
    int64_t blockBytes = (bytes + m_granule - 1) / m_granule * m_granule;
    if (blockBytes > INT32_MAX)
        return 0;
    auto* block = static_cast<unsigned char*>(Allocate(static_cast<std::size_t>(blockBytes)));
    if (!block)
        return 0;
    int newRoom = static_cast<int>((blockBytes - 4) / unit - 1);
    int keep = m_length < newRoom ? m_length : newRoom;
    if (m_block)
        std::memcpy(block + 4, TextArea() + std::size_t(m_start) * unit, std::size_t(keep) * unit);
    Release(m_block);
    m_block = block;
    m_start = 0;
    m_capacity = static_cast<int32_t>(blockBytes);
    m_length = keep;
    Terminate();
    uint32_t textBytes = uint32_t(m_length) * unit;
    if (textBytes <= PackedString::kLengthMask) {
        uint32_t header = textBytes | (m_wide ? 0 : PackedString::kUtf8Flag);
        std::memcpy(m_block, &header, sizeof header);
    }
    return 1;
}

int GString::EnsureSpare(int n)
{
    if (n <= 0 || Spare() >= n)
        return 1;
    if (int64_t(m_length) + n > INT32_MAX)
        return 0;
    return Reserve(m_length + n);
}

int GString::Compact()
{
    if (!m_block)
        return 0;
    if (m_start != 0) {
        int unit = UnitSize();
        std::memmove(TextArea(), TextArea() + std::size_t(m_start) * unit, (std::size_t(m_length) + 1) * unit);
        m_start = 0;
    }
    return 1;
}

void GString::Clear()
{
    m_length = 0;
    m_start = 0;
    Terminate();
}

int GString::SetLength(int n)
{
    if (!m_block)
        return 0;
    int room = Room();
    if (n >= 0) {
        m_length = n < room ? n : room;
    } else {
        int length = 0;
        bool found = false;
        for (int i = 0; i < room && !found; ++i) {
            bool zero = m_wide ? TextW()[i] == 0 : TextUtf8()[i] == 0;
            if (zero) {
                length = i;
                found = true;
            }
        }
        m_length = length;
    }
    if (m_length == 0)
        m_start = 0;
    Terminate();
    return 1;
}

GString* GString::PrepareScratch() const
{
    if (!m_scratch) {
        void* memory = Allocate(sizeof(GString));
        if (!memory)
            return nullptr;
        m_scratch = new (memory) GString();
    }
    m_scratch->Clear();
    m_scratch->m_codePage = m_codePage;
    return m_scratch;
}

void GString::TakeText(GString& source)
{
    int unit = source.UnitSize();
    int64_t needed = (int64_t(source.m_length) + 1) * unit + 4;
    if (m_block && needed <= m_capacity) {
        SetFormAndClear(source.m_wide != 0);
        if (source.m_length > 0)
            std::memcpy(TextArea(), source.TextArea() + std::size_t(source.m_start) * unit,
                        std::size_t(source.m_length) * unit);
        m_length = source.m_length;
        Terminate();
    } else {
        // The source's block is the larger one: exchanging blocks keeps the text without an
        // allocation that could fail after this string's text was given up.
        unsigned char* block = m_block;
        int32_t capacity = m_capacity;
        m_block = source.m_block;
        m_capacity = source.m_capacity;
        m_length = source.m_length;
        m_start = source.m_start;
        m_wide = source.m_wide;
        source.m_block = block;
        source.m_capacity = capacity;
    }
    source.Clear();
}

char16_t* GString::AppendBufferW(int n)
{
    if (!ToWide() || !EnsureSpare(n) || !m_block)
        return nullptr;
    return TextW() + m_length;
}

char* GString::AppendBufferUtf8(int n)
{
    if (!ToUtf8() || !EnsureSpare(n) || !m_block)
        return nullptr;
    return TextUtf8() + m_length;
}
