#include "tests/layouts/KlcFixture.h"

#include "tools/layout/KlcText.h"

#include <gtest/gtest.h>

namespace {

std::string Utf8(const std::u16string& text)
{
    return KlcToUtf8(text);
}

TEST(KlcParser, ReadsEverySection)
{
    CKlcParser parser;
    KlcSource source;
    KlcError error;
    ASSERT_TRUE(parser.Parse(SourceBytes(FixtureText()), source, error)) << error.m_line << ": " << error.m_message;

    EXPECT_EQ(source.m_name, "TEST");
    EXPECT_EQ(Utf8(source.m_description), "Test layout");
    EXPECT_EQ(Utf8(source.m_copyright), "(c) Test");
    EXPECT_EQ(Utf8(source.m_company), "Test & Company");
    EXPECT_EQ(Utf8(source.m_localeName), "pl-PL");
    EXPECT_EQ(source.m_localeId, 0x415u);
    EXPECT_EQ(source.m_versionMajor, 1);
    EXPECT_EQ(source.m_versionMinor, 9);
    EXPECT_EQ(source.m_shiftStates, (std::vector<uint8_t>{0, 1, 2, 6, 7}));

    ASSERT_EQ(source.m_keys.size(), 4u);
    const KlcKeyRow& a = source.m_keys[0];
    EXPECT_EQ(a.m_line, 16);
    EXPECT_EQ(a.m_scanCode, 0x1E);
    EXPECT_EQ(a.m_virtualKey, 'A');
    EXPECT_EQ(a.m_attributes, 5);
    const KlcCell expectedA[] = {{KlcCellKind::Character, u'a'},
                                 {KlcCellKind::Character, u'A'},
                                 {KlcCellKind::None, 0},
                                 {KlcCellKind::Character, u'\u00e1'},
                                 {KlcCellKind::Character, u'\u00c1'}};
    ASSERT_EQ(a.m_cells.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.m_cells[i].m_kind, expectedA[i].m_kind);
        EXPECT_EQ(a.m_cells[i].m_character, expectedA[i].m_character);
    }
    const KlcKeyRow& quote = source.m_keys[2];
    EXPECT_EQ(quote.m_virtualKey, 0xDE);
    EXPECT_EQ(quote.m_cells[0].m_kind, KlcCellKind::Dead);
    EXPECT_EQ(quote.m_cells[0].m_character, u'\'');
    EXPECT_EQ(quote.m_cells[3].m_kind, KlcCellKind::Dead);
    EXPECT_EQ(quote.m_cells[3].m_character, u'\u00b4');

    ASSERT_EQ(source.m_deadKeys.size(), 2u);
    EXPECT_EQ(source.m_deadKeys[1].m_accent, u'\u00b4');
    ASSERT_EQ(source.m_deadKeys[1].m_entries.size(), 2u);
    EXPECT_FALSE(source.m_deadKeys[1].m_entries[0].m_chained);
    EXPECT_EQ(source.m_deadKeys[1].m_entries[1].m_base, u'e');
    EXPECT_EQ(source.m_deadKeys[1].m_entries[1].m_composed, u'\'');
    EXPECT_TRUE(source.m_deadKeys[1].m_entries[1].m_chained);

    ASSERT_EQ(source.m_keyNames.size(), 2u);
    EXPECT_EQ(source.m_keyNames[0].m_code, 0x3A);
    EXPECT_EQ(Utf8(source.m_keyNames[0].m_name), "Caps Lock");
    ASSERT_EQ(source.m_keyNamesExtended.size(), 1u);
    EXPECT_EQ(Utf8(source.m_keyNamesExtended[0].m_name), "Right Ctrl");
    ASSERT_EQ(source.m_keyNamesDead.size(), 1u);
    EXPECT_EQ(source.m_keyNamesDead[0].m_code, 0x27);
    ASSERT_EQ(source.m_descriptions.size(), 1u);
    EXPECT_EQ(source.m_descriptions[0].m_language, 0x409);
    EXPECT_EQ(Utf8(source.m_descriptions[0].m_text), "Test layout (QWERTZ)");
    ASSERT_EQ(source.m_languageNames.size(), 1u);
    EXPECT_EQ(Utf8(source.m_languageNames[0].m_text), "Polish (Poland)");
}

