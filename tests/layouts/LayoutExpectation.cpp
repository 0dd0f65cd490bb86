#include "tests/layouts/LayoutExpectation.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

int Hex(const std::string& text, unsigned long& value)
{
    if (text.empty())
        return 0;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 16);
    return *end == '\0';
}

// The remaining words of a line as hexadecimal UTF-16 units.
int Units(std::istringstream& words, std::u16string& text)
{
    std::string word;
    unsigned long unit = 0;
    while (words >> word) {
        if (!Hex(word, unit))
            return 0;
        text += char16_t(unit);
    }
    return 1;
}

int ScanPairs(std::istringstream& words, std::vector<std::pair<uint8_t, uint16_t>>& pairs)
{
    std::string word;
    while (words >> word) {
        size_t colon = word.find(':');
        unsigned long scan = 0;
        unsigned long virtualKey = 0;
        if (colon == std::string::npos || !Hex(word.substr(0, colon), scan) || !Hex(word.substr(colon + 1), virtualKey))
            return 0;
        pairs.emplace_back(uint8_t(scan), uint16_t(virtualKey));
    }
    return 1;
}

int Key(std::istringstream& words, ExpectedKey& key)
{
    std::string word;
    unsigned long value = 0;
    if (!(words >> word) || !Hex(word, value))
        return 0;
    key.m_virtualKey = uint8_t(value);
    if (!(words >> word) || !Hex(word, value))
        return 0;
    key.m_attributes = uint8_t(value);
    while (words >> word) {
        uint16_t dead = 0;
        if (word == "-") {
            value = 0xF000;
        } else if (word.back() == '@') {
            if (!Hex(word.substr(0, word.size() - 1), value))
                return 0;
            dead = uint16_t(value);
            value = 0xF001;
        } else if (!Hex(word, value)) {
            return 0;
        }
        key.m_characters.push_back(uint16_t(value));
        key.m_dead.push_back(dead);
    }
    return 1;
}

int ReadLine(const std::string& line, LayoutExpectation& expectation)
{
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    unsigned long value = 0;
    std::string word;
    if (kind.empty() || kind[0] == '#')
        return 1;
    if (kind == "name")
        return bool(words >> expectation.m_name);
    if (kind == "description")
        return Units(words, expectation.m_description);
    if (kind == "localeflags") {
        if (!(words >> word) || !Hex(word, value))
            return 0;
        expectation.m_localeFlags = uint32_t(value);
        return 1;
    }
    if (kind == "modifiers") {
        if (!(words >> word) || !Hex(word, value))
            return 0;
        expectation.m_maxModBits = unsigned(value);
        while (words >> word) {
            if (!Hex(word, value))
                return 0;
            expectation.m_modNumbers.push_back(uint8_t(value));
        }
        return 1;
    }
    if (kind == "scan") {
        while (words >> word) {
            if (!Hex(word, value))
                return 0;
            expectation.m_scanToVk.push_back(uint16_t(value));
        }
        return 1;
    }
    if (kind == "e0")
        return ScanPairs(words, expectation.m_scanToVkE0);
    if (kind == "e1")
        return ScanPairs(words, expectation.m_scanToVkE1);
    if (kind == "table") {
        if (!(words >> word) || !Hex(word, value))
            return 0;
        expectation.m_tables.push_back({size_t(value), {}});
        return 1;
    }
    if (kind == "key") {
        ExpectedKey key;
        if (expectation.m_tables.empty() || !Key(words, key))
            return 0;
        expectation.m_tables.back().m_keys.push_back(key);
        return 1;
    }
    if (kind == "dead") {
        unsigned long fields[4] = {};
        for (unsigned long& field : fields) {
            if (!(words >> word) || !Hex(word, field))
                return 0;
        }
        expectation.m_deadKeys.push_back(
            {uint16_t(fields[0]), uint16_t(fields[1]), uint16_t(fields[2]), uint16_t(fields[3])});
        return 1;
    }
    if (kind == "keyname" || kind == "keynameext") {
        std::u16string name;
        if (!(words >> word) || !Hex(word, value) || !Units(words, name))
            return 0;
        (kind == "keyname" ? expectation.m_keyNames : expectation.m_keyNamesExt).emplace_back(uint8_t(value), name);
        return 1;
    }
    if (kind == "keynamedead") {
        std::u16string name;
        if (!Units(words, name))
            return 0;
        expectation.m_keyNamesDead.push_back(name);
        return 1;
    }
    return 0;
}

} // namespace

int ReadLayoutExpectation(const std::string& path, LayoutExpectation& expectation, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "cannot open " + path;
        return 0;
    }
    expectation = LayoutExpectation();
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!ReadLine(line, expectation)) {
            error = path + ":" + std::to_string(number) + ": unreadable line";
            return 0;
        }
    }
    return 1;
}

int ReadPatchPlaces(const std::string& path, PatchPlaces& places, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = "cannot open " + path;
        return 0;
    }
    std::string line;
    int found = 0;
    for (int number = 1; std::getline(file, line); ++number) {
        std::istringstream words(line);
        std::string item;
        std::string offset;
        if (!(words >> item) || item[0] == '#')
            continue;
        unsigned long value = 0;
        if (!(words >> offset) || offset.rfind("0x", 0) != 0 || !Hex(offset.substr(2), value)) {
            error = path + ":" + std::to_string(number) + ": unreadable line";
            return 0;
        }
        size_t* target = item == "scan-table"           ? &places.m_scanTable
                         : item == "e0-table"           ? &places.m_e0Table
                         : item == "e1-table"           ? &places.m_e1Table
                         : item == "decimal-characters" ? &places.m_decimalCharacters
                                                        : nullptr;
        if (target == nullptr) {
            error = path + ":" + std::to_string(number) + ": unknown item " + item;
            return 0;
        }
        *target = size_t(value);
        ++found;
    }
    if (found != 4) {
        error = path + ": expected four items";
        return 0;
    }
    return 1;
}
