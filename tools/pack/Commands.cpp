#include "tools/pack/Commands.h"

#include "embedded/Blowfish.h"
#include "embedded/Guard.h"
#include "embedded/PackedResource.h"
#include "embedded/StringTable.h"
#include "tools/pack/FileIo.h"
#include "tools/pack/Manifest.h"
#include "tools/pack/PayloadImage.h"
#include "tools/pack/PayloadSource.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace {

const char kUsage[] =
    "Usage: pack <command> [arguments]\n"
    "\n"
    "Builds the payload of the setup program (every embedded block and the key material) and\n"
    "inspects a built payload with the program's own unpacking code.\n"
    "\n"
    "Commands:\n"
    "  build <manifest> <output.cpp> [--depfile <file>] [--define NAME=VALUE]...\n"
    "        Packs every input the manifest names and writes the generated source. With\n"
    "        --depfile, also writes a make-style list of the inputs; --define gives the value\n"
    "        of ${NAME} in the manifest's paths. Nothing is written when an input has an error.\n"
    "  list <payload.cpp>\n"
    "        Shows each block of the catalogue: stored, unpacked and packed sizes, checksums,\n"
    "        item count and whether it unpacks.\n"
    "  verify <payload.cpp>\n"
    "        Like list; exits with 1 when the key material or any non-empty block fails.\n"
    "  unpack <payload.cpp> <block> <output-file>\n"
    "  unpack <payload.cpp> --all <folder>\n"
    "        Writes the unpacked bytes of one block, or of every block into a folder.\n"
    "        Block names are those that list shows (e.g. strings.default, library.0.1.11).\n"
    "  help  This text.\n"
    "\n"
    "The manifest format is described at the top of embedded/content/manifest.txt.\n";

void PrintDiagnostics(const CDiagnostics& diagnostics, std::ostream& err)
{
    for (const std::string& message : diagnostics.Messages())
        err << "pack: " << message << "\n";
}

int UsageError(const std::string& text, std::ostream& err)
{
    err << "pack: " << text << "\n" << "Run 'pack help' for the commands.\n";
    return 2;
}

std::string EscapeForMake(const std::string& path)
{
    std::string escaped;
    for (char c : path) {
        if (c == ' ' || c == '#')
            escaped += '\\';
        else if (c == '$')
            escaped += '$';
        escaped += c;
    }
    return escaped;
}

std::string Absolute(const std::string& path)
{
    std::error_code code;
    const std::filesystem::path absolute = std::filesystem::absolute(path, code);
    return code ? path : absolute.lexically_normal().string();
}

int Build(const std::vector<std::string>& args, std::ostream& err)
{
    std::string depfile;
    ManifestDefines defines;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--depfile" && i + 1 < args.size()) {
            depfile = args[++i];
        } else if (args[i] == "--define" && i + 1 < args.size()) {
            const std::string& definition = args[++i];
            const std::size_t equals = definition.find('=');
            if (equals == std::string::npos || equals == 0)
                return UsageError("build: --define needs NAME=VALUE, not '" + definition + "'", err);
            defines[definition.substr(0, equals)] = definition.substr(equals + 1);
        } else if (args[i].compare(0, 1, "-") == 0) {
            return UsageError("build: unknown option '" + args[i] + "'", err);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2)
        return UsageError("build needs <manifest> <output.cpp>", err);
    const std::string& manifestPath = positional[0];
    const std::string& outputPath = positional[1];

    CDiagnostics diagnostics;
    ByteVector content;
    std::string error;
    Manifest manifest;
    PayloadImage image;
    if (!ReadFileBytes(manifestPath, content, error))
        diagnostics.Error(manifestPath, 0, "cannot read the manifest: " + error);
    else if (ParseManifest(content, manifestPath, defines, manifest, diagnostics))
        BuildPayload(manifest, image, diagnostics);
    PrintDiagnostics(diagnostics, err);
    if (diagnostics.HasErrors()) {
        err << "pack: " << diagnostics.ErrorCount() << " error(s); " << outputPath << " was not written\n";
        return 1;
    }

    if (!WriteFileAtomic(outputPath, WritePayloadSource(image, FileName(manifestPath)), error)) {
        err << "pack: cannot write " << outputPath << ": " << error << "\n";
        return 1;
    }
    if (!depfile.empty()) {
        std::string text = EscapeForMake(Absolute(outputPath)) + ":";
        text += " \\\n  " + EscapeForMake(Absolute(manifestPath));
        for (const std::string& input : manifest.InputPaths())
            text += " \\\n  " + EscapeForMake(Absolute(input));
        text += "\n";
        if (!WriteFileAtomic(depfile, text, error)) {
            err << "pack: cannot write " << depfile << ": " << error << "\n";
            return 1;
        }
    }
    return 0;
}

