#include "tools/layout/KlcParser.h"

#include "tools/layout/VirtualKeys.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const s_keywords[] = {"KBD",      "COPYRIGHT",   "COMPANY",      "LOCALENAME",   "LOCALEID",
                                  "VERSION",  "ATTRIBUTES",  "SHIFTSTATE",   "LAYOUT",       "DEADKEY",
                                  "KEYNAME",  "KEYNAME_EXT", "KEYNAME_DEAD", "DESCRIPTIONS", "LANGUAGENAMES",
                                  "LIGATURE", "ENDKBD"};

// Caps Lock attribute bits of a character-table entry.
constexpr uint8_t kCapsLock = 0x01;
constexpr uint8_t kCapsLockAltGr = 0x04;

bool IsKeyword(const KlcToken& token)
{
    if (token.m_quoted)
        return false;
    for (const char* keyword : s_keywords) {
        if (KlcEquals(token.m_text, keyword))
            return true;
    }
    return false;
}

std::string Hex(uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, unsigned(value));
    return text;
}

std::string Quoted(const std::u16string& text)
{
    return "'" + KlcToUtf8(text) + "'";
}

bool IsNameCharacter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

// Offset just past a token in its line.
size_t TokenEnd(const KlcToken& token)
{
    return token.m_start + token.m_text.size() + (token.m_quoted ? 2 : 0);
}

} // namespace

int CKlcParser::Parse(const std::vector<uint8_t>& bytes, KlcSource& source, KlcError& error)
{
    source = KlcSource();
    error = KlcError();
    m_source = &source;
    m_error = &error;
    m_section = Section::None;
    m_line = 0;
    m_seenKbd = false;
    m_seenKeywords.clear();

    std::vector<std::u16string> lines;
    if (!KlcSplitLines(bytes, lines, error))
        return 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        m_line = int(i) + 1;
        if (!ParseLine(lines[i]))
            return 0;
    }
    m_line = std::max<int>(1, int(lines.size()));
    if (m_section != Section::Ended)
        return Fail("the source ends without ENDKBD");
    return CheckSource();
}

int CKlcParser::ParseLine(const std::u16string& line)
{
    std::vector<KlcToken> tokens;
    if (!KlcTokenize(line, tokens))
        return Fail("unterminated quoted text");
    if (tokens.empty())
        return 1;
    if (m_section == Section::Ended)
        return Fail("text after ENDKBD");
    if (IsKeyword(tokens[0])) {
        auto comment = std::find_if(tokens.begin() + 1, tokens.end(), [](const KlcToken& token) {
            return !token.m_quoted && !token.m_text.empty() && token.m_text[0] == u';';
        });
        tokens.erase(comment, tokens.end());
        return ParseKeyword(tokens);
    }
    if (!m_seenKbd)
        return Fail("the source must start with KBD, found " + Quoted(tokens[0].m_text));
    switch (m_section) {
    case Section::ShiftState:
        return ParseShiftState(tokens);
    case Section::Layout:
        return ParseLayoutRow(tokens);
    case Section::DeadKey:
        return ParseDeadKeyRow(tokens);
    case Section::KeyName:
        return ParseKeyNameRow(tokens, m_source->m_keyNames, 0x7F);
    case Section::KeyNameExtended:
        return ParseKeyNameRow(tokens, m_source->m_keyNamesExtended, 0x7F);
    case Section::KeyNameDead:
        return ParseKeyNameRow(tokens, m_source->m_keyNamesDead, 0xFFFF);
    case Section::Descriptions:
        return ParseLanguageText(line, tokens, m_source->m_descriptions);
    case Section::LanguageNames:
        return ParseLanguageText(line, tokens, m_source->m_languageNames);
    case Section::Attributes:
        return ParseAttribute(tokens);
    default:
        return Fail("unexpected text " + Quoted(tokens[0].m_text) + " outside a section that takes rows");
    }
}

