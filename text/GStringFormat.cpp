// The driver of the formatting engine: directive parsing, argument walking, padding, integers.

#include "text/FormatEngine.h"
#include "text/GString.h"

#include <climits>

namespace {

const char kLowerDigits[] = "0123456789abcdef";
const char kUpperDigits[] = "0123456789ABCDEF";

bool IsDigit(char16_t unit)
{
    return unit >= '0' && unit <= '9';
}

bool IsUpperLetter(char16_t letter)
{
    switch (letter) {
    case 'X': case 'P': case 'C': case 'S': case 'Z': case 'B': case 'W': case 'E': case 'G': case 'A':
        return true;
    default:
        return false;
    }
}

// At most 10 digits; values beyond int become INT_MAX, a width no string can be padded to.
int ReadNumber(const char16_t*& p)
{
    int64_t value = 0;
    for (int digits = 0; digits < 10 && IsDigit(*p); ++digits, ++p)
        value = value * 10 + (*p - '0');
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

class CFormatter {
public:
    CFormatter(GString& target, va_list args) : m_out(target), m_entryLength(target.Length())
    {
        va_copy(m_args, args);
    }
    ~CFormatter() { va_end(m_args); }
    CFormatter(const CFormatter&) = delete;
    CFormatter& operator=(const CFormatter&) = delete;

    int Run(const char16_t* format);

private:
    // Reads one directive after its percent sign; false at the end of the format.
    bool Parse(const char16_t*& p, FormatSpec& field);
    int Convert(const FormatSpec& field);
    int ConvertSigned(const FormatSpec& field, bool size);

    CFormatOutput m_out;
    int m_entryLength;
    va_list m_args;
};

int CFormatter::Run(const char16_t* format)
{
    const char16_t* p = format;
    for (;;) {
        const char16_t* run = p;
        while (*p != 0 && *p != '%')
            ++p;
        if (p != run && !m_out.Append(run, static_cast<int>(p - run)))
            return 0;
        if (*p == 0)
            return m_out.Flush();
        ++p;
        if (*p == '%') {
            ++p;
            if (!m_out.Append(u"%", 1))
                return 0;
            continue;
        }
        FormatSpec field;
        if (!Parse(p, field))
            return m_out.Flush();
        int start = m_out.Length();
        if (!Convert(field)) {
            // Nothing of the failing directive stays behind; the text before it does.
            m_out.Truncate(start);
            m_out.Flush();
            return 0;
        }
    }
}

bool CFormatter::Parse(const char16_t*& p, FormatSpec& field)
{
    field.m_flags = 0;
    for (;; ++p) {
        unsigned flag;
        switch (*p) {
        case '-': flag = FormatSpec::kLeft; break;
        case '+': flag = FormatSpec::kPlus; break;
        case ' ': flag = FormatSpec::kSpace; break;
        case '0': flag = FormatSpec::kZero; break;
        case '#': flag = FormatSpec::kAlternate; break;
        case '$': flag = FormatSpec::kEscape; break;
        case '`': flag = FormatSpec::kGroup; break;
        default: flag = 0; break;
        }
        if (flag == 0)
            break;
        field.m_flags |= flag;
    }

    field.m_width = -1;
    if (*p == '*') {
        ++p;
        int width = va_arg(m_args, int);
        if (width < 0) {
            field.m_flags |= FormatSpec::kLeft;
            width = width == INT_MIN ? INT_MAX : -width;
        }
        field.m_width = width;
    } else if (IsDigit(*p)) {
        field.m_width = ReadNumber(p);
    }

    field.m_precision = 0;
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            ++p;
            field.m_precision = va_arg(m_args, int);
        } else {
            field.m_precision = ReadNumber(p);
        }
    }

    field.m_size = FormatSpec::kSizeNone;
    if (*p == 'h') {
        field.m_size = FormatSpec::kSizeShort;
        ++p;
    } else if (*p == 'L') {
        field.m_size = FormatSpec::kSize64;
        ++p;
    } else if (*p == 'l') {
        ++p;
        field.m_size = FormatSpec::kSizeLong;
        if (*p == 'l') {
            field.m_size = FormatSpec::kSize64;
            ++p;
        }
    }

