#include "tools/pack/PayloadImage.h"

#include "embedded/BlockPacker.h"
#include "tools/pack/FileIo.h"
#include "tools/pack/KeyMaterial.h"
#include "tools/pack/StringIdList.h"
#include "tools/pack/StringSource.h"
#include "tools/pack/Utf8.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr std::size_t kMaxInputSize = 0x7FFFFFFF;

// Builds the blocks: reads each input file once and stores each distinct block once.
class CPayloadBuilder {
public:
    CPayloadBuilder(const Manifest& manifest, PayloadImage& image, CDiagnostics& diagnostics)
        : m_manifest(manifest), m_image(image), m_diagnostics(diagnostics)
    {
    }

    bool Build()
    {
        KeyMaterial material;
        std::string error;
        if (!MakeKeyMaterial(m_manifest.keySeed, material, error)) {
            m_diagnostics.Error(m_manifest.file, m_manifest.keySeedLine, error);
            return false;
        }
        m_key = material.key;
        m_image.guard = material.parameters;
        m_image.keyMaterial = AddStored(material.material);

        StringSource sources[kTableCount];
        std::vector<NamedStringId> names;
        bool good = ReadTables(sources) && ReadNames(names);
        good = good && CheckTables(sources, names);
        if (good)
            for (int i = 0; i < kTableCount; ++i) {
                const ByteVector table = BuildStringTable(sources[i].entries);
                m_image.tables[i] = AddPacked(table, static_cast<uint32_t>(sources[i].entries.size()));
            }

        for (int i = 0; i < kUiLanguages; ++i) {
            const ByteVector* text = Input(m_manifest.licences[i]);
            if (text != nullptr && CheckLicence(*text, m_manifest.licences[i].path))
                m_image.licences[i] = AddPacked(*text, 0);
        }
        for (int i = 0; i < kFileCount; ++i)
            if (const ByteVector* bytes = Input(m_manifest.files[i]))
                m_image.files[i] = AddPacked(*bytes, 0);
        for (int set = 0; set < kLayoutSets; ++set)
            for (int variant = 0; variant < kLayoutVariants; ++variant)
                for (int slot = 0; slot < kLayoutSlots; ++slot) {
                    const ManifestInput& input = m_manifest.libraries[set][variant][slot];
                    if (input.path.empty())
                        continue;
                    if (const ByteVector* bytes = Input(input))
                        m_image.libraries[set][variant][slot] = AddPacked(*bytes, 0);
                }
        return !m_diagnostics.HasErrors();
    }

private:
    // The contents of an input file, read once; null (reported) when it cannot be read.
    const ByteVector* Input(const ManifestInput& input)
    {
        auto found = m_files.find(input.path);
        if (found != m_files.end())
            return found->second.second ? &found->second.first : nullptr;
        ByteVector bytes;
        std::string error;
        bool ok = ReadFileBytes(input.path, bytes, error);
        if (!ok)
            m_diagnostics.Error(m_manifest.file, input.line, "cannot read '" + input.path + "': " + error);
        else if (bytes.size() > kMaxInputSize)
            ok = false, m_diagnostics.Error(m_manifest.file, input.line, "'" + input.path + "' is too large");
        auto& entry = m_files[input.path];
        entry = {std::move(bytes), ok};
        return ok ? &entry.first : nullptr;
    }

    bool ReadTables(StringSource* sources)
    {
        bool good = true;
        for (int i = 0; i < kTableCount; ++i) {
            const ByteVector* content = Input(m_manifest.tables[i]);
            if (content == nullptr || !ParseStringSource(*content, m_manifest.tables[i].path, sources[i], m_diagnostics)) {
                good = false;
                continue;
            }
            for (const ManifestInput& part : m_manifest.tableParts[i])
                good = AppendPart(part, sources[i]) && good;
            if (sources[i].entries.empty()) {
                m_diagnostics.Error(sources[i].file, 0,
                                    "the table has no entries; the program cannot attach an empty table");
                good = false;
            }
        }
        return good;
    }

    // Adds the entries of a further source of a table; an id may be given in only one of them.
    bool AppendPart(const ManifestInput& input, StringSource& table)
    {
        const ByteVector* content = Input(input);
        StringSource part;
        if (content == nullptr || !ParseStringSource(*content, input.path, part, m_diagnostics))
            return false;
        bool good = true;
        for (StringSourceEntry& entry : part.entries) {
            if (const StringSourceEntry* first = table.Find(entry.id)) {
                m_diagnostics.Error(input.path, entry.line,
                                    "id " + std::to_string(entry.id) + " is already given in " + table.file +
                                        " (line " + std::to_string(first->line) + ")");
                good = false;
                continue;
            }
            table.entries.push_back(std::move(entry));
        }
        return good;
    }

    bool ReadNames(std::vector<NamedStringId>& names)
    {
        const ByteVector* content = Input(m_manifest.stringIds);
        return content != nullptr && ParseStringIdList(*content, m_manifest.stringIds.path, names, m_diagnostics);
    }