int CKlcParser::ParseKeyword(const std::vector<KlcToken>& tokens)
{
    const std::string keyword = KlcToUtf8(tokens[0].m_text);
    const size_t arguments = tokens.size() - 1;
    if (keyword != "KBD" && !m_seenKbd)
        return Fail("the source must start with KBD, found " + keyword);
    if (keyword == "LIGATURE")
        return Fail("ligatures are not supported");
    if (keyword != "DEADKEY") {
        if (std::find(m_seenKeywords.begin(), m_seenKeywords.end(), keyword) != m_seenKeywords.end())
            return Fail("second " + keyword + " section");
        m_seenKeywords.push_back(keyword);
    }
    m_section = Section::None;

    if (keyword == "KBD") {
        if (arguments != 2 || tokens[1].m_quoted || !tokens[2].m_quoted || tokens[1].m_text.size() > 8 ||
            !std::all_of(tokens[1].m_text.begin(), tokens[1].m_text.end(), IsNameCharacter))
            return Fail("KBD needs a name of 1 to 8 letters, digits or underscores and a quoted description");
        m_source->m_name = KlcToUtf8(tokens[1].m_text);
        m_source->m_description = tokens[2].m_text;
        m_seenKbd = true;
        return 1;
    }
    if (keyword == "COPYRIGHT" || keyword == "COMPANY" || keyword == "LOCALENAME") {
        if (arguments != 1 || !tokens[1].m_quoted)
            return Fail(keyword + " needs one quoted text");
        std::u16string& target = keyword == "COPYRIGHT" ? m_source->m_copyright
                                 : keyword == "COMPANY" ? m_source->m_company
                                                        : m_source->m_localeName;
        target = tokens[1].m_text;
        return 1;
    }
    if (keyword == "LOCALEID") {
        uint32_t id = 0;
        if (arguments != 1 || tokens[1].m_text.size() != 8 || !KlcParseHex(tokens[1].m_text, 8, id))
            return Fail("LOCALEID needs eight hexadecimal digits");
        m_source->m_localeId = id;
        return 1;
    }
    if (keyword == "VERSION") {
        const std::u16string& text = arguments == 1 ? tokens[1].m_text : std::u16string();
        size_t point = text.find(u'.');
        uint32_t major = 0;
        uint32_t minor = 0;
        if (point == std::u16string::npos || !KlcParseDecimal(std::u16string_view(text).substr(0, point), major) ||
            !KlcParseDecimal(std::u16string_view(text).substr(point + 1), minor) || major > 0xFFFF || minor > 0xFFFF)
            return Fail("VERSION needs a version number major.minor");
        m_source->m_versionMajor = uint16_t(major);
        m_source->m_versionMinor = uint16_t(minor);
        return 1;
    }
    if (keyword == "DEADKEY") {
        char16_t accent = 0;
        if (arguments != 1 || !ParseCharacter(tokens[1], accent))
            return arguments == 1 ? 0 : Fail("DEADKEY needs the dead key's character");
        for (const KlcDeadKey& deadKey : m_source->m_deadKeys) {
            if (deadKey.m_accent == accent)
                return Fail("second DEADKEY section for " + Hex(accent, 4) + " (the first is on line " +
                            std::to_string(deadKey.m_line) + ")");
        }
        m_source->m_deadKeys.push_back({m_line, accent, {}});
        m_section = Section::DeadKey;
        return 1;
    }
    if (arguments != 0)
        return Fail(keyword + " takes no arguments");
    if (keyword == "ENDKBD") {
        m_source->m_endLine = m_line;
        m_section = Section::Ended;
    } else if (keyword == "SHIFTSTATE") {
        m_section = Section::ShiftState;
    } else if (keyword == "LAYOUT") {
        const std::vector<uint8_t>& states = m_source->m_shiftStates;
        if (std::find(states.begin(), states.end(), 0) == states.end())
            return Fail("LAYOUT needs a SHIFTSTATE section before it that lists the base state 0");
        m_section = Section::Layout;
    } else if (keyword == "KEYNAME") {
        m_section = Section::KeyName;
    } else if (keyword == "KEYNAME_EXT") {
        m_section = Section::KeyNameExtended;
    } else if (keyword == "KEYNAME_DEAD") {
        m_section = Section::KeyNameDead;
    } else if (keyword == "DESCRIPTIONS") {
        m_section = Section::Descriptions;
    } else if (keyword == "LANGUAGENAMES") {
        m_section = Section::LanguageNames;
    } else if (keyword == "ATTRIBUTES") {
        m_section = Section::Attributes;
    }
    return 1;
}

int CKlcParser::ParseShiftState(const std::vector<KlcToken>& tokens)
{
    uint32_t state = 0;
    if (tokens.size() != 1 || !KlcParseDecimal(tokens[0].m_text, state) || state > 7 || state == 4 || state == 5)
        return Fail("a SHIFTSTATE row is one of 0, 1, 2, 3, 6, 7 (Shift 1, Ctrl 2, Alt 4; Alt only with Ctrl)");
    std::vector<uint8_t>& states = m_source->m_shiftStates;
    if (std::find(states.begin(), states.end(), uint8_t(state)) != states.end())
        return Fail("shift state " + std::to_string(state) + " is listed twice");
    states.push_back(uint8_t(state));
    return 1;
}

