// The six sources of the Keyworks Central European layout: each must type every letter of the
// languages it is made for and the typographic characters, and the variants and sets must differ
// exactly as their descriptions say.

#include "tools/layout/FileIo.h"
#include "tools/layout/KlcParser.h"
#include "tools/layout/KlcText.h"
#include "tools/layout/LayoutTables.h"
#include "tools/layout/VirtualKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

struct Library
{
    std::string m_name;
    KlcSource m_source;
    LayoutTables m_tables;
};

const char* const s_names[] = {"KWCEQ1", "KWCEQ2", "KWCEZ1", "KWCEZ2", "KWCEP1", "KWCEP2"};

const Library& Load(const std::string& name)
{
    static std::vector<Library> s_libraries;
    for (const Library& library : s_libraries) {
        if (library.m_name == name)
            return library;
    }
    Library library;
    library.m_name = name;
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(std::string(LAYOUT_SOURCES_DIR) + "/" + name + ".klc", bytes, error)) << error;
    CKlcParser parser;
    KlcError sourceError;
    EXPECT_TRUE(parser.Parse(bytes, library.m_source, sourceError) &&
                BuildLayoutTables(library.m_source, library.m_tables, sourceError))
        << name << ":" << sourceError.m_line << ": " << sourceError.m_message;
    s_libraries.push_back(std::move(library));
    return s_libraries.back();
}

bool IsCtrlColumn(const LayoutTables& tables, size_t column)
{
    return tables.m_modNumbers[ModifierBit::kCtrl] == column;
}

// Every character the library types: on a key (Ctrl column aside), or by a dead key that is on a
// key followed by a character that is.
std::set<char16_t> TypedCharacters(const LayoutTables& tables)
{
    std::set<char16_t> direct;
    std::set<char16_t> accents;
    for (const CharTable& table : tables.m_charTables) {
        for (const CharEntry& entry : table.m_entries) {
            for (size_t column = 0; column < entry.m_characters.size(); ++column) {
                const uint16_t c = entry.m_characters[column];
                if (IsCtrlColumn(tables, column) || c == LayoutChar::kNone || c == LayoutChar::kDead)
                    continue;
                (entry.m_virtualKey == VirtualKey::kDeadKeyRow ? accents : direct).insert(char16_t(c));
            }
        }
    }
    std::set<char16_t> typed = direct;
    for (const DeadKeyEntry& entry : tables.m_deadKeys) {
        if (accents.count(char16_t(entry.m_both >> 16)) && direct.count(char16_t(entry.m_both & 0xFFFF)))
            typed.insert(char16_t(entry.m_composed));
    }
    return typed;
}

// The Latin Extended-A letters pair a capital with the small letter after it; Latin-1 ones
// differ by 0x20.
char16_t Capital(char16_t small)
{
    return small >= 0x100 ? char16_t(small - 1) : char16_t(small - 0x20);
}

std::u16string WithCapitals(const std::u16string& letters)
{
    std::u16string all = letters;
    for (char16_t c : letters)
        all += Capital(c);
    return all;
}

TEST(LayoutSources, EveryLibraryTypesEveryLetterAndTypographicCharacter)
{
    const std::pair<const char*, std::u16string> required[] = {
        {"Polish", WithCapitals(u"\u0105\u0107\u0119\u0142\u0144\u00f3\u015b\u017a\u017c")},
        {"Czech", WithCapitals(u"\u00e1\u010d\u010f\u00e9\u011b\u00ed\u0148\u00f3\u0159\u0161\u0165\u00fa\u016f"
                               u"\u00fd\u017e")},
        {"Slovak", WithCapitals(u"\u00e1\u00e4\u010d\u010f\u00e9\u00ed\u013a\u013e\u0148\u00f3\u00f4\u0155\u0161"
                                u"\u0165\u00fa\u00fd\u017e")},
        {"German", WithCapitals(u"\u00e4\u00f6\u00fc") + u"\u00df"},
        {"Hungarian", WithCapitals(u"\u00e1\u00e9\u00ed\u00f3\u00f6\u0151\u00fa\u00fc\u0171")},
        {"typographic", u"\u2013\u2014\u201e\u201c\u201d\u201a\u2018\u2019\u2026\u00a0\u20ac\u00b0\u00d7\u00b1"
                        u"\u00ab\u00bb"},
    };
    std::u16string ascii;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        ascii += c;
    for (const char* name : s_names) {
        SCOPED_TRACE(name);
        const std::set<char16_t> typed = TypedCharacters(Load(name).m_tables);
        for (const auto& [what, characters] : required) {
            std::u16string missing;
            for (char16_t c : characters) {
                if (!typed.count(c))
                    missing += c;
            }
            EXPECT_EQ(KlcToUtf8(missing), "") << what;
        }
        std::u16string missing;
        for (char16_t c : ascii) {
            if (!typed.count(c))
                missing += c;
        }
        EXPECT_EQ(KlcToUtf8(missing), "") << "ASCII";
    }
}

const CharEntry& Entry(const Library& library, uint8_t virtualKey)
{
    size_t table = 0;
    size_t entry = 0;
    EXPECT_TRUE(FindCharEntry(library.m_tables, virtualKey, table, entry)) << int(virtualKey);
    return library.m_tables.m_charTables[table].m_entries[entry];
}

TEST(LayoutSources, TheDecimalKeyTypesAPointAsBuilt)
{
    for (const char* name : s_names) {
        SCOPED_TRACE(name);
        const CharEntry& decimal = Entry(Load(name), VirtualKey::kDecimal);
        ASSERT_GE(decimal.m_characters.size(), 2u);
        EXPECT_EQ(decimal.m_characters[0], '.');
        EXPECT_EQ(decimal.m_characters[1], '.');
    }
}

