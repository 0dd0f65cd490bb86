// Loads every built layout library of this test's processor and checks, key by key, that the
// tables KbdLayerDescriptor returns are those of its source (through the expectation file the
// layout compiler wrote), and that the installer's patches, made at the places of the library's
// sidecar, change exactly what they should.

#include "embedded/layouts/KbdTables.h"
#include "tests/layouts/LayoutExpectation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

constexpr uint16_t kNone = 0xF000;
constexpr uint16_t kDead = 0xF001;
constexpr uint8_t kDeadKeyRow = 0xFF;
constexpr uint8_t kDecimal = 0x6E; // its virtual key
constexpr int kDisplayNameStringId = 1000;

using Descriptor = KbdTables* (*)();

Descriptor DescriptorOf(HMODULE module)
{
    return reinterpret_cast<Descriptor>(reinterpret_cast<void*>(GetProcAddress(module, "KbdLayerDescriptor")));
}

// The build tree is a folder of the host; Wine shows the host's root as drive Z.
std::string WindowsPath(const std::string& hostPath)
{
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string LibraryFolder()
{
    return WindowsPath(LAYOUT_LIBRARY_DIR);
}

std::string LibraryPath(const std::string& name)
{
    return LibraryFolder() + (sizeof(void*) == 8 ? "\\x64\\" : "\\x86\\") + name + ".DLL";
}

std::vector<std::string> LibraryNames()
{
    std::vector<std::string> names;
    std::istringstream list(LAYOUT_LIBRARY_NAMES);
    for (std::string name; std::getline(list, name, ',');)
        names.push_back(name);
    return names;
}

std::u16string Text(const KbdWord* text)
{
    std::u16string out;
    for (; text != nullptr && *text != 0; ++text)
        out += char16_t(*text);
    return out;
}

void ExpectKeyNames(const KbdScanName* names, const std::vector<std::pair<uint8_t, std::u16string>>& expected)
{
    ASSERT_NE(names, nullptr);
    size_t i = 0;
    for (; names[i].m_scan != 0; ++i) {
        ASSERT_LT(i, expected.size());
        EXPECT_EQ(names[i].m_scan, expected[i].first);
        EXPECT_TRUE(Text(names[i].m_name) == expected[i].second) << "name of scan code " << int(expected[i].first);
    }
    EXPECT_EQ(i, expected.size());
    EXPECT_EQ(names[i].m_name, nullptr);
}

void ExpectCharacterTables(const KbdTables& tables, const LayoutExpectation& expected)
{
    size_t t = 0;
    for (; tables.m_vkToWcharTables[t].m_entries != nullptr; ++t) {
        ASSERT_LT(t, expected.m_tables.size());
        const KbdVkToWcharTable& table = tables.m_vkToWcharTables[t];
        const ExpectedTable& expectedTable = expected.m_tables[t];
        SCOPED_TRACE("table " + std::to_string(t));
        ASSERT_EQ(table.m_modifications, expectedTable.m_width);
        ASSERT_EQ(table.m_entrySize, 2 + 2 * expectedTable.m_width);
        const KbdByte* entry = table.m_entries;
        auto character = [&](const KbdByte* at, size_t column) {
            KbdWord c;
            std::memcpy(&c, at + 2 + 2 * column, 2);
            return c;
        };
        for (const ExpectedKey& key : expectedTable.m_keys) {
            SCOPED_TRACE("virtual key " + std::to_string(key.m_virtualKey));
            ASSERT_EQ(entry[0], key.m_virtualKey);
            EXPECT_EQ(entry[1], key.m_attributes);
            bool hasDead = false;
            for (size_t column = 0; column < expectedTable.m_width; ++column) {
                EXPECT_EQ(character(entry, column), key.m_characters[column]) << "column " << column;
                hasDead = hasDead || key.m_characters[column] == kDead;
            }
            entry += table.m_entrySize;
            if (!hasDead)
                continue;
            ASSERT_EQ(entry[0], kDeadKeyRow) << "the dead characters follow a dead key";
            for (size_t column = 0; column < expectedTable.m_width; ++column)
                EXPECT_EQ(character(entry, column), key.m_dead[column] != 0 ? key.m_dead[column] : kNone)
                    << "dead character of column " << column;
            entry += table.m_entrySize;
        }
        EXPECT_EQ(entry[0], 0) << "the table ends after the expected keys";
    }
    EXPECT_EQ(t, expected.m_tables.size());
}

void ExpectTables(const KbdTables& tables, const LayoutExpectation& expected)
{
    EXPECT_EQ(tables.m_localeFlags, expected.m_localeFlags);
    EXPECT_EQ(tables.m_ligatures, nullptr);

    const KbdModifiers& modifiers = *tables.m_charModifiers;
    const KbdVkToBit* bits = modifiers.m_vkToBit;
    EXPECT_TRUE(bits[0].m_vk == 0x10 && bits[0].m_modBits == 1 && bits[1].m_vk == 0x11 && bits[1].m_modBits == 2 &&
                bits[2].m_vk == 0x12 && bits[2].m_modBits == 4 && bits[3].m_vk == 0)
        << "Shift, Ctrl and Alt";
    ASSERT_EQ(modifiers.m_maxModBits, expected.m_maxModBits);
    for (unsigned bitsValue = 0; bitsValue <= expected.m_maxModBits; ++bitsValue)
        EXPECT_EQ(modifiers.m_modNumber[bitsValue], expected.m_modNumbers[bitsValue]) << "modifier bits " << bitsValue;

    ASSERT_EQ(tables.m_scanToVkCount, expected.m_scanToVk.size());
    for (size_t scan = 0; scan < expected.m_scanToVk.size(); ++scan)
        EXPECT_EQ(tables.m_scanToVk[scan], expected.m_scanToVk[scan]) << "scan code " << scan;
    const std::pair<const KbdScanVk*, const std::vector<std::pair<uint8_t, uint16_t>>*> prefixed[] = {
        {tables.m_scanToVkE0, &expected.m_scanToVkE0}, {tables.m_scanToVkE1, &expected.m_scanToVkE1}};
    for (const auto& [entries, expectedEntries] : prefixed) {
        for (size_t i = 0; i < expectedEntries->size(); ++i) {
            EXPECT_EQ(entries[i].m_scan, (*expectedEntries)[i].first);
            EXPECT_EQ(entries[i].m_vk, (*expectedEntries)[i].second) << "prefixed scan code " << int(entries[i].m_scan);
        }
        EXPECT_TRUE(entries[expectedEntries->size()].m_scan == 0 && entries[expectedEntries->size()].m_vk == 0);
    }

    ExpectCharacterTables(tables, expected);

    size_t d = 0;
    for (; tables.m_deadKeys[d].m_both != 0; ++d) {
        ASSERT_LT(d, expected.m_deadKeys.size());
        const ExpectedDeadKey& dead = expected.m_deadKeys[d];
        EXPECT_EQ(tables.m_deadKeys[d].m_both, KbdDword(dead.m_accent) << 16 | dead.m_base);
        EXPECT_EQ(tables.m_deadKeys[d].m_composed, dead.m_composed);
        EXPECT_EQ(tables.m_deadKeys[d].m_flags, dead.m_flags);
    }
    EXPECT_EQ(d, expected.m_deadKeys.size());

    ExpectKeyNames(tables.m_keyNames, expected.m_keyNames);
    ExpectKeyNames(tables.m_keyNamesExt, expected.m_keyNamesExt);
    size_t n = 0;
    for (; tables.m_keyNamesDead[n] != nullptr; ++n) {
        ASSERT_LT(n, expected.m_keyNamesDead.size());
        EXPECT_TRUE(Text(tables.m_keyNamesDead[n]) == expected.m_keyNamesDead[n]) << "dead-key name " << n;
    }
    EXPECT_EQ(n, expected.m_keyNamesDead.size());
}

class LayoutLibrary : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(
            ReadLayoutExpectation(WindowsPath(LAYOUT_LIBRARY_DIR) + "\\" + GetParam() + ".expect", m_expected, error))
            << error;
    }
    void TearDown() override
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

    const KbdTables* Load(const std::string& path)
    {
        m_module = LoadLibraryA(path.c_str());
        EXPECT_NE(m_module, nullptr) << path << ": error " << GetLastError();
        if (m_module == nullptr)
            return nullptr;
        Descriptor descriptor = DescriptorOf(m_module);
        EXPECT_NE(descriptor, nullptr);
        return descriptor != nullptr ? descriptor() : nullptr;
    }

    LayoutExpectation m_expected;
    HMODULE m_module = nullptr;
};