int CKlcParser::ParseLayoutRow(const std::vector<KlcToken>& tokens)
{
    const size_t columns = m_source->m_shiftStates.size();
    KlcKeyRow row;
    row.m_line = m_line;
    uint32_t scanCode = 0;
    if (!KlcParseHex(tokens[0].m_text, 2, scanCode) || scanCode == 0 || scanCode > 0x7F)
        return Fail("scan code " + Quoted(tokens[0].m_text) + " must be a hexadecimal number from 01 to 7f");
    row.m_scanCode = uint8_t(scanCode);
    if (tokens.size() < 3)
        return Fail("a LAYOUT row needs a scan code, a virtual key, a Caps Lock attribute and " +
                    std::to_string(columns) + " characters");
    if (!VirtualKeyFromName(tokens[1].m_text, row.m_virtualKey))
        return Fail("unknown virtual key " + Quoted(tokens[1].m_text));
    const std::u16string& attributes = tokens[2].m_text;
    if (KlcEquals(attributes, "SGCap") || KlcEquals(attributes, "SGCAP"))
        return Fail("SGCap (separate Caps Lock characters) is not supported");
    uint32_t value = 0;
    if (!KlcParseDecimal(attributes, value) || (value & ~uint32_t(kCapsLock | kCapsLockAltGr)) != 0)
        return Fail("Caps Lock attribute " + Quoted(attributes) + " must be 0, 1, 4 or 5");
    row.m_attributes = uint8_t(value);
    if (tokens.size() - 3 != columns)
        return Fail("expected " + std::to_string(columns) + " characters, one per SHIFTSTATE column, found " +
                    std::to_string(tokens.size() - 3));
    for (const KlcKeyRow& other : m_source->m_keys) {
        if (other.m_scanCode == row.m_scanCode)
            return Fail("scan code " + Hex(scanCode, 2) + " is already given on line " + std::to_string(other.m_line));
        if (other.m_virtualKey == row.m_virtualKey)
            return Fail("virtual key " + KlcToUtf8(tokens[1].m_text) + " is already given on line " +
                        std::to_string(other.m_line));
    }
    row.m_cells.resize(columns);
    for (size_t i = 0; i < columns; ++i) {
        if (!ParseCell(tokens[3 + i], row.m_cells[i]))
            return 0;
    }
    m_source->m_keys.push_back(std::move(row));
    return 1;
}

int CKlcParser::ParseCell(const KlcToken& token, KlcCell& cell)
{
    const std::u16string& text = token.m_text;
    if (KlcEquals(text, "-1")) {
        cell = {KlcCellKind::None, 0};
        return 1;
    }
    if (KlcEquals(text, "%%"))
        return Fail("ligatures (%%) are not supported");
    KlcToken character = token;
    KlcCellKind kind = KlcCellKind::Character;
    if (text.size() > 1 && text.back() == u'@') {
        character.m_text.pop_back();
        kind = KlcCellKind::Dead;
    }
    char16_t value = 0;
    if (!ParseCharacter(character, value))
        return 0;
    cell = {kind, value};
    return 1;
}

int CKlcParser::ParseCharacter(const KlcToken& token, char16_t& character)
{
    uint32_t value = 0;
    if (token.m_text.size() == 1 && !token.m_quoted) {
        value = token.m_text[0];
    } else if (token.m_text.size() != 4 || !KlcParseHex(token.m_text, 4, value)) {
        return Fail("character " + Quoted(token.m_text) + " must be one character or four hexadecimal digits");
    }
    if (value == 0)
        return Fail("U+0000 cannot be typed");
    if (value >= 0xD800 && value <= 0xDFFF)
        return Fail("U+" + Hex(value, 4) +
                    " is half of a surrogate pair: only characters of one UTF-16 unit can be typed");
    if (value >= 0xF000 && value <= 0xF002)
        return Fail("U+" + Hex(value, 4) + " is reserved: the layout tables use U+F000 to U+F002 as markers");
    character = char16_t(value);
    return 1;
}

int CKlcParser::ParseDeadKeyRow(const std::vector<KlcToken>& tokens)
{
    if (tokens.size() != 2)
        return Fail("a DEADKEY row is a base character and the character it composes to");
    KlcDeadEntry entry;
    entry.m_line = m_line;
    KlcToken composed = tokens[1];
    if (composed.m_text.size() > 1 && composed.m_text.back() == u'@') {
        composed.m_text.pop_back();
        entry.m_chained = true;
    }
    if (!ParseCharacter(tokens[0], entry.m_base) || !ParseCharacter(composed, entry.m_composed))
        return 0;
    KlcDeadKey& deadKey = m_source->m_deadKeys.back();
    for (const KlcDeadEntry& other : deadKey.m_entries) {
        if (other.m_base == entry.m_base)
            return Fail("base character " + Hex(entry.m_base, 4) + " is already composed on line " +
                        std::to_string(other.m_line));
    }
    deadKey.m_entries.push_back(entry);
    return 1;
}

