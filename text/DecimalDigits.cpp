#include "text/DecimalDigits.h"

#include <cstdint>
#include <cstring>

namespace {

// An unsigned integer in 32-bit limbs, least significant first. 40 limbs hold the largest
// integer part of a double (below 2^1024) and every fraction numerator the expansion forms
// (below 2^1095).
class CBigUnsigned {
public:
    void SetShifted(uint64_t value, int shift)
    {
        int limb = shift / 32;
        int bits = shift % 32;
        std::memset(m_limbs, 0, sizeof(uint32_t) * limb);
        auto low = static_cast<uint32_t>(value);
        auto high = static_cast<uint32_t>(value >> 32);
        m_limbs[limb] = low << bits;
        m_limbs[limb + 1] = bits == 0 ? high : high << bits | low >> (32 - bits);
        m_limbs[limb + 2] = bits == 0 ? 0 : high >> (32 - bits);
        m_size = limb + 3;
        Trim();
    }

    bool IsZero() const { return m_size == 0; }

    void MulSmall(uint32_t factor)
    {
        uint32_t carry = 0;
        for (int i = 0; i < m_size; ++i) {
            uint64_t product = uint64_t(m_limbs[i]) * factor + carry;
            m_limbs[i] = static_cast<uint32_t>(product);
            carry = static_cast<uint32_t>(product >> 32);
        }
        if (carry)
            m_limbs[m_size++] = carry;
    }

    // Divides in place and returns the remainder.
    uint32_t DivSmall(uint32_t divisor)
    {
        uint64_t remainder = 0;
        for (int i = m_size - 1; i >= 0; --i) {
            uint64_t current = remainder << 32 | m_limbs[i];
            m_limbs[i] = static_cast<uint32_t>(current / divisor);
            remainder = current % divisor;
        }
        Trim();
        return static_cast<uint32_t>(remainder);
    }

    // Returns this >> bits, which the caller knows to be below 2^32, and keeps this mod 2^bits.
    uint32_t TakeAbove(int bits)
    {
        int limb = bits / 32;
        int shift = bits % 32;
        if (limb >= m_size)
            return 0;
        uint32_t high = m_limbs[limb] >> shift;
        if (shift != 0 && limb + 1 < m_size)
            high |= m_limbs[limb + 1] << (32 - shift);
        m_limbs[limb] &= shift == 0 ? 0 : (uint32_t(1) << shift) - 1;
        m_size = limb + 1;
        Trim();
        return high;
    }

private:
    void Trim()
    {
        while (m_size > 0 && m_limbs[m_size - 1] == 0)
            --m_size;
    }

    uint32_t m_limbs[40];
    int m_size = 0;
};

void WriteBlock(uint32_t block, char* out)
{
    for (int i = 8; i >= 0; --i) {
        out[i] = static_cast<char>('0' + block % 10);
        block /= 10;
    }
}

// The exact decimal expansion of mantissa * 2^exponent: first the integer part, then the
// fraction, nine digits at a time.
class CExpansion {
public:
    CExpansion(uint64_t mantissa, int exponent)
    {
        // Trailing zero bits only lengthen the fraction arithmetic.
        while (mantissa != 0 && exponent < 0 && (mantissa & 1) == 0) {
            mantissa >>= 1;
            ++exponent;
        }
        // A 53-bit mantissa shifted by up to 10 bits still fits 64 bits.
        m_bigInteger = exponent > 10;
        m_fractionBits = exponent < 0 ? -exponent : 0;
        if (m_bigInteger) {
            m_integer.SetShifted(mantissa, exponent);
            m_smallInteger = 0;
            m_fraction.SetShifted(0, 0);
        } else if (exponent >= 0) {
            m_smallInteger = mantissa << exponent;
            m_fraction.SetShifted(0, 0);
        } else if (m_fractionBits >= 64) {
            m_smallInteger = 0;
            m_fraction.SetShifted(mantissa, 0);
        } else {
            m_smallInteger = mantissa >> m_fractionBits;
            m_fraction.SetShifted(mantissa & ((uint64_t(1) << m_fractionBits) - 1), 0);
        }
    }

