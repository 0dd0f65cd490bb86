#include "embedded/Guard.h"
#include "embedded/StringTable.h"
#include "tests/tools/PackTestSupport.h"
#include "text/PackedString.h"
#include "tools/pack/FileIo.h"
#include "tools/pack/KeyMaterial.h"
#include "tools/pack/PayloadSource.h"
#include "tools/pack/StringSource.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace {

// The built payload read back, with a loaded guard to unpack it.
struct LoadedPayload {
    PayloadImage image;
    std::unique_ptr<CGuard> guard;

    std::string Unpack(int block, uint32_t* items = nullptr) const
    {
        const ByteVector& bytes = image.blocks.at(block);
        uint32_t length = static_cast<uint32_t>(bytes.size());
        std::unique_ptr<unsigned char[]> data(guard->Unpack(bytes.data(), length, items));
        return data ? std::string(data.get(), data.get() + length) : "(refused)";
    }
};

LoadedPayload Load(const std::string& source)
{
    LoadedPayload payload;
    CDiagnostics diagnostics;
    EXPECT_TRUE(ReadPayloadSource(source, "Payload.cpp", payload.image, diagnostics)) << diagnostics.Text();
    payload.guard = std::make_unique<CGuard>(payload.image.guard);
    const ByteVector& material = payload.image.blocks.at(payload.image.keyMaterial);
    EXPECT_EQ(payload.guard->Load(material.data(), static_cast<int32_t>(material.size())), 1);
    return payload;
}

std::string RecordText(const PackedString* record)
{
    if (record == nullptr)
        return "(none)";
    const unsigned char* c = record->Characters();
    if (record->IsUtf8())
        return std::string(c, c + record->Length());
    std::string ascii;
    for (uint32_t i = 0; i < record->Length(); ++i)
        ascii += static_cast<char>(c[2 * i]);
    return ascii;
}

std::string TableText(const LoadedPayload& payload, int table, uint32_t id)
{
    uint32_t items = 0;
    const std::string bytes = payload.Unpack(payload.image.tables[table], &items);
    unsigned char* buffer = new unsigned char[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), buffer);
    StringTable strings;
    if (!strings.Attach(buffer, static_cast<int32_t>(items), static_cast<uint32_t>(bytes.size()))) {
        delete[] buffer;
        return "(malformed)";
    }
    return RecordText(strings.Find(id));
}

TEST_F(PackFolder, BuildRoundTripsThroughTheProgramsUnpack)
{
    ASSERT_EQ(Build(), 0) << m_err;
    const LoadedPayload payload = Load(Read("Payload.cpp"));
    const PayloadImage& image = payload.image;

    EXPECT_EQ(TableText(payload, kTableDefault, 3), "C:\\Program Files");
    EXPECT_EQ(TableText(payload, kTableDefault, 1), "Title");
    EXPECT_EQ(TableText(payload, kTableInstaller, 3), "overridden by default");
    EXPECT_EQ(TableText(payload, kTableLanguage0, 2), "Yes");
    EXPECT_EQ(TableText(payload, kTableLanguage1, 2), "Tak");
    EXPECT_EQ(payload.Unpack(image.licences[1]), "\xEF\xBB\xBFLicencja\n");
    EXPECT_EQ(payload.Unpack(image.files[kFilePageFile]), "document");
    EXPECT_EQ(payload.Unpack(image.libraries[1][2][11]), std::string(300, 'a'));
    EXPECT_EQ(payload.Unpack(image.libraries[0][0][12]), std::string(200, 'b'));

    // Identical inputs are stored once.
    EXPECT_EQ(image.files[kFileSharedDocument], image.files[kFilePageFile]);
    EXPECT_EQ(image.libraries[0][0][0], image.libraries[1][2][11]);
    EXPECT_NE(image.libraries[0][0][0], image.libraries[0][0][12]);
    // key material, four tables, two licences, the document, two libraries
    EXPECT_EQ(image.blocks.size(), 10u);
}

