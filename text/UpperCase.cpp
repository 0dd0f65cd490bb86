#include "text/UpperCase.h"

namespace {

struct UnitRange
{
    char16_t m_first;
    char16_t m_last;
};

bool InRange(char16_t unit, UnitRange range)
{
    return unit >= range.m_first && unit <= range.m_last;
}

// Blocks where every odd unit is a small letter directly after its capital.
const UnitRange kOddPairRanges[] = {
    {0x0101, 0x012F}, {0x014B, 0x0177}, {0x01F9, 0x021F}, {0x048B, 0x04BF}, {0x04D1, 0x0525},
    {0x1E01, 0x1E95}, {0x1EA1, 0x1EFF}, {0x2C81, 0x2CE3}, {0xA733, 0xA76F},
};

struct OffsetRange
{
    UnitRange m_range;
    char16_t m_offset;
};

const OffsetRange kOffsetRanges[] = {
    {{0x0561, 0x0586}, 0x30},
    {{0x2C30, 0x2C5E}, 0x30},
    {{0x24D0, 0x24E9}, 0x1A},
    {{0x2D00, 0x2D25}, 0x1C60},
};

// Blocks without small letters (the table is not searched for them).
const UnitRange kUncasedRanges[] = {
    {0x04D0, 0x1D78},
    {0x2185, 0x2C60},
    {0x2CEF, 0xA640},
    {0xA78D, 0xFFFF},
};

} // namespace

char16_t UpperCaseUnit(char16_t unit)
{
    if (unit < 0x61)
        return unit;
    if (unit <= 0x7A)
        return static_cast<char16_t>(unit - 0x20);
    if (unit <= 0xDF)
        return unit;
    if (InRange(unit, {0x00E0, 0x00F6}) || InRange(unit, {0x0430, 0x044F}) || InRange(unit, {0xFF41, 0xFF5A}))
        return static_cast<char16_t>(unit - 0x20);
    for (UnitRange range : kOddPairRanges) {
        if (InRange(unit, range) && (unit & 1) != 0)
            return static_cast<char16_t>(unit - 1);
    }
    for (const OffsetRange& range : kOffsetRanges) {
        if (InRange(unit, range.m_range))
            return static_cast<char16_t>(unit - range.m_offset);
    }
    for (UnitRange range : kUncasedRanges) {
        if (InRange(unit, range))
            return unit;
    }
    int low = 0;
    int high = kUpperCasePairCount - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        char16_t lower = kUpperCasePairs[middle].m_lower;
        if (lower == unit)
            return kUpperCasePairs[middle].m_upper;
        if (lower < unit)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return unit;
}