    // Writes the digits of the integer part (none when it is 0) and returns their count. Once only:
    // a large integer part is used up.
    int IntegerDigits(char* out)
    {
        if (!m_bigInteger) {
            char reversed[20];
            int count = 0;
            uint64_t value = m_smallInteger;
            // 32-bit division is much cheaper than 64-bit division on the 32-bit target.
            for (; value > 0xFFFFFFFFu; value /= 10)
                reversed[count++] = static_cast<char>('0' + value % 10);
            for (auto small = static_cast<uint32_t>(value); small != 0; small /= 10)
                reversed[count++] = static_cast<char>('0' + small % 10);
            for (int i = 0; i < count; ++i)
                out[i] = reversed[count - 1 - i];
            return count;
        }
        uint32_t blocks[40];
        int blockCount = 0;
        while (!m_integer.IsZero())
            blocks[blockCount++] = m_integer.DivSmall(1000000000);
        char first[9];
        WriteBlock(blocks[blockCount - 1], first);
        int skip = 0;
        while (first[skip] == '0')
            ++skip;
        int count = 9 - skip;
        std::memcpy(out, first + skip, count);
        for (int i = blockCount - 2; i >= 0; --i, count += 9)
            WriteBlock(blocks[i], out + count);
        return count;
    }

    void NextFractionBlock(char* out)
    {
        if (m_fraction.IsZero()) {
            std::memset(out, '0', 9);
            return;
        }
        // Times 10^9 over 2^bits is times 5^9 over 2^(bits - 9).
        if (m_fractionBits >= 9) {
            m_fraction.MulSmall(1953125);
            m_fractionBits -= 9;
        } else {
            m_fraction.MulSmall(1000000000);
        }
        WriteBlock(m_fraction.TakeAbove(m_fractionBits), out);
    }

private:
    bool m_bigInteger;
    uint64_t m_smallInteger;
    CBigUnsigned m_integer;
    CBigUnsigned m_fraction;
    int m_fractionBits;
};

// Splits a finite double into mantissa * 2^exponent; false for infinities and NaN.
bool Decompose(double value, uint64_t& mantissa, int& exponent, bool& negative)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    negative = (bits >> 63) != 0;
    int biased = static_cast<int>(bits >> 52 & 0x7FF);
    mantissa = bits & ((uint64_t(1) << 52) - 1);
    if (biased == 0x7FF)
        return false;
    if (biased == 0) {
        exponent = -1074;
    } else {
        mantissa |= uint64_t(1) << 52;
        exponent = biased - 1075;
    }
    return true;
}

// Rounds digits[0, keep) by digits[keep], halfway away from zero. A carry out of the first digit
// makes the text one digit longer ("1" followed by zeros); the new length is returned.
int RoundAt(char* digits, int keep)
{
    if (digits[keep] < '5')
        return keep;
    int i = keep - 1;
    while (i >= 0 && digits[i] == '9')
        digits[i--] = '0';
    if (i >= 0) {
        ++digits[i];
        return keep;
    }
    std::memmove(digits + 1, digits, keep);
    digits[0] = '1';
    return keep + 1;
}

} // namespace

CDecimalDigits::CDecimalDigits() : m_count(0), m_point(0), m_negative(false)
{
    m_digits[0] = 0;
}

int CDecimalDigits::GenerateFixed(double value, int decimals)
{
    uint64_t mantissa;
    int exponent;
    if (decimals < 0 || !Decompose(value, mantissa, exponent, m_negative))
        return 0;
    CExpansion expansion(mantissa, exponent);
    int integerDigits = expansion.IntegerDigits(m_digits);
    if (integerDigits + decimals > kMaxDigits)
        return 0;
    int keep = integerDigits + decimals;
    for (int have = integerDigits; have <= keep; have += 9)
        expansion.NextFractionBlock(m_digits + have);
    int count = RoundAt(m_digits, keep);
    int zeros = 0;
    while (zeros < count && m_digits[zeros] == '0')
        ++zeros;
    m_count = count - zeros;
    std::memmove(m_digits, m_digits + zeros, m_count);
    m_digits[m_count] = 0;
    m_point = m_count - decimals;
    return 1;
}

int CDecimalDigits::GenerateSignificant(double value, int count)
{
    uint64_t mantissa;
    int exponent;
    if (count < 1 || count > kMaxDigits || !Decompose(value, mantissa, exponent, m_negative))
        return 0;
    m_count = count;
    if (mantissa == 0) {
        std::memset(m_digits, '0', count);
        m_digits[count] = 0;
        m_point = 1;
        return 1;
    }
    CExpansion expansion(mantissa, exponent);
    int have = expansion.IntegerDigits(m_digits);
    m_point = have;
    while (have == 0) {
        expansion.NextFractionBlock(m_digits);
        int zeros = 0;
        while (zeros < 9 && m_digits[zeros] == '0')
            ++zeros;
        m_point -= zeros;
        have = 9 - zeros;
        std::memmove(m_digits, m_digits + zeros, have);
    }
    for (; have <= count; have += 9)
        expansion.NextFractionBlock(m_digits + have);
    if (RoundAt(m_digits, count) > count)
        ++m_point;
    m_digits[count] = 0;
    return 1;
}
