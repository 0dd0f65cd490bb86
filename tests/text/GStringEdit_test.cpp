#include "GStringTestSupport.h"

namespace {

TEST(GStringEdit, Find)
{
    struct Case
    {
        const char* name;
        const char16_t* text;
        const char16_t* needle;
        int start;
        int expected;
    };
    const Case cases[] = {
        {"first occurrence at or after start", u"abcb", u"b", 2, 3},
        {"from the first unit", u"abcb", u"b", 0, 1},
        {"start at the length", u"abcb", u"b", 4, -1},
        {"negative start", u"abcb", u"b", -1, -1},
        {"empty string, empty needle", u"", u"", 0, -1},
        {"empty needle", u"abc", u"", 0, -1},
        {"needle longer than the rest", u"abcb", u"cbx", 2, -1},
        {"needle at the very end", u"abcb", u"cb", 1, 2},
        {"null needle", u"abc", nullptr, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WideString(c.text).Find(c.needle, c.start), c.expected);
    }
}

TEST(GStringEdit, FindAcrossForms)
{
    GString bytes;
    bytes.AssignUtf8("caf\xC3\xA9 bar");
    // The UTF-16 needle is encoded: positions are byte positions.
    EXPECT_EQ(bytes.Find(u"\u00E9 b", 0), 3);
    EXPECT_EQ(bytes.Find(u"bar", 0, 2), 6);

    WideString wide(u"caf\u00E9 bar");
    EXPECT_EQ(wide.Find("\xC3\xA9", 0), 3);
    EXPECT_EQ(wide.Find("\xFF", 0), -1);
    EXPECT_EQ(wide.Find(bytes, 0), 0);

    GString needle;
    needle.AssignUtf8("bar");
    EXPECT_EQ(wide.Find(needle, 5), 5);
}

TEST(GStringEdit, FindLastChar)
{
    WideString path(u"C:\\dir\\file");
    EXPECT_EQ(path.FindLastChar(u'\\', 0), 6);
    EXPECT_EQ(path.FindLastChar(u'\\', 6), 6);
    EXPECT_EQ(path.FindLastChar(u'\\', 7), -1);
    EXPECT_EQ(path.FindLastChar(u'\\', 11), -1);
    EXPECT_EQ(GString().FindLastChar(u'a', 0), -1);

    GString bytes;
    bytes.AssignUtf8("\xC3\xA9x\xC3\xA9y");
    EXPECT_EQ(bytes.FindLastChar(u'\u00E9', 0), 3);
    EXPECT_EQ(bytes.FindLastChar(u'\u00E9', 4), -1);
    EXPECT_EQ(bytes.FindLastChar(u'x', 0), 2);
}

TEST(GStringEdit, Compare)
{
    struct Case
    {
        const char* name;
        const char16_t* left;
        const char16_t* right;
        int expected;
    };
    const Case cases[] = {
        {"shorter sorts first", u"zz", u"aaa", -1},
        {"longer sorts last", u"aaa", u"zz", 1},
        {"first difference decides", u"abc", u"abd", -1},
        {"equal", u"abc", u"abc", 0},
        {"no case folding", u"a", u"A", 1},
        {"units compare unsigned", u"\uFFFF", u"a", 1},
        {"both empty", u"", u"", 0},
        {"left empty", u"", u"a", -1},
        {"null right", u"a", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WideString(c.left).Compare(c.right), c.expected);
    }
}

TEST(GStringEdit, CompareAcrossForms)
{
    GString bytes;
    bytes.AssignUtf8("\xC3\xA9");
    // Lengths are compared in bytes of the encoding: two bytes against two units.
    EXPECT_EQ(bytes.Compare(u"ab"), 1);
    EXPECT_EQ(bytes.Compare(u"\u00E9"), 0);
    EXPECT_EQ(bytes.Compare("\xC3\xA8"), 1);

    WideString wide(u"\u00E9");
    EXPECT_EQ(wide.Compare("\xC3\xA9"), 0);
    // Text that cannot be decoded never compares equal.
    EXPECT_NE(wide.Compare("\xFF"), 0);

    EXPECT_TRUE(wide == bytes);
    EXPECT_FALSE(wide != bytes);
    EXPECT_TRUE(WideString(u"abc") != WideString(u"abd"));
    EXPECT_TRUE(GString() == WideString(u""));
}

TEST(GStringEdit, EnsureSuffix)
{
    WideString root(u"C:\\");
    EXPECT_EQ(root.EnsureSuffix(u"\\"), 1);
    EXPECT_EQ(TextW(root), u"C:\\");

    WideString drive(u"C:");
    EXPECT_EQ(drive.EnsureSuffix(u"\\"), 1);
    EXPECT_EQ(TextW(drive), u"C:\\");

    EXPECT_EQ(drive.EnsureSuffix(u""), 0);
    EXPECT_EQ(drive.EnsureSuffix(u"x", 0), 0);
    EXPECT_EQ(drive.EnsureSuffix(static_cast<const char16_t*>(nullptr)), 0);
    EXPECT_EQ(TextW(drive), u"C:\\");

    GString bytes;
    bytes.AssignUtf8("caf\xC3\xA9");
    EXPECT_EQ(bytes.EnsureSuffix(u"\u00E9"), 1);
    EXPECT_EQ(bytes.EnsureSuffix(u"\u20AC"), 1);
    EXPECT_EQ(TextUtf8(bytes), "caf\xC3\xA9\xE2\x82\xAC");

    WideString wide(u"a");
    EXPECT_EQ(wide.EnsureSuffix("\xFF"), 0);
    EXPECT_EQ(TextW(wide), u"a");
}

TEST(GStringEdit, AppendPath)
{
    struct Case
    {
        const char16_t* base;
        const char16_t* component;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"C:\\dir", u"\\sub", u"C:\\dir\\sub"},
        {u"C:\\dir\\", u"sub", u"C:\\dir\\sub"},
        {u"C:\\dir", u"", u"C:\\dir\\"},
        {u"", u"x", u"\\x"},
        {u"a/", u"/x", u"a/\\x"},
        {u"a", u"\\\\x", u"a\\\\x"},
    };
    for (const Case& c : cases) {
        WideString s(c.base);
        SCOPED_TRACE(testing::Message() << "component of length " << std::u16string(c.component).size());
        EXPECT_EQ(s.AppendPath(c.component), 1);
        EXPECT_EQ(TextW(s), c.expected);
    }
}

