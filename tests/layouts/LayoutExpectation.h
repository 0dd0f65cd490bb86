#pragma once
// Reads the expectation file that layout-compiler writes for each library, and the library's
// sidecar of patch places (formats in tools/layout/ExpectationWriter.h and ImageLocator.h).

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ExpectedKey
{
    uint8_t m_virtualKey = 0;
    uint8_t m_attributes = 0;
    // Per column: the character, 0xF000 for none; m_dead[column] is the dead character or 0.
    std::vector<uint16_t> m_characters;
    std::vector<uint16_t> m_dead;
};

struct ExpectedTable
{
    size_t m_width = 0;
    std::vector<ExpectedKey> m_keys;
};

struct ExpectedDeadKey
{
    uint16_t m_accent = 0;
    uint16_t m_base = 0;
    uint16_t m_composed = 0;
    uint16_t m_flags = 0;
};

struct LayoutExpectation
{
    std::string m_name;
    std::u16string m_description;
    uint32_t m_localeFlags = 0;
    unsigned m_maxModBits = 0;
    std::vector<uint8_t> m_modNumbers;
    std::vector<uint16_t> m_scanToVk;
    std::vector<std::pair<uint8_t, uint16_t>> m_scanToVkE0;
    std::vector<std::pair<uint8_t, uint16_t>> m_scanToVkE1;
    std::vector<ExpectedTable> m_tables;
    std::vector<ExpectedDeadKey> m_deadKeys;
    std::vector<std::pair<uint8_t, std::u16string>> m_keyNames;
    std::vector<std::pair<uint8_t, std::u16string>> m_keyNamesExt;
    std::vector<std::u16string> m_keyNamesDead;
};

// File offsets of the places the installer patches.
struct PatchPlaces
{
    size_t m_scanTable = 0;
    size_t m_e0Table = 0;
    size_t m_e1Table = 0;
    size_t m_decimalCharacters = 0;
};

// Both return 1, or 0 with a message naming the line.
int ReadLayoutExpectation(const std::string& path, LayoutExpectation& expectation, std::string& error);
int ReadPatchPlaces(const std::string& path, PatchPlaces& places, std::string& error);
