#pragma once
// Upper-case mapping of single UTF-16 units: range rules for the regular blocks, then a generated
// table (text/UpperCaseTable.cpp) for everything else.

struct UpperCasePair
{
    char16_t m_lower;
    char16_t m_upper;
};

// Sorted by m_lower.
extern const UpperCasePair kUpperCasePairs[];
extern const int kUpperCasePairCount;

// Units without a mapping, surrogates and unassigned code points come back unchanged.
char16_t UpperCaseUnit(char16_t unit);