    bool CheckTables(const StringSource* sources, const std::vector<NamedStringId>& names)
    {
        const StringSource& fallback = sources[kTableDefault];
        const StringSource& installer = sources[kTableInstaller];
        bool good = true;
        for (const NamedStringId& name : names) {
            const bool found = std::any_of(sources, sources + kTableCount,
                                           [&](const StringSource& s) { return s.Find(name.id) != nullptr; });
            if (!found) {
                m_diagnostics.Error(m_manifest.stringIds.path, name.line,
                                    name.name + " (id " + std::to_string(name.id) + ") has no text in any string table");
                good = false;
            }
        }
        // A text that only one language has would be missing, not replaced, in the other language.
        for (int language = 0; language < kUiLanguages; ++language) {
            const StringSource& own = sources[kTableLanguage0 + language];
            const StringSource& other = sources[kTableLanguage0 + 1 - language];
            for (const StringSourceEntry& entry : own.entries)
                if (!other.Find(entry.id) && !fallback.Find(entry.id) && !installer.Find(entry.id)) {
                    m_diagnostics.Error(own.file, entry.line,
                                        "id " + std::to_string(entry.id) + " has no text for language " +
                                            std::to_string(1 - language) + " (add it to " + other.file + " or " +
                                            fallback.file + ")");
                    good = false;
                }
        }
        std::set<uint32_t> named;
        for (const NamedStringId& name : names)
            named.insert(name.id);
        for (int i = 0; i < kTableCount; ++i)
            for (const StringSourceEntry& entry : sources[i].entries)
                if (!named.count(entry.id))
                    m_diagnostics.Warning(sources[i].file, entry.line,
                                          "id " + std::to_string(entry.id) + " is not named in " +
                                              FileName(m_manifest.stringIds.path));
        return good;
    }

    // Licence texts are shown through the program's UTF-8 decoder, which takes characters up to
    // U+FFFF only.
    bool CheckLicence(const ByteVector& text, const std::string& path)
    {
        const std::string bytes(text.begin(), text.end());
        std::u32string decoded;
        std::size_t bad = 0;
        const bool valid = DecodeUtf8(bytes, decoded, bad);
        if (valid) {
            const auto beyond = std::find_if(decoded.begin(), decoded.end(), [](char32_t c) { return c > 0xFFFF; });
            if (beyond == decoded.end())
                return true;
            const int line = 1 + static_cast<int>(std::count(decoded.begin(), beyond, U'\n'));
            m_diagnostics.Error(path, line, "the licence text has a character beyond U+FFFF, which the program cannot show");
            return false;
        }
        const int line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + bad, '\n'));
        m_diagnostics.Error(path, line, "the licence text is not valid UTF-8");
        return false;
    }

    int AddStored(const ByteVector& stored)
    {
        const auto [place, isNew] = m_blockIndex.emplace(stored, static_cast<int>(m_image.blocks.size()));
        if (isNew)
            m_image.blocks.push_back(stored);
        return place->second;
    }

    int AddPacked(const ByteVector& data, uint32_t itemCount)
    {
        return AddStored(PackBlock(data.data(), static_cast<uint32_t>(data.size()), itemCount, m_key.data(),
                                   static_cast<int32_t>(m_key.size())));
    }

    const Manifest& m_manifest;
    PayloadImage& m_image;
    CDiagnostics& m_diagnostics;
    ByteVector m_key;
    std::map<std::string, std::pair<ByteVector, bool>> m_files;
    std::map<ByteVector, int> m_blockIndex;
};

}  // namespace

PayloadImage::PayloadImage()
{
    for (auto& set : libraries)
        for (auto& variant : set)
            for (int& slot : variant)
                slot = kNoBlock;
}

std::vector<CatalogueEntry> Catalogue(const PayloadImage& image)
{
    std::vector<CatalogueEntry> entries;
    entries.push_back({"key-material", BlockKind::kKeyMaterial, image.keyMaterial});
    for (int i = 0; i < kTableCount; ++i)
        entries.push_back({std::string("strings.") + TableName(i), BlockKind::kStringTable, image.tables[i]});
    for (int i = 0; i < kUiLanguages; ++i)
        entries.push_back({"licence." + std::to_string(i), BlockKind::kLicence, image.licences[i]});
    for (int i = 0; i < kFileCount; ++i)
        entries.push_back({FileKindName(i), BlockKind::kFile, image.files[i]});
    for (int set = 0; set < kLayoutSets; ++set)
        for (int variant = 0; variant < kLayoutVariants; ++variant)
            for (int slot = 0; slot < kLayoutSlots; ++slot)
                entries.push_back({"library." + std::to_string(set) + "." + std::to_string(variant) + "." +
                                       std::to_string(slot),
                                   BlockKind::kLibrary, image.libraries[set][variant][slot]});
    return entries;
}

bool BuildPayload(const Manifest& manifest, PayloadImage& image, CDiagnostics& diagnostics)
{
    image = PayloadImage{};
    return CPayloadBuilder(manifest, image, diagnostics).Build();
}
