#pragma once
// Reads a keyboard-layout source (.klc) into a KlcSource.
//
// The format: UTF-16LE with byte-order mark; sections open with a keyword at the start of a line
// (KBD, COPYRIGHT, COMPANY, LOCALENAME, LOCALEID, VERSION, ATTRIBUTES, SHIFTSTATE, LAYOUT,
// DEADKEY, KEYNAME, KEYNAME_EXT, KEYNAME_DEAD, DESCRIPTIONS, LANGUAGENAMES) and the source ends
// with ENDKBD. "//" starts a comment anywhere, ';' as the first character of a line or after a
// keyword. Ligatures and separate Caps Lock characters (SGCap) are not supported and are
// reported as errors.

#include "tools/layout/KlcSource.h"
#include "tools/layout/KlcText.h"

#include <cstdint>
#include <string>
#include <vector>

class CKlcParser
{
public:
    // Returns 1 with source filled, or 0 with error naming the offending line.
    int Parse(const std::vector<uint8_t>& bytes, KlcSource& source, KlcError& error);

private:
    enum class Section {
        None,
        ShiftState,
        Layout,
        DeadKey,
        KeyName,
        KeyNameExtended,
        KeyNameDead,
        Descriptions,
        LanguageNames,
        Attributes,
        Ended
    };

    int ParseLine(const std::u16string& line);
    int ParseKeyword(const std::vector<KlcToken>& tokens);
    int ParseShiftState(const std::vector<KlcToken>& tokens);
    int ParseLayoutRow(const std::vector<KlcToken>& tokens);
    int ParseCell(const KlcToken& token, KlcCell& cell);
    int ParseDeadKeyRow(const std::vector<KlcToken>& tokens);
    int ParseKeyNameRow(const std::vector<KlcToken>& tokens, std::vector<KlcKeyName>& names, uint32_t maxCode);
    int ParseLanguageText(const std::u16string& line, const std::vector<KlcToken>& tokens,
                          std::vector<KlcLanguageText>& texts);
    int ParseAttribute(const std::vector<KlcToken>& tokens);
    int ParseCharacter(const KlcToken& token, char16_t& character);
    int CheckSource();
    int Fail(const std::string& message);
    int Fail(int line, const std::string& message);

    KlcSource* m_source = nullptr;
    KlcError* m_error = nullptr;
    Section m_section = Section::None;
    int m_line = 0;
    bool m_seenKbd = false;
    std::vector<std::string> m_seenKeywords;
};