int CKlcParser::ParseKeyNameRow(const std::vector<KlcToken>& tokens, std::vector<KlcKeyName>& names, uint32_t maxCode)
{
    if (tokens.size() != 2)
        return Fail(tokens.size() < 2 ? "a key-name row is a code and a name"
                                      : "a key name with blanks must be quoted");
    KlcKeyName name;
    name.m_line = m_line;
    uint32_t code = 0;
    if (maxCode == 0xFFFF) {
        char16_t accent = 0;
        if (!ParseCharacter(tokens[0], accent))
            return 0;
        code = accent;
    } else if (!KlcParseHex(tokens[0].m_text, 2, code) || code == 0 || code > maxCode) {
        return Fail("scan code " + Quoted(tokens[0].m_text) + " must be a hexadecimal number from 01 to 7f");
    }
    if (tokens[1].m_text.empty())
        return Fail("empty key name");
    for (const KlcKeyName& other : names) {
        if (other.m_code == code)
            return Fail("a name for " + Hex(code, maxCode == 0xFFFF ? 4 : 2) + " is already given on line " +
                        std::to_string(other.m_line));
    }
    name.m_code = uint16_t(code);
    name.m_name = tokens[1].m_text;
    names.push_back(std::move(name));
    return 1;
}

int CKlcParser::ParseLanguageText(const std::u16string& line, const std::vector<KlcToken>& tokens,
                                  std::vector<KlcLanguageText>& texts)
{
    uint32_t language = 0;
    if (tokens.size() < 2 || tokens[0].m_text.size() != 4 || !KlcParseHex(tokens[0].m_text, 4, language))
        return Fail("a row here is a language id of four hexadecimal digits and a text");
    for (const KlcLanguageText& other : texts) {
        if (other.m_language == language)
            return Fail("language " + Hex(language, 4) + " is given twice");
    }
    std::u16string text = tokens.size() == 2 && tokens[1].m_quoted
                              ? tokens[1].m_text
                              : line.substr(tokens[1].m_start, TokenEnd(tokens.back()) - tokens[1].m_start);
    texts.push_back({uint16_t(language), text});
    return 1;
}

int CKlcParser::ParseAttribute(const std::vector<KlcToken>& tokens)
{
    static const struct
    {
        const char* m_name;
        uint16_t m_flag;
    } s_attributes[] = {{"ALTGR", 0x1}, {"SHIFTLOCK", 0x2}, {"LRM_RLM", 0x4}};
    if (tokens.size() == 1) {
        for (const auto& attribute : s_attributes) {
            if (KlcEquals(tokens[0].m_text, attribute.m_name)) {
                m_source->m_attributeFlags |= attribute.m_flag;
                return 1;
            }
        }
    }
    return Fail("an ATTRIBUTES row is ALTGR, SHIFTLOCK or LRM_RLM");
}

int CKlcParser::CheckSource()
{
    if (m_source->m_shiftStates.empty())
        return Fail("the source has no SHIFTSTATE section");
    if (std::find(m_seenKeywords.begin(), m_seenKeywords.end(), "LAYOUT") == m_seenKeywords.end())
        return Fail("the source has no LAYOUT section");
    auto hasDeadKey = [this](char16_t accent) {
        return std::any_of(m_source->m_deadKeys.begin(), m_source->m_deadKeys.end(),
                           [accent](const KlcDeadKey& deadKey) { return deadKey.m_accent == accent; });
    };
    for (const KlcKeyRow& row : m_source->m_keys) {
        for (const KlcCell& cell : row.m_cells) {
            if (cell.m_kind == KlcCellKind::Dead && !hasDeadKey(cell.m_character))
                return Fail(row.m_line, "dead key " + Hex(cell.m_character, 4) + " has no DEADKEY section");
        }
    }
    for (const KlcDeadKey& deadKey : m_source->m_deadKeys) {
        for (const KlcDeadEntry& entry : deadKey.m_entries) {
            if (entry.m_chained && !hasDeadKey(entry.m_composed))
                return Fail(entry.m_line, "chained dead key " + Hex(entry.m_composed, 4) + " has no DEADKEY section");
        }
    }
    return 1;
}

int CKlcParser::Fail(const std::string& message)
{
    return Fail(m_line, message);
}

int CKlcParser::Fail(int line, const std::string& message)
{
    *m_error = {line, message};
    return 0;
}