    field.m_letter = *p;
    if (*p == 0)
        return false;
    ++p;
    field.m_upper = IsUpperLetter(field.m_letter);
    field.m_hexDigits = field.m_upper ? kUpperDigits : kLowerDigits;
    field.m_options = m_out.Target().Options();
    return true;
}

int CFormatter::ConvertSigned(const FormatSpec& field, bool size)
{
    int64_t value = field.m_size == FormatSpec::kSize64 ? va_arg(m_args, long long) : va_arg(m_args, int);
    bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return size ? FormatSize(m_out, field, magnitude, negative)
                : FormatInteger(m_out, field, magnitude, negative, true);
}

int CFormatter::Convert(const FormatSpec& field)
{
    bool is64 = field.m_size == FormatSpec::kSize64;
    bool isShort = field.m_size == FormatSpec::kSizeShort;
    switch (field.m_letter) {
    case 'd':
    case 'i':
        return ConvertSigned(field, false);
    case 'u':
    case 'x':
    case 'X':
    case 'o':
    case 'y': {
        uint64_t value = is64 ? va_arg(m_args, unsigned long long) : va_arg(m_args, unsigned);
        return FormatInteger(m_out, field, value, false, false);
    }
    case 'p':
    case 'P':
        return FormatPointer(m_out, field, reinterpret_cast<uintptr_t>(va_arg(m_args, const void*)));
    case 'c':
    case 'C':
        return FormatChar(m_out, field, va_arg(m_args, int));
    case 's':
    case 'S': {
        const void* text = isShort ? static_cast<const void*>(va_arg(m_args, const char*))
                                   : static_cast<const void*>(va_arg(m_args, const char16_t*));
        if (!text)
            return FormatAppendNull(m_out, field, true);
        if (is64)
            return 1;
        return isShort ? FormatTextUtf8(m_out, field, static_cast<const char*>(text), INT_MAX)
                       : FormatTextW(m_out, field, static_cast<const char16_t*>(text), INT_MAX);
    }
    case 'z':
    case 'Z':
        return isShort ? FormatPacked(m_out, field, va_arg(m_args, const PackedString*))
                       : FormatGString(m_out, field, va_arg(m_args, const GString*));
    case 'b':
    case 'B':
        // Without a byte count the argument stays for the next directive.
        if (field.m_precision <= 0)
            return 1;
        return FormatBytes(m_out, field, static_cast<const unsigned char*>(va_arg(m_args, const void*)));
    case 'w':
    case 'W': {
        auto* bytes = static_cast<const unsigned char*>(va_arg(m_args, const void*));
        return isShort ? FormatGuid(m_out, field, bytes) : FormatIpv4(m_out, field, bytes);
    }
    case 'n': {
        int* count = va_arg(m_args, int*);
        if (count)
            *count = m_out.Length() - m_entryLength;
        return 1;
    }
    case 'N':
        return m_out.Append(u"\r\n", 2);
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return FormatFloat(m_out, field, va_arg(m_args, double));
    case 'F': {
        double value = isShort ? va_arg(m_args, int)
                       : is64  ? static_cast<double>(va_arg(m_args, long long))
                               : va_arg(m_args, double);
        return FormatFloat(m_out, field, value);
    }
    case 'U': {
        uint64_t value = is64 ? va_arg(m_args, unsigned long long) : va_arg(m_args, unsigned);
        return FormatSize(m_out, field, value, false);
    }
    case 'I':
        return ConvertSigned(field, true);
    case 'T':
    case 't':
    case 'Y':
        va_arg(m_args, int);
        return 0;
    default:
        // Not a conversion: the letter is ordinary text.
        return m_out.Append(&field.m_letter, 1);
    }
}

} // namespace