bool LoadPayload(const std::string& path, PayloadImage& image, std::ostream& err)
{
    ByteVector content;
    std::string error;
    if (!ReadFileBytes(path, content, error)) {
        err << "pack: cannot read " << path << ": " << error << "\n";
        return false;
    }
    CDiagnostics diagnostics;
    const bool good = ReadPayloadSource(std::string(content.begin(), content.end()), path, image, diagnostics);
    PrintDiagnostics(diagnostics, err);
    if (!good)
        err << "pack: " << path << " is not a payload source written by this tool\n";
    return good;
}

// A loaded guard for the image; null (reported) when its key material does not load.
std::unique_ptr<CGuard> LoadGuard(const PayloadImage& image, std::ostream& err)
{
    auto guard = std::make_unique<CGuard>(image.guard);
    const ByteVector* material = image.keyMaterial == kNoBlock ? nullptr : &image.blocks[image.keyMaterial];
    if (material == nullptr ||
        !guard->Load(material->data(), static_cast<int32_t>(material->size()))) {
        err << "pack: the key material does not load\n";
        return nullptr;
    }
    return guard;
}

struct Counts {
    int good = 0;
    int empty = 0;
    int failed = 0;
};

// Unpacks every block with the program's own guard and prints one line for each.
Counts Inspect(const PayloadImage& image, const CGuard& guard, std::ostream& out)
{
    Counts counts;
    char line[256];
    std::snprintf(line, sizeof line, "%-20s %5s %8s %9s %7s %-8s %-8s %5s  %s\n", "name", "block", "stored",
                  "unpacked", "packed", "data-crc", "pack-crc", "items", "status");
    out << line;
    for (const CatalogueEntry& entry : Catalogue(image)) {
        if (entry.kind == BlockKind::kKeyMaterial) {
            std::snprintf(line, sizeof line, "%-20s %5d %8zu %9s %7s %-8s %-8s %5s  %s\n", entry.name.c_str(),
                          entry.block, image.blocks[entry.block].size(), "-", "-", "-", "-", "-", "loads");
            out << line;
            ++counts.good;
            continue;
        }
        if (entry.block == kNoBlock) {
            std::snprintf(line, sizeof line, "%-20s %5s %8d %9s %7s %-8s %-8s %5s  %s\n", entry.name.c_str(), "-",
                          0, "-", "-", "-", "-", "-", "empty");
            out << line;
            ++counts.empty;
            continue;
        }
        const ByteVector& block = image.blocks[entry.block];
        // The header as deciphered, shown even when the block is refused.
        PackedResource header{};
        if (block.size() >= PackedResource::kHeaderSize) {
            CBlowfish cipher;
            cipher.Init().SetKey(guard.Key(), CGuard::kKeyLength);
            unsigned char plain[PackedResource::kHeaderSize];
            cipher.Decrypt(block.data(), plain, PackedResource::kHeaderSize);
            header = PackedResource::Read(plain);
        }
        uint32_t length = static_cast<uint32_t>(block.size());
        uint32_t items = 0;
        std::unique_ptr<unsigned char[]> data(guard.Unpack(block.data(), length, &items));
        const char* status = "ok";
        if (!data)
            status = "REFUSED by CGuard::Unpack";
        else if (entry.kind == BlockKind::kStringTable &&
                 !StringTable::IsWellFormed(data.get(), static_cast<int32_t>(items), length))
            status = "MALFORMED string table";
        std::snprintf(line, sizeof line, "%-20s %5d %8zu %9" PRIu32 " %7" PRIu32 " %08" PRIx32 " %08" PRIx32
                      " %5" PRIu32 "  %s\n",
                      entry.name.c_str(), entry.block, block.size(), header.unpackedSize, header.packedSize,
                      header.unpackedCrc, header.packedCrc, header.itemCount, status);
        out << line;
        if (std::string(status) == "ok")
            ++counts.good;
        else
            ++counts.failed;
    }
    return counts;
}

