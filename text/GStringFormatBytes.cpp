// Formatting engine: byte dumps (b, B), IPv4 addresses (w, W) and GUIDs (hw, hW).

#include "text/FormatEngine.h"
#include "text/GString.h"

namespace {

char16_t* WriteHexByte(char16_t* write, unsigned byte, const FormatSpec& field)
{
    write[0] = static_cast<char16_t>(field.m_hexDigits[byte >> 4]);
    write[1] = static_cast<char16_t>(field.m_hexDigits[byte & 0xF]);
    return write + 2;
}

} // namespace

int FormatBytes(CFormatOutput& out, const FormatSpec& field, const unsigned char* bytes)
{
    if (!bytes)
        return FormatAppendNull(out, field, true);
    int n = field.m_precision;
    bool braces = field.Has(FormatSpec::kAlternate);
    bool spaced = field.Has(FormatSpec::kSpace);
    bool grouped = field.Has(FormatSpec::kGroup);
    int64_t groups = (int64_t(n) + 3) / 4;
    int64_t length = 2 * int64_t(n);
    if (grouped)
        length += braces ? 2 * groups : groups - 1;
    else if (braces)
        length += 2 * int64_t(n);
    if (spaced)
        length += n - 1;

    int start = out.Length();
    char16_t* write = out.Reserve(length);
    if (!write)
        return 0;
    for (int i = 0; i < n; ++i) {
        if (grouped) {
            if (i % 4 == 0) {
                if (i > 0) {
                    if (braces)
                        *write++ = '}';
                    else
                        *write++ = ' ';
                    if (spaced)
                        *write++ = ' ';
                }
                if (braces)
                    *write++ = '{';
            } else if (spaced) {
                *write++ = ' ';
            }
            write = WriteHexByte(write, bytes[i], field);
        } else {
            if (braces)
                *write++ = '{';
            write = WriteHexByte(write, bytes[i], field);
            if (braces)
                *write++ = '}';
            if (spaced && i + 1 < n)
                *write++ = ' ';
        }
    }
    if (grouped && braces)
        *write++ = '}';
    out.Commit(static_cast<int>(length));
    return FormatPadAppended(out, field, start);
}

int FormatIpv4(CFormatOutput& out, const FormatSpec& field, const unsigned char* address)
{
    if (!address)
        return FormatAppendNull(out, field, false);
    bool fixed = field.Has(FormatSpec::kZero);
    char16_t body[15];
    char16_t* write = body;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            *write++ = '.';
        unsigned value = address[i];
        if (fixed || value >= 100)
            *write++ = static_cast<char16_t>('0' + value / 100);
        if (fixed || value >= 10)
            *write++ = static_cast<char16_t>('0' + value / 10 % 10);
        *write++ = static_cast<char16_t>('0' + value % 10);
    }
    return FormatAppendField(out, field, body, static_cast<int>(write - body), false);
}

int FormatGuid(CFormatOutput& out, const FormatSpec& field, const unsigned char* guid)
{
    if (!guid)
        return FormatAppendNull(out, field, false);
    // The first three fields are stored little-endian; -1 marks a hyphen.
    static const signed char kOrder[] = {3, 2, 1, 0, -1, 5, 4, -1, 7, 6, -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
    char16_t body[38];
    char16_t* write = body;
    *write++ = '{';
    for (signed char index : kOrder) {
        if (index < 0)
            *write++ = '-';
        else
            write = WriteHexByte(write, guid[index], field);
    }
    *write++ = '}';
    return FormatAppendField(out, field, body, 38, false);
}
