// Formatting engine: floating point (f, e, E, g, G, a, A), engineering notation (F) and sizes in
// binary units (U, I).

#include "text/DecimalDigits.h"
#include "text/FormatEngine.h"
#include "text/GString.h"

#include <cmath>
#include <cstring>

namespace {

const int kMaxWidth = 512;
const int kMaxPrecision = 308;

int ClampPrecision(int precision)
{
    return precision > kMaxPrecision ? kMaxPrecision : precision;
}

// The text of one conversion: a head (sign, and "0x" for a and A) that zero padding follows,
// then the rest. The largest conversion (f of the largest double with precision 308) is 619 units.
class CNumberText {
public:
    explicit CNumberText(const FormatSpec& field) : m_spec(field), m_length(0), m_head(0) {}

    void Sign(bool negative)
    {
        if (negative)
            Put('-');
        else if (m_spec.Has(FormatSpec::kPlus))
            Put('+');
        else if (m_spec.Has(FormatSpec::kSpace))
            Put(' ');
        m_head = m_length;
    }
    void EndHead() { m_head = m_length; }

    void Put(char16_t unit) { m_text[m_length++] = unit; }
    void PutDigits(const char* digits, int count)
    {
        for (int i = 0; i < count; ++i)
            m_text[m_length++] = static_cast<unsigned char>(digits[i]);
    }
    void PutZeros(int count)
    {
        for (int i = 0; i < count; ++i)
            m_text[m_length++] = '0';
    }
    // Letter, sign and at least two digits; three from 100 on, or always with the option bit.
    void PutExponent(char16_t letter, int exponent)
    {
        Put(letter);
        Put(exponent < 0 ? '-' : '+');
        unsigned magnitude = exponent < 0 ? 0u - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
        if (magnitude >= 100 || (m_spec.m_options & GString::kOptionThreeDigitExponent))
            Put(static_cast<char16_t>('0' + magnitude / 100 % 10));
        Put(static_cast<char16_t>('0' + magnitude / 10 % 10));
        Put(static_cast<char16_t>('0' + magnitude % 10));
    }

