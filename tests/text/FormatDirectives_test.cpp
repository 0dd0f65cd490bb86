#include "FormatTestSupport.h"

#include "text/PackedString.h"

#include <climits>
#include <cstdint>
#include <vector>

namespace {

using std::u16string;

TEST(FormatDriver, DirectiveSyntax)
{
    EXPECT_FORMAT(u"plain text \u00e9", u"plain text \u00e9");
    EXPECT_FORMAT(u"100%", u"100%%");
    EXPECT_FORMAT(u"ab", u"ab%");
    EXPECT_FORMAT(u"ab", u"ab%-5");
    EXPECT_FORMAT(u"q", u"%q");
    EXPECT_FORMAT(u"xvy", u"x%-08.3Lvy");
    EXPECT_FORMAT(u"%", u"%5%");
    EXPECT_FORMAT(u"\u00e9", u"%\u00e9");
    // An unknown letter drops the directive, but a * argument stays consumed.
    EXPECT_FORMAT(u"q42", u"%*q%d", 7, 42);
    // Only one size is read; the second h is the letter.
    EXPECT_FORMAT(u"hd", u"%hhd", 5);
    EXPECT_FORMAT(u"h", u"%lh");
    // A width has at most 10 digits; the 11th is the letter.
    EXPECT_FORMAT(u"1d", u"%12345678901d");
    EXPECT_FORMAT(u"1\r\n2", u"%d%N%d", 1, 2);
    EXPECT_FORMAT(u"   42|42   |", u"%*d|%*d|", 5, 42, -5, 42);
    EXPECT_FORMAT(u"007|7", u"%.*d|%.*d", 3, 7, -3, 7);
}

TEST(FormatDriver, FailingDirectivesKeepTheTextBefore)
{
    EXPECT_FORMAT_FAILS(u"ab", u"ab%tcd", 1);
    EXPECT_FORMAT_FAILS(u"", u"%T", 1);
    EXPECT_FORMAT_FAILS(u"x", u"x%Y%d", 1, 2);
    EXPECT_FORMAT_FAILS(u"ab", u"ab%5hc", 0xE9);
    EXPECT_FORMAT_FAILS(u"ab", u"ab%2147483647d", 1);
    EXPECT_FORMAT_FAILS(u"ab", u"ab%-8hs|", "x\xF0\x9F\x98\x80");
    // Part of a text decoded before a malformed byte does not stay either.
    EXPECT_FORMAT_FAILS(u"ab", u"ab%#hs", "ok\x01ok\x80");
}

TEST(FormatDriver, FormatAndAppendFormatV)
{
    GString s;
    ASSERT_EQ(s.AssignUtf8("old 8-bit text"), 1);
    EXPECT_EQ(s.Format(u"%d-%s", 12, u"ab"), 1);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(TextW(s), u"12-ab");

    EXPECT_EQ(AppendFormat(s, u"+%d", 3), 1);
    EXPECT_EQ(TextW(s), u"12-ab+3");

    EXPECT_EQ(s.Format(nullptr), 0);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(s.Length(), 0);

    GString narrow;
    ASSERT_EQ(narrow.AssignUtf8("abc"), 1);
    EXPECT_EQ(AppendFormat(narrow, u"%d", 1), 0);
    EXPECT_FALSE(narrow.IsWide());
    EXPECT_EQ(TextUtf8(narrow), "abc");

    WideString wide(u"abc");
    EXPECT_EQ(AppendFormat(wide, nullptr), 0);
    EXPECT_EQ(TextW(wide), u"abc");
}

TEST(FormatDriver, StoreCountCountsFromTheStartOfTheCall)
{
    int count = -1;
    EXPECT_FORMAT(u"abcd", u"ab%ncd", &count);
    EXPECT_EQ(count, 2);

    WideString s(u"xyz");
    EXPECT_EQ(AppendFormat(s, u"%s%n!", u"12345", &count), 1);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(TextW(s), u"xyz12345!");

    EXPECT_FORMAT(u"ab", u"a%nb", static_cast<int*>(nullptr));
}

// Output gathers in pieces before it reaches the string; long calls cross those boundaries.
TEST(FormatDriver, LongOutputs)
{
    const u16string text(250, u'x');
    EXPECT_FORMAT(text + u"[" + u16string(299, u' ') + u"1]" + text, u"%s[%300d]%s", text.c_str(), 1, text.c_str());
    EXPECT_FORMAT(text + u"      a{09}b|", u"%s%#12hs|", text.c_str(), "a\tb");
    EXPECT_FORMAT(text + u"00" + text + u"|", u"%s%0252s|", text.c_str(), text.c_str());
    EXPECT_FORMAT_FAILS(text + u"ab", u"%sab%t", text.c_str(), 1);
    EXPECT_FORMAT_FAILS(text, u"%s%#8hs", text.c_str(), "ok\x01\x80");
    EXPECT_FORMAT_FAILS(u16string(299, u' ') + u"1", u"%300d%hc", 1, 0xE9);

    int count = 0;
    EXPECT_FORMAT(text + text + u"!", u"%s%s%n!", text.c_str(), text.c_str(), &count);
    EXPECT_EQ(count, 500);
}

TEST(FormatDriver, AllocationFailureFailsTheCall)
{
    GString s;
    FailingAllocations failing;
    EXPECT_EQ(s.Format(u"%d", 12345), 0);
    EXPECT_EQ(s.Length(), 0);
}

TEST(FormatIntegers, WidthSignAndPrecision)
{
    EXPECT_FORMAT(u"   42", u"%5d", 42);
    EXPECT_FORMAT(u"42   |", u"%-5d|", 42);
    EXPECT_FORMAT(u"42   |", u"%-05d|", 42);
    EXPECT_FORMAT(u"00-42", u"%05d", -42);
    EXPECT_FORMAT(u"+7| 7|-7|+7", u"%+d|% d|%d|%+ d", 7, 7, -7, 7);
    EXPECT_FORMAT(u"+0| 0", u"%+i|% i", 0, 0);
    EXPECT_FORMAT(u"00042", u"%.5d", 42);
    EXPECT_FORMAT(u"+042", u"%+.3d", 42);
    EXPECT_FORMAT(u"+42", u"%+.2d", 42);
    EXPECT_FORMAT(u"  -0042", u"%7.4d", -42);
    EXPECT_FORMAT(u"0|0|0", u"%d|%.0d|%.d", 0, 0, 0);
    EXPECT_FORMAT(u"-2147483648", u"%d", INT_MIN);
    EXPECT_FORMAT(u"70000", u"%hd", 70000);
    EXPECT_FORMAT(u"-1", u"%ld", -1);
    EXPECT_FORMAT(u"-5000000000", u"%lld", -5000000000LL);
    EXPECT_FORMAT(u"-9223372036854775808", u"%Li", INT64_MIN);
    EXPECT_FORMAT(u"4294967295|5", u"%u|%+u", -1, 5);
    EXPECT_FORMAT(u"18446744073709551615", u"%llu", UINT64_MAX);
    EXPECT_FORMAT(u"1|", u"%d|", 1, 2);
    EXPECT_FORMAT(u"0000000001", u"%.10d", 1);
    EXPECT_FORMAT(u16string(307, u'0') + u"1", u"%.400d", 1);
}

TEST(FormatIntegers, BasesAndPrefixes)
{
    EXPECT_FORMAT(u"ff|FF|377|101", u"%x|%X|%o|%y", 255, 255, 255, 5);
    EXPECT_FORMAT(u"0xff|0xFF|010|0y101", u"%#x|%#X|%#o|%#y", 255, 255, 8, 5);
    EXPECT_FORMAT(u"0x0|00|0", u"%#x|%#o|%y", 0, 0, 0);
    // The prefix counts against the precision; octal zeros stand for the prefix.
    EXPECT_FORMAT(u"0010|010|010", u"%#.4o|%#.3o|%#.2o", 8, 8, 8);
    EXPECT_FORMAT(u"0xff|0x00ff", u"%#.3x|%#.4x", 255, 255);
    EXPECT_FORMAT(u"00000xff", u"%#08x", 255);
    EXPECT_FORMAT(u"ffffffffffffffff", u"%llx", UINT64_MAX);
    EXPECT_FORMAT(u"1777777777777777777777", u"%Lo", UINT64_MAX);
    EXPECT_FORMAT(u"fffffffe", u"%x", -2);
}

TEST(FormatIntegers, DigitGrouping)
{
    EXPECT_FORMAT(u"1 234 567", u"%`d", 1234567);
    EXPECT_FORMAT(u"-1 234|123", u"%`d|%`d", -1234, 123);
    EXPECT_FORMAT(u"1 2345", u"%`x", 0x12345);
    EXPECT_FORMAT(u"1 234 567", u"%`o", 01234567);
    EXPECT_FORMAT(u"1 1111", u"%`y", 0x1F);
    EXPECT_FORMAT(u"0 000 042", u"%`.7d", 42);
    EXPECT_FORMAT(u"  12 345", u"%`8d", 12345);
    EXPECT_FORMAT(u"18 446 744 073 709 551 615", u"%`llu", UINT64_MAX);
}

TEST(FormatIntegers, Pointers)
{
    auto* pointer = reinterpret_cast<void*>(uintptr_t(0x1234));
    EXPECT_FORMAT(u"00001234", u"%p", pointer);
    EXPECT_FORMAT(u"0x00001234", u"%#p", pointer);
    EXPECT_FORMAT(u"0000 1234", u"%`p", pointer);
    EXPECT_FORMAT(u"00ABCDEF", u"%P", reinterpret_cast<void*>(uintptr_t(0xABCDEF)));
    // The size and the sign flags do not apply to pointers.
    EXPECT_FORMAT(u"00001234", u"%+llp", pointer);
    EXPECT_FORMAT(u"  {null}", u"%p", nullptr);
    EXPECT_FORMAT(u"  {null}  |", u"%-10p|", nullptr);
    EXPECT_FORMAT(u"  {null}", u"%#p", nullptr);
}

TEST(FormatCharacters, UnitsBytesAndEscapes)
{
    EXPECT_FORMAT(u"A|\u00e9|\u20ac", u"%c|%c|%C", 0x41, 0xE9, 0x20AC);
    EXPECT_FORMAT(u"A", u"%c", 0x10041);
    EXPECT_FORMAT(u"{0a}|{e9}|{E9}|{ac}", u"%#c|%$c|%$C|%$c", 10, 0xE9, 0xE9, 0x20AC);
    EXPECT_FORMAT(u"\x7f|{7f}|A|A", u"%#c|%$c|%#c|%$c", 0x7F, 0x7F, 'A', 'A');
    EXPECT_FORMAT(u"  x|x  |00x", u"%3c|%-3c|%03c", 'x', 'x', 'x');
    EXPECT_FORMAT(u" {01}", u"%$5c", 1);
    EXPECT_FORMAT(u"A", u"%hc", 'A');
    EXPECT_FORMAT(u16string(1, u'\0'), u"%c", 0);
    EXPECT_FORMAT(u16string(1, u'\0'), u"%hc", 0);
    EXPECT_FORMAT(u"{00}", u"%#hc", 0);
    EXPECT_FORMAT_FAILS(u"", u"%hc", 0xE9);
}

TEST(FormatTexts, Utf16Texts)
{
    EXPECT_FORMAT(u"abc|{null}|  {null}|00{null}", u"%s|%s|%8s|%08s", u"abc", nullptr, nullptr, nullptr);
    EXPECT_FORMAT(u"[]", u"[%Ls]", u"abc");
    EXPECT_FORMAT(u"[]", u"[%llS]", u"abc");
    EXPECT_FORMAT(u"ab|abc", u"%.2s|%.10s", u"abc", u"abc");
    EXPECT_FORMAT(u"   ab|ab   |000ab", u"%5s|%-5s|%05s", u"ab", u"ab", u"ab");
    EXPECT_FORMAT(u16string(u"ab\0c", 4), u"%.*s", -4, u"ab\0cd");
    EXPECT_FORMAT(u"ab", u"%.*s", 4, u"ab\0cd");
    EXPECT_FORMAT(u"a{09}b|{E9}|{e9}|\u00e9", u"%#s|%$S|%$s|%#s", u"a\tb", u"\u00e9", u"\u00e9", u"\u00e9");
    EXPECT_FORMAT(u"{00}{01}", u"%#.*s", -2, u"\0\1");
    // The width counts escapes as four units.
    EXPECT_FORMAT(u"  {09}|{09}  |", u"%#6s|%-#6s|", u"\t", u"\t");
}

TEST(FormatTexts, Utf8Texts)
{
    EXPECT_FORMAT(u"\u00e9t\u00e9|{null}", u"%hs|%hs", "\xC3\xA9t\xC3\xA9", static_cast<const char*>(nullptr));
    // Precision counts characters, or bytes when every byte is escaped.
    EXPECT_FORMAT(u"\u00e9t|{c3}{a9}", u"%.2hs|%$.2hs", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9");
    EXPECT_FORMAT(u"{c3}{a9}|{C3}{A9}", u"%$hs|%$hS", "\xC3\xA9", "\xC3\xA9");
    EXPECT_FORMAT(u"a{09}b\u00e9", u"%#hs", "a\tb\xC3\xA9");
    EXPECT_FORMAT(u"   \u00e9|\u00e9   |", u"%4hs|%-4hs|", "\xC3\xA9", "\xC3\xA9");
    EXPECT_FORMAT(u16string(u"a\0b", 3), u"%.*hs", -3, "a\0bc");
    EXPECT_FORMAT_FAILS(u"", u"%hs", "\xF0\x9F\x98\x80");
    EXPECT_FORMAT_FAILS(u"", u"%hs", "\x80");
    // Cutting a character in two by a byte count leaves malformed text.
    EXPECT_FORMAT_FAILS(u"", u"%.*hs", -1, "\xC3\xA9");
}

TEST(FormatTexts, GStringArguments)
{
    WideString wide(u"abc");
    GString narrow;
    ASSERT_EQ(narrow.AssignUtf8("\xC3\xA9x"), 1);
    GString empty;
    EXPECT_FORMAT(u"abc|\u00e9x|[]|{null}", u"%z|%z|[%z]|%Z", &wide, &narrow, &empty, static_cast<GString*>(nullptr));
    EXPECT_FORMAT(u"ab|{c3}{a9}x", u"%.2z|%$z", &wide, &narrow);
    // A negative precision cannot read beyond the string's own text.
    EXPECT_FORMAT(u"abc", u"%.*z", -10, &wide);

    WideString target(u"ab");
    EXPECT_EQ(AppendFormat(target, u"%z|%z", &target, &target), 1);
    EXPECT_EQ(TextW(target), u"abab|abab|");
}

// A string-table record: the little-endian header, then the characters.
std::vector<unsigned char> Packed(uint32_t header, std::initializer_list<unsigned char> characters)
{
    std::vector<unsigned char> record;
    for (int shift = 0; shift < 32; shift += 8)
        record.push_back(static_cast<unsigned char>(header >> shift));
    for (unsigned char character : characters)
        record.push_back(character);
    return record;
}

const PackedString* AsPacked(const std::vector<unsigned char>& bytes, std::size_t offset = 0)
{
    return reinterpret_cast<const PackedString*>(bytes.data() + offset);
}

TEST(FormatTexts, PackedStringArguments)
{
    // Records have no terminator: the text ends at the length field, not at the next record.
    auto utf8 = Packed(0x80000003, {'a', 'b', 'c', 'd', 'e', 'f'});
    auto utf8WithFlags = Packed(0xE0000002, {0xC3, 0xA9, 'x'});
    EXPECT_FORMAT(u"abc|\u00e9|{null}", u"%hz|%hz|%hz", AsPacked(utf8), AsPacked(utf8WithFlags),
                  static_cast<const PackedString*>(nullptr));
    EXPECT_FORMAT(u"abc", u"%.*hz", -6, AsPacked(utf8));

    // UTF-16 records are little-endian and may start at an odd address.
    std::vector<unsigned char> unaligned(1, 0);
    for (unsigned char byte : Packed(0x00000002, {0xE9, 0x00, 'z', 0x00, 'q', 0x00}))
        unaligned.push_back(byte);
    EXPECT_FORMAT(u"\u00e9z|{E9}z|\u00e9", u"%hz|%$hZ|%.1hz", AsPacked(unaligned, 1), AsPacked(unaligned, 1),
                  AsPacked(unaligned, 1));
    auto emptyRecord = Packed(0x00000000, {});
    EXPECT_FORMAT(u"[]", u"[%hz]", AsPacked(emptyRecord));
}

TEST(FormatBytes, Dumps)
{
    const unsigned char bytes[] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x71, 0x82};
    EXPECT_FORMAT(u"0a1b2c", u"%.3b", bytes);
    EXPECT_FORMAT(u"{0A}{1B}{2C}", u"%#.3B", bytes);
    EXPECT_FORMAT(u"0a 1b 2c", u"% .3b", bytes);
    EXPECT_FORMAT(u"{0a} {1b} {2c}", u"%# .3b", bytes);
    EXPECT_FORMAT(u"0a1b2c3d 4e5f", u"%`.6b", bytes);
    EXPECT_FORMAT(u"0a 1b 2c 3d  4e 5f", u"%` .6b", bytes);
    EXPECT_FORMAT(u"{0a1b2c3d}{4e5f}", u"%`#.6b", bytes);
    EXPECT_FORMAT(u"{0a 1b 2c 3d} {4e 5f}", u"%`# .6b", bytes);
    EXPECT_FORMAT(u"{0a1b2c3d}|0a1b2c3d", u"%`#.4b|%`.4b", bytes, bytes);
    EXPECT_FORMAT(u"0a1b2c3d 4e5f6071 82", u"%`.9b", bytes);
    EXPECT_FORMAT(u"    0a1b|0a1b  |00000a1b", u"%8.2b|%-6.2b|%08.2b", bytes, bytes, bytes);
    EXPECT_FORMAT(u"{null}|  {null}", u"%.3b|%8.3b", nullptr, nullptr);
    // Without a byte count nothing is printed and the argument is left for the next directive.
    EXPECT_FORMAT(u"[]42", u"[%8b]%d", 42);
    EXPECT_FORMAT(u"[]42", u"[%.*b]%d", -3, 42);
}

TEST(FormatAddresses, Ipv4)
{
    const unsigned char address[] = {192, 168, 1, 10};
    const unsigned char zeros[] = {0, 0, 0, 0};
    EXPECT_FORMAT(u"192.168.1.10|192.168.001.010|0.0.0.0", u"%w|%0w|%W", address, address, zeros);
    EXPECT_FORMAT(u"    192.168.1.10|192.168.1.10    |", u"%16w|%-16w|", address, address);
    EXPECT_FORMAT(u"  192.168.001.010", u"%017w", address);
    EXPECT_FORMAT(u"{null}|  {null}", u"%w|%08w", nullptr, nullptr);
}

TEST(FormatAddresses, Guids)
{
    unsigned char guid[16];
    for (int i = 0; i < 16; ++i)
        guid[i] = static_cast<unsigned char>(i);
    EXPECT_FORMAT(u"{03020100-0504-0706-0809-0A0B0C0D0E0F}", u"%hW", guid);
    EXPECT_FORMAT(u"{03020100-0504-0706-0809-0a0b0c0d0e0f}", u"%hw", guid);
    EXPECT_FORMAT(u"  {03020100-0504-0706-0809-0a0b0c0d0e0f}", u"%040hw", guid);
    EXPECT_FORMAT(u"{null}|{null}  ", u"%hw|%-8hW", nullptr, nullptr);
    EXPECT_FORMAT(u"{03020100-0504-0706-0809-0a0b0c0d0e0f}|7", u"%hw|%d", guid, 7);
}

} // namespace