int FormatInteger(CFormatOutput& out, const FormatSpec& field, uint64_t magnitude, bool negative, bool isSigned)
{
    int base;
    int prefixLength;
    switch (field.m_letter) {
    case 'x': case 'X': case 'p': case 'P': base = 16; prefixLength = 2; break;
    case 'o': base = 8; prefixLength = 1; break;
    case 'y': base = 2; prefixLength = 2; break;
    default: base = 10; prefixLength = 0; break;
    }
    if (!field.Has(FormatSpec::kAlternate))
        prefixLength = 0;

    char16_t digits[64];
    int count = 0;
    if (base == 10) {
        // 32-bit division is much cheaper than 64-bit division on the 32-bit target.
        for (; magnitude > 0xFFFFFFFFu; magnitude /= 10)
            digits[count++] = static_cast<char16_t>('0' + magnitude % 10);
        for (auto small = static_cast<uint32_t>(magnitude); small != 0; small /= 10)
            digits[count++] = static_cast<char16_t>('0' + small % 10);
    } else {
        int shift = base == 16 ? 4 : base == 8 ? 3 : 1;
        for (; magnitude != 0; magnitude >>= shift)
            digits[count++] = static_cast<char16_t>(field.m_hexDigits[magnitude & (base - 1)]);
    }
    if (count == 0)
        digits[count++] = '0';

    char16_t sign = 0;
    if (isSigned)
        sign = negative ? '-' : field.Has(FormatSpec::kPlus) ? '+' : field.Has(FormatSpec::kSpace) ? ' ' : 0;
    int signLength = sign ? 1 : 0;
    int precision = field.m_precision <= 0 ? 1 : field.m_precision > 308 ? 308 : field.m_precision;
    int width = count;
    if (precision >= signLength + prefixLength + count) {
        width = precision;
        // The leading zeros stand for the octal prefix.
        if (base == 8)
            prefixLength = 0;
    }
    int group = !field.Has(FormatSpec::kGroup) ? 0 : base == 10 || base == 8 ? 3 : 4;
    int separators = group ? (width - 1) / group : 0;
    int length = signLength + prefixLength + width + separators;

    bool left = field.Has(FormatSpec::kLeft);
    int pad = field.m_width > length ? field.m_width - length : 0;
    char16_t* write = out.Reserve(int64_t(length) + pad);
    if (!write)
        return 0;
    char16_t* end = write + length + pad;
    if (!left) {
        char16_t fill = field.Has(FormatSpec::kZero) ? '0' : ' ';
        for (int i = 0; i < pad; ++i)
            *write++ = fill;
    } else {
        for (int i = 0; i < pad; ++i)
            *--end = ' ';
    }
    if (sign)
        *write++ = sign;
    if (prefixLength > 0)
        *write++ = '0';
    if (prefixLength > 1) {
        bool upperX = field.m_upper && (field.m_options & GString::kOptionUpperHexPrefix);
        *write++ = base == 2 ? 'y' : upperX ? 'X' : 'x';
    }
    for (int placed = 0; placed < width; ++placed) {
        if (group && placed > 0 && placed % group == 0)
            *--end = ' ';
        *--end = placed < count ? digits[placed] : '0';
    }
    out.Commit(length + pad);
    return 1;
}

int FormatPointer(CFormatOutput& out, const FormatSpec& field, uintptr_t value)
{
    if (value == 0)
        return FormatAppendField(out, field, u"  {null}", 8, true);
    // At least 8 digits: all of a 32-bit pointer; a 64-bit host's pointers may show more.
    FormatSpec pointer = field;
    pointer.m_precision = 8;
    pointer.m_size = FormatSpec::kSizeNone;
    return FormatInteger(out, pointer, value, false, false);
}

int GString::Format(const char16_t* format, ...)
{
    SetFormAndClear(true);
    va_list args;
    va_start(args, format);
    int result = AppendFormatV(format, args);
    va_end(args);
    return result;
}

int GString::AppendFormatV(const char16_t* format, va_list args)
{
    if (!format || !m_wide)
        return 0;
    CFormatter formatter(*this, args);
    return formatter.Run(format);
}