// The dead characters of a key's columns (none where the column is not dead).
std::vector<uint16_t> DeadCharacters(const Library& library, uint8_t virtualKey)
{
    for (const CharTable& table : library.m_tables.m_charTables) {
        for (size_t i = 0; i + 1 < table.m_entries.size(); ++i) {
            if (table.m_entries[i].m_virtualKey == virtualKey &&
                table.m_entries[i + 1].m_virtualKey == VirtualKey::kDeadKeyRow)
                return table.m_entries[i + 1].m_characters;
        }
    }
    return std::vector<uint16_t>(5, LayoutChar::kNone);
}

uint16_t Compose(const Library& library, uint16_t accent, uint16_t base)
{
    for (const DeadKeyEntry& entry : library.m_tables.m_deadKeys) {
        if (entry.m_both == (uint32_t(accent) << 16 | base))
            return entry.m_composed;
    }
    return 0;
}

TEST(LayoutSources, TheSecondSetMakesTheQuoteAndAccentKeysDead)
{
    // key, column, character: ` ~ ^ ' "
    const struct
    {
        uint8_t m_virtualKey;
        size_t m_column;
        uint16_t m_character;
    } keys[] = {{0xC0, 0, '`'}, {0xC0, 1, '~'}, {'6', 1, '^'}, {0xDE, 0, '\''}, {0xDE, 1, '"'}};
    for (const char* variant : {"Q", "Z", "P"}) {
        const Library& first = Load(std::string("KWCE") + variant + "1");
        const Library& second = Load(std::string("KWCE") + variant + "2");
        for (const auto& key : keys) {
            SCOPED_TRACE(std::string(variant) + " " + char(key.m_character));
            EXPECT_EQ(Entry(first, key.m_virtualKey).m_characters[key.m_column], key.m_character);
            EXPECT_EQ(DeadCharacters(first, key.m_virtualKey)[key.m_column], LayoutChar::kNone);
            EXPECT_EQ(Entry(second, key.m_virtualKey).m_characters[key.m_column], LayoutChar::kDead);
            EXPECT_EQ(DeadCharacters(second, key.m_virtualKey)[key.m_column], key.m_character);
            EXPECT_EQ(Compose(second, key.m_character, ' '), key.m_character) << "dead key then space";
        }
        EXPECT_EQ(Compose(second, '\'', 'e'), 0xE9);
        EXPECT_EQ(Compose(second, '\'', 's'), 0x15B);
        EXPECT_EQ(Compose(second, '"', 'u'), 0xFC);

        // Otherwise the sets are the same key for key, and no key of the first set is dead
        // without AltGr.
        const std::vector<CharTable>& tables1 = first.m_tables.m_charTables;
        const std::vector<CharTable>& tables2 = second.m_tables.m_charTables;
        ASSERT_EQ(tables1.size(), tables2.size());
        for (const CharEntry& entry : tables1[0].m_entries) {
            if (entry.m_virtualKey == VirtualKey::kDeadKeyRow)
                continue;
            const CharEntry& other = Entry(second, entry.m_virtualKey);
            for (size_t column = 0; column < entry.m_characters.size(); ++column) {
                SCOPED_TRACE(std::string(variant) + " key " + std::to_string(entry.m_virtualKey) + " column " +
                             std::to_string(column));
                const bool madeDead = std::any_of(std::begin(keys), std::end(keys), [&](const auto& key) {
                    return key.m_virtualKey == entry.m_virtualKey && key.m_column == column;
                });
                if (!madeDead) {
                    EXPECT_EQ(entry.m_characters[column], other.m_characters[column]);
                }
                if (column < 2) {
                    EXPECT_NE(entry.m_characters[column], LayoutChar::kDead);
                }
            }
        }
    }
}

TEST(LayoutSources, VariantsDifferInTheirLetters)
{
    const uint16_t* defaults = DefaultScanToVk();
    for (const char* name : s_names) {
        SCOPED_TRACE(name);
        const bool qwertz = name[4] == 'Z';
        const LayoutTables& tables = Load(name).m_tables;
        for (size_t scan = 0; scan < kScanTableSize; ++scan) {
            uint16_t expected = defaults[scan];
            if (qwertz && scan == 0x15)
                expected = 'Z';
            if (qwertz && scan == 0x2C)
                expected = 'Y';
            EXPECT_EQ(tables.m_scanToVk[scan], expected) << "scan code " << scan;
        }
    }
    // The Polish programmers' letters: AltGr on A C E L N O S X Z.
    const std::u16string keys = u"ACELNOSXZ";
    const std::u16string letters = u"\u0105\u0107\u0119\u0142\u0144\u00f3\u015b\u017a\u017c";
    for (const char* name : {"KWCEP1", "KWCEP2"}) {
        const Library& library = Load(name);
        const uint8_t altGr = library.m_tables.m_modNumbers[ModifierBit::kCtrl | ModifierBit::kAlt];
        const uint8_t shiftAltGr =
            library.m_tables.m_modNumbers[ModifierBit::kShift | ModifierBit::kCtrl | ModifierBit::kAlt];
        for (size_t i = 0; i < keys.size(); ++i) {
            SCOPED_TRACE(std::string(name) + " AltGr+" + char(keys[i]));
            EXPECT_EQ(Entry(library, uint8_t(keys[i])).m_characters[altGr], letters[i]);
            EXPECT_EQ(Entry(library, uint8_t(keys[i])).m_characters[shiftAltGr], Capital(letters[i])) << "capital";
        }
    }
}

} // namespace