TEST(KlcParser, AcceptsEveryLineEnd)
{
    const std::pair<const char*, std::u16string_view> lineEnds[] = {{"CRLF", u"\r\n"}, {"LF", u"\n"}, {"CR", u"\r"}};
    for (const auto& [name, lineEnd] : lineEnds) {
        SCOPED_TRACE(name);
        std::u16string text = JoinLines(FixtureLines(), lineEnd);
        text.resize(text.size() - lineEnd.size()); // no line end after ENDKBD
        CKlcParser parser;
        KlcSource source;
        KlcError error;
        ASSERT_TRUE(parser.Parse(SourceBytes(text), source, error)) << error.m_line << ": " << error.m_message;
        ASSERT_EQ(source.m_keys.size(), 4u);
        EXPECT_EQ(source.m_keys[3].m_line, 19);
        EXPECT_EQ(source.m_endLine, int(FixtureLines().size()));
    }
}

TEST(KlcParser, RejectsTextThatIsNotUtf16)
{
    std::vector<uint8_t> bytes = SourceBytes(FixtureText());
    CKlcParser parser;
    KlcSource source;
    KlcError error;

    std::vector<uint8_t> noMark(bytes.begin() + 2, bytes.end());
    EXPECT_FALSE(parser.Parse(noMark, source, error));
    EXPECT_EQ(error.m_line, 1);
    EXPECT_NE(error.m_message.find("byte-order mark"), std::string::npos) << error.m_message;

    std::vector<uint8_t> oddLength = bytes;
    oddLength.push_back('x');
    EXPECT_FALSE(parser.Parse(oddLength, source, error));
    EXPECT_EQ(error.m_line, int(FixtureLines().size()));
    EXPECT_NE(error.m_message.find("odd length"), std::string::npos) << error.m_message;
}

// A fixture line replaced by other text, and where and how the source must then fail.
struct BadSource
{
    const char* m_name;
    const char16_t* m_line;        // a whole line of the fixture
    const char16_t* m_replacement; // may hold several lines
    const char16_t* m_errorLine;   // the line the error names, in the changed source; null: the replaced line
    const char* m_message;         // a part of the message
};