    // Pads to the width (at most 512): zeros go between the head and the rest.
    int AppendTo(CFormatOutput& out) const
    {
        int width = m_spec.m_width > kMaxWidth ? kMaxWidth : m_spec.m_width;
        int pad = width > m_length ? width - m_length : 0;
        char16_t* write = out.Reserve(m_length + pad);
        if (!write)
            return 0;
        bool left = m_spec.Has(FormatSpec::kLeft);
        bool zeros = !left && m_spec.Has(FormatSpec::kZero);
        int before = left || zeros ? 0 : pad;
        int between = zeros ? pad : 0;
        for (int i = 0; i < before; ++i)
            *write++ = ' ';
        std::memcpy(write, m_text, sizeof(char16_t) * m_head);
        write += m_head;
        for (int i = 0; i < between; ++i)
            *write++ = '0';
        std::memcpy(write, m_text + m_head, sizeof(char16_t) * (m_length - m_head));
        write += m_length - m_head;
        for (int i = 0; left && i < pad; ++i)
            *write++ = ' ';
        out.Commit(m_length + pad);
        return 1;
    }

private:
    const FormatSpec& m_spec;
    char16_t m_text[640];
    int m_length;
    int m_head;
};

int Fixed(CNumberText& text, const FormatSpec& field, double value)
{
    int precision = field.m_precision <= 0 ? 6 : ClampPrecision(field.m_precision);
    CDecimalDigits digits;
    if (!digits.GenerateFixed(value, precision))
        return 0;
    text.Sign(digits.Negative());
    int point = digits.Point();
    if (point > 0) {
        text.PutDigits(digits.Digits(), point);
        text.Put('.');
        text.PutDigits(digits.Digits() + point, digits.Count() - point);
    } else {
        text.Put('0');
        text.Put('.');
        text.PutZeros(-point);
        text.PutDigits(digits.Digits(), digits.Count());
    }
    return 1;
}

int Exponential(CNumberText& text, const FormatSpec& field, double value)
{
    int precision = field.m_precision <= 0 ? 6 : ClampPrecision(field.m_precision);
    CDecimalDigits digits;
    if (!digits.GenerateSignificant(value, precision + 1))
        return 0;
    text.Sign(digits.Negative());
    text.PutDigits(digits.Digits(), 1);
    text.Put('.');
    text.PutDigits(digits.Digits() + 1, precision);
    text.PutExponent(field.m_upper ? 'E' : 'e', digits.Point() - 1);
    return 1;
}

int General(CNumberText& text, const FormatSpec& field, double value)
{
    int precision = field.m_precision < 0 ? 6 : field.m_precision == 0 ? 1 : ClampPrecision(field.m_precision);
    CDecimalDigits digits;
    if (!digits.GenerateSignificant(value, precision))
        return 0;
    text.Sign(digits.Negative());
    const char* d = digits.Digits();
    bool alternate = field.Has(FormatSpec::kAlternate);
    int count = precision;
    int point = digits.Point();
    int exponent = point - 1;
    if (exponent < -4 || exponent >= precision) {
        while (!alternate && count > 1 && d[count - 1] == '0')
            --count;
        text.PutDigits(d, 1);
        if (count > 1 || alternate)
            text.Put('.');
        text.PutDigits(d + 1, count - 1);
        text.PutExponent(field.m_upper ? 'E' : 'e', exponent);
        return 1;
    }
    // Zero has the point after its first digit, so it shrinks to "0" here.
    while (!alternate && count > point && d[count - 1] == '0')
        --count;
    if (point > 0) {
        text.PutDigits(d, point);
        if (count > point || alternate)
            text.Put('.');
        text.PutDigits(d + point, count - point);
    } else {
        text.Put('0');
        text.Put('.');
        text.PutZeros(-point);
        text.PutDigits(d, count);
    }
    return 1;
}

int Hexadecimal(CNumberText& text, const FormatSpec& field, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    int biased = static_cast<int>(bits >> 52 & 0x7FF);
    int lead = biased == 0 ? 0 : 1;
    int exponent = biased != 0 ? biased - 1023 : fraction != 0 ? -1022 : 0;

    int nibbles[13];
    int significant = 0;
    for (int i = 0; i < 13; ++i) {
        nibbles[i] = static_cast<int>(fraction >> (48 - 4 * i) & 0xF);
        if (nibbles[i] != 0)
            significant = i + 1;
    }
    int precision = field.m_precision <= 0 ? significant : ClampPrecision(field.m_precision);
    // Halfway and above rounds up; the carry may reach the leading digit, the exponent stays.
    if (precision < 13 && (fraction >> (51 - 4 * precision) & 1)) {
        int i = precision - 1;
        while (i >= 0 && nibbles[i] == 0xF)
            nibbles[i--] = 0;
        if (i >= 0)
            ++nibbles[i];
        else
            ++lead;
    }

    text.Sign((bits >> 63) != 0);
    text.Put('0');
    text.Put(field.m_upper && (field.m_options & GString::kOptionUpperHexPrefix) ? 'X' : 'x');
    text.EndHead();
    text.Put(static_cast<char16_t>('0' + lead));
    if (precision > 0 || field.Has(FormatSpec::kAlternate))
        text.Put('.');
    for (int i = 0; i < precision; ++i)
        text.Put(static_cast<char16_t>(field.m_hexDigits[i < 13 ? nibbles[i] : 0]));
    text.Put(field.m_upper ? 'P' : 'p');
    text.Put(exponent < 0 ? '-' : '+');
    char reversed[4];
    int count = 0;
    for (unsigned magnitude = exponent < 0 ? -exponent : exponent; count == 0 || magnitude != 0; magnitude /= 10)
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
    while (count > 0)
        text.Put(static_cast<char16_t>(reversed[--count]));
    return 1;
}

int Engineering(CNumberText& text, const FormatSpec& field, double value)
{
    int precision = field.m_precision < 3 ? 3 : ClampPrecision(field.m_precision);
    CDecimalDigits digits;
    if (!digits.GenerateSignificant(value, precision))
        return 0;
    text.Sign(digits.Negative());
    // The exponent drops to a multiple of 3 and the digits before the point make up for it.
    int exponent = digits.Point() - 1;
    int remainder = exponent % 3;
    int before = 1;
    if (remainder == 1 || remainder == -2)
        before = 2;
    else if (remainder == 2 || remainder == -1)
        before = 3;
    exponent -= before - 1;
    text.PutDigits(digits.Digits(), before);
    text.Put('.');
    text.PutDigits(digits.Digits() + before, precision - before);
    if (field.Has(FormatSpec::kAlternate) && exponent >= -24 && exponent <= 24) {
        static const char16_t kPrefixes[] = u"YZEPTGMk m\u00B5npfazy";
        char16_t prefix = kPrefixes[(24 - exponent) / 3];
        if (prefix == u'\u00B5' && (field.m_options & GString::kOptionMicroAsU))
            prefix = 'u';
        text.Put(' ');
        text.Put(prefix);
    } else {
        text.PutExponent('e', exponent);
    }
    return 1;
}

} // namespace

