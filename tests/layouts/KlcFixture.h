#pragma once
// A small layout source that uses every supported section, and helpers to turn source text into
// the bytes of a .klc file and to compile it as layout-compiler does.

#include "tools/layout/KlcParser.h"
#include "tools/layout/LayoutTables.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline const std::vector<std::u16string>& FixtureLines()
{
    static const std::vector<std::u16string> s_lines = {
        u"// A test layout.",
        u"KBD\tTEST\t\"Test layout\"",
        u"COPYRIGHT\t\"(c) Test\"",
        u"COMPANY\t\"Test & Company\"",
        u"LOCALENAME\t\"pl-PL\"",
        u"LOCALEID\t\"00000415\"",
        u"VERSION\t1.9",
        u"SHIFTSTATE",
        u"0",
        u"1",
        u"2",
        u"6",
        u"7",
        u"LAYOUT\t\t;an extra '@' at the end is a dead key",
        u"; a comment line",
        u"1e\tA\t5\ta\tA\t-1\t00e1\t00c1\t// a A - \u00e1 \u00c1",
        u"15\tZ\t1\tz\tZ\t-1\t-1\t-1",
        u"28\tOEM_7\t0\t0027@\t0022\t-1\t00b4@\t-1",
        u"53\tDECIMAL\t0\t002e\t002e\t-1\t-1\t-1",
        u"DEADKEY\t0027",
        u"0061\t00e1",
        u"0020\t0027",
        u"DEADKEY\t00b4",
        u"0061\t00e1",
        u"0065\t0027@",
        u"KEYNAME",
        u"3a\t\"Caps Lock\"",
        u"01\tEsc",
        u"KEYNAME_EXT",
        u"1d\t\"Right Ctrl\"",
        u"KEYNAME_DEAD",
        u"0027\t\"ACUTE ACCENT\"",
        u"DESCRIPTIONS",
        u"0409\tTest layout (QWERTZ)\t// the display name",
        u"LANGUAGENAMES",
        u"0415\tPolish (Poland)",
        u"ENDKBD",
    };
    return s_lines;
}

inline std::u16string JoinLines(const std::vector<std::u16string>& lines, std::u16string_view lineEnd = u"\r\n")
{
    std::u16string text;
    for (const std::u16string& line : lines)
        text += line + std::u16string(lineEnd);
    return text;
}

inline std::u16string FixtureText()
{
    return JoinLines(FixtureLines());
}

// The bytes of a source file: byte-order mark FF FE, then UTF-16LE.
inline std::vector<uint8_t> SourceBytes(std::u16string_view text)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

// Parses and resolves as the compiler does; returns 1, or 0 with error.
inline int CompileSource(std::u16string_view text, KlcSource& source, LayoutTables& tables, KlcError& error)
{
    CKlcParser parser;
    return parser.Parse(SourceBytes(text), source, error) && BuildLayoutTables(source, tables, error);
}

inline LayoutTables FixtureTables()
{
    KlcSource source;
    LayoutTables tables;
    KlcError error;
    CompileSource(FixtureText(), source, tables, error);
    return tables;
}