const BadSource s_badSources[] = {
    {"NoKbdFirst", u"KBD\tTEST\t\"Test layout\"", u"COPYRIGHT \"x\"", nullptr, "must start with KBD"},
    {"KbdNameTooLong", u"KBD\tTEST\t\"Test layout\"", u"KBD TESTTESTS \"x\"", nullptr, "KBD needs a name"},
    {"KbdWithoutDescription", u"KBD\tTEST\t\"Test layout\"", u"KBD TEST", nullptr, "KBD needs a name"},
    {"MisspeltKeyword", u"SHIFTSTATE", u"SHIFTSTATES", nullptr, "unexpected text 'SHIFTSTATES'"},
    {"CompanyNotQuoted", u"COMPANY\t\"Test & Company\"", u"COMPANY Test", nullptr, "COMPANY needs one quoted text"},
    {"UnterminatedQuote", u"COMPANY\t\"Test & Company\"", u"COMPANY \"Test", nullptr, "unterminated quoted text"},
    {"ShortLocaleId", u"LOCALEID\t\"00000415\"", u"LOCALEID \"415\"", nullptr, "eight hexadecimal digits"},
    {"VersionWithoutMinor", u"VERSION\t1.9", u"VERSION 1", nullptr, "major.minor"},
    {"AltWithoutCtrl", u"6", u"4", nullptr, "one of 0, 1, 2, 3, 6, 7"},
    {"ShiftStateTwice", u"7", u"6", nullptr, "listed twice"},
    {"NoBaseShiftState", u"0", u"3", u"LAYOUT\t\t;an extra '@' at the end is a dead key", "base state 0"},
    {"ScanCodeNotHex", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"g5 Z 1 z Z -1 -1 -1", nullptr, "scan code 'g5'"},
    {"ScanCodePrefixed", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"e01d Z 1 z Z -1 -1 -1", nullptr, "from 01 to 7f"},
    {"UnknownVirtualKey", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 OEM_99 1 z Z -1 -1 -1", nullptr,
     "unknown virtual key 'OEM_99'"},
    {"SeparateCapsLock", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z SGCap z Z -1 -1 -1", nullptr, "SGCap"},
    {"CapsAttribute2", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 2 z Z -1 -1 -1", nullptr, "must be 0, 1, 4 or 5"},
    {"CellMissing", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 -1", nullptr, "expected 5 characters"},
    {"CellExtra", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 -1 -1 -1", nullptr, "found 6"},
    {"CellShortHex", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 17e -1", nullptr, "four hexadecimal digits"},
    {"CellSurrogate", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 d83d -1", nullptr, "surrogate"},
    {"CellReserved", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 f001 -1", nullptr, "reserved"},
    {"CellNull", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 0000 -1", nullptr, "U+0000"},
    {"CellLigature", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 Z 1 z Z -1 %% -1", nullptr, "ligatures"},
    {"ScanCodeTwice", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"1e Z 1 z Z -1 -1 -1", nullptr, "already given on line 16"},
    {"VirtualKeyTwice", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"15 A 1 z Z -1 -1 -1", nullptr,
     "virtual key A is already given on line 16"},
    {"DeadKeyWithoutSection", u"28\tOEM_7\t0\t0027@\t0022\t-1\t00b4@\t-1", u"28 OEM_7 0 0027@ 0022 -1 02c7@ -1",
     nullptr, "dead key 02c7 has no DEADKEY section"},
    {"ChainWithoutSection", u"0065\t0027@", u"0065 02c7@", nullptr, "chained dead key 02c7"},
    {"BaseComposedTwice", u"0065\t0027@", u"0061 00e9", nullptr, "already composed on line 24"},
    {"DeadKeySectionTwice", u"DEADKEY\t00b4", u"DEADKEY 0027", nullptr, "second DEADKEY section for 0027"},
    {"KeyNameWithBlanks", u"3a\t\"Caps Lock\"", u"3a Caps Lock", nullptr, "must be quoted"},
    {"KeyNameTwice", u"01\tEsc", u"3a Esc", nullptr, "already given on line 27"},
    {"LigatureSection", u"KEYNAME", u"LIGATURE", nullptr, "ligatures are not supported"},
    {"SecondLayout", u"KEYNAME", u"LAYOUT", nullptr, "second LAYOUT section"},
    {"BadLanguageId", u"0415\tPolish (Poland)", u"415x Polish", nullptr, "language id"},
    {"NoEnd", u"ENDKBD", u"", nullptr, "without ENDKBD"},
    {"TextAfterEnd", u"ENDKBD", u"ENDKBD\r\nmore", u"more", "text after ENDKBD"},
    {"NumpadKeyMoved", u"53\tDECIMAL\t0\t002e\t002e\t-1\t-1\t-1", u"53 OEM_1 0 002e 002e -1 -1 -1", nullptr,
     "numeric-pad key and can only give DECIMAL"},
    {"ModifierGetsCharacters", u"15\tZ\t1\tz\tZ\t-1\t-1\t-1", u"1d Z 1 z Z -1 -1 -1", nullptr,
     "modifier or control key"},
};

class KlcParserErrors : public ::testing::TestWithParam<BadSource>
{
};

// 1-based number of the first line equal to line, or 0.
int LineNumber(const std::vector<std::u16string>& lines, const std::u16string& line)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line)
            return int(i) + 1;
    }
    return 0;
}

std::vector<std::u16string> SplitLines(const std::u16string& text)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST_P(KlcParserErrors, NameTheLine)
{
    const BadSource& bad = GetParam();
    std::vector<std::u16string> lines = FixtureLines();
    const int replaced = LineNumber(lines, bad.m_line);
    ASSERT_NE(replaced, 0) << "the fixture has no such line";
    lines[replaced - 1] = bad.m_replacement;
    const std::u16string text = JoinLines(lines);
    const int expectedLine = bad.m_errorLine != nullptr ? LineNumber(SplitLines(text), bad.m_errorLine) : replaced;

    KlcSource source;
    LayoutTables tables;
    KlcError error;
    EXPECT_FALSE(CompileSource(text, source, tables, error));
    EXPECT_EQ(error.m_line, expectedLine) << error.m_message;
    EXPECT_NE(error.m_message.find(bad.m_message), std::string::npos) << error.m_message;
}

INSTANTIATE_TEST_SUITE_P(BadSources, KlcParserErrors, ::testing::ValuesIn(s_badSources),
                         [](const ::testing::TestParamInfo<BadSource>& info) { return info.param.m_name; });

} // namespace