int FormatFloat(CFormatOutput& out, const FormatSpec& field, double value)
{
    if (!std::isfinite(value)) {
        const char16_t* special = std::isnan(value) ? u"{ nan}" : value > 0 ? u"{+inf}" : u"{-inf}";
        return FormatAppendField(out, field, special, 6, true);
    }
    CNumberText text(field);
    int built;
    switch (field.m_letter) {
    case 'f': built = Fixed(text, field, value); break;
    case 'e': case 'E': built = Exponential(text, field, value); break;
    case 'g': case 'G': built = General(text, field, value); break;
    case 'a': case 'A': built = Hexadecimal(text, field, value); break;
    default: built = Engineering(text, field, value); break;
    }
    return built && text.AppendTo(out);
}

int FormatSize(CFormatOutput& out, const FormatSpec& field, uint64_t magnitude, bool negative)
{
    int precision = field.m_precision < 0 ? 3 : field.m_precision <= 1 ? 2 : ClampPrecision(field.m_precision);
    int unit = 0;
    for (uint64_t rest = magnitude >> 10; rest != 0; rest >>= 10)
        ++unit;
    double scaled = std::ldexp(static_cast<double>(magnitude), -10 * unit);
    CDecimalDigits digits;
    digits.GenerateSignificant(scaled, precision);
    if (digits.Point() > precision) {
        // Rounded up to more digits than fit before the point: one unit more.
        ++unit;
        digits.GenerateSignificant(scaled / 1024, precision > 1 ? precision - 1 : 1);
    }

    CNumberText text(field);
    text.Sign(negative);
    const char* d = digits.Digits();
    int point = digits.Point();
    int used = 0;
    int written = 0;
    if (point == 0) {
        text.Put('0');
        text.Put('.');
        written = 1;
    }
    for (; written < precision; ++written) {
        text.Put(used < digits.Count() ? static_cast<unsigned char>(d[used++]) : '0');
        if (written + 1 == point)
            text.Put('.');
    }
    if (field.Has(FormatSpec::kAlternate)) {
        static const char kUnits[] = "  KiMiGiTiPiEiZiYi";
        text.Put(' ');
        text.Put(static_cast<char16_t>(kUnits[2 * unit]));
        text.Put(static_cast<char16_t>(kUnits[2 * unit + 1]));
    } else {
        text.Put('b');
        text.Put(static_cast<char16_t>('0' + unit));
        text.Put('0');
    }
    return text.AppendTo(out);
}