int List(const std::vector<std::string>& args, bool verify, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1)
        return UsageError(std::string(verify ? "verify" : "list") + " needs <payload.cpp>", err);
    PayloadImage image;
    if (!LoadPayload(args[0], image, err))
        return 1;
    const std::unique_ptr<CGuard> guard = LoadGuard(image, err);
    if (!guard)
        return 1;
    const Counts counts = Inspect(image, *guard, out);
    out << counts.good << " ok, " << counts.empty << " empty, " << counts.failed << " failed; "
        << image.blocks.size() << " distinct stored blocks\n";
    return verify && counts.failed != 0 ? 1 : 0;
}

const char* Extension(BlockKind kind)
{
    switch (kind) {
    case BlockKind::kStringTable:
        return ".table";
    case BlockKind::kLicence:
        return ".txt";
    default:
        return ".bin";
    }
}

bool UnpackOne(const PayloadImage& image, const CGuard& guard, const CatalogueEntry& entry, const std::string& path,
               std::ostream& err)
{
    if (entry.kind == BlockKind::kKeyMaterial) {
        err << "pack: " << entry.name << " is not a packed block\n";
        return false;
    }
    if (entry.block == kNoBlock) {
        err << "pack: " << entry.name << " is empty\n";
        return false;
    }
    const ByteVector& block = image.blocks[entry.block];
    uint32_t length = static_cast<uint32_t>(block.size());
    std::unique_ptr<unsigned char[]> data(guard.Unpack(block.data(), length, nullptr));
    if (!data) {
        err << "pack: " << entry.name << " is refused by CGuard::Unpack\n";
        return false;
    }
    std::string error;
    if (!WriteFileAtomic(path, ByteVector(data.get(), data.get() + length), error)) {
        err << "pack: cannot write " << path << ": " << error << "\n";
        return false;
    }
    return true;
}

int Unpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3)
        return UsageError("unpack needs <payload.cpp> <block> <output-file>, or <payload.cpp> --all <folder>", err);
    PayloadImage image;
    if (!LoadPayload(args[0], image, err))
        return 1;
    const std::unique_ptr<CGuard> guard = LoadGuard(image, err);
    if (!guard)
        return 1;
    const std::vector<CatalogueEntry> catalogue = Catalogue(image);
    if (args[1] == "--all") {
        std::error_code code;
        std::filesystem::create_directories(args[2], code);
        if (code) {
            err << "pack: cannot create " << args[2] << ": " << code.message() << "\n";
            return 1;
        }
        int written = 0;
        bool good = true;
        for (const CatalogueEntry& entry : catalogue) {
            if (entry.kind == BlockKind::kKeyMaterial || entry.block == kNoBlock)
                continue;
            const std::string path = (std::filesystem::path(args[2]) / (entry.name + Extension(entry.kind))).string();
            if (UnpackOne(image, *guard, entry, path, err))
                ++written;
            else
                good = false;
        }
        out << written << " blocks written to " << args[2] << "\n";
        return good ? 0 : 1;
    }
    for (const CatalogueEntry& entry : catalogue)
        if (entry.name == args[1])
            return UnpackOne(image, *guard, entry, args[2], err) ? 0 : 1;
    err << "pack: no block named '" << args[1] << "' (see 'pack list')\n";
    return 1;
}

}  // namespace

int RunPack(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty())
        return UsageError("no command given", err);
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "help" || command == "--help" || command == "-h" ||
        (rest.size() == 1 && (rest[0] == "--help" || rest[0] == "-h"))) {
        out << kUsage;
        return 0;
    }
    if (command == "build")
        return Build(rest, err);
    if (command == "list")
        return List(rest, false, out, err);
    if (command == "verify")
        return List(rest, true, out, err);
    if (command == "unpack")
        return Unpack(rest, out, err);
    return UsageError("unknown command '" + command + "'", err);
}