TEST_P(LayoutLibrary, TablesMatchTheSource)
{
    const KbdTables* tables = Load(LibraryPath(GetParam()));
    ASSERT_NE(tables, nullptr);
    ExpectTables(*tables, m_expected);

    wchar_t name[256] = {};
    int length = LoadStringW(m_module, kDisplayNameStringId, name, 256);
    EXPECT_TRUE(std::u16string(reinterpret_cast<const char16_t*>(name), size_t(length)) == m_expected.m_description)
        << "display name";
    EXPECT_NE(FindResourceW(m_module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr) << "version resource";
}

TEST_P(LayoutLibrary, PatchesAtTheSidecarPlacesChangeTheLoadedTables)
{
    const std::string path = LibraryPath(GetParam());
    PatchPlaces places;
    std::string error;
    ASSERT_TRUE(ReadPatchPlaces(path.substr(0, path.size() - 4) + ".txt", places, error)) << error;
    std::ifstream input(path, std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    ASSERT_GT(image.size(), places.m_decimalCharacters + 4);

    // Patch as the installer does: a main-table entry, the first matching entry of each prefixed
    // table (walked until an entry with scan code 0), and both decimal characters.
    auto store = [&image](size_t at, uint16_t value) {
        image[at] = uint8_t(value);
        image[at + 1] = uint8_t(value >> 8);
    };
    auto storePrefixed = [&image, &store](size_t table, uint8_t scan, uint16_t value) {
        for (size_t at = table; at + 4 <= image.size() && image[at] != 0; at += 4) {
            if (image[at] == scan) {
                store(at + 2, value);
                return true;
            }
        }
        return false;
    };
    store(places.m_scanTable + 2 * 0x3A, 0x00A2);               // Caps Lock becomes Left Ctrl
    ASSERT_TRUE(storePrefixed(places.m_e0Table, 0x5D, 0x015B)); // Application becomes Left Windows
    ASSERT_TRUE(storePrefixed(places.m_e1Table, 0x1D, 0x0091)); // Pause becomes Scroll Lock
    ASSERT_EQ(image[places.m_decimalCharacters], '.');
    ASSERT_EQ(image[places.m_decimalCharacters + 2], '.');
    image[places.m_decimalCharacters] = ',';
    image[places.m_decimalCharacters + 2] = ',';

    wchar_t folder[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring patched =
        std::wstring(folder) + L"kw-patched-" + std::wstring(GetParam().begin(), GetParam().end()) + L".dll";
    {
        std::ofstream output(patched.c_str(), std::ios::binary);
        output.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
        ASSERT_TRUE(output.good());
    }
    m_module = LoadLibraryW(patched.c_str());
    ASSERT_NE(m_module, nullptr) << "error " << GetLastError();
    Descriptor descriptor = DescriptorOf(m_module);
    ASSERT_NE(descriptor, nullptr);
    const KbdTables* tables = descriptor();

    LayoutExpectation expected = m_expected;
    expected.m_scanToVk[0x3A] = 0x00A2;
    for (auto& [scan, virtualKey] : expected.m_scanToVkE0) {
        if (scan == 0x5D)
            virtualKey = 0x015B;
    }
    expected.m_scanToVkE1[0].second = 0x0091;
    for (ExpectedTable& table : expected.m_tables) {
        for (ExpectedKey& key : table.m_keys) {
            if (key.m_virtualKey == kDecimal)
                key.m_characters[0] = key.m_characters[1] = ',';
        }
    }
    ExpectTables(*tables, expected);

    FreeLibrary(m_module);
    m_module = nullptr;
    DeleteFileW(patched.c_str());
}

INSTANTIATE_TEST_SUITE_P(Libraries, LayoutLibrary, ::testing::ValuesIn(LibraryNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