TEST(GStringEdit, AppendPathAcrossFormsAndItself)
{
    GString bytes;
    bytes.AssignUtf8("C:\\dir");
    EXPECT_EQ(bytes.AppendPath(u"\\d\u00E9j\u00E0"), 1);
    EXPECT_EQ(TextUtf8(bytes), "C:\\dir\\d\xC3\xA9j\xC3\xA0");

    WideString wide(u"C:");
    GString component;
    component.AssignUtf8("/x");
    EXPECT_EQ(&wide.AppendPath(component), &wide);
    EXPECT_EQ(TextW(wide), u"C:\\x");
    EXPECT_EQ(wide.AppendPath("\xFF"), 0);

    WideString self(u"ab");
    self.AppendPath(self);
    EXPECT_EQ(TextW(self), u"ab\\ab");
}

TEST(GStringEdit, DropFront)
{
    WideString s(u"abcd");
    EXPECT_EQ(s.DropFront(0), 0);
    EXPECT_EQ(s.DropFront(-1), 0);
    EXPECT_EQ(TextW(s), u"abcd");

    EXPECT_EQ(s.DropFront(2), 1);
    EXPECT_EQ(TextW(s), u"cd");
    EXPECT_EQ(s.Start(), 2);

    EXPECT_EQ(s.DropFront(10), 1);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(s.SetLength(-1), 1);
    EXPECT_EQ(s.Length(), 0);
}

TEST(GStringEdit, RoomHeldBackByDropFrontIsRegained)
{
    WideString s(u"");
    s.AppendCharW(u'a', 29);
    ASSERT_EQ(s.Capacity(), 64);
    s.DropFront(20);
    // Nine units remain at offset 20; appending 15 more needs the front room back, not a new block.
    ASSERT_EQ(s.AppendCharW(u'b', 15), 1);
    EXPECT_EQ(s.Capacity(), 64);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(TextW(s), std::u16string(9, u'a') + std::u16string(15, u'b'));
}

} // namespace