TEST_F(PackFolder, SameInputsGiveTheSameBytes)
{
    ASSERT_EQ(Build("first.cpp"), 0) << m_err;
    ASSERT_EQ(Build("second.cpp"), 0) << m_err;
    const std::string first = Read("first.cpp");
    EXPECT_EQ(first, Read("second.cpp"));
    // The reader takes back exactly what the writer wrote.
    EXPECT_EQ(WritePayloadSource(Load(first).image, "manifest.txt"), first);

    const std::string manifest = ManifestText();
    Write("manifest.txt", "key-seed 00112233445566778899aabbccddeef0\n" + manifest.substr(manifest.find('\n') + 1));
    ASSERT_EQ(Build("reseeded.cpp"), 0) << m_err;
    EXPECT_NE(Read("reseeded.cpp"), first);
}

TEST(PackDeterminism, TheRealManifestGivesByteIdenticalPayloads)
{
    const std::string manifest = std::string(PACK_SOURCE_DIR) + "/embedded/content/manifest.txt";
    std::ostringstream out;
    std::ostringstream err;
    std::string pattern = (std::filesystem::temp_directory_path() / "pack-real-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    const std::string first = (folder / "first.cpp").string();
    const std::string second = (folder / "second.cpp").string();
    // The manifest names the libraries and documents that this build tree made.
    const std::string buildDir = std::string("BUILD_DIR=") + PACK_BUILD_DIR;
    ASSERT_EQ(RunPack({"build", manifest, first, "--define", buildDir}, out, err), 0) << err.str();
    ASSERT_EQ(RunPack({"build", manifest, second, "--define", buildDir}, out, err), 0) << err.str();
    ByteVector a;
    ByteVector b;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(first, a, error));
    ASSERT_TRUE(ReadFileBytes(second, b, error));
    EXPECT_EQ(a, b);
    EXPECT_EQ(RunPack({"verify", first}, out, err), 0) << out.str() << err.str();
    std::filesystem::remove_all(folder);
}

TEST_F(PackFolder, DefinedValuesNameFilesElsewhere)
{
    std::filesystem::create_directory(Path("built"));
    Write("built/lib-c.bin", "built elsewhere");
    Write("manifest.txt", ManifestText("library * * * ${BUILD}/lib-c.bin\n"));
    ASSERT_EQ(Pack({"build", Path("manifest.txt"), Path("Payload.cpp"), "--define", "BUILD=" + Path("built")}), 0)
        << m_err;
    const LoadedPayload payload = Load(Read("Payload.cpp"));
    EXPECT_EQ(payload.Unpack(payload.image.libraries[1][1][7]), "built elsewhere");
    EXPECT_EQ(Pack({"build", Path("manifest.txt"), Path("Payload.cpp"), "--define", "=x"}), 2);
}

TEST_F(PackFolder, DepfileNamesEveryInput)
{
    ASSERT_EQ(Pack({"build", Path("manifest.txt"), Path("Payload.cpp"), "--depfile", Path("Payload.d")}), 0) << m_err;
    const std::string depfile = Read("Payload.d");
    for (const char* name : {"manifest.txt", "ids.h", "default.txt", "polish.txt", "licence-pl.txt", "doc.txt",
                             "lib-a.bin", "lib-b.bin"})
        EXPECT_NE(depfile.find(Path(name)), std::string::npos) << name;
    EXPECT_EQ(depfile.find(Path("Payload.cpp") + ":"), 0u);
}

