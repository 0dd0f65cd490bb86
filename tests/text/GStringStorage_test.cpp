#include "GStringTestSupport.h"

namespace {

TEST(GStringStorage, DefaultConstructedIsEmptyEightBitWithoutBlock)
{
    GString s;
    EXPECT_EQ(s.Length(), 0);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(s.GetW()[0], 0);
    EXPECT_EQ(s.GetUtf8()[0], 0);
    EXPECT_EQ(s.Reserve(0), 0);
    EXPECT_EQ(s.SetLength(0), 0);
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(GStringStorage, FillingConstructor)
{
    GString filled(u'x', 3);
    EXPECT_TRUE(filled.IsWide());
    EXPECT_EQ(TextW(filled), u"xxx");

    GString none(u'x', 0);
    EXPECT_TRUE(none.IsWide());
    EXPECT_EQ(none.Length(), 0);
    EXPECT_EQ(none.Capacity(), 0);

    FailingAllocations failing;
    GString failed(u'x', 3);
    EXPECT_TRUE(failed.IsWide());
    EXPECT_EQ(failed.Length(), 0);
    EXPECT_EQ(failed.Capacity(), 0);
}

TEST(GStringStorage, GrowsInGranulesAndByHalfTheLength)
{
    GString s;
    ASSERT_EQ(s.AssignW(u"abcde"), 1);
    EXPECT_EQ(s.Capacity(), 64);
    const char16_t* block = s.GetW();
    ASSERT_EQ(s.AppendCharW(u'f', 24), 1);
    EXPECT_EQ(s.Length(), 29);
    EXPECT_EQ(s.Capacity(), 64);
    EXPECT_EQ(s.GetW(), block);

    // A full string of 29 units grows to hold 29 + 14 units: (43 + 1) * 2 + 4 bytes, rounded up.
    ASSERT_EQ(s.AppendW(u"g"), 1);
    EXPECT_EQ(s.Capacity(), 128);
    EXPECT_EQ(TextW(s), u"abcde" + std::u16string(24, u'f') + u"g");

    GString bytes;
    ASSERT_EQ(bytes.AppendCharUtf8('a', 59), 1);
    EXPECT_EQ(bytes.Capacity(), 64);
    ASSERT_EQ(bytes.AppendCharUtf8('b', 192), 1);
    EXPECT_EQ(bytes.Capacity(), 256);
    // 251 bytes fill the block; one more asks for 251 + 125 bytes of room.
    ASSERT_EQ(bytes.AppendCharUtf8('c', 1), 1);
    EXPECT_EQ(bytes.Capacity(), 384);
    EXPECT_EQ(TextUtf8(bytes), std::string(59, 'a') + std::string(192, 'b') + "c");
}

TEST(GStringStorage, FailedAllocationKeepsText)
{
    GString s;
    ASSERT_EQ(s.AssignW(u"abc"), 1);
    FailingAllocations failing;
    EXPECT_EQ(s.Reserve(100), 0);
    EXPECT_EQ(s.AppendCharW(u'x', 100), 0);
    EXPECT_EQ(s.AppendW(std::u16string(100, u'y').c_str()), 0);
    EXPECT_EQ(TextW(s), u"abc");
    EXPECT_EQ(s.Capacity(), 64);
    // Within the block nothing is allocated.
    EXPECT_EQ(s.AppendW(u"def"), 1);
    EXPECT_EQ(TextW(s), u"abcdef");
}

TEST(GStringStorage, AppendCharsByForm)
{
    struct Case
    {
        const char* name;
        bool wide;
        bool asUtf8;
        char16_t unit;
        int count;
        int result;
        int length;
    };
    const Case cases[] = {
        {"wide ascii", true, false, u'x', 3, 1, 3},
        {"wide non-ascii", true, false, u'\u00E9', 3, 1, 3},
        {"eight-bit ascii", false, false, u'x', 3, 1, 3},
        {"eight-bit non-ascii unit refused", false, false, u'\u00E9', 3, 0, 0},
        {"zero unit is a no-op", true, false, 0, 3, 1, 0},
        {"zero count is a no-op", false, false, u'x', 0, 1, 0},
        {"byte to eight-bit", false, true, 0xE9, 2, 1, 2},
        {"high byte to wide refused", true, true, 0xE9, 2, 0, 0},
        {"ascii byte to wide", true, true, u'y', 2, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GString s;
        if (c.wide)
            s.AssignW(u"");
        int result = c.asUtf8 ? s.AppendCharUtf8(static_cast<char>(c.unit), c.count) : s.AppendCharW(c.unit, c.count);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(s.Length(), c.length);
        EXPECT_EQ(s.IsWide(), c.wide);
        if (c.length > 0) {
            int last = c.wide ? s.GetW()[c.length - 1] : static_cast<unsigned char>(s.GetUtf8()[c.length - 1]);
            EXPECT_EQ(last, c.unit);
        }
    }
}

TEST(GStringStorage, GetReturnsEmptyTextOfTheOtherForm)
{
    GString s;
    s.AssignUtf8("abc");
    EXPECT_EQ(s.GetW()[0], 0);
    EXPECT_STREQ(s.GetUtf8(1), "bc");
    EXPECT_STREQ(s.GetUtf8(10), "");
    EXPECT_STREQ(s.GetUtf8(-1), "");
    EXPECT_FALSE(s.IsWide());
}

TEST(GStringStorage, AppendBufferAndSetLength)
{
    GString s;
    s.AssignUtf8("ab");
    char16_t* buffer = s.AppendBufferW(3);
    ASSERT_NE(buffer, nullptr);
    EXPECT_TRUE(s.IsWide());
    buffer[0] = u'c';
    buffer[1] = u'd';
    buffer[2] = 0;
    EXPECT_EQ(s.SetLength(-1), 1);
    EXPECT_EQ(TextW(s), u"abcd");

    EXPECT_EQ(s.SetLength(2), 1);
    EXPECT_EQ(TextW(s), u"ab");
    EXPECT_EQ(s.GetW()[2], 0);

    // Beyond the room the length stops at the room: (64 - 4) / 2 - 1 units.
    EXPECT_EQ(s.SetLength(1000), 1);
    EXPECT_EQ(s.Length(), 29);

    // No zero unit among the room's units: length 0.
    char16_t* all = s.AppendBufferW(0);
    ASSERT_NE(all, nullptr);
    for (int i = -29; i < 0; ++i)
        all[i] = u'z';
    EXPECT_EQ(s.SetLength(-1), 1);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Start(), 0);
}

TEST(GStringStorage, AppendingItselfSurvivesGrowth)
{
    GString s;
    s.AssignW(u"0123456789");
    s.Append(s);
    s.Append(s);
    EXPECT_EQ(s.Length(), 40);
    EXPECT_EQ(s.Capacity(), 128);
    EXPECT_EQ(TextW(s), u"0123456789012345678901234567890123456789");

    GString bytes;
    bytes.AssignUtf8("abcdef");
    ASSERT_EQ(bytes.AppendUtf8(bytes.GetUtf8(3)), 1);
    EXPECT_EQ(TextUtf8(bytes), "abcdefdef");

    // Assigning a tail of the own text.
    ASSERT_EQ(bytes.AssignUtf8(bytes.GetUtf8(6)), 1);
    EXPECT_EQ(TextUtf8(bytes), "def");
}

TEST(GStringStorage, AssignCopiesFormAndText)
{
    GString wide;
    wide.AssignW(u"caf\u00E9");
    GString copy;
    copy.AssignUtf8("old text");
    copy.Assign(wide);
    EXPECT_TRUE(copy.IsWide());
    EXPECT_EQ(TextW(copy), u"caf\u00E9");

    copy.Assign(copy);
    EXPECT_EQ(TextW(copy), u"caf\u00E9");

    GString empty;
    copy.Assign(empty);
    EXPECT_FALSE(copy.IsWide());
    EXPECT_EQ(copy.Length(), 0);
}

TEST(GStringStorage, NullAndEmptyArguments)
{
    GString s;
    s.AssignW(u"ab");
    EXPECT_EQ(s.AppendW(nullptr), 1);
    EXPECT_EQ(s.AppendUtf8(nullptr, 5), 1);
    EXPECT_EQ(s.AppendW(u"xyz", 0), 1);
    EXPECT_EQ(TextW(s), u"ab");

    EXPECT_EQ(s.AssignAsUtf8(nullptr), 0);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.AssignAsWide(nullptr), 0);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(s.Length(), 0);

    // An explicit length carries zero units along.
    EXPECT_EQ(s.AssignW(u"a\0b", 3), 1);
    EXPECT_EQ(TextW(s), std::u16string(u"a\0b", 3));
}

} // namespace
