#pragma once
// A keyboard-layout source (.klc) as read by CKlcParser: its sections, with the line each row
// came from so that later checks can name it.

#include <cstdint>
#include <string>
#include <vector>

enum class KlcCellKind : uint8_t { None, Character, Dead };

// One character cell of a LAYOUT row.
struct KlcCell
{
    KlcCellKind m_kind = KlcCellKind::None;
    char16_t m_character = 0;
};

// A LAYOUT row: scan code, virtual key, Caps Lock attributes and one cell per SHIFTSTATE column.
struct KlcKeyRow
{
    int m_line = 0;
    uint8_t m_scanCode = 0;
    uint8_t m_virtualKey = 0;
    uint8_t m_attributes = 0;
    std::vector<KlcCell> m_cells;
};

// One row of a DEADKEY section: base character and the character it composes to; a chained
// result is itself a dead key.
struct KlcDeadEntry
{
    int m_line = 0;
    char16_t m_base = 0;
    char16_t m_composed = 0;
    bool m_chained = false;
};

struct KlcDeadKey
{
    int m_line = 0;
    char16_t m_accent = 0;
    std::vector<KlcDeadEntry> m_entries;
};

// A KEYNAME, KEYNAME_EXT or KEYNAME_DEAD row: scan code (or dead character) and name.
struct KlcKeyName
{
    int m_line = 0;
    uint16_t m_code = 0;
    std::u16string m_name;
};

// A DESCRIPTIONS or LANGUAGENAMES row.
struct KlcLanguageText
{
    uint16_t m_language = 0;
    std::u16string m_text;
};

struct KlcSource
{
    std::string m_name;
    std::u16string m_description;
    std::u16string m_copyright;
    std::u16string m_company;
    std::u16string m_localeName;
    uint32_t m_localeId = 0;
    uint16_t m_versionMajor = 1;
    uint16_t m_versionMinor = 0;
    // Modifier bits of each column (Shift 1, Ctrl 2, Alt 4), in column order.
    std::vector<uint8_t> m_shiftStates;
    // Locale flags named in an ATTRIBUTES section.
    uint16_t m_attributeFlags = 0;
    int m_endLine = 0;
    std::vector<KlcKeyRow> m_keys;
    std::vector<KlcDeadKey> m_deadKeys;
    std::vector<KlcKeyName> m_keyNames;
    std::vector<KlcKeyName> m_keyNamesExtended;
    std::vector<KlcKeyName> m_keyNamesDead;
    std::vector<KlcLanguageText> m_descriptions;
    std::vector<KlcLanguageText> m_languageNames;
};

// Where and why reading or compiling a source failed.
struct KlcError
{
    int m_line = 0;
    std::string m_message;
};
