// GString assignment, appending and the conversions between UTF-16 and UTF-8.
#include "text/GString.h"

#include "text/GStringInternal.h"
#include "text/PackedString.h"

#include <cstring>

using gstring_internal::IsContinuation;
using gstring_internal::TextLength;

namespace gstring_internal {

int64_t Utf8Size(const char16_t* text, int length)
{
    int64_t bytes = 0;
    for (int i = 0; i < length; ++i)
        bytes += text[i] < 0x80 ? 1 : text[i] < 0x800 ? 2 : 3;
    return bytes;
}

int EncodeUtf8(char16_t unit, unsigned char* out)
{
    if (unit < 0x80) {
        out[0] = static_cast<unsigned char>(unit);
        return 1;
    }
    if (unit < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | unit >> 6);
        out[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        return 2;
    }
    out[0] = static_cast<unsigned char>(0xE0 | unit >> 12);
    out[1] = static_cast<unsigned char>(0x80 | (unit >> 6 & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
    return 3;
}

} // namespace gstring_internal

const char16_t* GString::ToWide()
{
    if (m_wide)
        return GetW();
    if (m_length == 0) {
        SetFormAndClear(true);
        return GetW();
    }
    GString* scratch = PrepareScratch();
    if (!scratch || !scratch->AssignAsWide(this))
        return nullptr;
    TakeText(*scratch);
    return GetW();
}

const char* GString::ToUtf8()
{
    if (!m_wide)
        return GetUtf8();
    if (m_length == 0) {
        m_wide = 0;
        Terminate();
        return GetUtf8();
    }
    m_codePage = 0;
    GString* scratch = PrepareScratch();
    if (!scratch)
        return nullptr;
    scratch->SetFormAndClear(false);
    if (!scratch->AppendW(TextW(), m_length))
        return nullptr;
    TakeText(*scratch);
    return GetUtf8();
}

int GString::AppendSameForm(const void* text, int length)
{
    int unit = UnitSize();
    auto address = reinterpret_cast<uintptr_t>(text);
    // A text taken from this string itself (Append(*this), AppendW(GetW(k))) must survive the
    // block being moved or replaced, so it is found again by its offset from the text start.
    intptr_t offset = -1;
    if (m_block) {
        auto textStart = reinterpret_cast<uintptr_t>(TextArea()) + uintptr_t(m_start) * unit;
        auto blockEnd = reinterpret_cast<uintptr_t>(m_block) + uintptr_t(m_capacity);
        if (address >= textStart && address < blockEnd)
            offset = static_cast<intptr_t>(address - textStart);
    }
    if (!EnsureSpare(length))
        return 0;
    const unsigned char* source = static_cast<const unsigned char*>(text);
    if (offset >= 0)
        source = TextArea() + std::size_t(m_start) * unit + offset;
    std::memmove(TextArea() + (std::size_t(m_start) + m_length) * unit, source, std::size_t(length) * unit);
    m_length += length;
    Terminate();
    return 1;
}

int GString::AppendEncodedUtf8(const char16_t* text, int length)
{
    int64_t bytes = gstring_internal::Utf8Size(text, length);
    if (bytes > INT32_MAX || !EnsureSpare(static_cast<int>(bytes)))
        return 0;
    auto* out = reinterpret_cast<unsigned char*>(TextUtf8() + m_length);
    for (int i = 0; i < length; ++i)
        out += gstring_internal::EncodeUtf8(text[i], out);
    m_length += static_cast<int>(bytes);
    Terminate();
    m_codePage = 0;
    return 1;
}

int GString::AppendDecodedUtf8(const char* text, int length)
{
    auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int units = 0;
    for (int i = 0; i < length;) {
        unsigned char lead = bytes[i];
        int step = lead < 0x80             ? 1
                   : (lead & 0xE0) == 0xC0 ? 2
                   : (lead & 0xF0) == 0xE0 ? 3
                   : (lead & 0xF8) == 0xF0 ? 4
                                           : 0;
        ++units;
        if (step == 0 || step > length - i)
            break;
        i += step;
    }
    if (!EnsureSpare(units))
        return 0;
    char16_t* out = TextW() + m_length;
    int written = 0;
    for (int i = 0; i < length;) {
        unsigned char lead = bytes[i];
        char16_t unit;
        if (lead < 0x80) {
            unit = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0 && length - i >= 2 && IsContinuation(bytes[i + 1])) {
            unit = static_cast<char16_t>((lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0 && length - i >= 3 && IsContinuation(bytes[i + 1]) &&
                   IsContinuation(bytes[i + 2])) {
            unit = static_cast<char16_t>((lead & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F));
            i += 3;
        } else {
            Terminate();
            return 0;
        }
        out[written++] = unit;
    }
    m_length += written;
    Terminate();
    return 1;
}

int GString::AppendW(const char16_t* text, int length)
{
    if (!text)
        return 1;
    if (length < 0)
        length = TextLength(text);
    if (length == 0)
        return 1;
    return m_wide ? AppendSameForm(text, length) : AppendEncodedUtf8(text, length);
}

int GString::AppendUtf8(const char* text, int length)
{
    if (!text)
        return 1;
    if (length < 0)
        length = TextLength(text);
    if (length == 0)
        return 1;
    return m_wide ? AppendDecodedUtf8(text, length) : AppendSameForm(text, length);
}

void GString::Append(const GString& other)
{
    if (other.m_wide)
        AppendW(other.GetW(), other.m_length);
    else
        AppendUtf8(other.GetUtf8(), other.m_length);
}

int GString::AppendCharW(char16_t unit, int count)
{
    if (unit == 0 || count <= 0)
        return 1;
    if (!m_wide && unit >= 0x80)
        return 0;
    if (!EnsureSpare(count))
        return 0;
    if (m_wide) {
        char16_t* out = TextW() + m_length;
        for (int i = 0; i < count; ++i)
            out[i] = unit;
    } else {
        std::memset(TextUtf8() + m_length, static_cast<unsigned char>(unit), std::size_t(count));
    }
    m_length += count;
    Terminate();
    return 1;
}

int GString::AppendCharUtf8(char byte, int count)
{
    auto value = static_cast<unsigned char>(byte);
    if (value == 0 || count <= 0)
        return 1;
    if (m_wide)
        return value < 0x80 ? AppendCharW(value, count) : 0;
    if (!EnsureSpare(count))
        return 0;
    std::memset(TextUtf8() + m_length, value, std::size_t(count));
    m_length += count;
    Terminate();
    return 1;
}

int GString::AssignW(const char16_t* text, int length)
{
    SetFormAndClear(true);
    return AppendW(text, length);
}

int GString::AssignUtf8(const char* text, int length)
{
    SetFormAndClear(false);
    return AppendUtf8(text, length);
}

int GString::AssignUtf8AsWide(const char* text, int length)
{
    SetFormAndClear(true);
    return AppendUtf8(text, length);
}

void GString::Assign(const GString& other)
{
    if (&other == this)
        return;
    SetFormAndClear(other.m_wide != 0);
    m_codePage = other.m_codePage;
    Append(other);
}

int GString::AssignAsWide(const GString* other)
{
    if (other == this)
        return ToWide() ? 1 : 0;
    SetFormAndClear(true);
    if (!other)
        return 0;
    m_codePage = other->m_codePage;
    return other->m_wide ? AppendW(other->GetW(), other->m_length) : AppendUtf8(other->GetUtf8(), other->m_length);
}

int GString::AssignAsUtf8(const GString* other)
{
    if (other == this)
        return ToUtf8() ? 1 : 0;
    SetFormAndClear(false);
    if (!other)
        return 0;
    return other->m_wide ? AppendW(other->GetW(), other->m_length) : AppendUtf8(other->GetUtf8(), other->m_length);
}

int GString::AssignPacked(const PackedString* packed)
{
    if (!packed) {
        Clear();
        return 0;
    }
    int length = static_cast<int>(packed->Length());
    const unsigned char* characters = packed->Characters();
    if (packed->IsUtf8()) {
        SetFormAndClear(false);
        return AppendUtf8(reinterpret_cast<const char*>(characters), length);
    }
    SetFormAndClear(true);
    if (length == 0)
        return 1;
    if (!EnsureSpare(length))
        return 0;
    // Records are unaligned little-endian; read each unit bytewise.
    char16_t* out = TextW();
    for (int i = 0; i < length; ++i)
        out[i] = static_cast<char16_t>(characters[2 * i] | characters[2 * i + 1] << 8);
    m_length = length;
    Terminate();
    return 1;
}
