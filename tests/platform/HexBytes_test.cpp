// Byte patterns decoded from upper-case hexadecimal texts of the string tables.
#include "tests/platform/PlatformTestSupport.h"

namespace {

struct HexCase
{
    const char* label;
    std::u16string text;
    bool decoded;
    std::string bytes;
    int32_t size; // as left by the call; 77 means untouched
};

TEST(HexBytesTest, DecodesUpperCaseDigitPairsOnly)
{
    using namespace std::string_literals;
    const HexCase rows[] = {
        {"two bytes", u"4B0A", true, "\x4B\x0A", 2},
        {"every digit", u"0123456789ABCDEF", true, "\x01\x23\x45\x67\x89\xAB\xCD\xEF", 8},
        {"zero bytes", u"0000", true, "\0\0"s, 2},
        {"odd final digit ignored", u"4B0", true, "\x4B", 1},
        {"single digit", u"4", true, "", 0},
        {"lower-case digits", u"4b0a", false, "", 2},
        {"letter beyond F", u"4G", false, "", 1},
        {"blank between pairs", u"4B 0A", false, "", 2},
        {"empty text", u"", false, "", 77},
    };
    for (const HexCase& row : rows) {
        SCOPED_TRACE(row.label);
        CTestInstall install;
        install.SetTexts({{1, row.text}});
        int32_t size = 77;
        unsigned char* bytes = install.HexBytesFromString(1, size);
        EXPECT_EQ(bytes != nullptr, row.decoded);
        EXPECT_EQ(size, row.size);
        if (bytes) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), row.bytes);
        }
        delete[] bytes;
    }

    CTestInstall install;
    int32_t size = 77;
    EXPECT_EQ(install.HexBytesFromString(5, size), nullptr);
    EXPECT_EQ(size, 77);
}

} // namespace
