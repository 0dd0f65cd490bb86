#pragma once
// Exact decimal digits of a double. The binary value is expanded exactly (big-integer arithmetic)
// and rounded to nearest with halfway cases away from zero, independent of the C runtime, whose
// rounding of exact halves differs between libraries.

class CDecimalDigits {
public:
    // Requests needing more digits than this fail.
    static constexpr int kMaxDigits = 350;

    CDecimalDigits();

    // |value| rounded to `decimals` (0 or more) places after the point, like the classic fcvt:
    // no leading zeros, so a value that rounds to zero has no digits and Point() == -decimals.
    // Fails for non-finite values and when Point() + decimals would exceed kMaxDigits.
    int GenerateFixed(double value, int decimals);
    // `count` (1 to kMaxDigits) significant digits of |value|, like the classic ecvt. Zero gives
    // count zeros with Point() == 1. Fails for non-finite values and counts out of range.
    int GenerateSignificant(double value, int count);

    // The digits, zero-terminated; no point, no sign.
    const char* Digits() const { return m_digits; }
    int Count() const { return m_count; }
    // Digits standing before the decimal point; 0 or negative for values below 1.
    int Point() const { return m_point; }
    // The sign bit of the value (so -0.0 is negative).
    bool Negative() const { return m_negative; }

private:
    // Room for the digits, the rounding digit and the 9-digit blocks the expansion writes at a time.
    char m_digits[kMaxDigits + 24];
    int m_count;
    int m_point;
    bool m_negative;
};
