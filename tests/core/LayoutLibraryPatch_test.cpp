// The library patch on the built layout libraries of both processors, read as files: the
// catalogue's defaults are what the libraries hold, and a patch changes exactly the bytes it
// should. The patterns are taken from the places the build's sidecar files name.

#include "core/LibraryPatch.h"
#include "tests/core/KeyTableTestSupport.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace {

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

Bytes ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Place
{
    uint32_t m_offset;
    uint32_t m_length;
};

// The sidecar: "<item> <offset> <length>" lines after comment lines.
std::map<std::string, Place> ReadSidecar(const std::string& path)
{
    std::map<std::string, Place> places;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string item;
        std::string offset;
        uint32_t length = 0;
        fields >> item >> offset >> length;
        places[item] = {uint32_t(std::stoul(offset, nullptr, 16)), length};
    }
    return places;
}

struct Library
{
    std::string m_name;
    int m_variant;
    Bytes m_image;
    std::map<std::string, Place> m_places;
};

// The decimal key's characters and what follows them: 16 bytes occur once in every library.
constexpr uint32_t kDecimalPatternSize = 16;

std::vector<Library> Libraries()
{
    std::vector<Library> libraries;
    std::istringstream names(LAYOUT_LIBRARY_NAMES);
    for (std::string name; std::getline(names, name, ',');) {
        // Names end in the variant letter and the set: KWCEQ1, KWCEZ2, KWCEP1, ...
        const char letter = name[name.size() - 2];
        const int variant = letter == 'Q' ? 0 : letter == 'Z' ? 1 : 2;
        for (const char* processor : {"x86", "x64"}) {
            const std::string base = WindowsPath(LAYOUT_LIBRARY_DIR) + "\\" + processor + "\\" + name;
            libraries.push_back({std::string(processor) + "/" + name, variant, ReadFile(base + ".DLL"),
                                 ReadSidecar(base + ".txt")});
        }
    }
    return libraries;
}

class LayoutLibraryPatchTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_libraries = new std::vector<Library>(Libraries()); }
    static void TearDownTestSuite() { delete s_libraries; }

    static BytePattern PatternOf(const Library& library, const char* item, uint32_t length = 0)
    {
        const Place place = library.m_places.at(item);
        return {library.m_image.data() + place.m_offset, int32_t(length != 0 ? length : place.m_length)};
    }

    static LibraryPatterns PatternsOf(const Library& library)
    {
        return {PatternOf(library, "scan-table"), PatternOf(library, "e0-table"), PatternOf(library, "e1-table"),
                PatternOf(library, "decimal-characters", kDecimalPatternSize)};
    }

    static std::vector<Library>* s_libraries;
};

std::vector<Library>* LayoutLibraryPatchTest::s_libraries = nullptr;

uint16_t WordAt(const Bytes& image, uint32_t offset)
{
    return uint16_t(image[offset] | image[offset + 1] << 8);
}

// The prefixed-table entry of a scan code's low byte, or 0.
uint32_t PrefixedEntry(const Bytes& image, uint32_t table, uint8_t scanCode)
{
    for (uint32_t entry = table; image[entry] != 0; entry += 4) {
        if (image[entry] == scanCode)
            return entry;
    }
    return 0;
}

