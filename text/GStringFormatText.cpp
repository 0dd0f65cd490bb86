// Formatting engine: characters (c, C) and texts (s, S, z, Z), with their escapes.

#include "text/FormatEngine.h"
#include "text/GString.h"
#include "text/PackedString.h"

namespace {

bool NeedsEscape(unsigned unit, const FormatSpec& field)
{
    if (field.Has(FormatSpec::kEscape))
        return unit < 0x20 || unit > 0x7E;
    return field.Has(FormatSpec::kAlternate) && unit < 0x20;
}

// Writes the brace form of the unit's low 8 bits, 4 units.
char16_t* WriteEscape(char16_t* write, unsigned unit, const FormatSpec& field)
{
    write[0] = '{';
    write[1] = static_cast<char16_t>(field.m_hexDigits[unit >> 4 & 0xF]);
    write[2] = static_cast<char16_t>(field.m_hexDigits[unit & 0xF]);
    write[3] = '}';
    return write + 4;
}

// Units of UTF-16 text the precision selects: positive, at most that many before a zero unit;
// negative, exactly that many; zero, up to the zero unit. Never beyond limit.
int SpanW(const char16_t* text, int limit, int precision)
{
    if (precision < 0)
        return -int64_t(precision) < limit ? -precision : limit;
    int most = precision > 0 && precision < limit ? precision : limit;
    int n = 0;
    // Four units a time while the bound is far; every text of the program passes here.
    while (most - n >= 4 && text[n] != 0 && text[n + 1] != 0 && text[n + 2] != 0 && text[n + 3] != 0)
        n += 4;
    while (n < most && text[n] != 0)
        ++n;
    return n;
}

// Bytes of UTF-8 text the precision selects. A positive precision counts characters (a lead byte
// with the continuation bytes after it), or bytes when every byte is escaped on its own.
int SpanUtf8(const char* text, int limit, int precision, bool bytewise)
{
    if (precision < 0)
        return -int64_t(precision) < limit ? -precision : limit;
    auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int n = 0;
    for (int characters = 0; n < limit && bytes[n] != 0 && (precision == 0 || characters < precision);
         ++characters) {
        unsigned char lead = bytes[n++];
        if (!bytewise && lead >= 0xC0) {
            while (n < limit && (bytes[n] & 0xC0) == 0x80)
                ++n;
        }
    }
    return n;
}

} // namespace

int FormatChar(CFormatOutput& out, const FormatSpec& field, int value)
{
    bool isShort = field.m_size == FormatSpec::kSizeShort;
    unsigned unit = static_cast<unsigned>(value) & (isShort ? 0xFFu : 0xFFFFu);
    char16_t body[4];
    int length = 1;
    if (NeedsEscape(unit, field)) {
        WriteEscape(body, unit, field);
        length = 4;
    } else if (isShort && unit >= 0x80) {
        // A lone byte of 0x80 or above is not UTF-8 text.
        return 0;
    } else {
        body[0] = static_cast<char16_t>(unit);
    }
    return FormatAppendField(out, field, body, length, true);
}

int FormatTextW(CFormatOutput& out, const FormatSpec& field, const char16_t* text, int limit)
{
    int n = SpanW(text, limit, field.m_precision);
    if (!field.Has(FormatSpec::kEscape) && !field.Has(FormatSpec::kAlternate))
        return FormatAppendField(out, field, text, n, true);
    int64_t length = n;
    for (int i = 0; i < n; ++i)
        length += NeedsEscape(text[i], field) ? 3 : 0;
    int start = out.Length();
    if (length > 0) {
        char16_t* write = out.Reserve(length);
        if (!write)
            return 0;
        for (int i = 0; i < n; ++i) {
            if (NeedsEscape(text[i], field))
                write = WriteEscape(write, text[i], field);
            else
                *write++ = text[i];
        }
        out.Commit(static_cast<int>(length));
    }
    return FormatPadAppended(out, field, start);
}

int FormatTextUtf8(CFormatOutput& out, const FormatSpec& field, const char* text, int limit)
{
    bool bytewise = field.Has(FormatSpec::kEscape);
    int n = SpanUtf8(text, limit, field.m_precision, bytewise);
    auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int start = out.Length();
    if (bytewise) {
        // Every byte on its own: printable ones as units, the others as escapes.
        int64_t length = n;
        for (int i = 0; i < n; ++i)
            length += NeedsEscape(bytes[i], field) ? 3 : 0;
        if (length > 0) {
            char16_t* write = out.Reserve(length);
            if (!write)
                return 0;
            for (int i = 0; i < n; ++i) {
                if (NeedsEscape(bytes[i], field))
                    write = WriteEscape(write, bytes[i], field);
                else
                    *write++ = bytes[i];
            }
            out.Commit(static_cast<int>(length));
        }
    } else if (field.Has(FormatSpec::kAlternate)) {
        // Control bytes are escaped; the runs between them are decoded.
        int run = 0;
        for (int i = 0; i < n; ++i) {
            if (bytes[i] >= 0x20)
                continue;
            char16_t escape[4];
            WriteEscape(escape, bytes[i], field);
            if (!out.AppendUtf8(text + run, i - run) || !out.Append(escape, 4))
                return 0;
            run = i + 1;
        }
        if (!out.AppendUtf8(text + run, n - run))
            return 0;
    } else if (!out.AppendUtf8(text, n)) {
        return 0;
    }
    return FormatPadAppended(out, field, start);
}

int FormatGString(CFormatOutput& out, const FormatSpec& field, const GString* text)
{
    if (!text)
        return FormatAppendNull(out, field, true);
    GString& target = out.Target();
    if (text == &target) {
        // The target's block moves as it grows; format a copy of its whole text instead.
        GString* copy = target.PrepareScratch();
        if (!copy || !out.Flush())
            return 0;
        copy->Assign(target);
        if (copy->Length() != target.Length())
            return 0;
        text = copy;
    }
    // The string's length bounds the text, so a negative precision cannot read past it.
    if (text->IsWide())
        return FormatTextW(out, field, text->GetW(), text->Length());
    return FormatTextUtf8(out, field, text->GetUtf8(), text->Length());
}

int FormatPacked(CFormatOutput& out, const FormatSpec& field, const PackedString* text)
{
    if (!text)
        return FormatAppendNull(out, field, true);
    // Records carry no terminator: the length field bounds the text.
    int length = static_cast<int>(text->Length());
    if (text->IsUtf8())
        return FormatTextUtf8(out, field, reinterpret_cast<const char*>(text->Characters()), length);
    // UTF-16 records are unaligned; the scratch string holds an aligned copy.
    GString* units = out.Target().PrepareScratch();
    if (!units || !units->AssignPacked(text))
        return 0;
    return FormatTextW(out, field, units->GetW(), units->Length());
}
