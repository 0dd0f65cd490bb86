#include "GStringTestSupport.h"

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> g_pieces;

class GStringDebug : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pieces.clear();
        m_previous = GString::SetDebugSink([](const char16_t* piece) { g_pieces.emplace_back(piece); });
    }
    void TearDown() override { GString::SetDebugSink(m_previous); }

private:
    GString::DebugSink m_previous = nullptr;
};

std::u16string Digits(int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text += char16_t(u'0' + i % 10);
    return text;
}

TEST_F(GStringDebug, PiecesOfEightyWithContinuationMarks)
{
    struct Case
    {
        int length;
        int limit;
        std::vector<std::u16string> pieces;
    };
    const std::u16string text = Digits(170);
    const Case cases[] = {
        {170, 65535, {text.substr(0, 80) + u" \\\n", text.substr(80, 80) + u" \\\n", text.substr(160) + u"\n"}},
        {160, 65535, {text.substr(0, 80) + u" \\\n", text.substr(80, 80) + u"\n"}},
        {5, 65535, {text.substr(0, 5) + u"\n"}},
        {170, 100, {text.substr(0, 80) + u" \\\n", text.substr(80, 20) + u"\n"}},
        {0, 65535, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " units, limit " << c.limit);
        g_pieces.clear();
        GString s;
        s.AssignW(text.c_str(), c.length);
        s.DebugOutput(c.limit);
        EXPECT_EQ(g_pieces, c.pieces);
    }
}

TEST_F(GStringDebug, EightBitTextCountsCharacters)
{
    std::string bytes;
    for (int i = 0; i < 81; ++i)
        bytes += "\xC3\xA9";
    GString s;
    s.AssignUtf8(bytes.c_str());
    s.DebugOutput(65535);
    std::vector<std::u16string> expected = {std::u16string(80, u'\u00E9') + u" \\\n", u"\u00E9\n"};
    EXPECT_EQ(g_pieces, expected);
    EXPECT_FALSE(s.IsWide());
}

} // namespace
