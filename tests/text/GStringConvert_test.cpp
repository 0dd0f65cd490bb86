#include "GStringTestSupport.h"

#include "text/PackedString.h"

#include <vector>

namespace {

TEST(GStringConvert, ToUtf8AndBack)
{
    GString s;
    s.AssignW(u"\u00E9\u20AC");
    const char* bytes = s.ToUtf8();
    ASSERT_NE(bytes, nullptr);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(s.Length(), 5);
    EXPECT_EQ(TextUtf8(s), "\xC3\xA9\xE2\x82\xAC");

    const char16_t* units = s.ToWide();
    ASSERT_NE(units, nullptr);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(TextW(s), u"\u00E9\u20AC");
}

TEST(GStringConvert, EncodesEachUnitOnItsOwn)
{
    struct Case
    {
        const char* name;
        std::u16string units;
        std::string bytes;
    };
    const Case cases[] = {
        {"ascii", u"A", "A"},
        {"two bytes", u"\u07FF", "\xDF\xBF"},
        {"three bytes", u"\u0800", "\xE0\xA0\x80"},
        {"surrogate pair stays unpaired", u"\xD83D\xDE00", "\xED\xA0\xBD\xED\xB8\x80"},
        {"zero unit", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GString s;
        ASSERT_EQ(s.AppendW(c.units.data(), int(c.units.size())), 1);
        EXPECT_EQ(TextUtf8(s), c.bytes);
    }
}

TEST(GStringConvert, DecodingAppend)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        int result;
        std::u16string expected;
    };
    const Case cases[] = {
        {"two and three bytes", "\xC3\xA9\xE2\x82\xAC", 1, u"ab\u00E9\u20AC"},
        {"overlong accepted as decoded", "\xC1\x81", 1, u"abA"},
        {"four-byte sequence", "\xF0\x9F\x98\x80", 0, u"ab"},
        {"lone continuation byte", "x\x80", 0, u"ab"},
        {"lead byte at the end", "x\xC3", 0, u"ab"},
        {"three-byte sequence cut off", "\xE2\x82", 0, u"ab"},
        {"second byte not a continuation", "\xC3\x41", 0, u"ab"},
        {"third byte not a continuation", "\xE2\x82\x41", 0, u"ab"},
        {"byte above 0xF7", "\xFF", 0, u"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GString s;
        s.AssignW(u"ab");
        EXPECT_EQ(s.AppendUtf8(c.bytes.data(), int(c.bytes.size())), c.result);
        EXPECT_EQ(TextW(s), c.expected);
        EXPECT_EQ(s.GetW()[s.Length()], 0);
    }
}

TEST(GStringConvert, FailedToWideKeepsEightBitText)
{
    GString s;
    s.AssignUtf8("ok\xFF");
    EXPECT_EQ(s.ToWide(), nullptr);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(TextUtf8(s), "ok\xFF");
    EXPECT_EQ(s.AssignUtf8AsWide("ok\xFF"), 0);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(s.Length(), 0);
}

TEST(GStringConvert, EmptyStringsOnlySwitchForm)
{
    GString s;
    s.AssignW(u"");
    EXPECT_NE(s.ToUtf8(), nullptr);
    EXPECT_FALSE(s.IsWide());
    EXPECT_NE(s.ToWide(), nullptr);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(s.Capacity(), 0);
}

TEST(GStringConvert, ConversionReusesOrReplacesTheBlock)
{
    GString small;
    small.AssignUtf8("abc");
    small.ToWide();
    EXPECT_EQ(small.Capacity(), 64);
    EXPECT_EQ(TextW(small), u"abc");

    // 59 bytes fill a 64-byte block; as 59 units they need a larger one.
    GString full;
    full.AssignUtf8(std::string(59, 'q').c_str());
    ASSERT_NE(full.ToWide(), nullptr);
    EXPECT_GT(full.Capacity(), 64);
    EXPECT_EQ(TextW(full), std::u16string(59, u'q'));
}

TEST(GStringConvert, FailedAllocationLeavesConversionUndone)
{
    GString s;
    s.AssignW(u"\u00E9t\u00E9");
    {
        FailingAllocations failing;
        EXPECT_EQ(s.ToUtf8(), nullptr);
    }
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(TextW(s), u"\u00E9t\u00E9");
}

TEST(GStringConvert, AssignAcrossForms)
{
    GString wide;
    wide.AssignW(u"\u00E9a");
    GString bytes;
    ASSERT_EQ(bytes.AssignAsUtf8(&wide), 1);
    EXPECT_EQ(TextUtf8(bytes), "\xC3\xA9"
                               "a");
    GString back;
    ASSERT_EQ(back.AssignAsWide(&bytes), 1);
    EXPECT_EQ(TextW(back), u"\u00E9a");
    ASSERT_EQ(back.AssignAsUtf8(&back), 1);
    EXPECT_EQ(TextUtf8(back), "\xC3\xA9"
                              "a");
    ASSERT_EQ(back.AssignAsWide(&back), 1);
    EXPECT_EQ(TextW(back), u"\u00E9a");
}

// Records are read from an odd offset: string-table records carry no alignment.
std::vector<unsigned char> Record(uint32_t header, const std::vector<unsigned char>& characters)
{
    std::vector<unsigned char> buffer = {0xEE};
    for (int shift = 0; shift < 32; shift += 8)
        buffer.push_back(static_cast<unsigned char>(header >> shift));
    buffer.insert(buffer.end(), characters.begin(), characters.end());
    return buffer;
}

TEST(GStringConvert, AssignPacked)
{
    struct Case
    {
        const char* name;
        uint32_t header;
        std::vector<unsigned char> characters;
        bool wide;
        std::u16string expected;
    };
    const Case cases[] = {
        {"utf-8 record", 0x80000003, {'a', 'b', 'c'}, false, u"abc"},
        {"ignored bits 29 and 30", 0xE0000003, {'a', 'b', 'c'}, false, u"abc"},
        {"utf-16 record", 0x00000003, {'x', 0, 0xE9, 0, 0xAC, 0x20}, true, u"x\u00E9\u20AC"},
        {"length counts only up to bit 28", 0x00000001, {'x', 0, 'y', 0}, true, u"x"},
        {"empty record", 0x80000000, {}, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> buffer = Record(c.header, c.characters);
        GString s;
        s.AssignW(u"previous");
        ASSERT_EQ(s.AssignPacked(reinterpret_cast<const PackedString*>(buffer.data() + 1)), 1);
        EXPECT_EQ(s.IsWide(), c.wide);
        ASSERT_NE(s.ToWide(), nullptr);
        EXPECT_EQ(TextW(s), c.expected);
    }

    GString s;
    s.AssignW(u"previous");
    EXPECT_EQ(s.AssignPacked(nullptr), 0);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(s.Length(), 0);
}

} // namespace