TEST_F(LayoutLibraryPatchTest, LibrariesHoldTheCataloguesDefaultsOfTheirVariant)
{
    ASSERT_EQ(s_libraries->size(), 12u);
    // The libraries give these keys the multi-key bit (and Num Lock and Print Screen the extended
    // bit) that the catalogue does not carry; the Windows virtual key is the same.
    const std::map<uint16_t, uint16_t> libraryOwn = {{0x37, 0x26A}, {0x45, 0x390}, {0x46, 0x291}, {0xE037, 0x12C}};
    for (const Library& library : *s_libraries) {
        SCOPED_TRACE(library.m_name);
        ASSERT_FALSE(library.m_image.empty());
        ASSERT_EQ(library.m_places.size(), 4u);
        const uint32_t scanTable = library.m_places.at("scan-table").m_offset;
        const uint32_t e0Table = library.m_places.at("e0-table").m_offset;
        const uint32_t e1Table = library.m_places.at("e1-table").m_offset;
        const ScanCodeEntry* catalogue = KeyCatalogue();
        for (int row = 0; catalogue[row].m_scanCode != 0; ++row) {
            const uint16_t scanCode = catalogue[row].m_scanCode;
            uint32_t offset = 0;
            if (scanCode < 0x7F)
                offset = scanTable + 2 * scanCode;
            else if ((scanCode & 0xFF00) == 0xE000)
                offset = PrefixedEntry(library.m_image, e0Table, uint8_t(scanCode)) + 2;
            else if ((scanCode & 0xFF00) == 0xE100)
                offset = PrefixedEntry(library.m_image, e1Table, uint8_t(scanCode)) + 2;
            else
                continue; // the "switched off" choice, not a key of the library
            ASSERT_GT(offset, 2u) << "no entry for scan code " << std::hex << scanCode;
            const auto own = libraryOwn.find(scanCode);
            const uint16_t expected =
                own != libraryOwn.end() ? own->second : VariantDefaultVirtualKey(row, library.m_variant);
            EXPECT_EQ(WordAt(library.m_image, offset), expected) << "scan code " << std::hex << scanCode;
        }
    }
}

TEST_F(LayoutLibraryPatchTest, PatchChangesExactlyTheChosenKeysAndTheDecimalKey)
{
    std::vector<ScanCodeEntry> keys = FreshKeyTable();
    KeyRow(keys, 0x3A).m_virtualKey = 0xA2;   // Caps Lock types Left Ctrl
    KeyRow(keys, 0x15).m_virtualKey = 0x59;   // Y: a change on QWERTZ only
    KeyRow(keys, 0x7E).m_virtualKey = 0x6E;   // the last key of the scan-code table
    KeyRow(keys, 0xE05D).m_virtualKey = 0x1A5;
    KeyRow(keys, 0xE11D).m_virtualKey = 0x91;
    ASSERT_EQ(NormalizeKeys(keys.data(), kKeyCatalogueRows), 1);
    ASSERT_EQ(KeyRow(keys, 0x15).m_virtualKey, 0x59);

    for (const Library& library : *s_libraries) {
        SCOPED_TRACE(library.m_name);
        const uint32_t scanTable = library.m_places.at("scan-table").m_offset;
        const uint32_t decimal = library.m_places.at("decimal-characters").m_offset;
        const LibraryPatterns patterns = PatternsOf(library);
        uint32_t found = 0;
        ASSERT_EQ(FindPattern(library.m_image.data(), uint32_t(library.m_image.size()), patterns.m_decimalCharacters,
                              found), 1);
        ASSERT_EQ(found, decimal);

        Bytes expected = library.m_image;
        auto word = [&expected](uint32_t offset, uint16_t value) {
            expected[offset] = uint8_t(value);
            expected[offset + 1] = uint8_t(value >> 8);
        };
        word(scanTable + 2 * 0x3A, 0xA2);
        word(scanTable + 2 * 0x15, 0x59);
        word(scanTable + 252, 0x6E);
        word(PrefixedEntry(library.m_image, library.m_places.at("e0-table").m_offset, 0x5D) + 2, 0x1A5);
        word(library.m_places.at("e1-table").m_offset + 2, 0x91);
        expected[decimal] = 0x2C;
        expected[decimal + 2] = 0x2C;

        for (const int comma : {0, 1}) {
            SCOPED_TRACE(comma ? "comma" : "point");
            Bytes image = library.m_image;
            ASSERT_EQ(PatchLayoutImage(image.data(), uint32_t(image.size()), keys.data(), kKeyCatalogueRows,
                                       patterns, comma), 1);
            if (!comma) {
                expected[decimal] = library.m_image[decimal];
                expected[decimal + 2] = library.m_image[decimal + 2];
            }
            size_t differences = 0;
            for (size_t i = 0; i < image.size(); ++i) {
                if (image[i] != expected[i] && ++differences <= 8)
                    ADD_FAILURE() << "byte " << std::hex << i << " is " << int(image[i]) << ", expected "
                                  << int(expected[i]);
            }
            expected[decimal] = 0x2C;
            expected[decimal + 2] = 0x2C;
        }
    }
}

} // namespace