TEST_F(PackFolder, InputErrorsNameTheirPlaceAndWriteNothing)
{
    const struct {
        const char* name;
        const char* file;
        std::string content;
        const char* message;
    } cases[] = {
        {"unknown directive", "manifest.txt", ManifestText() + "libary * * * x\n",
         "manifest.txt:14: error: unknown directive 'libary'"},
        {"slot given twice", "manifest.txt", ManifestText() + "library 1 2 12 lib-a.bin\n",
         "manifest.txt:14: error: library slot 1 2 12 is given twice (first on line 13)"},
        {"slots missing", "manifest.txt", ManifestText("library * * 0-10 lib-a.bin\n"),
         "12 library slots have no entry"},
        {"bad selector", "manifest.txt", ManifestText("library 0 3 * lib-a.bin\n"), "bad variant selector '3'"},
        {"missing input", "manifest.txt", ManifestText("library * * 0-11 lib-a.bin\nlibrary * * 12 gone.bin\n"),
         "manifest.txt:13: error: cannot read"},
        {"id named but in no table", "ids.h",
         "constexpr StringId kStrTitle = 1;\nconstexpr StringId kStrYes = 2;\nconstexpr StringId kStrGone = 99;\n",
         "ids.h:3: error: kStrGone (id 99) has no text in any string table"},
        {"text for one language only", "polish.txt", "2 = \"Tak\"\n\n7 = \"Tylko po polsku\"\n",
         "polish.txt:3: error: id 7 has no text for language 0"},
        {"empty table", "installer.txt", "# no entries\n", "installer.txt: error: the table has no entries"},
        {"licence not UTF-8", "licence-en.txt", "line one\nline \xFF two\n",
         "licence-en.txt:2: error: the licence text is not valid UTF-8"},
        {"licence beyond U+FFFF", "licence-en.txt", "ok\n\xF0\x9F\x98\x80\n", "licence-en.txt:2: error:"},
        {"unknown variable", "manifest.txt", ManifestText("library * * * ${LIBS}/lib-a.bin\n"),
         "manifest.txt:12: error: unknown variable ${LIBS} (give it with --define LIBS=VALUE)"},
        {"bad seed", "manifest.txt", "key-seed 1234\n" + ManifestText().substr(ManifestText().find('\n') + 1),
         "manifest.txt:1: error: the key seed must be"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDefaults();
        Write(c.file, c.content);
        EXPECT_EQ(Build(), 1);
        EXPECT_NE(m_err.find(c.message), std::string::npos) << m_err;
        EXPECT_FALSE(Exists("Payload.cpp"));
    }
}

TEST(StringSource, ReportsEachMistakeWithFileAndLine)
{
    const struct {
        const char* name;
        std::string source;
        const char* message;
    } cases[] = {
        {"duplicate id", "1 = \"a\"\n# comment\n1 = \"b\"\n", "t.txt:3: error: duplicate string id 1 (first defined on line 1)"},
        {"unknown escape", "1 = \"a\\qb\"\n", "t.txt:1: error: column 7: unknown escape \\q"},
        {"text not closed", "\n1 = \"open\n", "t.txt:2: error: column 5: text is not closed"},
        {"no equals sign", "1 \"a\"\n", "t.txt:1: error: column 1: expected '=' after the string id"},
        {"name instead of id", "kStrTitle = \"a\"\n", "t.txt:1: error: column 1: expected a string id"},
        {"id too large", "4294967296 = \"a\"\n", "does not fit 32 bits"},
        {"continuation without entry", "\"stray\"\n", "t.txt:1: error: column 1: a continued text must follow"},
        {"text after the text", "1 = \"a\" b\n", "t.txt:1: error: column 1: only a comment may follow the text"},
        {"short \\u escape", "1 = \"\\u12\"\n", "\\u needs 4 hexadecimal digits"},
        {"NUL character", "1 = \"\\u0000\"\n", "cannot hold the character U+0000"},
        {"lone surrogate", "1 = \"\\uD800\"\n", "is not a character"},
        {"control character", "1 = \"a\x01\"\n", "control character"},
        {"invalid UTF-8", "1 = \"ok\"\n2 = \"\xC3\x28\"\n", "t.txt:2: error: the file is not valid UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDiagnostics diagnostics;
        StringSource source;
        EXPECT_FALSE(ParseStringSource(ByteVector(c.source.begin(), c.source.end()), "t.txt", source, diagnostics));
        EXPECT_NE(diagnostics.Text().find(c.message), std::string::npos) << diagnostics.Text();
    }
}

TEST(StringSource, ReadsIdsEscapesCommentsAndContinuedTexts)
{
    const std::string text =
        "\xEF\xBB\xBF# comment\n"
        "0x10 = \"hex id\"   # trailing comment\n"
        "7 = \"first \"\n"
        "    # a comment between the pieces\n"
        "    \"second\\n\\t\\\\ \\\" \\u0142 \\U0001F600 # not a comment\"\n"
        "8 = \"\"\r\n";
    CDiagnostics diagnostics;
    StringSource source;
    ASSERT_TRUE(ParseStringSource(ByteVector(text.begin(), text.end()), "t.txt", source, diagnostics))
        << diagnostics.Text();
    ASSERT_EQ(source.entries.size(), 3u);
    EXPECT_EQ(source.entries[0].id, 16u);
    EXPECT_EQ(source.entries[0].text, U"hex id");
    EXPECT_EQ(source.entries[1].text, U"first second\n\t\\ \" \u0142 \U0001F600 # not a comment");
    EXPECT_EQ(source.entries[1].line, 3);
    EXPECT_EQ(source.entries[2].text, U"");
}

TEST(StringSource, StoresEachRecordInItsShorterForm)
{
    const struct {
        const char* name;
        std::u32string text;
        uint32_t header;
    } cases[] = {
        {"ASCII", U"abc", 0x80000003u},
        {"Polish letters, as long in both forms", U"\u0105\u0119", 0x00000002u},
        {"Polish word, shorter in UTF-8", U"za\u017C\u00F3\u0142\u0107", 0x8000000Au},
        {"CJK", U"\u4E2D\u6587", 0x00000002u},
        {"beyond U+FFFF always UTF-16", U"aaaaaaaa\U0001F600", 0x0000000Au},
        {"empty", U"", 0x00000000u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteVector record = EncodeRecord(c.text);
        const PackedString* packed = reinterpret_cast<const PackedString*>(record.data());
        EXPECT_EQ(packed->Header(), c.header);
        EXPECT_EQ(record.size(), 4 + (packed->IsUtf8() ? packed->Length() : 2 * packed->Length()));
    }
}

TEST(StringSource, TablesAreSortedAndShareIdenticalRecords)
{
    const std::vector<StringSourceEntry> entries = {
        {0x80000000u, U"same", 1}, {5, U"same", 2}, {6, U"other", 3}};
    const ByteVector table = BuildStringTable(entries);
    unsigned char* buffer = new unsigned char[table.size()];
    std::copy(table.begin(), table.end(), buffer);
    StringTable strings;
    ASSERT_EQ(strings.Attach(buffer, 3, static_cast<uint32_t>(table.size())), 1);
    EXPECT_EQ(strings.Find(5), strings.Find(0x80000000u));
    EXPECT_EQ(RecordText(strings.Find(6)), "other");
    EXPECT_EQ(table.size(), 3 * 8 + (4 + 4) + (4 + 5));
}

TEST(KeyMaterial, TheGuardFindsTheKeyAndTheSeedDecidesEverything)
{
    KeyMaterial first;
    KeyMaterial again;
    KeyMaterial other;
    std::string error;
    ASSERT_TRUE(MakeKeyMaterial("0123456789abcdef0123456789abcdef", first, error)) << error;
    ASSERT_TRUE(MakeKeyMaterial("0123456789abcdef0123456789abcdef", again, error)) << error;
    ASSERT_TRUE(MakeKeyMaterial("0123456789abcdef0123456789abcdee", other, error)) << error;
    EXPECT_EQ(first.material, again.material);
    EXPECT_EQ(first.key, again.key);
    EXPECT_NE(first.material, other.material);
    EXPECT_NE(first.key, other.key);

    ASSERT_EQ(first.material.size(), static_cast<std::size_t>(CGuard::kMaterialLength));
    CGuard guard(first.parameters);
    ASSERT_EQ(guard.Load(first.material.data(), CGuard::kMaterialLength), 1);
    EXPECT_TRUE(std::equal(first.key.begin(), first.key.end(), guard.Key()));
    // The stored material does not hold the key's first bytes as they are.
    EXPECT_EQ(std::search(first.material.begin(), first.material.end(), first.key.begin(), first.key.begin() + 8),
              first.material.end());

    for (const char* seed : {"", "0123", "0123456789abcdefg123456789abcdef", "0123456789abcdef0"}) {
        KeyMaterial bad;
        EXPECT_FALSE(MakeKeyMaterial(seed, bad, error)) << seed;
    }
}

TEST_F(PackFolder, InspectionUsesTheProgramsUnpack)
{
    Write("manifest.txt", ManifestText("library * * 0-11 lib-a.bin\nlibrary * * 12 empty\n"));
    ASSERT_EQ(Build(), 0) << m_err;
    const std::string payload = Path("Payload.cpp");

    EXPECT_EQ(Pack({"list", payload}), 0) << m_err;
    EXPECT_NE(m_out.find("strings.language1"), std::string::npos);
    EXPECT_NE(m_out.find("library.1.2.12"), std::string::npos);
    EXPECT_NE(m_out.find("82 ok, 6 empty, 0 failed"), std::string::npos) << m_out;
    EXPECT_EQ(Pack({"verify", payload}), 0) << m_out << m_err;

    EXPECT_EQ(Pack({"unpack", payload, "licence.1", Path("licence.out")}), 0) << m_err;
    EXPECT_EQ(Read("licence.out"), Read("licence-pl.txt"));
    EXPECT_EQ(Pack({"unpack", payload, "library.0.0.12", Path("empty.out")}), 1);
    EXPECT_NE(m_err.find("library.0.0.12 is empty"), std::string::npos);
    EXPECT_EQ(Pack({"unpack", payload, "no.such.block", Path("x.out")}), 1);
    EXPECT_EQ(Pack({"unpack", payload, "--all", Path("all")}), 0) << m_err;
    EXPECT_EQ(Read("all/library.1.1.3.bin"), Read("lib-a.bin"));
    EXPECT_EQ(Read("all/shared-document.bin"), Read("doc.txt"));
    EXPECT_TRUE(Exists("all/strings.default.table"));

    // One byte of a library block changed in the source: that block is refused.
    std::string source = Read("Payload.cpp");
    const std::size_t block = source.find("// library.0.0.0");
    ASSERT_NE(block, std::string::npos);
    const std::size_t byte = source.find("0x", source.find("{\n", block) + 40);
    source[byte + 2] = source[byte + 2] == '0' ? '1' : '0';
    Write("Payload.cpp", source);
    EXPECT_EQ(Pack({"verify", payload}), 1);
    EXPECT_NE(m_out.find("REFUSED"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("72 failed"), std::string::npos) << m_out;
}

TEST_F(PackFolder, CommandLineMistakes)
{
    EXPECT_EQ(Pack({"help"}), 0);
    EXPECT_NE(m_out.find("Usage: pack"), std::string::npos);
    EXPECT_EQ(Pack({"build", "--help"}), 0);
    EXPECT_EQ(Pack({}), 2);
    EXPECT_EQ(Pack({"pack"}), 2);
    EXPECT_NE(m_err.find("unknown command 'pack'"), std::string::npos);
    EXPECT_EQ(Pack({"build", Path("manifest.txt")}), 2);
    EXPECT_EQ(Pack({"build", Path("manifest.txt"), Path("Payload.cpp"), "--force"}), 2);
    EXPECT_EQ(Pack({"list", Path("missing.cpp")}), 1);
    EXPECT_NE(m_err.find("cannot read"), std::string::npos);
    Write("garbage.cpp", "int main() { return 0; }\n");
    EXPECT_EQ(Pack({"verify", Path("garbage.cpp")}), 1);
    EXPECT_NE(m_err.find("not a payload source"), std::string::npos) << m_err;
}

}  // namespace
