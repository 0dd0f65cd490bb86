#include "GStringTestSupport.h"

#include "text/UpperCase.h"

namespace {

TEST(GStringUpper, UnitMapping)
{
    struct Case
    {
        char16_t unit;
        char16_t expected;
    };
    const Case cases[] = {
        {u'a', u'A'},     {u'z', u'Z'},     {u'{', u'{'},     {u'A', u'A'},     {0x00DF, 0x00DF}, {0x00B5, 0x00B5},
        {0x00E0, 0x00C0}, {0x00F7, 0x00F7}, {0x00FF, 0x0178}, {0x0131, 0x0049}, {0x0101, 0x0100}, {0x0100, 0x0100},
        {0x017F, 0x0053}, {0x01C5, 0x01C4}, {0x0265, 0xA78D}, {0x03C2, 0x03A3}, {0x03D0, 0x03D0}, {0x03D5, 0x03D5},
        {0x03D6, 0x03D6}, {0x03F0, 0x03F0}, {0x03F1, 0x03F1}, {0x0430, 0x0410}, {0x0450, 0x0400}, {0x0525, 0x0524},
        {0x0527, 0x0527}, {0x0561, 0x0531}, {0x1E9B, 0x1E60}, {0x1F80, 0x1F88}, {0x1FBE, 0x0399}, {0x2170, 0x2160},
        {0x24D0, 0x24B6}, {0x2C61, 0x2C60}, {0x2D25, 0x10C5}, {0x2D27, 0x2D27}, {0xA641, 0xA640}, {0xA661, 0xA661},
        {0xA78C, 0xA78B}, {0xA791, 0xA791}, {0xD800, 0xD800}, {0xDE00, 0xDE00}, {0xFF41, 0xFF21}, {0xFF5A, 0xFF3A},
        {0xFFFF, 0xFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << int(c.unit));
        EXPECT_EQ(int(UpperCaseUnit(c.unit)), int(c.expected));
    }
}

// The lookup's binary search needs strictly ascending lower-case units.
TEST(GStringUpper, GeneratedTableIsSortedAndComplete)
{
    ASSERT_EQ(kUpperCasePairCount, 402);
    EXPECT_EQ(int(kUpperCasePairs[0].m_lower), 0x00F8);
    EXPECT_EQ(int(kUpperCasePairs[kUpperCasePairCount - 1].m_lower), 0xA78C);
    for (int i = 1; i < kUpperCasePairCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(kUpperCasePairs[i - 1].m_lower, kUpperCasePairs[i].m_lower);
    }
    for (int i = 0; i < kUpperCasePairCount; ++i)
        EXPECT_EQ(UpperCaseUnit(kUpperCasePairs[i].m_lower), kUpperCasePairs[i].m_upper);
}

TEST(GStringUpper, MakeUpperWide)
{
    WideString s(u"stra\u00DFe \u00FF \u0131 \u1F80 \uFF41");
    EXPECT_EQ(s.MakeUpper(), 1);
    EXPECT_EQ(TextW(s), u"STRA\u00DFE \u0178 I \u1F88 \uFF21");
}

TEST(GStringUpper, MakeUpperEightBit)
{
    GString s;
    // U+0131 (two bytes) becomes I (one byte); U+0250 (two bytes) becomes U+2C6F (three bytes).
    s.AssignUtf8("\xC4\xB1-\xC9\x90-abc");
    EXPECT_EQ(s.MakeUpper(), 1);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(TextUtf8(s), "I-\xE2\xB1\xAF-ABC");

    GString broken;
    broken.AssignUtf8("ab\xFF");
    EXPECT_EQ(broken.MakeUpper(), 0);
    EXPECT_EQ(TextUtf8(broken), "ab\xFF");
}

} // namespace
